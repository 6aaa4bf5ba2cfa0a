// Assembles ZIP archives in memory for tests, with knobs for the damage a
// hostile or broken archive can carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelmora::testing {

struct TestEntry {
    TestEntry(std::string entryName, std::string content = {}, bool deflated = true)
        : name(std::move(entryName)), data(std::move(content)), deflate(deflated) {}

    std::string name;  // bytes as stored
    std::string data;  // uncompressed content
    bool deflate = true;
    std::uint16_t flags = 0;
    std::uint32_t external = 0x20;   // MS-DOS archive bit: a plain file
    std::uint16_t dosDate = 0x5221;  // 2021-01-01
    std::uint16_t dosTime = 0x6000;  // 12:00:00
    std::string localExtra;
    std::string centralExtra;
    // Damage, applied to both headers unless said otherwise.
    std::optional<std::uint32_t> crc;
    std::optional<std::uint32_t> uncompressedSize;
    std::optional<std::uint32_t> compressedSize;
    std::optional<std::uint16_t> method;
    std::optional<std::string> localName;           // local header only
    std::optional<std::uint16_t> localExtraLength;  // local header only: the length field, not the bytes
    std::string payloadOverride;                    // replaces the compressed bytes when not empty
    // Sizes and offset saturated in both headers and given in 64-bit extra
    // blocks instead (the local one holds the two sizes).
    bool zip64 = false;
};

// A stored folder entry with the MS-DOS folder attribute.
TestEntry folderEntry(std::string name);

std::string rawDeflate(const std::string& data);
std::uint32_t crc32Of(const std::string& data);

struct BuiltZip {
    std::string bytes;
    std::vector<std::uint64_t> localOffsets;
    std::uint64_t directoryOffset = 0;
};

// How the stored offsets treat bytes in front of the archive.
enum class PrefixOffsets {
    Unadjusted,  // relative to the archive, as when a stub is simply put in front
    Adjusted,    // counted from the start of the file, as a writer that knows the stub records them
};

// Which end records close the archive.
enum class EndRecords {
    Plain,  // the 22-byte record alone
    Zip64,  // a 64-bit end record and its locator first, the 32-bit record's values saturated
};

// prefix: bytes before the archive; comment: the end record's comment.
BuiltZip buildZip(const std::vector<TestEntry>& entries, const std::string& prefix = {},
                  const std::string& comment = {}, PrefixOffsets offsets = PrefixOffsets::Unadjusted,
                  EndRecords end = EndRecords::Plain);

// The 64-bit end record (no extensible data) and its locator, for an archive
// whose directory of `count` records and `size` bytes starts at `offset`
// and whose 64-bit record is at `recordOffset` (offsets as stored).
std::string zip64EndRecords(std::uint64_t count, std::uint64_t size, std::uint64_t offset, std::uint64_t recordOffset);

// Headers written field by field, for archives laid out piece by piece
// (large ones, whose data is never held): each 32-bit size or offset can
// defer to the 64-bit extra block on its own.
struct RawEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t uncompressed = 0, compressed = 0, offset = 0;
    bool deferUncompressed = false, deferCompressed = false, deferOffset = false;
};
// The local header; its sizes defer (both, as the format asks) when either does.
std::string rawLocalHeader(const RawEntry& e);
std::string rawCentralRecord(const RawEntry& e);
// The central directory and every end record for entries whose data ends at `directoryOffset`.
std::string rawDirectoryAndEnd(const std::vector<RawEntry>& entries, std::uint64_t directoryOffset);

// An extra-field block.
std::string extraBlock(std::uint16_t tag, const std::string& body);
std::string le16(std::uint16_t v);
std::string le32(std::uint32_t v);
std::string le64(std::uint64_t v);

}  // namespace pelmora::testing
