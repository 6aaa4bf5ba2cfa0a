#include "skin/window/window_geometry.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

const std::vector<CaptionButtonKind> kMinimizeClose = {CaptionButtonKind::Minimize, CaptionButtonKind::Close};

TEST(CaptionStrip, MinimizeAndCloseOnA500PixelClient) {
    const int width = captionStripWidth(kMinimizeClose);
    EXPECT_EQ(width, 68);
    const int left = captionStripLeft(500, width);
    EXPECT_EQ(left, 433);
    const std::vector<RectF> rects = captionButtonRects(left, 0, kMinimizeClose);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 435);
    EXPECT_FLOAT_EQ(rects[0].width, 26);
    EXPECT_FLOAT_EQ(rects[1].x, 462);
    EXPECT_FLOAT_EQ(rects[1].width, 40);  // reaches past the client edge
    for (const RectF& r : rects) {
        EXPECT_FLOAT_EQ(r.y, 1);
        EXPECT_FLOAT_EQ(r.height, 18);
    }
}

TEST(CaptionStrip, AllStandardButtonsStepBy27) {
    const std::vector<CaptionButtonKind> all = {CaptionButtonKind::Help, CaptionButtonKind::MainMenu,
                                                CaptionButtonKind::Minimize, CaptionButtonKind::Maximize,
                                                CaptionButtonKind::Close};
    EXPECT_EQ(captionStripWidth(all), 4 * 26 + 38 + 4 + 3);
    const std::vector<RectF> rects = captionButtonRects(300, 0, all);
    for (size_t i = 0; i < rects.size(); ++i) EXPECT_FLOAT_EQ(rects[i].x, 302 + 27.0f * i);
}

TEST(CaptionStrip, HitTestIsStrictlyInside) {
    const StripRect strip{433, 0, 68, 22};
    const std::vector<RectF> rects = captionButtonRects(433, 0, kMinimizeClose);
    struct Case {
        int x, y, expected;
    } cases[] = {
        {448, 10, 1},                              // middle of minimise
        {480, 10, 2},                              // middle of close
        {435, 10, 0},                              // left edge of minimise
        {461, 10, 0},                              // right edge of minimise
        {462, 10, 0},                              // left edge of close
        {448, 1, 0},                               // top edge
        {448, 19, 0},                              // bottom edge
        {448, 2, 1},  {436, 18, 1}, {420, 10, 0},  // left of the strip
        {448, 23, 0},                              // below the strip
    };
    for (const Case& c : cases) EXPECT_EQ(hitTestCaptionRects(strip, rects, c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(CaptionStrip, HoverAndPressBands) {
    const StripRect strip{433, 0, 68, 22};
    EXPECT_TRUE(inHoverStrip(strip, 431, 0));
    EXPECT_FALSE(inHoverStrip(strip, 430, 5));
    EXPECT_FALSE(inHoverStrip(strip, 450, -1));
    EXPECT_TRUE(inHoverStrip(strip, 501, 22));
    EXPECT_FALSE(inHoverStrip(strip, 450, 23));
    // Presses at the very top belong to the drag, not to the buttons.
    EXPECT_FALSE(inPressStrip(strip, 450, 2));
    EXPECT_TRUE(inPressStrip(strip, 450, 3));
    EXPECT_FALSE(inPressStrip(strip, 431, 10));
}

TEST(CaptionHeight, RaisedToTheSmallestUsable) {
    EXPECT_EQ(storedCaptionHeight(24), 25);
    EXPECT_EQ(storedCaptionHeight(0), 25);
    EXPECT_EQ(storedCaptionHeight(25), 25);
    EXPECT_EQ(storedCaptionHeight(30), 30);
}

TEST(Title, BesideTheIconAndLeftOfTheStrip) {
    const RECT r = titleRect(500, 68, 3);
    EXPECT_EQ(r.left, 9);
    EXPECT_EQ(r.top, 8);
    EXPECT_EQ(r.right - r.left, 500 - 68 - 10 - 6);
    EXPECT_EQ(r.bottom - r.top, 32);
}

TEST(ResizeEdges, FirstMatchInFixedOrder) {
    // 500 x 300 client, border 3.
    struct Case {
        int x, y;
        std::optional<ResizeEdge> edge;
        int offset;
        LPCWSTR cursor;
    } cases[] = {
        {3, 50, ResizeEdge::Left, 1, IDC_SIZEWE},
        {0, 11, ResizeEdge::Left, 1, IDC_SIZEWE},
        {497, 150, ResizeEdge::Right, 2, IDC_SIZEWE},
        {250, 3, ResizeEdge::Top, 3, IDC_SIZENS},
        {250, 297, ResizeEdge::Bottom, 6, IDC_SIZENS},
        {11, 0, ResizeEdge::Top, 3, IDC_SIZENS},
        {3, 10, ResizeEdge::TopLeft, 4, IDC_SIZENWSE},  // y < 11: not the left edge yet
        {10, 3, ResizeEdge::TopLeft, 4, IDC_SIZENWSE},
        {495, 5, ResizeEdge::TopRight, 5, IDC_SIZENESW},
        {5, 295, ResizeEdge::BottomLeft, 7, IDC_SIZENESW},
        {3, 290, ResizeEdge::BottomLeft, 7, IDC_SIZENESW},  // y = H - 10 is past the left edge
        {495, 295, ResizeEdge::BottomRight, 8, IDC_SIZENWSE},
        {5, 50, std::nullopt, 0, nullptr},
        {250, 150, std::nullopt, 0, nullptr},
    };
    for (const Case& c : cases) {
        const auto hit = resizeEdgeAt(c.x, c.y, 500, 300, 3);
        ASSERT_EQ(hit.has_value(), c.edge.has_value()) << c.x << "," << c.y;
        if (!hit) continue;
        EXPECT_EQ(hit->edge, *c.edge) << c.x << "," << c.y;
        EXPECT_EQ(hit->sizeOffset, c.offset) << c.x << "," << c.y;
        EXPECT_EQ(hit->cursor, c.cursor) << c.x << "," << c.y;
    }
}

TEST(Press, DragResizeOrNothing) {
    PressContext installer;  // the installer's window: fixed size, caption 30
    installer.strip = {433, 0, 68, 22};
    installer.clientRight = 500;
    installer.clientBottom = 300;
    installer.border = 3;
    installer.captionHeight = 30;
    installer.resizable = false;

    EXPECT_EQ(decidePress(installer, 3, 50).action, PressAction::Resize);
    EXPECT_EQ(decidePress(installer, 3, 50).edge->edge, ResizeEdge::Left);
    EXPECT_EQ(decidePress(installer, 5, 50).action, PressAction::None);
    EXPECT_EQ(decidePress(installer, 1, 20).action, PressAction::CaptionDrag);  // border inside the caption band
    EXPECT_EQ(decidePress(installer, 200, 30).action, PressAction::CaptionDrag);
    EXPECT_EQ(decidePress(installer, 200, 31).action, PressAction::None);
    EXPECT_EQ(decidePress(installer, 450, 10).action, PressAction::None);        // on a caption button
    EXPECT_EQ(decidePress(installer, 450, 2).action, PressAction::CaptionDrag);  // above the buttons

    PressContext resizable = installer;
    resizable.resizable = true;
    EXPECT_EQ(decidePress(resizable, 1, 20).action, PressAction::Resize);
    EXPECT_EQ(decidePress(resizable, 5, 5).edge->edge, ResizeEdge::TopLeft);
    EXPECT_EQ(decidePress(resizable, 200, 20).action, PressAction::CaptionDrag);

    PressContext inactive = installer;
    inactive.captionActive = false;
    EXPECT_EQ(decidePress(inactive, 200, 10).action, PressAction::None);
    EXPECT_EQ(decidePress(inactive, 3, 50).action, PressAction::None);
}

TEST(StatusBar, InsideTheBorderWithItemsLeftToRight) {
    const RECT bar = statusBarRect(500, 300, 3, 20);
    EXPECT_EQ(bar.left, 3);
    EXPECT_EQ(bar.top, 300 - 3 - 20 - 1);
    EXPECT_EQ(bar.right, 3 + 494);
    EXPECT_EQ(bar.bottom - bar.top, 20);
    const std::vector<RECT> items = statusItemRects(bar, {100, -1});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].left, 3);
    EXPECT_EQ(items[0].right, 103);
    EXPECT_EQ(items[1].left, 103);
    EXPECT_EQ(items[1].right, bar.right);
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

// The 500-wide window with minimise and close at each scale the product is
// drawn at; the expected numbers are worked out by hand from the 96-DPI ones
// (half rounds away from zero), not by the scaling function under test.
struct ScaledWindowCase {
    UINT dpi;
    int clientWidth, stripWidth, stripLeft;
    float minimizeX, minimizeWidth, closeX, closeWidth, buttonTop, buttonHeight;
    RECT title;
    int border, corner, stripHeight, pressTop, hoverMargin;
};
const ScaledWindowCase kScaledWindows[] = {
    {96, 500, 68, 433, 435, 26, 462, 40, 1, 18, {9, 8, 425, 40}, 3, 10, 22, 3, 2},
    {120, 625, 85, 541, 544, 32, 577, 50, 1, 23, {12, 10, 531, 50}, 4, 13, 28, 4, 3},
    {144, 750, 102, 650, 653, 39, 694, 60, 2, 27, {14, 13, 637, 61}, 5, 15, 33, 5, 3},
    {192, 1000, 136, 866, 870, 52, 924, 80, 2, 36, {18, 16, 850, 80}, 6, 20, 44, 6, 4},
};

TEST(ScaledWindowGeometry, CaptionStripAndTitleAtEachDpi) {
    for (const ScaledWindowCase& c : kScaledWindows) {
        SCOPED_TRACE(c.dpi);
        const int width = captionStripWidth(kMinimizeClose, c.dpi);
        EXPECT_EQ(width, c.stripWidth);
        const int left = captionStripLeft(c.clientWidth, width, c.dpi);
        EXPECT_EQ(left, c.stripLeft);
        const std::vector<RectF> rects = captionButtonRects(left, 0, kMinimizeClose, c.dpi);
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_FLOAT_EQ(rects[0].x, c.minimizeX);
        EXPECT_FLOAT_EQ(rects[0].width, c.minimizeWidth);
        EXPECT_FLOAT_EQ(rects[1].x, c.closeX);
        EXPECT_FLOAT_EQ(rects[1].width, c.closeWidth);
        // A gap stays between the two buttons at every scale.
        EXPECT_LT(rects[0].x + rects[0].width, rects[1].x);
        for (const RectF& r : rects) {
            EXPECT_FLOAT_EQ(r.y, c.buttonTop);
            EXPECT_FLOAT_EQ(r.height, c.buttonHeight);
        }
        const RECT title = titleRect(c.clientWidth, width, c.border, c.dpi);
        EXPECT_EQ(title.left, c.title.left);
        EXPECT_EQ(title.top, c.title.top);
        EXPECT_EQ(title.right, c.title.right);
        EXPECT_EQ(title.bottom, c.title.bottom);
    }
}

TEST(ScaledWindowGeometry, HitTestsAtTheScaledPlaces) {
    for (const ScaledWindowCase& c : kScaledWindows) {
        SCOPED_TRACE(c.dpi);
        const StripRect strip{c.stripLeft, 0, c.stripWidth, c.stripHeight, c.dpi};
        const std::vector<RectF> rects = captionButtonRects(c.stripLeft, 0, kMinimizeClose, c.dpi);
        const int middleY = static_cast<int>(c.buttonTop + c.buttonHeight / 2);
        EXPECT_EQ(hitTestCaptionRects(strip, rects, static_cast<int>(c.minimizeX + c.minimizeWidth / 2), middleY), 1);
        EXPECT_EQ(hitTestCaptionRects(strip, rects, static_cast<int>(c.closeX + c.closeWidth / 2), middleY), 2);
        // The bottom edge of the buttons and the column between them hit nothing.
        EXPECT_EQ(hitTestCaptionRects(strip, rects, static_cast<int>(c.closeX + 5),
                                      static_cast<int>(c.buttonTop + c.buttonHeight)),
                  0);
        EXPECT_EQ(hitTestCaptionRects(strip, rects, static_cast<int>(c.closeX), middleY), 0);
        const int clientBottom = c.dpi * 300 / 96;
        const auto topLeft = resizeEdgeAt(c.corner, c.corner, c.clientWidth, clientBottom, c.border, c.dpi);
        ASSERT_TRUE(topLeft);
        EXPECT_EQ(topLeft->edge, ResizeEdge::TopLeft);
        const auto left = resizeEdgeAt(c.border, c.corner + 1, c.clientWidth, clientBottom, c.border, c.dpi);
        ASSERT_TRUE(left);
        EXPECT_EQ(left->edge, ResizeEdge::Left);
        EXPECT_FALSE(resizeEdgeAt(c.border + 1, c.corner + 1, c.clientWidth, clientBottom, c.border, c.dpi));
        // The press band starts three 96-DPI pixels down, the hover band two to the left.
        EXPECT_FALSE(inPressStrip(strip, c.stripLeft + 5, c.pressTop - 1));
        EXPECT_TRUE(inPressStrip(strip, c.stripLeft + 5, c.pressTop));
        EXPECT_TRUE(inHoverStrip(strip, c.stripLeft - c.hoverMargin, c.stripHeight));
        EXPECT_FALSE(inHoverStrip(strip, c.stripLeft - c.hoverMargin - 1, 5));
        EXPECT_FALSE(inHoverStrip(strip, c.stripLeft + 5, c.stripHeight + 1));
    }
}

}  // namespace
}  // namespace pelmora
