#include "tools/pack/program_image.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelmora::pack {
namespace {

using zip::readU16;
using zip::readU32;

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSymbolSize = 18;
constexpr std::size_t kScanBlock = 1 << 20;

// Whether the marker appears anywhere in the first `length` bytes.
bool containsMarker(zip::ByteSource& file, std::uint64_t length) {
    const std::size_t m = sizeof kStubMarker - 1;
    std::unique_ptr<char[]> block(new char[kScanBlock + m]);
    for (std::uint64_t at = 0; at < length; at += kScanBlock) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kScanBlock + m, length - at));
        if (n < m || !file.readAt(at, block.get(), n)) return false;
        const char* end = block.get() + n;
        if (std::search(static_cast<const char*>(block.get()), end, kStubMarker, kStubMarker + m) != end) return true;
    }
    return false;
}

}  // namespace

std::string inspectStub(zip::ByteSource& file, ProgramImage* image) {
    const std::string notProgram = "not a Windows program";
    std::uint8_t dos[64];
    if (!file.readAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return notProgram;
    const std::uint32_t pe = readU32(dos + 0x3C);
    std::uint8_t header[24];
    if (!file.readAt(pe, header, sizeof header) || std::memcmp(header, "PE\0\0", 4) != 0) return notProgram;
    const std::uint16_t sectionCount = readU16(header + 6);
    const std::uint32_t symbols = readU32(header + 12), symbolCount = readU32(header + 16);
    const std::uint16_t optionalSize = readU16(header + 20);
    std::uint8_t optional[64];
    if (optionalSize < sizeof optional || !file.readAt(pe + 24, optional, sizeof optional)) return notProgram;
    std::uint64_t end = readU32(optional + 60);  // SizeOfHeaders
    const std::uint64_t sections = static_cast<std::uint64_t>(pe) + 24 + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        std::uint8_t s[kSectionHeaderSize];
        if (!file.readAt(sections + i * kSectionHeaderSize, s, sizeof s)) return notProgram;
        const std::uint32_t rawSize = readU32(s + 16), rawOffset = readU32(s + 20);
        if (rawSize) end = std::max<std::uint64_t>(end, static_cast<std::uint64_t>(rawOffset) + rawSize);
    }
    // Unstripped images keep their symbols and string table behind the sections.
    if (symbols) {
        const std::uint64_t strings = static_cast<std::uint64_t>(symbols) + symbolCount * kSymbolSize;
        std::uint8_t length[4];
        if (!file.readAt(strings, length, sizeof length)) return notProgram;
        end = std::max<std::uint64_t>(end, strings + readU32(length));
    }
    if (end > file.size()) return "the program image is cut off";
    if (!containsMarker(file, end)) return "a Windows program, but not an installer stub";
    image->imageEnd = end;
    return {};
}

}  // namespace pelmora::pack
