// Ten thousand paints of each button painter, through every state and both
// check marks, on a fresh back buffer and graphics each time as a control
// paints: afterwards as many GDI+ objects, stream blocks and GDI objects are
// alive as before.
#include <gtest/gtest.h>

#include <functional>

#include "gfx/back_buffer.h"
#include "gfx/gdip_codecs.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_memory_stream.h"
#include "skin/controls/button_paint.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

using Painter = std::function<void(GdipGraphics&, const RECT&, ButtonPaintState, bool checked)>;

// One control paint: back buffer, graphics, painter, copy to the target, release.
void paintOnce(HDC target, const RECT& r, const Painter& painter, ButtonPaintState state, bool checked) {
    HDC buffer = createBackBuffer(r.right, r.bottom);
    {
        GdipGraphics graphics;
        graphics.fromHdc(buffer);
        painter(graphics, r, state, checked);
    }
    ::BitBlt(target, 0, 0, r.right, r.bottom, buffer, 0, 0, SRCCOPY);
    releaseControlBackground(buffer);
}

ByteBuffer solidPng(int side, Argb colour) {
    GdipBitmap bitmap;
    bitmap.create(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) bitmap.setPixel(x, y, colour);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
    return ByteBuffer(png.begin(), png.end());
}

TEST(ButtonPaintLeaks, TenThousandPaintsOfEachPainterLeaveNothingBehind) {
    const ByteBuffer picture = solidPng(16, 0xFF2080C0), hover = solidPng(16, 0xFFC08020), none;
    const StateImages images{picture, hover, none, none};
    ButtonLook look;
    look.caption = L"开始安装";
    look.fontFace = L"宋体";
    look.textColour = 0x000000FF;
    const struct {
        const char* name;
        Painter paint;
    } painters[] = {
        {"push", [&](GdipGraphics& g, const RECT& r, ButtonPaintState s, bool) { paintPushButton(g, r, s, look); }},
        {"check", [&](GdipGraphics& g, const RECT& r, ButtonPaintState s, bool c) { paintCheckBox(g, r, s, c, look); }},
        {"radio",
         [&](GdipGraphics& g, const RECT& r, ButtonPaintState s, bool c) { paintRadioButton(g, r, s, c, look); }},
        {"image", [&](GdipGraphics& g, const RECT& r, ButtonPaintState s,
                      bool c) { paintImageButton(g, r, s, c ? picture : none, c ? 1 : 0, look); }},
        {"state image", [&](GdipGraphics& g, const RECT& r, ButtonPaintState s,
                            bool) { paintStateImageButton(g, r, s, images, look); }},
    };
    const RECT r{0, 0, 90, 26};
    test::Canvas target(90, 26);
    for (const auto& painter : painters) {
        // First use of fonts and codecs allocates once; that stays outside the count.
        paintOnce(target.dc(), r, painter.paint, ButtonPaintState(), true);
        const test::LiveObjects before;
        for (int i = 0; i < 10000; ++i)
            paintOnce(target.dc(), r, painter.paint, ButtonPaintState(i & ButtonPaintState::kMask), (i / 128) % 2 == 0);
        const test::LiveObjects after;
        EXPECT_EQ(after.gdipObjects, before.gdipObjects) << painter.name;
        EXPECT_EQ(after.blocks, before.blocks) << painter.name;
        EXPECT_EQ(after.streams, before.streams) << painter.name;
        EXPECT_TRUE(backBuffers().empty()) << painter.name;
        EXPECT_EQ(after.gdiObjects, before.gdiObjects) << painter.name;
        // The painting did happen: the last paint left something other than the empty buffer.
        EXPECT_NE(target.rgb(45, 13), 0u) << painter.name;
    }
}

}  // namespace
}  // namespace pelmora
