#include "tools/pack/program_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace pelmora::pack {
namespace {

using zip::readU16;
using zip::readU32;

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kMachineI386 = 0x014C, kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMagicPe32 = 0x010B, kMagicPe32Plus = 0x020B;
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

// The architecture the file header's machine and the optional header's magic
// agree on; empty when they name none the installer is built for.
std::string readArchitecture(std::uint16_t machine, std::uint16_t magic, StubArchitecture* architecture) {
    char hex[8];
    if (machine == kMachineI386 && magic == kMagicPe32) {
        *architecture = StubArchitecture::X86;
    } else if (machine == kMachineAmd64 && magic == kMagicPe32Plus) {
        *architecture = StubArchitecture::X64;
    } else if (machine != kMachineI386 && machine != kMachineAmd64) {
        std::snprintf(hex, sizeof hex, "%04X", machine);
        return std::string("a Windows program for another processor (machine 0x") + hex +
               "); installer stubs are x86 or x64 programs";
    } else {
        return "the program image is damaged (its machine and its optional header disagree)";
    }
    return {};
}

}  // namespace

const char* architectureName(StubArchitecture architecture) {
    return architecture == StubArchitecture::X64 ? "64-bit Windows (x64)" : "32-bit Windows (x86)";
}

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
    StubArchitecture architecture = StubArchitecture::X86;
    const std::string foreign = readArchitecture(readU16(header + 4), readU16(optional), &architecture);
    if (!foreign.empty()) return foreign;
    // SizeOfHeaders sits at the same place in PE32 and PE32+ optional headers.
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
    image->architecture = architecture;
    return {};
}

}  // namespace pelmora::pack
