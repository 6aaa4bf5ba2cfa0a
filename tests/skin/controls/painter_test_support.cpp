#include "tests/skin/controls/painter_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/back_buffer.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/gdip_object.h"
#include "tests/support/live_objects.h"

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
