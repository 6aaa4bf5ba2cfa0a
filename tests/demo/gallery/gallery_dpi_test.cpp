// The gallery moved to screens of other DPIs (WM_DPICHANGED as the system
// sends it when a window is dragged across): the skinned window takes the
// suggested rectangle, lays out its caption at the new scale, rebuilds its
// composed image, region and glyphs, and leaves nothing behind however often
// it happens.
#include <gtest/gtest.h>

#include "base/dpi_scale.h"
#include "gallery_test_support.h"
#include "gfx/gdip_image.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

// The suggested rectangle for `dpi`: the window's 96-DPI size scaled, at the same place.
RECT suggestedRect(HWND window, SIZE size96, UINT dpi) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.left + size96.cx * static_cast<LONG>(dpi) / 96,
            r.top + size96.cy * static_cast<LONG>(dpi) / 96};
}

void changeDpi(HWND window, SIZE size96, UINT dpi) {
    RECT suggested = suggestedRect(window, size96, dpi);
    ::SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::UpdateWindow(window);
    test::drainMessages();
}

SIZE windowSize(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

TEST(GalleryDpi, ADpiChangeRebuildsTheWindowAtTheNewScale) {
    test::GalleryFixture fixture;
    HWND window = fixture.window();
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    ASSERT_TRUE(record);
    ASSERT_EQ(record->frame.dpi, 96u) << "the test process is not DPI-aware: its windows are at 96";
    const SIZE size96 = windowSize(window);
    // Star, minimise and close: 26 + 26 + 38, two gaps and the margin of three.
    EXPECT_EQ(record->caption.stripWidth, 95);

    changeDpi(window, size96, 144);
    const SIZE size = windowSize(window);
    EXPECT_EQ(size.cx, size96.cx * 3 / 2);
    EXPECT_EQ(size.cy, size96.cy * 3 / 2);
    EXPECT_EQ(record->frame.dpi, 144u);
    const RECT client = clientRect(window);
    EXPECT_EQ(record->caption.stripWidth, 143);  // 142.5 rounded up
    EXPECT_EQ(record->caption.stripHeight, 33);
    EXPECT_EQ(record->caption.stripLeft, client.right - 143 + 2);
    // The composed image and the region follow the new size.
    const SIZE composed = record->image.composed.size();
    EXPECT_EQ(composed.cx, client.right);
    EXPECT_EQ(composed.cy, client.bottom);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, region), ERROR);
    RECT box{};
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    EXPECT_EQ(box.right, client.right);
    EXPECT_EQ(box.bottom, client.bottom);
    // Close's glyph was scaled once for the new DPI: 38 x 18 at 1.5 times.
    const CaptionButton& close = record->caption.captionButtons.back();
    ASSERT_TRUE(close.scaledGlyph);
    EXPECT_EQ(close.scaledDpi, 144u);
    EXPECT_EQ(close.scaledGlyph->width(), 57u);
    EXPECT_EQ(close.scaledGlyph->height(), 27u);
    // A press in the middle of the scaled close button hits it.
    const RectF& r = close.rect;
    const POINT middle{static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2)};
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
    EXPECT_EQ(record->hover.hotButton, 3);

    changeDpi(window, size96, 96);
    EXPECT_EQ(windowSize(window).cx, size96.cx);
    EXPECT_EQ(record->caption.stripWidth, 95);
}

TEST(GalleryDpi, FiftyChangesLeaveNoObjectsBehind) {
    test::GalleryFixture fixture;
    HWND window = fixture.window();
    const SIZE size96 = windowSize(window);
    const UINT dpis[] = {120, 144, 192, 96};
    // The first round fills the caches GDI+ and the fonts keep for the process.
    for (UINT dpi : dpis) changeDpi(window, size96, dpi);
    const test::LiveObjects before;
    for (int i = 0; i < 50; ++i) changeDpi(window, size96, dpis[i % 4]);
    changeDpi(window, size96, 96);
    const test::LiveObjects after;
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
