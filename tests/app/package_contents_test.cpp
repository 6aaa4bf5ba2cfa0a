// The installer's reading of the package block behind its program image:
// what an intact block gives, how every kind of damage is told apart, and
// the choice of the window icon's image.
#include "app/package_contents.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <string>

#include "gfx/gdip_image.h"
#include "gfx/gdip_object.h"
#include "payload/package_block.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using package::BlockResult;
using pelmora::testing::TempFolder;

std::uint32_t crcOf(const std::string& bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

struct Parts {
    std::string stub = std::string("MZ") + std::string(510, '\x90');
    std::string payload = "PK\x05\x06" + std::string(18, '\0');  // an empty archive
    std::map<std::string, std::string> texts = {
        {"product.name", "Corvane Viewer"}, {"installFolder", "Corvane"},          {"program", "bin\\viewer.exe"},
        {"texts.browse", "Browse"},         {"texts.fileInUse", "In use: {file}"},
    };
    std::string background = "not read as a picture here";
    std::string background2x;  // no section when empty
};

// A program image followed by a block laid out as the builder lays it out.
std::string installerBytes(const Parts& parts) {
    std::string block = parts.payload;
    std::vector<package::Section> sections = {{package::SectionKind::Payload, 0, parts.payload.size()}};
    const std::string texts = package::encodeTexts(parts.texts);
    sections.push_back({package::SectionKind::Texts, block.size(), texts.size()});
    block += texts;
    for (const auto& [kind, bytes] : {std::pair{package::SectionKind::Background, &parts.background},
                                      std::pair{package::SectionKind::Background2x, &parts.background2x}}) {
        if (bytes->empty()) continue;
        sections.push_back({kind, block.size(), bytes->size()});
        block += *bytes;
    }
    package::Trailer trailer;
    trailer.blockOffset = parts.stub.size();
    trailer.directoryOffset = block.size();
    const std::string directory = package::encodeDirectory(sections);
    trailer.directorySize = static_cast<std::uint32_t>(directory.size());
    block += directory;
    trailer.blockCrc = crcOf(block);
    return parts.stub + block + package::encodeTrailer(trailer);
}

bool writeBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

TEST(PackageContentsTest, IntactBlockGivesItsTextsPictureAndPayload) {
    TempFolder dir;
    const Parts parts;
    const std::string bytes = installerBytes(parts);
    ASSERT_TRUE(writeBytes(dir / L"setup.exe", bytes));
    PackageContents contents;
    ASSERT_EQ(contents.load(dir / L"setup.exe"), BlockResult::Ok);
    EXPECT_EQ(contents.text("product.name", L"-"), L"Corvane Viewer");
    EXPECT_EQ(contents.text("window.title", L"fallback"), L"fallback");
    EXPECT_EQ(contents.windowText("browse"), L"Browse");
    // A text the block does not hold is the product's own.
    EXPECT_EQ(contents.windowText("install"), L"开始安装");
    EXPECT_EQ(fillIn(contents.windowText("fileInUse"), L"{file}", L"C:\\x y\\a.dll"), L"In use: C:\\x y\\a.dll");
    EXPECT_EQ(contents.folderSuffix(), L"\\Corvane");
    EXPECT_EQ(contents.archiveSuffix(), L"\\Corvane.zip");
    EXPECT_EQ(contents.programSuffix(), L"\\Corvane\\bin\\viewer.exe");
    EXPECT_EQ(contents.shortcutName(), L"Pelmora");  // not in the block: the product's own
    EXPECT_EQ(contents.background(), parts.background);
    EXPECT_TRUE(contents.icon().empty());
    EXPECT_EQ(contents.payloadOffset(), parts.stub.size());
    EXPECT_EQ(contents.payloadSize(), parts.payload.size());

    ASSERT_TRUE(contents.writePayload(dir / L"payload.zip"));
    std::string written;
    pelmora::testing::readFileBytes(dir / L"payload.zip", &written);
    EXPECT_EQ(written, parts.payload);
    // A name that is taken is never written over.
    ASSERT_TRUE(writeBytes(dir / L"taken.zip", "someone's own"));
    EXPECT_FALSE(contents.writePayload(dir / L"taken.zip"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    pelmora::testing::readFileBytes(dir / L"taken.zip", &written);
    EXPECT_EQ(written, "someone's own");
}

// The picture for screens above 150 % is read beside the one it enlarges;
// without that one it is passed over, so the window never shows a large
// picture at one scale and the plain one at another.
TEST(PackageContentsTest, DoublePictureOnlyBesideTheSingleOne) {
    TempFolder dir;
    const struct {
        const char* what;
        std::string background, background2x;
        std::string expected2x;
    } cases[] = {
        {"both", "small", "large", "large"},
        {"small only", "small", "", ""},
        {"large only", "", "large", ""},
    };
    for (const auto& c : cases) {
        Parts parts;
        parts.background = c.background;
        parts.background2x = c.background2x;
        ASSERT_TRUE(writeBytes(dir / L"setup.exe", installerBytes(parts)));
        PackageContents contents;
        ASSERT_EQ(contents.load(dir / L"setup.exe"), BlockResult::Ok) << c.what;
        EXPECT_EQ(contents.background(), c.background) << c.what;
        EXPECT_EQ(contents.background2x(), c.expected2x) << c.what;
    }
}

TEST(PackageContentsTest, DamagedOrMissingBlocksAreToldApartAndLeaveNothingLoaded) {
    const std::string intact = installerBytes(Parts{});
    Parts badText;
    badText.texts["texts.browse"] = "\xC3\x28";  // not UTF-8
    std::string newer = intact;
    newer[newer.size() - package::kTrailerSize + 8] = 2;  // format version
    struct Case {
        const char* what;
        std::string bytes;
        BlockResult result;
    } cases[] = {
        {"a program image alone", Parts{}.stub, BlockResult::NoBlock},
        {"cut off by one byte", intact.substr(0, intact.size() - 1), BlockResult::NoBlock},
        {"cut off inside the payload", intact.substr(0, Parts{}.stub.size() + 10), BlockResult::NoBlock},
        {"a payload byte changed",
         [&] {
             std::string b = intact;
             b[Parts{}.stub.size() + 1] ^= 0x20;
             return b;
         }(),
         BlockResult::Damaged},
        {"a trailer byte changed",
         [&] {
             std::string b = intact;
             b[b.size() - 20] ^= 1;
             return b;
         }(),
         BlockResult::Damaged},
        {"a text that is not UTF-8", installerBytes(badText), BlockResult::Damaged},
        {"an empty file", "", BlockResult::NoBlock},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        ASSERT_TRUE(writeBytes(dir / L"setup.exe", c.bytes)) << c.what;
        PackageContents contents;
        EXPECT_EQ(contents.load(dir / L"setup.exe"), c.result) << c.what;
        EXPECT_FALSE(contents.loaded()) << c.what;
        EXPECT_EQ(contents.windowText("browse"), L"浏览") << c.what;
        EXPECT_FALSE(contents.writePayload(dir / L"payload.zip")) << c.what;
    }
    PackageContents contents;
    EXPECT_EQ(contents.load(dir / L"no such file.exe"), BlockResult::Unreadable);
}

// An icon file with entries of the given widths (0 meaning 256); each
// image's bytes are "img<width>".
std::string icoWith(std::initializer_list<int> widths) {
    std::string head = {0, 0, 1, 0, static_cast<char>(widths.size()), 0}, images;
    const std::size_t start = 6 + widths.size() * 16;
    for (int w : widths) {
        const std::string image = "img" + std::to_string(w);
        const std::uint32_t offset = static_cast<std::uint32_t>(start + images.size());
        const std::uint32_t length = static_cast<std::uint32_t>(image.size());
        std::string entry(16, '\0');
        entry[0] = entry[1] = static_cast<char>(w & 0xFF);
        for (int i = 0; i < 4; ++i) {
            entry[8 + i] = static_cast<char>(length >> (8 * i));
            entry[12 + i] = static_cast<char>(offset >> (8 * i));
        }
        head += entry;
        images += image;
    }
    return head + images;
}

TEST(PackageContentsTest, IconImageIsTheSmallestLargeEnoughOrElseTheLargest) {
    const std::string ico = icoWith({16, 48, 0, 32});
    struct Case {
        int size;
        std::string_view image;
    } cases[] = {{16, "img16"}, {20, "img32"}, {32, "img32"}, {48, "img48"}, {64, "img0"}, {300, "img0"}};
    for (const Case& c : cases) EXPECT_EQ(iconImage(ico, c.size), c.image) << c.size;
    EXPECT_EQ(iconImage(icoWith({128}), 32), "img128");

    std::string pastTheEnd = ico;
    pastTheEnd[6 + 16 + 12] = 100;  // the second image's offset beyond the file
    for (const std::string& bad : {std::string(), std::string("\0\0\2\0\1\0", 6), ico.substr(0, 30), pastTheEnd})
        EXPECT_TRUE(iconImage(bad, 32).empty()) << ::testing::PrintToString(bad);
}

// The picture a package without one gets decodes as the window decodes its
// picture, with each colour on its side of the split.
TEST(PackageContentsTest, PlainPictureIsAPngOfTheTwoColours) {
    ASSERT_NE(gdipStartup(), 0u);
    {
        const std::string png = plainPicturePng(500, 300, 205, 0x2B3A55, 0xECE8DC);
        GdipBitmap bitmap;
        ASSERT_TRUE(bitmap.loadFromMemory(png.data(), png.size()));
        EXPECT_EQ(bitmap.width(), 500u);
        EXPECT_EQ(bitmap.height(), 300u);
        const struct {
            int x, y;
            Argb colour;
        } cases[] = {{0, 0, 0xFF2B3A55}, {499, 204, 0xFF2B3A55}, {0, 205, 0xFFECE8DC}, {499, 299, 0xFFECE8DC}};
        for (const auto& c : cases) EXPECT_EQ(bitmap.pixel(c.x, c.y), c.colour) << c.x << "," << c.y;
    }
    gdipShutdown();
}

}  // namespace
}  // namespace pelmora
