#include "payload/zip_format.h"

#include <gtest/gtest.h>

#include "payload/entry_data.h"
#include "tests/payload/zip_builder.h"

namespace pelmora::zip {
namespace {

using testing::buildZip;
using testing::extraBlock;
using testing::le32;
using testing::TestEntry;

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ULL;

std::uint64_t ticksAtUnix(std::int64_t seconds) {
    return kUnixEpochTicks + seconds * kTicksPerSecond;
}

class StringSink final : public ChunkSink {
public:
    bool write(const std::uint8_t* data, std::size_t size) override {
        largestChunk = std::max(largestChunk, size);
        bytes.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
    std::size_t largestChunk = 0;
};

struct Opened {
    ZipResult result = ZipResult::Ok;
    EndRecord end;
    std::vector<CentralEntry> entries;
};

Opened openBytes(const std::string& bytes) {
    MemorySource source(bytes.data(), bytes.size());
    Opened o;
    o.result = findEndRecord(source, &o.end);
    if (o.result == ZipResult::Ok) o.result = readCentralDirectory(source, o.end, &o.entries);
    return o;
}

// Reads entry 0 the way the reader does: local header, then data.
ZipResult extractFirst(const std::string& bytes, std::string* out) {
    Opened o = openBytes(bytes);
    if (o.result != ZipResult::Ok) return o.result;
    MemorySource source(bytes.data(), bytes.size());
    LocalEntry local;
    const ZipResult r = readLocalEntry(source, o.entries.at(0), o.end.directoryOffset, &local);
    if (r != ZipResult::Ok) return r;
    StringSink sink;
    const ZipResult copied = copyEntryData(source, o.entries[0], local.dataOffset, sink);
    *out = sink.bytes;
    return copied;
}

TEST(ZipFormatTest, EndRecordIsFoundBehindCommentsAndAfterPrecedingData) {
    const std::vector<TestEntry> entries = {{"a.txt", "alpha"}, testing::folderEntry("b/")};
    using testing::PrefixOffsets;
    const std::string stub(5000, 'x');
    struct Case {
        std::string prefix, comment;
        PrefixOffsets offsets = PrefixOffsets::Unadjusted;
    } cases[] = {
        {"", ""},
        {"", std::string(1000, 'c')},   // record inside the first search block
        {"", std::string(1010, 'c')},   // signature straddles the first two blocks
        {"", std::string(65535, 'c')},  // the longest comment: the farthest a record can be from the end
        {stub, "hello"},                // self-extracting stub before the archive
        {stub, std::string(65535, 'c')},
        {stub, "", PrefixOffsets::Adjusted},  // the writer counted the stub in its offsets
    };
    for (const Case& c : cases) {
        const auto zip = buildZip(entries, c.prefix, c.comment, c.offsets);
        std::string data;
        const Opened o = openBytes(zip.bytes);
        EXPECT_EQ(o.result, ZipResult::Ok) << c.prefix.size() << "/" << c.comment.size();
        if (o.result != ZipResult::Ok) continue;
        EXPECT_EQ(o.end.prefix, c.offsets == PrefixOffsets::Adjusted ? 0u : c.prefix.size());
        ASSERT_EQ(o.entries.size(), 2u);
        EXPECT_EQ(o.entries[0].localOffset, zip.localOffsets[0]);
        EXPECT_EQ(o.entries[1].name, "b/");
        EXPECT_EQ(extractFirst(zip.bytes, &data), ZipResult::Ok);
        EXPECT_EQ(data, "alpha");
    }
}

TEST(ZipFormatTest, BrokenEndRecordsAndDirectoriesAreNotArchives) {
    const std::string good = buildZip({{"a.txt", "alpha"}}).bytes;
    const std::size_t eocd = good.size() - 22;
    auto patched = [&](std::size_t at, const std::string& bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    const struct {
        const char* what;
        std::string bytes;
        ZipResult expected;
    } cases[] = {
        {"empty file", "", ZipResult::NotAnArchive},
        {"no end record", std::string(70000, 'z'), ZipResult::NotAnArchive},
        {"record beyond the search window", good + std::string(65536, 'c'), ZipResult::NotAnArchive},
        {"second disk", patched(eocd + 4, "\x01"), ZipResult::NotAnArchive},
        {"entry counts differ", patched(eocd + 8, "\x02"), ZipResult::NotAnArchive},
        {"directory runs past the record", patched(eocd + 12, le32(1000)), ZipResult::NotAnArchive},
        {"more entries than records", patched(eocd + 8, std::string("\x02\x00\x02\x00", 4)), ZipResult::NotAnArchive},
        {"bad central signature", patched(good.find("PK\x01\x02"), "PK\x01\x03"), ZipResult::NotAnArchive},
        {"64-bit end record", patched(eocd + 16, le32(0xFFFFFFFF)), ZipResult::Unsupported},
    };
    for (const auto& c : cases) EXPECT_EQ(openBytes(c.bytes).result, c.expected) << c.what;
}

// 0xFFFF in the entry counts is an ordinary count (65,535 entries) unless a
// 64-bit end record, announced by its locator just before the end record,
// holds the real one.
TEST(ZipFormatTest, FullEntryCountIsACountUnlessA64BitRecordIsAnnounced) {
    std::vector<TestEntry> entries(65535, TestEntry{"x", "", false});
    entries.back().name = "last";
    const Opened full = openBytes(buildZip(entries).bytes);
    ASSERT_EQ(full.result, ZipResult::Ok) << zipResultName(full.result);
    ASSERT_EQ(full.entries.size(), 65535u);
    EXPECT_EQ(full.entries.back().name, "last");

    // One record, counts saturated: read as a count, the directory falls short.
    const std::string one = buildZip({{"a.txt", "alpha"}}).bytes;
    const std::size_t eocd = one.size() - kEndRecordSize;
    std::string saturated = one;
    saturated.replace(eocd + 8, 4, std::string(4, '\xFF'));
    EXPECT_EQ(openBytes(saturated).result, ZipResult::NotAnArchive);
    // The same behind a locator (signature, disk, 64-bit offset, disk count)
    // that leads to no 64-bit record: the archive is damaged.
    const std::string locator = le32(0x07064B50) + le32(0) + le32(0) + le32(0) + le32(1);
    std::string announced = saturated;
    announced.insert(eocd, locator);
    EXPECT_EQ(openBytes(announced).result, ZipResult::NotAnArchive);
}

TEST(ZipFormatTest, LocalHeaderMustAgreeWithCentralRecord) {
    std::string out;
    TestEntry base{"a.txt", "some text"};
    struct Case {
        const char* what;
        TestEntry entry;
        ZipResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({"sound", base, ZipResult::Ok});
    TestEntry otherName = base;
    otherName.localName = "b.txt";
    cases.push_back({"other name", otherName, ZipResult::LocalHeaderMismatch});
    TestEntry longExtra = base;
    longExtra.localExtraLength = 60000;  // runs into the central directory
    cases.push_back({"extra length past the data", longExtra, ZipResult::LocalHeaderMismatch});
    TestEntry badBlock = base;
    // The second block claims 32 bytes and has 3.
    badBlock.localExtra = extraBlock(0x5455, "\x01") + std::string(
                                                           "\x0A\x00\x20\x00"
                                                           "abc",
                                                           7);
    cases.push_back({"truncated extra block", badBlock, ZipResult::BadExtraField});
    TestEntry padded = base;
    padded.localExtra = extraBlock(0x000A, std::string(6, '\0')) + std::string(2, '\0');
    cases.push_back({"zero padding after the blocks", padded, ZipResult::Ok});
    for (const Case& c : cases) {
        EXPECT_EQ(extractFirst(buildZip({c.entry}).bytes, &out), c.expected) << c.what;
    }

    // The local CRC differs from the central one (no data descriptor).
    std::string bytes = buildZip({base}).bytes;
    bytes[14] ^= 0x55;
    EXPECT_EQ(extractFirst(bytes, &out), ZipResult::LocalHeaderMismatch);
    // The local header is not where the central record says.
    bytes = buildZip({base}).bytes;
    bytes[0] = 'X';
    EXPECT_EQ(extractFirst(bytes, &out), ZipResult::LocalHeaderMismatch);
}

TEST(ZipFormatTest, DataIsCheckedAgainstSizeAndCrc) {
    const std::string text = std::string(100000, 'a') + "tail";  // several output chunks
    struct Case {
        const char* what;
        TestEntry entry;
        ZipResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({"deflated", TestEntry{"x", text}, ZipResult::Ok});
    cases.push_back({"stored", TestEntry{"x", text, false}, ZipResult::Ok});
    TestEntry e{"x", text};
    e.crc = 0x12345678;
    cases.push_back({"wrong CRC", e, ZipResult::DataMismatch});
    e = TestEntry{"x", text};
    e.uncompressedSize = static_cast<std::uint32_t>(text.size() - 1);
    cases.push_back({"declared one byte short", e, ZipResult::DataMismatch});
    e = TestEntry{"x", text};
    e.uncompressedSize = static_cast<std::uint32_t>(text.size() + 1);
    cases.push_back({"declared one byte long", e, ZipResult::DataMismatch});
    e = TestEntry{"x", text};
    e.payloadOverride = testing::rawDeflate(text).substr(0, 40);
    cases.push_back({"stream cut off", e, ZipResult::DataMismatch});
    e = TestEntry{"x", text};
    e.payloadOverride = std::string(50, '\xFF');
    cases.push_back({"not deflate data", e, ZipResult::CopyFailed});
    e = TestEntry{"x", text, false};
    e.uncompressedSize = 10;
    cases.push_back({"stored sizes differ", e, ZipResult::DataMismatch});
    e = TestEntry{"x", text};
    e.flags = kFlagEncrypted;
    cases.push_back({"encrypted", e, ZipResult::Unsupported});
    e = TestEntry{"x", text};
    e.method = 12;
    cases.push_back({"other method", e, ZipResult::Unsupported});
    e = TestEntry{"x", text};
    e.uncompressedSize = 0xFFFFFFFF;
    cases.push_back({"64-bit size", e, ZipResult::Unsupported});

    for (const Case& c : cases) {
        const std::string bytes = buildZip({c.entry}).bytes;
        const Opened o = openBytes(bytes);
        ASSERT_EQ(o.result, ZipResult::Ok) << c.what;
        MemorySource source(bytes.data(), bytes.size());
        LocalEntry local;
        const ZipResult header = readLocalEntry(source, o.entries[0], o.end.directoryOffset, &local);
        StringSink sink;
        const ZipResult r =
            header != ZipResult::Ok ? header : copyEntryData(source, o.entries[0], local.dataOffset, sink);
        EXPECT_EQ(r, c.expected) << c.what;
        EXPECT_LE(sink.bytes.size(), o.entries[0].uncompressedSize) << c.what << ": wrote past the declared size";
        EXPECT_LE(sink.largestChunk, kOutputBuffer) << c.what;
        if (c.expected == ZipResult::Ok) {
            EXPECT_EQ(sink.bytes, text) << c.what;
        }
    }
}

TEST(ZipFormatTest, AttributesFromExternalValue) {
    const struct {
        std::uint32_t external, attributes;
    } cases[] = {
        {0x00000020, 0x80 | 0x20 | 0x01},  // MS-DOS file: read-only until the extractor clears it
        {0x00000010, 0x90 | 0x01},         // MS-DOS folder
        {0x81A40000, 0x80},                // Unix rw-r--r-- file
        {0x81240000, 0x80 | 0x01},         // Unix r--r--r-- file
        {0x41ED0000, 0x90},                // Unix folder, no MS-DOS bits
        {0x81A48021, 0x80 | 0x20 | 0x01},  // read-only MS-DOS bit wins over the Unix mode
        {0x00800006, 0x80 | 0x02 | 0x04},  // hidden, system
    };
    for (const auto& c : cases) {
        EXPECT_EQ(attributesFromExternal(c.external), c.attributes) << std::hex << c.external;
    }
}

TEST(ZipFormatTest, TimesAreUtcAndExtendedTimestampsOverride) {
    // 2021-12-30 06:50:20, the payload's stamp, read as UTC.
    const std::uint64_t payloadTime = ticksAtUnix(1640847020);
    EXPECT_EQ(fileTimeFromDos((41 << 9) | (12 << 5) | 30, (6 << 11) | (50 << 5) | 10), payloadTime);
    EXPECT_EQ(fileTimeFromDos((0 << 9) | (1 << 5) | 1, 0), ticksAtUnix(315532800));    // 1980-01-01
    EXPECT_EQ(fileTimeFromDos((20 << 9) | (2 << 5) | 29, 0), ticksAtUnix(951782400));  // 2000-02-29
    EXPECT_EQ(fileTimeFromDos((21 << 9) | (2 << 5) | 29, 0), 0u);                      // 2001-02-29
    EXPECT_EQ(fileTimeFromDos(0, 0), 0u);                                              // month 0
    EXPECT_EQ(fileTimeFromDos((41 << 9) | (1 << 5) | 1, 24 << 11), 0u);                // hour 24

    EntryTimes times{1, 2, 3};
    // Write and creation time given; access flagged but missing, as in central copies.
    const std::string ut = extraBlock(0x5455, std::string("\x07", 1) + le32(1000000000) + le32(1700000000));
    ASSERT_TRUE(applyExtraFieldTimes(reinterpret_cast<const std::uint8_t*>(ut.data()), ut.size(), &times));
    EXPECT_EQ(times.write, ticksAtUnix(1000000000));
    EXPECT_EQ(times.access, ticksAtUnix(1700000000));
    EXPECT_EQ(times.creation, 1u);
    // Other blocks are skipped by their length.
    const std::string mixed = extraBlock(0x000A, std::string(32, '\x55')) + extraBlock(0x5455, "\x04" + le32(86400));
    times = EntryTimes{1, 2, 3};
    ASSERT_TRUE(applyExtraFieldTimes(reinterpret_cast<const std::uint8_t*>(mixed.data()), mixed.size(), &times));
    EXPECT_EQ(times.creation, ticksAtUnix(86400));
    EXPECT_EQ(times.write, 3u);
}

}  // namespace
}  // namespace pelmora::zip
