#include "tools/pack/picture_check.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/pack/pack_test_support.h"

namespace pelmora::pack {
namespace {

using testing::makeIco;
using testing::makePng;

// Replaces bytes at `at` and leaves the rest.
std::string patched(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

TEST(PictureCheckTest, BackgroundMustBeACompletePngOf500By300) {
    const std::string good = makePng(500, 300);
    const std::size_t idat = good.find("IDAT") - 4;
    const struct {
        const char* what;
        std::string bytes;
        std::string problem;
    } cases[] = {
        {"good", good, ""},
        {"interlaced", makePng(500, 300, true), ""},
        {"other size", makePng(640, 480), "the picture is 640 x 480 pixels; the window needs 500 x 300"},
        {"one pixel short", makePng(500, 299), "the picture is 500 x 299 pixels; the window needs 500 x 300"},
        {"not a PNG", "GIF89a" + std::string(100, 'x'), "not a PNG file"},
        {"cut off", good.substr(0, good.size() / 2), "the PNG file is cut off"},
        {"no end chunk", good.substr(0, good.size() - 12), "the PNG file is cut off"},
        {"chunk damaged", patched(good, idat + 20, "\x55\x66"), "the PNG file is damaged (chunk IDAT fails its CRC)"},
        {"data after the end", good + "junk", "the PNG file has data after its end"},
        {"header of another image on the same data",
         patched(makePng(500, 300), 16, std::string("\0\0\x01\xF4\0\0\x01\x2D", 8)),
         "the PNG file is damaged (chunk IHDR fails its CRC)"},
    };
    for (const auto& c : cases) EXPECT_EQ(checkBackgroundPng(c.bytes), c.problem) << c.what;
}

// The picture for screens above 150 % is the same one at twice the size:
// each size is refused where the other is asked for.
TEST(PictureCheckTest, DoublePictureMustBe1000By600) {
    EXPECT_EQ(checkBackgroundPng(makePng(1000, 600), true), "");
    EXPECT_EQ(checkBackgroundPng(makePng(500, 300), true),
              "the picture is 500 x 300 pixels; the window needs 1000 x 600");
    EXPECT_EQ(checkBackgroundPng(makePng(1000, 600)), "the picture is 1000 x 600 pixels; the window needs 500 x 300");
    EXPECT_EQ(checkBackgroundPng(makePng(1000, 600).substr(0, 100), true), "the PNG file is cut off");
}

// The chunks hold up but the image data does not match the header: caught
// only by inflating it.
TEST(PictureCheckTest, ImageDataMustFillTheAnnouncedRows) {
    const std::string small = makePng(500, 299);
    // The 299-row data under a 300-row header, with the header's CRC fixed.
    std::string lying = small;
    lying[22] = 0x2C;  // height 300
    const std::string typed = lying.substr(12, 17);
    const auto crc = static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
    for (int i = 0; i < 4; ++i) lying[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    EXPECT_EQ(checkBackgroundPng(lying), "the PNG image data is damaged or incomplete");
}

TEST(PictureCheckTest, IconMustBeAnIcoWithCompleteImages) {
    const std::string pngIcon = makeIco(48, true), bmpIcon = makeIco(32, false);
    const struct {
        const char* what;
        std::string bytes;
        std::string problem;
    } cases[] = {
        {"PNG image", pngIcon, ""},
        {"bitmap image", bmpIcon, ""},
        {"256 pixels", makeIco(256, true), ""},
        {"a PNG file", makePng(48, 48), "not an ICO file"},
        {"a cursor", patched(bmpIcon, 2, std::string("\x02\x00", 2)), "a cursor file, not an icon"},
        {"no images", patched(bmpIcon, 4, std::string("\x00\x00", 2)), "the icon file holds no images"},
        {"directory cut off", bmpIcon.substr(0, 10), "the icon file is cut off"},
        {"image outside the file", patched(bmpIcon, 18, std::string("\xFF\xFF\x00\x00", 4)),
         "image 1 of the icon lies outside the file"},
        {"bitmap cut off", bmpIcon.substr(0, bmpIcon.size() - 100), "image 1 of the icon lies outside the file"},
        {"bitmap size disagrees", patched(bmpIcon, 6, "\x10"),
         "image 1 of the icon does not have the size its directory entry gives"},
        {"damaged PNG image", patched(pngIcon, pngIcon.size() - 30, "\x01\x02\x03"),
         "image 1 of the icon: the PNG file is damaged (chunk IDAT fails its CRC)"},
        {"neither", patched(bmpIcon, 22, std::string("\x05\0\0\0", 4)),
         "image 1 of the icon is neither a PNG nor a bitmap"},
    };
    for (const auto& c : cases) EXPECT_EQ(checkIco(c.bytes), c.problem) << c.what;
}

}  // namespace
}  // namespace pelmora::pack
