// Drives the archive reader over arbitrary bytes: end record, central
// directory, local headers, extra fields, inflation and the entry-name rules.
// Besides crashes and sanitizer reports it stops on any broken promise: more
// bytes handed on than declared, or a "safe" path that could leave its folder
// or that Windows would not open.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "payload/entry_data.h"
#include "payload/entry_path.h"
#include "payload/package_block.h"
#include "payload/zip_format.h"

namespace {

using namespace pelmora::zip;

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

class CountingSink final : public ChunkSink {
public:
    bool write(const std::uint8_t* data, std::size_t size) override {
        if (size > kOutputBuffer) broken("chunk larger than the output buffer");
        total += size;
        crc = static_cast<std::uint32_t>(::crc32(crc, data, static_cast<uInt>(size)));
        return true;
    }
    std::uint64_t total = 0;
    std::uint32_t crc = 0;  // of everything handed on, as the copy checks it
};

// Lends memory of a chosen size, as the extraction ring does: every write must
// hand on the start of the memory lent last, within it, once per loan.
class LendingSink final : public ChunkSink {
public:
    explicit LendingSink(std::size_t span) : memory_(span) {}
    Span lend() override {
        if (lent_) broken("memory lent again before the last loan was handed on");
        lent_ = true;
        return {memory_.data(), memory_.size()};
    }
    bool write(const std::uint8_t* data, std::size_t size) override {
        if (!lent_ || data != memory_.data() || size > memory_.size()) broken("write outside the lent memory");
        lent_ = false;
        total += size;
        crc = static_cast<std::uint32_t>(::crc32(crc, data, static_cast<uInt>(size)));
        return true;
    }
    std::uint64_t total = 0;
    std::uint32_t crc = 0;

private:
    std::vector<std::uint8_t> memory_;
    bool lent_ = false;
};

// Bytes as UTF-16 units in pairs (so any wide character can appear, including
// separators, dots and colons), or one unit per byte.
std::wstring wideFrom(const std::string& bytes, bool pairs) {
    std::wstring out;
    if (pairs) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            out += static_cast<wchar_t>(static_cast<std::uint8_t>(bytes[i]) |
                                        (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        }
    } else {
        for (char c : bytes) out += static_cast<wchar_t>(static_cast<std::uint8_t>(c));
    }
    return out;
}

// A path that checkPathLength lets through below a folder of folderLength
// characters: the file (or folder) and every folder leading to it, counted
// component by component, stay within what Windows opens.
void checkLength(std::size_t folderLength, const EntryPath& path, bool isFolder) {
    if (checkPathLength(folderLength, path, isFolder) != PathVerdict::Safe || path.relative.empty()) return;
    const std::wstring& r = path.relative;
    for (std::size_t i = 0; i <= r.size(); ++i) {
        const bool last = i == r.size();
        if (!last && r[i] != L'\\') continue;
        const std::size_t length = folderLength + 1 + i;
        const bool folder = !last || isFolder;
        if (length > (folder ? kMaxFolderPathLength : kMaxFilePathLength)) broken("path longer than Windows opens");
    }
    if (folderLength > kMaxFolderPathLength) broken("destination longer than Windows opens");
}

void checkName(const std::wstring& name, std::size_t folderLength) {
    EntryPath path;
    if (safeRelativePath(name, &path) != PathVerdict::Safe) return;
    checkLength(folderLength, path, path.endsInSeparator);
    checkLength(folderLength, path, true);
    const std::wstring& r = path.relative;
    if (!r.empty() && (r.front() == L'\\' || r.back() == L'\\')) broken("separator at an end of a safe path");
    if (r.find(L'/') != std::wstring::npos || r.find(L':') != std::wstring::npos) broken("'/' or ':' in a safe path");
    std::size_t start = 0;
    while (start <= r.size() && !r.empty()) {
        std::size_t end = r.find(L'\\', start);
        if (end == std::wstring::npos) end = r.size();
        const std::wstring component = r.substr(start, end - start);
        if (component.empty()) broken("empty component in a safe path");
        if (component.size() > kMaxComponentLength) broken("component longer than file systems allow");
        if (component.find_first_not_of(L". ") == std::wstring::npos) broken("dot component in a safe path");
        if (isReservedDeviceName(component)) broken("device name in a safe path");
        start = end + 1;
    }
}

}  // namespace

// The package block an installer reads from the end of its own file.
void checkBlock(const std::uint8_t* data, std::size_t size) {
    MemorySource source(data, size);
    pelmora::package::Block block;
    if (pelmora::package::readBlock(source, &block) != pelmora::package::BlockResult::Ok) return;
    const pelmora::package::Trailer& t = block.trailer;
    if (t.blockOffset + t.directoryOffset + t.directorySize + pelmora::package::kTrailerSize > size) {
        broken("block larger than the input");
    }
    for (const pelmora::package::Section& s : block.sections) {
        if (s.offset + s.size > t.directoryOffset) broken("section past the directory");
        std::string bytes;
        if (!pelmora::package::readSection(source, block, s, 1 << 20, &bytes) && s.size <= (1 << 20)) {
            broken("a section inside the block could not be read");
        }
        std::map<std::string, std::string> texts;
        if (s.kind == pelmora::package::SectionKind::Texts) pelmora::package::decodeTexts(bytes, &texts);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkBlock(data, size);
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The destination's length from the first byte: around the limits, where mistakes would show.
    const std::size_t folderLength = size ? 3 + static_cast<std::uint8_t>(data[0]) : 3;
    checkName(wideFrom(input.substr(0, 520), true), folderLength);

    MemorySource source(data, size);
    EndRecord end;
    if (findEndRecord(source, &end) != ZipResult::Ok) return 0;
    if (end.position + kEndRecordSize > size || end.directoryOffset + end.directorySize > end.position) {
        broken("end record outside the input");
    }
    std::vector<CentralEntry> entries;
    if (readCentralDirectory(source, end, &entries) != ZipResult::Ok) return 0;
    if (entries.size() != end.entryCount) broken("entry count differs from the end record");
    int visited = 0;
    for (const CentralEntry& entry : entries) {
        if (++visited > 64) break;
        checkName(wideFrom(entry.name, false), folderLength);
        LocalEntry local;
        if (readLocalEntry(source, entry, end.directoryOffset, &local) != ZipResult::Ok) continue;
        if (local.dataOffset + entry.compressedSize > end.directoryOffset) broken("entry data past the directory");
        CountingSink sink;
        const ZipResult r = copyEntryData(source, entry, local.dataOffset, sink);
        if (sink.total > entry.uncompressedSize) broken("more bytes than the declared size");
        if (r == ZipResult::Ok && sink.total != entry.uncompressedSize) broken("success with a different size");
        // The same copy into lent memory of an odd size hands on the same bytes.
        static constexpr std::size_t kSpans[] = {1, 7, 4096, 65536, 100003};
        LendingSink lending(kSpans[visited % 5]);
        if (copyEntryData(source, entry, local.dataOffset, lending) != r) broken("lent memory changes the result");
        if (r == ZipResult::Ok && (lending.total != sink.total || lending.crc != sink.crc)) {
            broken("lent memory changes the data");
        }
    }
    return 0;
}
