#include "tests/skin/controls/painter_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/back_buffer.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/gdip_object.h"
#include "tests/support/gdi_objects.h"

namespace pelmora::test {
namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(gdipStartup(), 0u); }
    void TearDown() override { gdipShutdown(); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

std::uint32_t picture(int x, int y) {
    return 0xFF000000u | ((x * 37 + y * 11) & 0xFF) << 16 | ((y * 29 + 64) & 0xFF) << 8 | ((x * 13 + y * 7) & 0xFF);
}

std::uint32_t grey(int, int) {
    return 0xFF808080u;
}

PainterCanvas::PainterCanvas(int width, int height, std::uint32_t (*background)(int x, int y))
    : width_(width), height_(height), dc_(createBackBuffer(width, height)) {
    DIBSECTION section{};
    auto bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc_, OBJ_BITMAP));
    EXPECT_EQ(::GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    bits_ = static_cast<std::uint32_t*>(section.dsBm.bmBits);
    bottomUp_ = section.dsBmih.biHeight > 0;
    EXPECT_NE(bits_, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits_[index(x, y)] = background(x, y);
    EXPECT_TRUE(graphics_.fromHdc(dc_));
}

PainterCanvas::~PainterCanvas() {
    graphics_.destroy();
    releaseControlBackground(dc_);
}

std::uint32_t PainterCanvas::rgb(int x, int y) {
    graphics_.flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
    return bits_[index(x, y)] & 0x00FFFFFF;
}

size_t PainterCanvas::index(int x, int y) const {
    const int row = bottomUp_ ? height_ - 1 - y : y;
    return static_cast<size_t>(row) * width_ + x;
}

std::uint32_t blend(std::uint32_t below, std::uint32_t colour) {
    const int a = static_cast<int>(colour >> 24);
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((below >> shift) & 0xFF), s = static_cast<int>((colour >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool closeTo(std::uint32_t rgb, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((rgb >> shift) & 0xFF), b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

LeakCounters LeakCounters::now() {
    return {test::gdiObjectCount(), gdipLiveObjects(), GdipMemoryStream::liveBlocks(),
            GdipMemoryStream::liveStreams()};
}

ControlSettings installerSettings(COLORREF accent) {
    ControlSettings settings;
    settings.accentColour = accent;
    settings.translucentBackgrounds = true;
    settings.backgroundAlpha = 0;
    return settings;
}

ControlSettings opaqueSettings(COLORREF accent) {
    ControlSettings settings;
    settings.accentColour = accent;
    settings.translucentBackgrounds = false;
    return settings;
}

}  // namespace pelmora::test
