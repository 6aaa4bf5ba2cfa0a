// A thousand dialog paints, the way the dialog's procedure paints: a fresh
// graphics on the composed image each time, the picture decoded, the icon
// drawn, the title laid out as a path, the close button hot every other time.
// Afterwards as many GDI+ objects, stream blocks and GDI objects are alive as
// before.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/gdip_codecs.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_memory_stream.h"
#include "skin/dialog/dialog_paint.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

std::vector<std::uint8_t> solidPng(int width, int height, Argb colour) {
    GdipBitmap bitmap;
    bitmap.create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, colour);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
    return std::vector<std::uint8_t>(png.begin(), png.end());
}

void paintOnce(HDC dc, const RECT& r, const DialogLook& look) {
    GdipGraphics graphics;
    graphics.fromHdc(dc);
    paintDialog(graphics, dc, r, look);
}

TEST(DialogPaintLeaks, AThousandPaintsLeaveNothingBehind) {
    const std::vector<std::uint8_t> picture = solidPng(64, 48, 0xFF3070A0);
    UniqueIcon icon(::LoadIconW(nullptr, IDI_APPLICATION) ? ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION))
                                                          : nullptr);
    DialogLook look;
    look.title = L"软件信息";
    look.themeColour = 0x00804020;
    look.background = picture.data();
    look.backgroundSize = picture.size();
    look.icon = icon.get();
    const RECT r{0, 0, 320, 140};
    test::Canvas canvas(320, 140);
    // First use of fonts and codecs allocates once; that stays outside the count.
    paintOnce(canvas.dc(), r, look);
    const test::LiveObjects before;
    for (int i = 0; i < 1000; ++i) {
        look.closeHot = (i % 2) == 0;
        paintOnce(canvas.dc(), r, look);
    }
    const test::LiveObjects after;
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
}

}  // namespace
}  // namespace pelmora
