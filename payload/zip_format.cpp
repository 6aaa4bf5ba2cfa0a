#include "payload/zip_format.h"

#include <algorithm>
#include <cstring>

namespace pelmora::zip {
namespace {

constexpr std::uint32_t kAttrReadOnly = 0x01;
constexpr std::uint32_t kAttrHidden = 0x02;
constexpr std::uint32_t kAttrSystem = 0x04;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrNormal = 0x80;

// The record itself and the longest comment it can carry.
constexpr std::uint64_t kMaxEndSearch = kEndRecordSize + 65535;
constexpr std::size_t kSearchBlock = 1028;
constexpr std::size_t kSearchStep = 1024;
constexpr std::uint16_t kExtendedTimestampTag = 0x5455;  // "UT"

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

unsigned daysInMonth(int year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::uint64_t ticksFromUnixSeconds(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
}

bool hasZip64Locator(ByteSource& source, std::uint64_t endRecord) {
    std::uint8_t signature[4];
    return endRecord >= kZip64LocatorSize &&
           source.readAt(endRecord - kZip64LocatorSize, signature, sizeof signature) &&
           readU32(signature) == kZip64LocatorSignature;
}

// Where the 64-bit end record is: writers put it right before its locator,
// with no extensible data; one that carries such data is still found where
// the locator says, provided it ends at the locator too. The stored offset
// does not count bytes in front of the archive, so the first place is tried
// first.
bool locateZip64EndRecord(ByteSource& source, std::uint64_t locator, std::uint64_t storedOffset,
                          std::uint64_t* position) {
    std::uint8_t r[kZip64EndRecordSize];
    if (locator >= kZip64EndRecordSize && source.readAt(locator - kZip64EndRecordSize, r, sizeof r) &&
        readU32(r) == kZip64EndRecordSignature && readU64(r + 4) == kZip64EndRecordSize - 12) {
        *position = locator - kZip64EndRecordSize;
        return true;
    }
    if (storedOffset > locator || locator - storedOffset < kZip64EndRecordSize) return false;
    if (!source.readAt(storedOffset, r, sizeof r) || readU32(r) != kZip64EndRecordSignature) return false;
    if (readU64(r + 4) != locator - storedOffset - 12) return false;
    *position = storedOffset;
    return true;
}

// Fills the count, size and offsets from the 64-bit end record announced by
// the locator that stands right before the record at endRecord.
ZipResult readZip64EndRecord(ByteSource& source, std::uint64_t endRecord, EndRecord* record) {
    const std::uint64_t locator = endRecord - kZip64LocatorSize;
    std::uint8_t l[kZip64LocatorSize];
    if (!source.readAt(locator, l, sizeof l)) return ZipResult::NotAnArchive;
    const std::uint32_t recordDisk = readU32(l + 4), diskCount = readU32(l + 16);
    const std::uint64_t storedOffset = readU64(l + 8);
    if (recordDisk != 0 || diskCount > 1) return ZipResult::NotAnArchive;
    std::uint64_t position = 0;
    if (!locateZip64EndRecord(source, locator, storedOffset, &position)) return ZipResult::NotAnArchive;

    std::uint8_t r[kZip64EndRecordSize];
    if (!source.readAt(position, r, sizeof r)) return ZipResult::NotAnArchive;
    const std::uint32_t disk = readU32(r + 16), directoryDisk = readU32(r + 20);
    const std::uint64_t entriesHere = readU64(r + 24), entriesTotal = readU64(r + 32);
    const std::uint64_t directorySize = readU64(r + 40), directoryOffset = readU64(r + 48);
    if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) return ZipResult::NotAnArchive;
    // The directory ends where this record begins, in stored and in real
    // offsets alike; the difference is the prefix.
    if (directoryOffset > storedOffset || storedOffset - directoryOffset != directorySize) {
        return ZipResult::NotAnArchive;
    }
    if (storedOffset > position) return ZipResult::NotAnArchive;
    if (directorySize > kMaxDirectorySize) return ZipResult::Unsupported;
    if (entriesTotal > directorySize / kCentralHeaderSize) return ZipResult::NotAnArchive;
    record->entryCount = static_cast<std::uint32_t>(entriesTotal);
    record->directorySize = directorySize;
    record->prefix = position - storedOffset;
    record->directoryOffset = directoryOffset + record->prefix;
    record->zip64 = true;
    return ZipResult::Ok;
}

// Takes the values that the 32-bit fields defer from a 64-bit extra block:
// each field holding kDeferred32 takes the next 8 bytes, in the order given.
// False when the block is missing or too short for them.
bool resolveDeferred(const std::uint8_t* extra, std::size_t size, std::uint64_t* const* fields, std::size_t count) {
    std::size_t needed = 0;
    for (std::size_t i = 0; i < count; ++i) needed += *fields[i] == kDeferred32 ? 8 : 0;
    if (needed == 0) return true;
    const std::uint8_t* body = nullptr;
    std::size_t bodySize = 0;
    if (!findExtraBlock(extra, size, kZip64ExtraTag, &body, &bodySize) || bodySize < needed) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (*fields[i] != kDeferred32) continue;
        *fields[i] = readU64(body);
        body += 8;
    }
    return true;
}

}  // namespace

const char* zipResultName(ZipResult result) {
    switch (result) {
        case ZipResult::Ok:
            return "success";
        case ZipResult::NotAnArchive:
            return "not a ZIP archive or damaged central directory";
        case ZipResult::CannotCreate:
            return "file could not be opened or created";
        case ZipResult::CopyFailed:
            return "read, inflate or write error";
        case ZipResult::LocalHeaderMismatch:
            return "local header does not match the central directory";
        case ZipResult::BadExtraField:
            return "extra field could not be read";
        case ZipResult::Unsupported:
            return "encrypted entry, unsupported method or missing 64-bit record";
        case ZipResult::DataMismatch:
            return "entry data does not match its size or CRC-32";
        case ZipResult::BadArgument:
            return "bad argument or index out of range";
        case ZipResult::NotReader:
            return "not a reader handle";
    }
    return "unknown error";
}

bool MemorySource::readAt(std::uint64_t offset, void* out, std::size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    if (n) std::memcpy(out, data_ + offset, n);
    return true;
}

ZipResult findEndRecord(ByteSource& source, EndRecord* record) {
    const std::uint64_t fileSize = source.size();
    if (fileSize < kEndRecordSize) return ZipResult::NotAnArchive;
    const std::uint64_t searchStart = fileSize > kMaxEndSearch ? fileSize - kMaxEndSearch : 0;
    std::uint8_t block[kSearchBlock];
    std::uint64_t found = 0;
    bool haveRecord = false;
    // Each block reaches 4 bytes past the previous block's start, so a
    // signature split between two blocks is found in the later one.
    for (std::uint64_t back = 0; !haveRecord && back < fileSize - searchStart; back += kSearchStep) {
        const std::uint64_t blockEnd =
            std::min<std::uint64_t>(fileSize, fileSize - back + (kSearchBlock - kSearchStep));
        const std::uint64_t blockStart =
            std::max<std::uint64_t>(searchStart, blockEnd > kSearchBlock ? blockEnd - kSearchBlock : 0);
        const std::size_t n = static_cast<std::size_t>(blockEnd - blockStart);
        if (n < 4 || !source.readAt(blockStart, block, n)) return ZipResult::NotAnArchive;
        for (std::size_t i = n - 4 + 1; i-- > 0;) {
            if (readU32(block + i) != kEndRecordSignature) continue;
            const std::uint64_t at = blockStart + i;
            if (fileSize - at < kEndRecordSize) continue;  // too close to the end to be a record
            found = at;
            haveRecord = true;
            break;
        }
    }
    if (!haveRecord) return ZipResult::NotAnArchive;

    std::uint8_t r[kEndRecordSize];
    if (!source.readAt(found, r, sizeof r)) return ZipResult::NotAnArchive;
    const std::uint16_t disk = readU16(r + 4), directoryDisk = readU16(r + 6);
    const std::uint16_t entriesHere = readU16(r + 8), entriesTotal = readU16(r + 10);
    const std::uint32_t directorySize = readU32(r + 12), directoryOffset = readU32(r + 16);
    record->position = found;
    // 0xFFFF is also a plain count, and one that archives really have: the
    // values are taken from the 64-bit record only when its locator stands
    // right before this record, as writers put it.
    if (hasZip64Locator(source, found)) return readZip64EndRecord(source, found, record);
    if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) return ZipResult::NotAnArchive;
    if (directorySize == kDeferred32 || directoryOffset == kDeferred32) return ZipResult::Unsupported;
    const std::uint64_t directoryEnd = static_cast<std::uint64_t>(directoryOffset) + directorySize;
    if (directoryEnd > found) return ZipResult::NotAnArchive;
    if (directorySize > kMaxDirectorySize) return ZipResult::Unsupported;
    record->entryCount = entriesTotal;
    record->directorySize = directorySize;
    record->prefix = found - directoryEnd;
    record->directoryOffset = directoryOffset + record->prefix;
    record->zip64 = false;
    return ZipResult::Ok;
}

ZipResult readCentralDirectory(ByteSource& source, const EndRecord& end, std::vector<CentralEntry>* entries) {
    entries->clear();
    // The whole directory is read at once: it grows with the number of
    // entries, never with their sizes (findEndRecord bounds it).
    if (end.directorySize > kMaxDirectorySize) return ZipResult::Unsupported;
    std::vector<std::uint8_t> dir(static_cast<std::size_t>(end.directorySize));
    if (!dir.empty() && !source.readAt(end.directoryOffset, dir.data(), dir.size())) return ZipResult::NotAnArchive;
    entries->reserve(std::min<std::size_t>(end.entryCount, dir.size() / kCentralHeaderSize));
    std::size_t pos = 0;
    for (std::uint32_t i = 0; i < end.entryCount; ++i) {
        if (dir.size() - pos < kCentralHeaderSize) return ZipResult::NotAnArchive;
        const std::uint8_t* h = dir.data() + pos;
        if (readU32(h) != kCentralHeaderSignature) return ZipResult::NotAnArchive;
        const std::size_t nameLength = readU16(h + 28), extraLength = readU16(h + 30), commentLength = readU16(h + 32);
        const std::size_t recordSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (dir.size() - pos < recordSize) return ZipResult::NotAnArchive;
        CentralEntry e;
        e.versionMadeBy = readU16(h + 4);
        e.flags = readU16(h + 8);
        e.method = readU16(h + 10);
        e.dosTime = readU16(h + 12);
        e.dosDate = readU16(h + 14);
        e.crc = readU32(h + 16);
        e.compressedSize = readU32(h + 20);
        e.uncompressedSize = readU32(h + 24);
        e.externalAttributes = readU32(h + 38);
        std::uint64_t offset = readU32(h + 42);
        std::uint64_t* const deferrable[] = {&e.uncompressedSize, &e.compressedSize, &offset};
        e.deferredWithoutRecord = !resolveDeferred(h + kCentralHeaderSize + nameLength, extraLength, deferrable, 3);
        if (e.deferredWithoutRecord) {
            e.localOffset = offset;
        } else if (offset > ~0ull - end.prefix) {
            return ZipResult::NotAnArchive;
        } else {
            e.localOffset = offset + end.prefix;
        }
        e.name.assign(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength);
        entries->push_back(std::move(e));
        pos += recordSize;
    }
    return ZipResult::Ok;
}

ZipResult readLocalEntry(ByteSource& source, const CentralEntry& entry, std::uint64_t dataLimit, LocalEntry* local) {
    std::uint8_t h[kLocalHeaderSize];
    if (entry.needsZip64()) return ZipResult::Unsupported;
    if (!source.readAt(entry.localOffset, h, sizeof h)) return ZipResult::LocalHeaderMismatch;
    if (readU32(h) != kLocalHeaderSignature) return ZipResult::LocalHeaderMismatch;
    const std::uint16_t flags = readU16(h + 6);
    const std::size_t nameLength = readU16(h + 26), extraLength = readU16(h + 28);
    if (readU16(h + 8) != entry.method || nameLength != entry.name.size() ||
        (flags & kFlagEncrypted) != (entry.flags & kFlagEncrypted)) {
        return ZipResult::LocalHeaderMismatch;
    }
    std::string name(nameLength, '\0');
    if (nameLength && !source.readAt(entry.localOffset + kLocalHeaderSize, name.data(), nameLength)) {
        return ZipResult::LocalHeaderMismatch;
    }
    if (name != entry.name) return ZipResult::LocalHeaderMismatch;
    local->dataOffset = entry.localOffset + kLocalHeaderSize + nameLength + extraLength;
    if (local->dataOffset > dataLimit || dataLimit - local->dataOffset < entry.compressedSize) {
        return ZipResult::LocalHeaderMismatch;
    }
    // Exactly as long as the field, so a parsing slip is an out-of-bounds read
    // the sanitizers see, not a quiet read of stale bytes.
    std::vector<std::uint8_t> extra(extraLength);
    if (extraLength && !source.readAt(entry.localOffset + kLocalHeaderSize + nameLength, extra.data(), extraLength)) {
        return ZipResult::BadExtraField;
    }
    // With a data descriptor the local CRC and sizes may be zero; the central
    // record is authoritative then.
    if (!(flags & kFlagDataDescriptor)) {
        std::uint64_t uncompressed = readU32(h + 22), compressed = readU32(h + 18);
        std::uint64_t* const deferrable[] = {&uncompressed, &compressed};
        if (!resolveDeferred(extra.data(), extra.size(), deferrable, 2) || readU32(h + 14) != entry.crc ||
            compressed != entry.compressedSize || uncompressed != entry.uncompressedSize) {
            return ZipResult::LocalHeaderMismatch;
        }
    }

    const std::uint64_t dos = fileTimeFromDos(entry.dosDate, entry.dosTime);
    local->times = EntryTimes{dos, dos, dos};
    if (!applyExtraFieldTimes(extra.data(), extra.size(), &local->times)) return ZipResult::BadExtraField;
    return ZipResult::Ok;
}

bool applyExtraFieldTimes(const std::uint8_t* extra, std::size_t size, EntryTimes* times) {
    std::size_t pos = 0;
    while (size - pos >= 4) {
        const std::uint16_t tag = readU16(extra + pos);
        const std::size_t length = readU16(extra + pos + 2);
        pos += 4;
        if (size - pos < length) return false;
        if (tag == kExtendedTimestampTag && length >= 1) {
            // Flags name the times that may follow, in this order; a block may
            // announce more than it carries (the central copy holds only the
            // write time), so each one is taken only when present.
            const std::uint8_t flags = extra[pos];
            std::size_t at = pos + 1;
            std::uint64_t* targets[3] = {&times->write, &times->access, &times->creation};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1u << bit))) continue;
                if (pos + length - at < 4) break;
                *targets[bit] = fileTimeFromUnix(static_cast<std::int32_t>(readU32(extra + at)));
                at += 4;
            }
        }
        pos += length;
    }
    // Tools pad extra fields with up to three zero bytes; anything else left over is damage.
    for (; pos < size; ++pos) {
        if (extra[pos] != 0) return false;
    }
    return true;
}

bool findExtraBlock(const std::uint8_t* extra, std::size_t size, std::uint16_t tag, const std::uint8_t** body,
                    std::size_t* bodySize) {
    std::size_t pos = 0;
    while (size - pos >= 4) {
        const std::uint16_t blockTag = readU16(extra + pos);
        const std::size_t length = readU16(extra + pos + 2);
        pos += 4;
        if (size - pos < length) return false;
        if (blockTag == tag) {
            *body = extra + pos;
            *bodySize = length;
            return true;
        }
        pos += length;
    }
    return false;
}

std::uint32_t attributesFromExternal(std::uint32_t x) {
    std::uint32_t a = kAttrNormal;
    if ((x & 0x40000000) || (x & 0x10)) a = kAttrNormal | kAttrDirectory;
    if (x & 0x20) a |= kAttrArchive;
    if (x & 0x02) a |= kAttrHidden;
    // Without the Unix owner-write bit (MS-DOS hosts leave the upper half
    // empty) the file starts read-only; the extractor clears it afterwards.
    if (!(x & 0x00800000) || (x & 0x01)) a |= kAttrReadOnly;
    if (x & 0x04) a |= kAttrSystem;
    return a;
}

bool isDirectoryAttributes(std::uint32_t attributes) {
    return (attributes & kAttrDirectory) != 0;
}

std::uint64_t fileTimeFromDos(std::uint16_t date, std::uint16_t time) {
    const int year = 1980 + (date >> 9);
    const unsigned month = (date >> 5) & 0x0F, day = date & 0x1F;
    const unsigned hour = time >> 11, minute = (time >> 5) & 0x3F, second = (time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return 0;
    if (hour > 23 || minute > 59 || second > 59) return 0;
    const std::int64_t seconds = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return ticksFromUnixSeconds(seconds);
}

std::uint64_t fileTimeFromUnix(std::int32_t seconds) {
    return ticksFromUnixSeconds(seconds);
}

}  // namespace pelmora::zip
