#include "tools/pack/zip_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "payload/entry_data.h"
#include "payload/zip_format.h"
#include "tests/pack/pack_test_support.h"

namespace pelmora::pack {
namespace {

using testing::TempDir;

// Hands on `size` bytes of a pattern (zeros, text or noise), in chunks of up
// to 1 MiB, without holding them.
class PatternData final : public DataSource {
public:
    enum class Pattern { Zeros, Text, Noise };
    PatternData(std::uint64_t size, Pattern pattern) : size_(size), pattern_(pattern) {}
    bool produce(const Consumer& consume) override {
        ++rounds;
        std::mt19937 noise(7);
        std::string chunk(1 << 20, '\0');
        std::uint64_t at = 0;
        for (std::uint64_t left = size_ + (rounds > 1 ? growOnSecondRound : 0); left > 0; at += chunk.size()) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), left));
            for (std::size_t i = 0; i < n && pattern_ != Pattern::Zeros; ++i) {
                chunk[i] =
                    pattern_ == Pattern::Text ? "the quick brown fox "[(at + i) % 20] : static_cast<char>(noise());
            }
            if (!consume(reinterpret_cast<const std::uint8_t*>(chunk.data()), n)) return false;
            left -= n;
        }
        return true;
    }
    std::string error() const override { return "pattern"; }
    int rounds = 0;
    std::uint64_t growOnSecondRound = 0;

private:
    std::uint64_t size_;
    Pattern pattern_;
};

class StringData final : public DataSource {
public:
    explicit StringData(std::string bytes) : bytes_(std::move(bytes)) {}
    bool produce(const Consumer& consume) override {
        return bytes_.empty() || consume(reinterpret_cast<const std::uint8_t*>(bytes_.data()), bytes_.size());
    }
    std::string error() const override { return {}; }

private:
    std::string bytes_;
};

class CountingSink final : public zip::ChunkSink {
public:
    bool write(const std::uint8_t* data, std::size_t size) override {
        if (keep) bytes.append(reinterpret_cast<const char*>(data), size);
        total += size;
        return true;
    }
    bool keep = true;
    std::string bytes;
    std::uint64_t total = 0;
};

struct Archive {
    zip::ZipResult result = zip::ZipResult::Ok;
    zip::EndRecord end;
    std::vector<zip::CentralEntry> entries;
};

Archive readArchive(zip::ByteSource& source) {
    Archive a;
    a.result = zip::findEndRecord(source, &a.end);
    if (a.result == zip::ZipResult::Ok) a.result = zip::readCentralDirectory(source, a.end, &a.entries);
    return a;
}

zip::ZipResult readEntry(zip::ByteSource& source, const Archive& a, std::size_t i, CountingSink* sink) {
    zip::LocalEntry local;
    zip::ZipResult r = zip::readLocalEntry(source, a.entries.at(i), a.end.directoryOffset, &local);
    return r == zip::ZipResult::Ok ? zip::copyEntryData(source, a.entries[i], local.dataOffset, *sink) : r;
}

// Writes an archive behind `prefix` bytes and returns the file's bytes.
std::string writeArchive(const NativePath& path, const std::function<void(ZipWriter&)>& fill,
                         ZipWriterSettings settings = {}, const std::string& prefix = "stub") {
    OutputFile out;
    EXPECT_TRUE(out.create(path));
    out.write(prefix);
    ZipWriter zip(out, settings);
    fill(zip);
    EXPECT_TRUE(zip.finish()) << zip.error();
    EXPECT_EQ(out.position(), prefix.size() + zip.size());
    EXPECT_TRUE(out.finish(out.position()));
    out.keep();
    const std::string bytes = testing::readFile(path);
    // The CRC the writer reports is that of the archive as it stands in the file.
    const std::string archive = bytes.substr(prefix.size());
    EXPECT_EQ(zip.crc(), crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(archive.data()),
                               static_cast<uInt>(archive.size())));
    return bytes;
}

TEST(ZipWriterTest, EntriesReadBackWithNamesMethodsAndTimes) {
    TempDir temp;
    const std::string hello(200, 'h');
    const std::string text = [] {  // streams: larger than what is compressed in memory
        std::string t;
        for (int i = 0; i < 1100000; ++i) t += "the quick brown fox "[i % 20];
        return t;
    }();
    std::mt19937 rng(3);
    std::string noise(5000, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    ZipWriterSettings settings;
    settings.dosDate = (41 << 9) | (12 << 5) | 30;
    settings.dosTime = (6 << 11) | (50 << 5) | 10;
    const std::string bytes = writeArchive(
        temp / "a.zip",
        [&](ZipWriter& zip) {
            ASSERT_TRUE(zip.addFolder("数据/"));
            StringData small(hello), empty(""), random(noise);
            ASSERT_TRUE(zip.addFile("数据/a.txt", hello.size(), small, nullptr));
            ASSERT_TRUE(zip.addFile("empty", 0, empty, nullptr));
            ASSERT_TRUE(zip.addFile("noise.bin", noise.size(), random, nullptr));
            PatternData big(text.size(), PatternData::Pattern::Text), bigNoise(3 << 20, PatternData::Pattern::Noise);
            std::uint64_t reported = 0;
            ASSERT_TRUE(zip.addFile("big.txt", text.size(), big, [&](std::uint64_t n) { return (reported += n) > 0; }));
            EXPECT_EQ(reported, text.size());
            ASSERT_TRUE(zip.addFile("big-noise.bin", 3 << 20, bigNoise, nullptr));
            EXPECT_EQ(bigNoise.rounds, 2);  // read again to be stored
        },
        settings);
    zip::MemorySource source(bytes.data(), bytes.size());
    const Archive a = readArchive(source);
    ASSERT_EQ(a.result, zip::ZipResult::Ok);
    EXPECT_EQ(a.end.prefix, 4u);  // offsets count from the archive's start
    const struct {
        const char* name;
        std::uint16_t method, flags;
        std::uint64_t size;
    } expected[] = {
        {"数据/", 0, zip::kFlagUtf8Name, 0},
        {"数据/a.txt", 8, zip::kFlagUtf8Name, 200},
        {"empty", 0, 0, 0},
        {"noise.bin", 0, 0, noise.size()},
        {"big.txt", 8, 0, text.size()},
        {"big-noise.bin", 0, 0, 3 << 20},
    };
    ASSERT_EQ(a.entries.size(), std::size(expected));
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const zip::CentralEntry& e = a.entries[i];
        EXPECT_EQ(e.name, expected[i].name);
        EXPECT_EQ(e.method, expected[i].method) << e.name;
        EXPECT_EQ(e.flags, expected[i].flags) << e.name;
        EXPECT_EQ(e.uncompressedSize, expected[i].size) << e.name;
        EXPECT_EQ(e.dosDate, settings.dosDate);
        EXPECT_EQ(e.dosTime, settings.dosTime);
        EXPECT_EQ(zip::isDirectoryAttributes(zip::attributesFromExternal(e.externalAttributes)), i == 0);
        CountingSink sink;
        EXPECT_EQ(readEntry(source, a, i, &sink), zip::ZipResult::Ok) << e.name;
        const std::string* content = i == 1 ? &hello : i == 3 ? &noise : i == 4 ? &text : nullptr;
        if (content) {
            EXPECT_EQ(sink.bytes, *content) << e.name;
        }
    }
}

TEST(ZipWriterTest, DataThatIsNotWhatWasListedFailsTheEntry) {
    TempDir temp;
    const struct {
        const char* what;
        std::uint64_t listed, actual, grow;
        PatternData::Pattern pattern;
    } cases[] = {
        {"small file grew", 10, 11, 0, PatternData::Pattern::Text},
        {"small file shrank", 10, 9, 0, PatternData::Pattern::Text},
        {"large file shrank", 2 << 20, (2 << 20) - 1, 0, PatternData::Pattern::Text},
        {"large file changed before it was read again", 2 << 20, 2 << 20, 1, PatternData::Pattern::Noise},
    };
    for (const auto& c : cases) {
        OutputFile out;
        ASSERT_TRUE(out.create(temp / (std::string(c.what) + ".zip")));
        ZipWriter zip(out, {});
        PatternData data(c.actual, c.pattern);
        data.growOnSecondRound = c.grow;
        EXPECT_FALSE(zip.addFile("f", c.listed, data, nullptr)) << c.what;
        EXPECT_EQ(zip.error(), "the file changed while it was being read: f") << c.what;
    }
}

TEST(ZipWriterTest, SameInputGivesTheSameBytes) {
    TempDir temp;
    auto fill = [](ZipWriter& zip) {
        zip.addFolder("d/");
        StringData a("alpha"), b(std::string(70000, 'b'));
        zip.addFile("d/a", 5, a, nullptr);
        zip.addFile("b", 70000, b, nullptr);
    };
    EXPECT_EQ(writeArchive(temp / "one.zip", fill), writeArchive(temp / "two.zip", fill));
}

// 70,000 entries need the 64-bit end record; Python's zipfile and unzip read
// these archives too (see the native test step).
TEST(ZipWriterTest, MoreThan65535EntriesUseThe64BitEndRecord) {
    TempDir temp;
    const std::string bytes = writeArchive(temp / "many.zip", [](ZipWriter& zip) {
        for (int i = 0; i < 70000; ++i) {
            StringData d(std::to_string(i));
            ASSERT_TRUE(zip.addFile("f/" + std::to_string(i), std::to_string(i).size(), d, nullptr));
        }
    });
    zip::MemorySource source(bytes.data(), bytes.size());
    const Archive a = readArchive(source);
    ASSERT_EQ(a.result, zip::ZipResult::Ok);
    EXPECT_TRUE(a.end.zip64);
    ASSERT_EQ(a.entries.size(), 70000u);
    CountingSink sink;
    EXPECT_EQ(readEntry(source, a, 69999, &sink), zip::ZipResult::Ok);
    EXPECT_EQ(sink.bytes, "69999");
    // Up to 65,535 entries the plain record says it all.
    const std::string fewer = writeArchive(temp / "fewer.zip", [](ZipWriter& zip) {
        for (int i = 0; i < 65535; ++i) {
            StringData d("");
            zip.addFile(std::to_string(i), 0, d, nullptr);
        }
    });
    EXPECT_EQ(fewer.find(std::string("PK\x06\x06", 4)), std::string::npos);
}

// Writes an archive of generated entries to `path` and opens it again.
void writeLarge(const NativePath& path, int level, const std::vector<std::pair<std::string, std::uint64_t>>& files) {
    OutputFile out;
    ASSERT_TRUE(out.create(path));
    ZipWriterSettings settings;
    settings.level = level;
    ZipWriter zip(out, settings);
    for (const auto& [name, size] : files) {
        PatternData data(size, PatternData::Pattern::Zeros);
        ASSERT_TRUE(zip.addFile(name, size, data, nullptr)) << zip.error();
    }
    ASSERT_TRUE(zip.finish()) << zip.error();
    ASSERT_TRUE(out.finish(out.position()));
    out.keep();
}

// An entry past 4 GiB deflated, and a stored one that puts the next entry's
// offset past 4 GiB: sizes, offsets and the archive all need 64 bits. The
// source data is generated, so only the archives take disk space.
TEST(ZipWriterTest, LargeEntriesAndOffsetsBeyond4GiB) {
    TempDir temp;
    const std::uint64_t big = (4ull << 30) + 123457;
    for (const int level : {1, 0}) {
        const NativePath path = temp / ("level" + std::to_string(level) + ".zip");
        writeLarge(path, level, {{"big.bin", big}, {"after.bin", 17}});
        FileSource source;
        ASSERT_TRUE(source.open(path));
        const Archive a = readArchive(source);
        ASSERT_EQ(a.result, zip::ZipResult::Ok) << zip::zipResultName(a.result);
        ASSERT_EQ(a.entries.size(), 2u);
        EXPECT_EQ(a.entries[0].uncompressedSize, big);
        EXPECT_EQ(a.entries[0].method, level ? zip::kMethodDeflated : zip::kMethodStored);
        if (level == 0) {
            EXPECT_GT(source.size(), big);
            EXPECT_GT(a.entries[1].localOffset, 4ull << 30);
        }
        CountingSink bigSink, afterSink;
        bigSink.keep = false;
        EXPECT_EQ(readEntry(source, a, 0, &bigSink), zip::ZipResult::Ok);
        EXPECT_EQ(bigSink.total, big);
        EXPECT_EQ(readEntry(source, a, 1, &afterSink), zip::ZipResult::Ok);
        EXPECT_EQ(afterSink.bytes, std::string(17, '\0'));
    }
}

}  // namespace
}  // namespace pelmora::pack
