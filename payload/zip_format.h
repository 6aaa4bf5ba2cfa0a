// The ZIP container, read through an abstract byte source: the end record,
// the central directory, local headers and their extra fields, and the
// conversion of stored attributes and times to the Windows forms.
//
// Plain C++ without the Windows headers, so the same code that reads archives
// in the installer is built natively and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelmora::zip {

// Result codes of the reader: 0 is success.
enum class ZipResult : std::int32_t {
    Ok = 0,
    NotAnArchive = 0x100,         // no end record, or the central directory cannot be read
    CannotCreate = 0x200,         // the archive or a target file could not be opened or created
    CopyFailed = 0x400,           // read, inflate or write error while copying an entry
    LocalHeaderMismatch = 0x700,  // local header unreadable or different from the central record
    BadExtraField = 0x800,        // local extra field unreadable or malformed
    Unsupported = 0x900,          // encrypted entry, unknown method, or a 64-bit value with no record holding it
    DataMismatch = 0xA00,         // inflated data differs in size or CRC-32 from the central record
    BadArgument = 0x10000,        // bad argument or index out of range
    NotReader = 0x80000,          // not a reader handle
};
const char* zipResultName(ZipResult result);

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::uint32_t kZip64EndRecordSignature = 0x06064B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::size_t kZip64EndRecordSize = 56;  // without extensible data
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::uint16_t kZip64ExtraTag = 0x0001;
// A 32-bit size or offset holding this value defers to a 64-bit record; so
// does a 16-bit entry count or disk number holding 0xFFFF.
constexpr std::uint32_t kDeferred32 = 0xFFFFFFFF;
constexpr std::uint16_t kDeferred16 = 0xFFFF;
// The central directory is read into memory whole, so its size is bounded:
// 256 MiB holds some three million records, and a 32-bit process can still
// find the room.
constexpr std::uint64_t kMaxDirectorySize = 256ull << 20;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8Name = 0x0800;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// Random access to the archive's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly n bytes at offset; false when that is not possible.
    virtual bool readAt(std::uint64_t offset, void* out, std::size_t n) = 0;
};

// A source over bytes in memory (tests, fuzzing).
class MemorySource final : public ByteSource {
public:
    MemorySource(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

struct EndRecord {
    std::uint64_t position = 0;  // file offset of the record
    std::uint32_t entryCount = 0;
    std::uint64_t directoryOffset = 0;  // file offset of the central directory (prefix included)
    std::uint64_t directorySize = 0;    // at most kMaxDirectorySize
    std::uint64_t prefix = 0;           // bytes preceding the archive, added to every stored offset
    bool zip64 = false;                 // the values came from the 64-bit end record
};

// Searches backwards over the last 65,557 bytes at most (the record and the
// longest comment), in blocks of 1,028 bytes stepping by 1,024 so a record
// straddling two blocks is still seen; the record nearest the end wins. Bytes
// in front of the archive (a program stub) are found by where the central
// directory ends: stored offsets that do not count them are corrected by
// their length, offsets that already do are taken as they are.
//
// When the 64-bit end record's locator stands right before the record, the
// 64-bit record holds the count, size and offset (archives of more than
// 65,535 entries or beyond 4 GiB); the directory then ends where that record
// begins. A locator that leads nowhere is NotAnArchive; a saturated value
// with no locator at all is Unsupported; a directory larger than
// kMaxDirectorySize is Unsupported.
ZipResult findEndRecord(ByteSource& source, EndRecord* record);

// Windows FILETIME values as 100-ns ticks since 1601-01-01; 0 means "not known".
struct EntryTimes {
    std::uint64_t creation = 0;
    std::uint64_t access = 0;
    std::uint64_t write = 0;
};

struct CentralEntry {
    std::uint16_t versionMadeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t uncompressedSize = 0;
    std::uint32_t externalAttributes = 0;
    std::uint64_t localOffset = 0;  // file offset of the local header (prefix included)
    std::string name;               // as stored: code-page bytes, or UTF-8 when flagged
    bool deferredWithoutRecord = false;
    bool utf8Name() const { return (flags & kFlagUtf8Name) != 0; }
    // A size or offset defers to a 64-bit extra record that the central
    // record does not carry: the entry cannot be read (the others can).
    bool needsZip64() const { return deferredWithoutRecord; }
};

// Reads every central record the end record announces. The directory must lie
// between the start of the archive and the end record and hold exactly that
// many well-formed records. Sizes and offsets saturated at 0xFFFFFFFF are
// taken from the record's 64-bit extra block, in the order the format gives
// (uncompressed size, compressed size, local header offset), each only when
// its 32-bit field defers to it.
ZipResult readCentralDirectory(ByteSource& source, const EndRecord& end, std::vector<CentralEntry>* entries);

// What the local header adds to its central record.
struct LocalEntry {
    std::uint64_t dataOffset = 0;
    EntryTimes times;
};

// Checks the local header against the central record (LocalHeaderMismatch)
// and reads its extra field (BadExtraField); the entry's data must end at or
// before dataLimit. Saturated local sizes are read from the local 64-bit extra
// block. Times come from the MS-DOS fields, then the "UT" block.
ZipResult readLocalEntry(ByteSource& source, const CentralEntry& entry, std::uint64_t dataLimit, LocalEntry* local);

// Applies a "UT" block found in an extra field to times; false when the extra
// field's blocks do not add up to its length.
bool applyExtraFieldTimes(const std::uint8_t* extra, std::size_t size, EntryTimes* times);

// The body of the first block with the given tag in an extra field; false
// when there is none.
bool findExtraBlock(const std::uint8_t* extra, std::size_t size, std::uint16_t tag, const std::uint8_t** body,
                    std::size_t* bodySize);

// Windows file attributes from the 32-bit external attribute value.
std::uint32_t attributesFromExternal(std::uint32_t external);
bool isDirectoryAttributes(std::uint32_t attributes);

// MS-DOS date and time read as UTC; 0 for a date the calendar does not have.
std::uint64_t fileTimeFromDos(std::uint16_t date, std::uint16_t time);
std::uint64_t fileTimeFromUnix(std::int32_t seconds);

inline std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t readU64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(readU32(p)) | (static_cast<std::uint64_t>(readU32(p + 4)) << 32);
}

}  // namespace pelmora::zip
