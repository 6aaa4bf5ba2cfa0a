// 64-bit archives: more than 65,535 entries, entries and archives beyond
// 4 GiB. The large archives are laid out as pieces (header bytes, runs of
// zeros, a repeated deflate unit) that a byte source serves without ever
// holding them, so the tests need no disk and little memory, and the 32-bit
// build shows any size that is cut to 32 bits on the way.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "payload/entry_data.h"
#include "payload/zip_format.h"
#include "tests/payload/zip_builder.h"

namespace pelmora::zip {
namespace {

using testing::buildZip;
using testing::EndRecords;
using testing::extraBlock;
using testing::le16;
using testing::le32;
using testing::le64;
using testing::TestEntry;

constexpr std::uint64_t kGiB = 1ull << 30;

// Bytes given as pieces: literal bytes repeated some number of times, or zeros.
class PieceSource final : public ByteSource {
public:
    void add(std::string bytes, std::uint64_t repeat = 1) {
        const std::uint64_t length = bytes.size() * repeat;
        pieces_.push_back({size_, length, std::move(bytes)});
        size_ += length;
    }
    void addZeros(std::uint64_t length) {
        pieces_.push_back({size_, length, {}});
        size_ += length;
    }
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override {
        if (offset > size_ || n > size_ - offset) return false;
        auto* bytes = static_cast<std::uint8_t*>(out);
        for (const Piece& p : pieces_) {
            if (n == 0) break;
            if (offset >= p.start + p.length) continue;
            const std::uint64_t at = offset - p.start;
            const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(n, p.length - at));
            if (p.bytes.empty()) {
                std::memset(bytes, 0, take);
            } else {
                for (std::size_t i = 0; i < take; ++i)
                    bytes[i] = static_cast<std::uint8_t>(p.bytes[(at + i) % p.bytes.size()]);
            }
            bytes += take;
            offset += take;
            n -= take;
        }
        return n == 0;
    }

private:
    struct Piece {
        std::uint64_t start, length;
        std::string bytes;  // empty: zeros
    };
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
};

// CRC-32 of `length` zero bytes, from the CRCs of power-of-two runs;
// zlib's combine takes a 32-bit length here, so runs stay at or below 1 GiB.
std::uint32_t crcOfZeros(std::uint64_t length) {
    uLong powers[31];
    const Bytef zero = 0;
    powers[0] = crc32(crc32(0, nullptr, 0), &zero, 1);
    for (int k = 1; k <= 30; ++k) powers[k] = crc32_combine(powers[k - 1], powers[k - 1], 1L << (k - 1));
    uLong crc = crc32(0, nullptr, 0);
    for (; length >= kGiB; length -= kGiB) crc = crc32_combine(crc, powers[30], 1L << 30);
    for (int k = 29; k >= 0; --k) {
        if (length & (1ull << k)) crc = crc32_combine(crc, powers[k], 1L << k);
    }
    return static_cast<std::uint32_t>(crc);
}

// A raw deflate unit that inflates to `length` zeros and can be repeated: a
// fresh stream (no references before its start) ended by a full flush (byte
// aligned, not final).
std::string deflatedZerosUnit(std::size_t length) {
    const std::string zeros(length, '\0');
    z_stream zs{};
    deflateInit2(&zs, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, static_cast<uLong>(length)) + 64, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    zs.avail_in = static_cast<uInt>(length);
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FULL_FLUSH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}
const std::string kFinalEmptyBlock("\x03\x00", 2);  // fixed Huffman, final, end of block at once

using LaidEntry = testing::RawEntry;

// Each deferral flag on its own: uncompressed, compressed, offset.
void defer(LaidEntry* e, bool uncompressed, bool compressed, bool offset) {
    e->deferUncompressed = uncompressed;
    e->deferCompressed = compressed;
    e->deferOffset = offset;
}

std::string localHeader(const LaidEntry& e) {
    return testing::rawLocalHeader(e);
}

// Closes an archive laid out in `source`: directory, 64-bit records, end record.
void closeArchive(PieceSource& source, const std::vector<LaidEntry>& entries) {
    source.add(testing::rawDirectoryAndEnd(entries, source.size()));
}

class CheckingSink final : public ChunkSink {
public:
    bool write(const std::uint8_t* data, std::size_t size) override {
        largestChunk = std::max(largestChunk, size);
        if (keep) kept.append(reinterpret_cast<const char*>(data), size);
        total += size;
        return true;
    }
    bool keep = false;
    std::string kept;
    std::uint64_t total = 0;
    std::size_t largestChunk = 0;
};

struct Read {
    ZipResult result = ZipResult::Ok;
    EndRecord end;
    std::vector<CentralEntry> entries;
};

Read readArchive(ByteSource& source) {
    Read r;
    r.result = findEndRecord(source, &r.end);
    if (r.result == ZipResult::Ok) r.result = readCentralDirectory(source, r.end, &r.entries);
    return r;
}

ZipResult copyEntry(ByteSource& source, const Read& archive, std::size_t index, CheckingSink& sink) {
    LocalEntry local;
    const ZipResult header = readLocalEntry(source, archive.entries.at(index), archive.end.directoryOffset, &local);
    return header != ZipResult::Ok ? header : copyEntryData(source, archive.entries[index], local.dataOffset, sink);
}

// A stored entry of 4 GiB and a bit, and a small one behind it whose local
// header lies beyond 4 GiB: every size and offset needs its 64-bit form.
TEST(Zip64Test, StoredEntryAndArchiveBeyond4GiB) {
    const std::uint64_t bigSize = 4 * kGiB + 3 * 65536 + 12345;  // ends inside an output chunk
    LaidEntry big{"big.bin", kMethodStored, crcOfZeros(bigSize), bigSize, bigSize, 0};
    defer(&big, true, true, false);
    const std::string text = "written after four gigabytes";
    const std::string packed = testing::rawDeflate(text);
    LaidEntry after{"after.txt", kMethodDeflated, testing::crc32Of(text), text.size(), packed.size(), 0};
    defer(&after, false, false, true);

    PieceSource source;
    source.add(localHeader(big));
    source.addZeros(bigSize);
    after.offset = source.size();
    source.add(localHeader(after) + packed);
    closeArchive(source, {big, after});
    ASSERT_GT(source.size(), 4 * kGiB);

    const Read archive = readArchive(source);
    ASSERT_EQ(archive.result, ZipResult::Ok) << zipResultName(archive.result);
    EXPECT_TRUE(archive.end.zip64);
    ASSERT_EQ(archive.entries.size(), 2u);
    EXPECT_EQ(archive.entries[0].uncompressedSize, bigSize);
    EXPECT_EQ(archive.entries[1].localOffset, after.offset);

    CheckingSink bigSink;
    EXPECT_EQ(copyEntry(source, archive, 0, bigSink), ZipResult::Ok);
    EXPECT_EQ(bigSink.total, bigSize);
    EXPECT_LE(bigSink.largestChunk, kOutputBuffer);
    CheckingSink afterSink;
    afterSink.keep = true;
    EXPECT_EQ(copyEntry(source, archive, 1, afterSink), ZipResult::Ok);
    EXPECT_EQ(afterSink.kept, text);
}

// Inflating past 4 GiB: 65 repeats of a unit worth 64 MiB of zeros. A CRC
// or size counter cut to 32 bits would end early or mismatch.
TEST(Zip64Test, DeflatedEntryBeyond4GiB) {
    const std::size_t unitLength = 64u << 20;
    const std::uint64_t repeats = 65;
    const std::string unit = deflatedZerosUnit(unitLength);
    const std::uint64_t size = unitLength * repeats;
    const std::uint64_t packedSize = unit.size() * repeats + kFinalEmptyBlock.size();
    LaidEntry e{"zeros.bin", kMethodDeflated, crcOfZeros(size), size, packedSize, 0};
    defer(&e, true, true, true);

    PieceSource source;
    source.add(localHeader(e));
    source.add(unit, repeats);
    source.add(kFinalEmptyBlock);
    closeArchive(source, {e});

    const Read archive = readArchive(source);
    ASSERT_EQ(archive.result, ZipResult::Ok) << zipResultName(archive.result);
    CheckingSink sink;
    EXPECT_EQ(copyEntry(source, archive, 0, sink), ZipResult::Ok);
    EXPECT_EQ(sink.total, size);
    EXPECT_LE(sink.largestChunk, kOutputBuffer);

    // The same data declared one byte short of its real size is refused.
    LaidEntry shortOne = e;
    shortOne.uncompressed = size - 1;
    PieceSource damaged;
    damaged.add(localHeader(shortOne));
    damaged.add(unit, repeats);
    damaged.add(kFinalEmptyBlock);
    closeArchive(damaged, {shortOne});
    const Read damagedArchive = readArchive(damaged);
    ASSERT_EQ(damagedArchive.result, ZipResult::Ok);
    CheckingSink damagedSink;
    EXPECT_EQ(copyEntry(damaged, damagedArchive, 0, damagedSink), ZipResult::DataMismatch);
    EXPECT_LE(damagedSink.total, size - 1);
}

// Each 32-bit field defers on its own; the extra block holds only the values
// that defer, in the format's order.
TEST(Zip64Test, OnlyDeferredFieldsComeFromTheExtraBlock) {
    const std::string text = "partly deferred";
    for (int mask = 1; mask < 8; ++mask) {
        LaidEntry e{"a.txt", kMethodStored, testing::crc32Of(text), text.size(), text.size(), 0};
        defer(&e, (mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0);
        PieceSource source;
        source.add(localHeader(e) + text);
        closeArchive(source, {e});
        const Read archive = readArchive(source);
        ASSERT_EQ(archive.result, ZipResult::Ok) << mask;
        EXPECT_EQ(archive.entries[0].compressedSize, text.size()) << mask;
        EXPECT_EQ(archive.entries[0].uncompressedSize, text.size()) << mask;
        EXPECT_EQ(archive.entries[0].localOffset, 0u) << mask;
        CheckingSink sink;
        sink.keep = true;
        EXPECT_EQ(copyEntry(source, archive, 0, sink), ZipResult::Ok) << mask;
        EXPECT_EQ(sink.kept, text) << mask;
    }
}

TEST(Zip64Test, SeventyThousandEntries) {
    std::vector<TestEntry> entries;
    entries.reserve(70000);
    for (int i = 0; i < 70000; ++i) entries.emplace_back("f" + std::to_string(i), std::to_string(i), false);
    entries.back().deflate = true;
    for (const std::string& stub : {std::string(), std::string(3000, 'x')}) {
        const std::string bytes =
            buildZip(entries, stub, {}, testing::PrefixOffsets::Unadjusted, EndRecords::Zip64).bytes;
        MemorySource source(bytes.data(), bytes.size());
        const Read archive = readArchive(source);
        ASSERT_EQ(archive.result, ZipResult::Ok) << zipResultName(archive.result);
        EXPECT_EQ(archive.end.prefix, stub.size());
        ASSERT_EQ(archive.entries.size(), 70000u);
        EXPECT_EQ(archive.entries[65535].name, "f65535");
        for (std::size_t i : {std::size_t{0}, std::size_t{65536}, std::size_t{69999}}) {
            CheckingSink sink;
            sink.keep = true;
            EXPECT_EQ(copyEntry(source, archive, i, sink), ZipResult::Ok) << i;
            EXPECT_EQ(sink.kept, std::to_string(i));
        }
    }
}

TEST(Zip64Test, EntriesWithSizesInExtraBlocksAndPrefixes) {
    TestEntry a{"a.txt", "alpha alpha alpha"};
    a.zip64 = true;
    TestEntry b{"b/", "", false};
    b.zip64 = true;
    TestEntry c{"c.bin", std::string(70000, 'c'), false};
    c.zip64 = true;
    const std::string stub(4096, 's');
    for (auto offsets : {testing::PrefixOffsets::Unadjusted, testing::PrefixOffsets::Adjusted}) {
        const std::string bytes = buildZip({a, b, c}, stub, "comment", offsets, EndRecords::Zip64).bytes;
        MemorySource source(bytes.data(), bytes.size());
        const Read archive = readArchive(source);
        ASSERT_EQ(archive.result, ZipResult::Ok) << zipResultName(archive.result);
        EXPECT_EQ(archive.end.prefix, offsets == testing::PrefixOffsets::Adjusted ? 0u : stub.size());
        ASSERT_EQ(archive.entries.size(), 3u);
        for (std::size_t i : {std::size_t{0}, std::size_t{2}}) {
            CheckingSink sink;
            sink.keep = true;
            EXPECT_EQ(copyEntry(source, archive, i, sink), ZipResult::Ok) << i;
            EXPECT_EQ(sink.kept, i == 0 ? a.data : c.data);
        }
    }
}

TEST(Zip64Test, DamagedRecordsAreRefused) {
    TestEntry a{"a.txt", "alpha"};
    a.zip64 = true;
    const std::string good = buildZip({a}, {}, {}, testing::PrefixOffsets::Unadjusted, EndRecords::Zip64).bytes;
    const std::size_t eocd = good.size() - kEndRecordSize;
    const std::size_t locator = eocd - kZip64LocatorSize;
    const std::size_t record = locator - kZip64EndRecordSize;
    const std::size_t directory = good.find("PK\x01\x02");
    auto patched = [&](std::size_t at, const std::string& bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    // Extensible data after the record: found through the locator's offset.
    std::string extensible = good;
    extensible.insert(locator, "DATA");
    extensible.replace(record + 4, 8, le64(44 + 4));
    // The local header's 64-bit block is dropped (its length field zeroed).
    const std::size_t localExtraLength = 28;

    const struct {
        const char* what;
        std::string bytes;
        ZipResult expected;
    } cases[] = {
        {"sound", good, ZipResult::Ok},
        {"record with extensible data", extensible, ZipResult::Ok},
        {"record signature", patched(record, "PK\x06\x07"), ZipResult::NotAnArchive},
        {"record on another disk", patched(record + 16, le32(1)), ZipResult::NotAnArchive},
        {"counts differ", patched(record + 24, le64(2)), ZipResult::NotAnArchive},
        {"more entries than the directory holds", patched(record + 24, le64(9) + le64(9)), ZipResult::NotAnArchive},
        {"directory size does not reach the record", patched(record + 40, le64(10)), ZipResult::NotAnArchive},
        {"locator on another disk", patched(locator + 4, le32(1)), ZipResult::NotAnArchive},
        {"locator counts three disks", patched(locator + 16, le32(3)), ZipResult::NotAnArchive},
        {"locator points elsewhere", patched(locator + 8, le64(5)), ZipResult::NotAnArchive},
        // A block too short for the values that defer counts as no block: that entry cannot be read.
        {"central block shorter than its deferred values", patched(directory + 53, le16(16)), ZipResult::Unsupported},
        {"central block missing", patched(directory + 46 + 5, le16(0x9999)), ZipResult::Unsupported},
        {"local block missing", patched(30 + 5, le16(0x9999)), ZipResult::LocalHeaderMismatch},
        {"local sizes differ", patched(30 + 5 + 4, le64(6)), ZipResult::LocalHeaderMismatch},
        {"local block cut short", patched(localExtraLength, le16(8)), ZipResult::LocalHeaderMismatch},
    };
    for (const auto& c : cases) {
        MemorySource source(c.bytes.data(), c.bytes.size());
        const Read archive = readArchive(source);
        ZipResult r = archive.result;
        std::string data;
        if (r == ZipResult::Ok) {
            CheckingSink sink;
            sink.keep = true;
            r = copyEntry(source, archive, 0, sink);
            data = sink.kept;
        }
        EXPECT_EQ(r, c.expected) << c.what << ": " << zipResultName(r);
        if (c.expected == ZipResult::Ok) {
            EXPECT_EQ(data, "alpha") << c.what;
        }
    }
}

}  // namespace
}  // namespace pelmora::zip
