#include "payload/package_block.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/pack/pack_test_support.h"

namespace pelmora::package {
namespace {

std::uint32_t crcOf(const std::string& s) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(s.data()), static_cast<uInt>(s.size())));
}

// A program image with a block behind it: the payload, the texts and a
// picture, then the directory and the trailer.
struct Built {
    std::string bytes;
    std::uint64_t blockOffset = 0;
};

Built buildFile(const std::string& image = pack::testing::fakeStub()) {
    const std::string payload = "PK-not-really-an-archive", texts = encodeTexts({{"a", "1"}, {"b", "二"}}),
                      picture = "png";
    std::vector<Section> sections = {{SectionKind::Payload, 0, payload.size()},
                                     {SectionKind::Texts, payload.size(), texts.size()},
                                     {SectionKind::Background, payload.size() + texts.size(), picture.size()}};
    const std::string body = payload + texts + picture;
    const std::string directory = encodeDirectory(sections);
    Trailer t;
    t.blockOffset = image.size();
    t.directoryOffset = body.size();
    t.directorySize = static_cast<std::uint32_t>(directory.size());
    t.blockCrc = crcOf(body + directory);
    return {image + body + directory + encodeTrailer(t), image.size()};
}

BlockResult read(const std::string& bytes, Block* block = nullptr) {
    zip::MemorySource source(bytes.data(), bytes.size());
    Block ignored;
    return readBlock(source, block ? block : &ignored);
}

TEST(PackageBlockTest, ReadsWhatWasWritten) {
    const Built built = buildFile();
    Block block;
    ASSERT_EQ(read(built.bytes, &block), BlockResult::Ok);
    EXPECT_EQ(block.trailer.blockOffset, built.blockOffset);
    ASSERT_NE(block.find(SectionKind::Texts), nullptr);
    EXPECT_EQ(block.find(SectionKind::Icon), nullptr);
    zip::MemorySource source(built.bytes.data(), built.bytes.size());
    std::string bytes;
    ASSERT_TRUE(readSection(source, block, *block.find(SectionKind::Texts), 1000, &bytes));
    std::map<std::string, std::string> texts;
    ASSERT_TRUE(decodeTexts(bytes, &texts));
    EXPECT_EQ(texts, (std::map<std::string, std::string>{{"a", "1"}, {"b", "二"}}));
    EXPECT_FALSE(readSection(source, block, *block.find(SectionKind::Texts), bytes.size() - 1, &bytes));
}

TEST(PackageBlockTest, DamageAndAbsenceAreToldApart) {
    const Built good = buildFile();
    const std::size_t trailer = good.bytes.size() - kTrailerSize;
    auto flipped = [&](std::size_t at) {
        std::string s = good.bytes;
        s[at] = static_cast<char>(s[at] ^ 0x20);
        return s;
    };
    std::string newer = good.bytes;
    newer[trailer + 8] = 2;  // version, with the trailer's own CRC made to match
    const std::uint32_t crc = crcOf(newer.substr(trailer, 44));
    for (int i = 0; i < 4; ++i) newer[trailer + 44 + i] = static_cast<char>(crc >> (8 * i));
    const struct {
        const char* what;
        std::string bytes;
        BlockResult expected;
    } cases[] = {
        {"bare program image", pack::testing::fakeStub(), BlockResult::NoBlock},
        {"download cut short", good.bytes.substr(0, good.bytes.size() - 30), BlockResult::NoBlock},
        {"empty file", "", BlockResult::NoBlock},
        {"payload byte changed", flipped(good.blockOffset + 3), BlockResult::Damaged},
        {"directory byte changed", flipped(trailer - 5), BlockResult::Damaged},
        {"trailer byte changed", flipped(trailer + 20), BlockResult::Damaged},
        {"bytes appended", good.bytes + "x", BlockResult::NoBlock},
        {"newer format", newer, BlockResult::NewerFormat},
    };
    for (const auto& c : cases) EXPECT_EQ(read(c.bytes), c.expected) << c.what;
}

// Signing a program appends a certificate table (after padding to eight
// bytes) and names it in the image's headers: the block is still found.
TEST(PackageBlockTest, FoundInFrontOfASignature) {
    for (std::size_t padding : {0u, 3u, 7u}) {
        const Built built = buildFile();
        std::string signedFile = built.bytes + std::string(padding, '\0');
        const std::string certificate(200, 'C');
        const std::uint32_t offset = static_cast<std::uint32_t>(signedFile.size());
        signedFile += certificate;
        // Security directory: entry 4 of the data directories, after the 96-byte fixed part.
        const std::size_t entry = 64 + 24 + 96 + 4 * 8;
        for (int i = 0; i < 4; ++i) {
            signedFile[entry + i] = static_cast<char>(offset >> (8 * i));
            signedFile[entry + 4 + i] = static_cast<char>(certificate.size() >> (8 * i));
        }
        // The headers are not part of the block, so its checksum still holds.
        EXPECT_EQ(read(signedFile), BlockResult::Ok) << padding;
    }
}

TEST(PackageBlockTest, TextTablesAreStrict) {
    const std::string good = encodeTexts({{"a", ""}, {"b", "x"}});
    std::map<std::string, std::string> texts;
    EXPECT_TRUE(decodeTexts(good, &texts));
    EXPECT_FALSE(decodeTexts(good + "x", &texts));                       // bytes left over
    EXPECT_FALSE(decodeTexts(good.substr(0, good.size() - 1), &texts));  // cut off
    std::string unordered = good;
    std::swap(unordered[8], unordered[17]);  // "b" before "a"
    EXPECT_FALSE(decodeTexts(unordered, &texts));
}

TEST(PackageBlockTest, CrcCombinesAcrossLengthsZlibCannotCount) {
    // A is 1 MiB of 'a', B just over 2 GiB of zeros: past any signed 32-bit length.
    const std::string a(1 << 20, 'a');
    const std::uint64_t zeros = (2ull << 30) + (1 << 24);
    std::string block(1 << 24, '\0');
    uLong crcB = crc32(0, nullptr, 0),
          whole = crc32(0, reinterpret_cast<const Bytef*>(a.data()), static_cast<uInt>(a.size()));
    for (std::uint64_t done = 0; done < zeros; done += block.size()) {
        crcB = crc32(crcB, reinterpret_cast<const Bytef*>(block.data()), static_cast<uInt>(block.size()));
        whole = crc32(whole, reinterpret_cast<const Bytef*>(block.data()), static_cast<uInt>(block.size()));
    }
    EXPECT_EQ(crc32Combine(crcOf(a), static_cast<std::uint32_t>(crcB), zeros), static_cast<std::uint32_t>(whole));
    // And small pieces at every split point.
    const std::string text = "combine me at any point";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        EXPECT_EQ(crc32Combine(crcOf(text.substr(0, cut)), crcOf(text.substr(cut)), text.size() - cut), crcOf(text));
    }
}

}  // namespace
}  // namespace pelmora::package
