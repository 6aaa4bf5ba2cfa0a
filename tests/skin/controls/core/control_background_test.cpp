// The back buffer a control paints on holds exactly what its skinned window,
// container or background provider shows behind it.
#include "skin/controls/core/control_background.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "gfx/back_buffer.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_object.h"
#include "skin/controls/core/window_properties.h"
#include "tests/skin/skin_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

using test::Canvas;

// Every pixel of the composed window image names its own position.
std::uint32_t composedAt(int x, int y) {
    return 0xFF000000u | (x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40;
}
std::uint32_t offeredAt(int x, int y) {
    return 0xFF000000u | (y & 0xFF) << 16 | (x & 0xFF) << 8 | 0x99;
}

int blend(int over, int under, int alpha) {
    return (over * alpha + under * (255 - alpha)) / 255;
}

void expectBlended(std::uint32_t actual, std::uint32_t fillArgb, std::uint32_t under, const char* where) {
    const int a = test::alpha(fillArgb);
    EXPECT_NEAR(test::red(actual), blend(test::red(fillArgb), test::red(under), a), 2) << where;
    EXPECT_NEAR(test::green(actual), blend(test::green(fillArgb), test::green(under), a), 2) << where;
    EXPECT_NEAR(test::blue(actual), blend(test::blue(fillArgb), test::blue(under), a), 2) << where;
}

std::uint32_t rgb(std::uint32_t argb) {
    return argb & 0xFFFFFF;
}

class ControlBackgroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = test::createHostWindow(100, 100, 250, 200);
        composed_.fill(composedAt);
        recordIndex_ = test::recordWindow(host_);
        // The record's composed image, made the way the window layer makes it
        // and filled with the pattern.
        BitmapDc& image = windowRecord(recordIndex_)->image.composed;
        GdipBitmap made;
        ASSERT_TRUE(made.create(250, 200));
        ASSERT_TRUE(image.select(made.toHbitmap()));
        ::BitBlt(image.dc(), 0, 0, 250, 200, composed_.dc(), 0, 0, SRCCOPY);
    }
    void TearDown() override {
        ::DestroyWindow(host_);
        EXPECT_TRUE(backBuffers().empty());
    }
    ContainerSkinRecord& addContainer(HWND window, COLORREF colour, int alpha, bool groupBox) {
        auto& list = windowRecord(recordIndex_)->controls<ContainerSkinRecord>();
        const int index = list.takeSlot();
        ContainerSkinRecord& c = list.at(index);
        c.window = window;
        c.colour = colour;
        c.alpha = alpha;
        c.groupBox = groupBox;
        return c;
    }

    test::SkinState state_;
    Canvas composed_{250, 200};
    HWND host_ = nullptr;
    int recordIndex_ = 0;
};

TEST_F(ControlBackgroundTest, ControlOnTheWindowGetsTheComposedImageAtItsPosition) {
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 40, 80, 24);
    const RECT r{0, 0, 80, 24};
    HDC buffer = prepareControlBackground(button, r);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(rgb(test::dibPixel(buffer, 0, 0)), rgb(composedAt(10, 40)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 79, 23)), rgb(composedAt(89, 63)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 33, 7)), rgb(composedAt(43, 47)));
    EXPECT_TRUE(releaseControlBackground(buffer));
}

TEST_F(ControlBackgroundTest, ControlInsideAPlainChildIsPlacedRelativeToTheSkinnedWindow) {
    HWND panel = test::createChild(host_, L"Static", 0, 50, 60, 100, 100);
    HWND edit = test::createChild(panel, L"Edit", 0, 5, 7, 40, 20);
    EXPECT_TRUE(locateControlOwner(edit, true).inWindow);
    const RECT offset = offsetInSkinnedWindow(edit);
    EXPECT_EQ(offset.left, 55);
    EXPECT_EQ(offset.top, 67);
    HDC buffer = prepareControlBackground(edit, RECT{0, 0, 40, 20});
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(rgb(test::dibPixel(buffer, 0, 0)), rgb(composedAt(55, 67)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 39, 19)), rgb(composedAt(94, 86)));
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, GroupBoxFillTakesTheFrameShape) {
    HWND group = test::createChild(host_, L"BUTTON", BS_GROUPBOX, 20, 30, 200, 100);
    addContainer(group, 0x00FFFFFF, 160, true);
    HDC buffer = prepareControlBackground(group, RECT{0, 0, 200, 100});
    ASSERT_NE(buffer, nullptr);
    const std::uint32_t white160 = 0xA0FFFFFF;
    // Above the frame, below it and in the cut-off corner: the window image untouched.
    EXPECT_EQ(rgb(test::dibPixel(buffer, 100, 2)), rgb(composedAt(120, 32)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 100, 4)), rgb(composedAt(120, 34)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 100, 99)), rgb(composedAt(120, 129)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 0, 5)), rgb(composedAt(20, 35)));
    // Inside: translucent white over the window image.
    expectBlended(test::dibPixel(buffer, 100, 6), white160, composedAt(120, 36), "top edge");
    expectBlended(test::dibPixel(buffer, 100, 50), white160, composedAt(120, 80), "middle");
    expectBlended(test::dibPixel(buffer, 0, 50), white160, composedAt(20, 80), "left edge");
    expectBlended(test::dibPixel(buffer, 100, 97), white160, composedAt(120, 127), "bottom edge");
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, ControlInsideAFilledContainerGetsThePlainRectangleFill) {
    HWND group = test::createChild(host_, L"BUTTON", BS_GROUPBOX, 20, 30, 200, 100);
    addContainer(group, 0x000000FF, 128, true);
    HWND check = test::createChild(group, L"BUTTON", BS_AUTOCHECKBOX, 10, 20, 60, 16);
    const ControlOwner owner = locateControlOwner(check, true);
    EXPECT_FALSE(owner.inWindow);
    EXPECT_EQ(owner.recordIndex, recordIndex_);
    EXPECT_EQ(owner.containerIndex, 1);
    HDC buffer = prepareControlBackground(check, RECT{0, 0, 60, 16});
    ASSERT_NE(buffer, nullptr);
    const std::uint32_t red128 = 0x80FF0000;
    // Corners too: a plain rectangle, never the group-box frame.
    expectBlended(test::dibPixel(buffer, 0, 0), red128, composedAt(30, 50), "top left");
    expectBlended(test::dibPixel(buffer, 59, 15), red128, composedAt(89, 65), "bottom right");
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, ContainerWithoutColourPassesNoFill) {
    HWND group = test::createChild(host_, L"BUTTON", BS_GROUPBOX, 20, 30, 200, 100);
    addContainer(group, 0, 255, true);
    HWND check = test::createChild(group, L"BUTTON", BS_AUTOCHECKBOX, 10, 20, 60, 16);
    HDC buffer = prepareControlBackground(check, RECT{0, 0, 60, 16});
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(rgb(test::dibPixel(buffer, 5, 5)), rgb(composedAt(35, 55)));
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, ProviderAncestorOffersItsOwnBackground) {
    Canvas offered(120, 90);
    offered.fill(offeredAt);
    HWND provider = test::createChild(host_, L"Static", 0, 30, 30, 120, 90);
    setPropValue(provider, kPropOffersBackground, 1);
    setPropValue(provider, kPropOfferedBackgroundDc, reinterpret_cast<std::intptr_t>(offered.dc()));
    HWND edit = test::createChild(provider, L"Edit", 0, 3, 4, 30, 10);
    EXPECT_EQ(locateControlOwner(edit, true).provider, provider);
    EXPECT_TRUE(locateControlOwner(edit, false).inWindow);  // without providers: the window itself
    HDC buffer = prepareControlBackground(edit, RECT{0, 0, 30, 10});
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(rgb(test::dibPixel(buffer, 0, 0)), rgb(offeredAt(3, 4)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 29, 9)), rgb(offeredAt(32, 13)));
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, ProviderItselfGetsTheWindowImageBehindIt) {
    HWND provider = test::createChild(host_, L"Static", 0, 30, 45, 60, 30);
    setPropValue(provider, kPropOffersBackground, 1);
    HDC buffer = prepareControlBackground(provider, RECT{0, 0, 60, 30});
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(rgb(test::dibPixel(buffer, 0, 0)), rgb(composedAt(30, 45)));
    EXPECT_EQ(rgb(test::dibPixel(buffer, 59, 29)), rgb(composedAt(89, 74)));
    releaseControlBackground(buffer);
}

TEST_F(ControlBackgroundTest, ControlOutsideEverySkinnedWindowGetsNoBuffer) {
    HWND other = test::createHostWindow(400, 100, 100, 100);
    HWND edit = test::createChild(other, L"Edit", 0, 0, 0, 30, 10);
    EXPECT_EQ(prepareControlBackground(edit, RECT{0, 0, 30, 10}), nullptr);
    EXPECT_TRUE(backBuffers().empty());
    ::DestroyWindow(other);
}

TEST_F(ControlBackgroundTest, ChildRectanglesAreInParentClientCoordinates) {
    HWND panel = test::createChild(host_, L"Static", WS_BORDER, 50, 60, 100, 100);
    HWND edit = test::createChild(panel, L"Edit", 0, 5, 7, 40, 20);
    const RECT r = childRectInParentClient(edit);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.right, 45);
    EXPECT_EQ(r.bottom, 27);
    const RECT own = childRectInParentClient(host_);  // a skinned window itself
    EXPECT_EQ(own.left | own.top | own.right | own.bottom, 0);
    const RECT relative = rectRelativeTo(panel, edit);
    RECT panelRect{}, editRect{};
    ::GetWindowRect(panel, &panelRect);
    ::GetWindowRect(edit, &editRect);
    EXPECT_EQ(relative.left, editRect.left - panelRect.left);
    EXPECT_EQ(relative.bottom, editRect.bottom - panelRect.top);
}

TEST_F(ControlBackgroundTest, ExcludedChildrenAreLeftOutOfTheClip) {
    HWND visible = test::createChild(host_, L"Static", 0, 10, 10, 20, 20);
    HWND clickThrough = test::createChild(host_, L"Static", 0, 50, 10, 20, 20, L"", WS_EX_TRANSPARENT);
    HWND hidden = test::createChild(host_, L"Static", 0, 90, 10, 20, 20);
    ::ShowWindow(hidden, SW_HIDE);
    EXPECT_TRUE(isClickThrough(clickThrough));
    EXPECT_FALSE(isClickThrough(visible));
    const WindowDc client(host_);
    HDC dc = excludeChildrenFromClip(host_, client.get());
    ASSERT_EQ(dc, client.get());
    EXPECT_FALSE(::PtVisible(dc, 15, 15));
    EXPECT_TRUE(::PtVisible(dc, 55, 15));
    EXPECT_TRUE(::PtVisible(dc, 95, 15));
    EXPECT_TRUE(::PtVisible(dc, 150, 150));
}

TEST_F(ControlBackgroundTest, ManyPreparedBuffersLeaveNoGdiObjectBehind) {
    HWND group = test::createChild(host_, L"BUTTON", BS_GROUPBOX, 20, 30, 200, 100);
    addContainer(group, 0x00FFFFFF, 160, true);
    HWND check = test::createChild(group, L"BUTTON", BS_AUTOCHECKBOX, 10, 20, 60, 16);
    // Each handle is checked gone right after its release; the process count is
    // a second witness.
    const DWORD before = test::gdiObjectCount();
    const long gdipBefore = gdipLiveObjects();
    for (int i = 0; i < 300; ++i) {
        HDC outer = prepareControlBackground(group, RECT{0, 0, 200, 100});
        HDC inner = prepareControlBackground(check, RECT{0, 0, 60, 16});
        ASSERT_NE(outer, nullptr);
        ASSERT_NE(inner, nullptr);
        const HBITMAP bitmap = backBuffers().at(1).bitmap;
        ASSERT_TRUE(releaseControlBackground(inner));
        ASSERT_EQ(::GetObjectType(bitmap), 0u);
        ASSERT_TRUE(releaseControlBackground(outer));
    }
    // The same through the owners: nothing to hand back by hand.
    for (int i = 0; i < 300; ++i) {
        HBITMAP bitmap = nullptr;
        {
            const ControlBackground outer(group, RECT{0, 0, 200, 100});
            const ControlBackground inner(check, RECT{0, 0, 60, 16});
            ASSERT_TRUE(outer);
            ASSERT_TRUE(inner);
            ASSERT_EQ(backBuffers().size(), 2u);
            bitmap = backBuffers().at(1).bitmap;
        }
        ASSERT_TRUE(backBuffers().empty());
        ASSERT_EQ(::GetObjectType(bitmap), 0u);
    }
    EXPECT_LE(test::gdiObjectCount(), before);
    EXPECT_EQ(gdipLiveObjects(), gdipBefore);
}

}  // namespace
}  // namespace pelmora
