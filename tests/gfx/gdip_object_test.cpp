// Ownership and result conventions shared by every wrapper.
#include <functional>
#include <memory>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"

namespace pelmora {
namespace {

using test::Canvas;

// Leaves a known non-Ok status behind, so a later check can tell whether any
// GDI+ call happened in between.
void poisonLastStatus() {
    GdipPen empty;
    EXPECT_FALSE(empty.setWidth(2));
    ASSERT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
}

struct Maker {
    const char* kind;
    std::function<std::unique_ptr<GdipObject>()> make;  // a wrapper holding a native object
};

const Maker kMakers[] = {
    {"graphics",
     [] {
         static HDC dc = ::CreateCompatibleDC(nullptr);  // not a GDI+ object: counts stay level
         auto g = std::make_unique<GdipGraphics>();
         EXPECT_TRUE(g->fromHdc(dc));
         return std::unique_ptr<GdipObject>(std::move(g));
     }},
    {"font",
     [] {
         auto f = std::make_unique<GdipFont>();
         EXPECT_TRUE(f->createDefault());
         return std::unique_ptr<GdipObject>(std::move(f));
     }},
    {"family",
     [] {
         auto f = std::make_unique<GdipFontFamily>();
         EXPECT_TRUE(f->createFromName(L"宋体"));
         return std::unique_ptr<GdipObject>(std::move(f));
     }},
    {"path",
     [] {
         auto p = std::make_unique<GdipPath>();
         EXPECT_TRUE(p->create());
         return std::unique_ptr<GdipObject>(std::move(p));
     }},
    {"pen",
     [] {
         auto p = std::make_unique<GdipPen>();
         EXPECT_TRUE(p->create(0xFF000000));
         return std::unique_ptr<GdipObject>(std::move(p));
     }},
    {"solid brush",
     [] {
         auto b = std::make_unique<GdipSolidBrush>();
         EXPECT_TRUE(b->create(0xFF00FF00));
         return std::unique_ptr<GdipObject>(std::move(b));
     }},
    {"linear gradient",
     [] {
         auto b = std::make_unique<GdipLinearGradientBrush>();
         EXPECT_TRUE(b->create({0, 0}, {0, 10}, 0xFFFFFFFF, 0x00FFFFFF));
         return std::unique_ptr<GdipObject>(std::move(b));
     }},
    {"path gradient",
     [] {
         GdipPath path;
         path.create();
         path.addEllipse(0, 0, 10, 10);
         auto b = std::make_unique<GdipPathGradientBrush>();
         EXPECT_TRUE(b->createFromPath(path));
         return std::unique_ptr<GdipObject>(std::move(b));
     }},
    {"string format",
     [] {
         auto f = std::make_unique<GdipStringFormat>();
         EXPECT_TRUE(f->genericDefault());
         return std::unique_ptr<GdipObject>(std::move(f));
     }},
    {"bitmap",
     [] {
         auto b = std::make_unique<GdipBitmap>();
         EXPECT_TRUE(b->create(3, 3));
         return std::unique_ptr<GdipObject>(std::move(b));
     }},
};

TEST(GdipObject, DestroyReleasesOnceAndTheSecondCallDoesNothing) {
    for (const Maker& maker : kMakers) {
        SCOPED_TRACE(maker.kind);
        auto wrapper = maker.make();
        ASSERT_NE(wrapper->handle(), nullptr);
        long live = gdipLiveObjects();
        EXPECT_TRUE(wrapper->destroy());
        EXPECT_EQ(wrapper->handle(), nullptr);
        EXPECT_EQ(gdipLiveObjects(), live - 1);

        poisonLastStatus();
        EXPECT_FALSE(wrapper->destroy());
        EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter) << "the second destroy reached GDI+";
        EXPECT_EQ(gdipLiveObjects(), live - 1);
    }
}

TEST(GdipObject, DestructorReleasesWhatWasNotDestroyed) {
    long before = gdipLiveObjects();
    for (const Maker& maker : kMakers) {
        SCOPED_TRACE(maker.kind);
        maker.make();  // dropped at once
        EXPECT_EQ(gdipLiveObjects(), before);
    }
}

TEST(GdipObject, MovingTransfersTheNativeObject) {
    long before = gdipLiveObjects();
    GdipPen a;
    ASSERT_TRUE(a.create(0xFF112233, 3));
    void* native = a.handle();
    GdipPen b(std::move(a));
    EXPECT_EQ(a.handle(), nullptr);
    EXPECT_EQ(b.handle(), native);

    GdipPen c;
    ASSERT_TRUE(c.create(0xFF000000));
    c = std::move(b);  // c's own pen is released, not stranded
    EXPECT_EQ(c.handle(), native);
    EXPECT_EQ(gdipLiveObjects(), before + 1);
    EXPECT_FALSE(a.destroy());
    EXPECT_FALSE(b.destroy());
    EXPECT_TRUE(c.destroy());
    EXPECT_EQ(gdipLiveObjects(), before);
}

TEST(GdipObject, CreatingAgainReleasesThePreviousObject) {
    long before = gdipLiveObjects();
    GdipSolidBrush brush;
    ASSERT_TRUE(brush.create(0xFF000000));
    ASSERT_TRUE(brush.create(0xFFFFFFFF));
    EXPECT_EQ(gdipLiveObjects(), before + 1);
}

TEST(GdipObject, FailedCreateLeavesTheWrapperEmptyAndCountsNothing) {
    long before = gdipLiveObjects();
    GdipBitmap bitmap;
    EXPECT_FALSE(bitmap.create(0, 0));
    EXPECT_NE(gdipLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(bitmap.handle(), nullptr);
    EXPECT_EQ(gdipLiveObjects(), before);
    EXPECT_FALSE(bitmap.destroy());
}

TEST(GdipObject, EmptyWrapperArgumentsAreRefusedByGdiplus) {
    Canvas canvas(8, 8, 0xFF000000);
    GdipSolidBrush noBrush;
    GdipPen noPen;
    EXPECT_FALSE(canvas.bitmapGraphics().fillRectangle(noBrush, 0, 0, 8, 8));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_FALSE(canvas.bitmapGraphics().drawLine(noPen, 0, 0, 8, 8));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(canvas.argb(4, 4), 0xFF000000u);
}

TEST(GdipObject, GettersReturnZeroOnFailureAndRecordTheStatus) {
    GdipFont font;
    GdipImage image;
    EXPECT_EQ(font.size(), 0.0f);
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(image.width(), 0u);

    ASSERT_TRUE(font.createByName(L"宋体", 12.5f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    EXPECT_EQ(font.size(), 12.5f);
    EXPECT_EQ(gdipLastStatus(), Gdiplus::Ok);
}

TEST(GdipObject, FlushReturnsItsStatusAndLeavesTheLastStatusAlone) {
    Canvas canvas(4, 4, 0);
    GdipGraphics& graphics = canvas.bitmapGraphics();  // made before the status is set aside
    poisonLastStatus();
    EXPECT_EQ(graphics.flush(), Gdiplus::Ok);
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
}

}  // namespace
}  // namespace pelmora
