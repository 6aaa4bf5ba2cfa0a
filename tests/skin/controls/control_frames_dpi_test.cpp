// The control frames at 100, 125, 150 and 200 %: one table per family, the
// control's size given in pixels at each DPI (the 96-DPI size scaled), the
// expected places worked out by hand from the 96-DPI numbers (half rounds away
// from zero; a line of width L lies (L - 1) / 2 in from the edge so that it
// covers whole pixels). The 96-DPI rows are the looks the pixel tests pin.
#include <gtest/gtest.h>

#include "skin/controls/button_paint.h"
#include "skin/controls/combo_paint.h"
#include "skin/controls/edit_paint.h"
#include "skin/controls/listview_paint.h"
#include "skin/controls/paint_shapes.h"
#include "skin/controls/progress_paint.h"
#include "skin/controls/trackbar_paint.h"
#include "skin/controls/updown_paint.h"

namespace pelmora {
namespace {

void expectRect(const RectF& actual, const RectF& expected, const char* what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.width, expected.width) << what;
    EXPECT_FLOAT_EQ(actual.height, expected.height) << what;
}

void expectRect(const RectI& actual, const RectI& expected, const char* what) {
    EXPECT_EQ(actual.x, expected.x) << what;
    EXPECT_EQ(actual.y, expected.y) << what;
    EXPECT_EQ(actual.width, expected.width) << what;
    EXPECT_EQ(actual.height, expected.height) << what;
}

RECT sizedRect(int width, int height) {
    return {0, 0, width, height};
}

// --- Buttons: a 90 x 26 push button, a 140 x 20 check or radio box.

struct ButtonCase {
    UINT dpi;
    SizeI push;
    RectF face;
    float glossHeight;
    RectF inset;
    int radius;
    float line;
    int focusGlow;
    SizeI box;
    RectF checkBox, checkCaption;
    PointF hotFrom;
    int hotGlow;
    RectF ring, disc, dot;
    float radioCaptionX;
};
const ButtonCase kButtons[] = {
    {96,
     {90, 26},
     {0, 0, 89, 25},
     13,
     {2, 2, 86, 22},
     5,
     1,
     3,  //
     {140, 20},
     {0, 3, 13, 13},
     {17, 0, 121, 20},
     {3, 4},
     2,  //
     {2, 4, 12, 12},
     {3, 5, 9, 9},
     {5, 7, 6, 6},
     18},
    {120,
     {113, 33},
     {0, 0, 112, 32},
     16.5f,
     {3, 3, 108, 28},
     6,
     1,
     4,  //
     {175, 25},
     {0, 4, 16, 16},
     {21, 0, 151, 25},
     {4, 5},
     3,  //
     {3, 5, 15, 15},
     {4, 6, 11, 11},
     {6, 9, 8, 8},
     23},
    {144,
     {135, 39},
     {0.5f, 0.5f, 133, 37},
     19.5f,
     {3, 3, 129, 33},
     8,
     2,
     5,  //
     {210, 30},
     {0, 5, 20, 20},
     {26, 0, 181, 30},
     {5, 7},
     3,  //
     {3, 6, 18, 18},
     {5, 8, 14, 14},
     {8, 11, 9, 9},
     27},
    {192,
     {180, 52},
     {0.5f, 0.5f, 178, 50},
     26,
     {4, 4, 172, 44},
     10,
     2,
     6,  //
     {280, 40},
     {0, 7, 26, 26},
     {34, 0, 242, 40},
     {6, 9},
     4,  //
     {4, 8, 24, 24},
     {6, 11, 18, 18},
     {10, 14, 12, 12},
     36},
};

TEST(ControlFramesAtDpi, ButtonFamily) {
    for (const ButtonCase& c : kButtons) {
        SCOPED_TRACE(c.dpi);
        const PushButtonGeometry push = pushButtonGeometry(sizedRect(c.push.width, c.push.height), c.dpi);
        expectRect(push.bounds, {0, 0, static_cast<float>(c.push.width), static_cast<float>(c.push.height)}, "bounds");
        expectRect(push.face, c.face, "face");
        expectRect(push.gloss, {c.face.x, c.face.y, c.face.width, c.glossHeight}, "gloss");
        expectRect(push.inset, c.inset, "pressed inset");
        EXPECT_EQ(push.radius, c.radius);
        EXPECT_FLOAT_EQ(push.line, c.line);
        EXPECT_EQ(push.glow, c.focusGlow);

        const RECT box = sizedRect(c.box.width, c.box.height);
        const CheckBoxGeometry check = checkBoxGeometry(box, c.dpi);
        expectRect(check.box, c.checkBox, "check box");
        expectRect(check.caption, c.checkCaption, "check caption");
        EXPECT_FLOAT_EQ(check.hotFrom.x, c.hotFrom.x);
        EXPECT_FLOAT_EQ(check.hotFrom.y, c.hotFrom.y);
        EXPECT_EQ(check.glow, c.hotGlow);

        const RadioButtonGeometry radio = radioButtonGeometry(box, c.dpi);
        expectRect(radio.ring, c.ring, "ring");
        expectRect(radio.disc, c.disc, "disc");
        expectRect(radio.dot, c.dot, "dot");
        EXPECT_FLOAT_EQ(radio.caption.x, c.radioCaptionX);
        EXPECT_FLOAT_EQ(radio.line, c.line);
        EXPECT_EQ(radio.glow, c.hotGlow);
        // The three circles stay concentric within a pixel at every scale.
        const float ringCentre = c.ring.y + c.ring.height / 2;
        EXPECT_NEAR(c.disc.y + c.disc.height / 2, ringCentre, 1.0f);
        EXPECT_NEAR(c.dot.y + c.dot.height / 2, ringCentre, 1.0f);
    }
}

// --- Combo boxes: a 150 x 24 drop-down list.

struct ComboCase {
    UINT dpi;
    SizeI size;
    int dropListButton, dropDownButton;
    FrameStroke frame;
    RectI button;
    RectF outline, fill;
    int radius;
    RectF text;
};
const ComboCase kCombos[] = {
    {96,
     {150, 24},
     17,
     18,
     {{0, 0, 149, 23}, 1},
     {131, 2, 17, 20},
     {131, 2, 16, 19},
     {132, 3, 14, 17},
     4,
     {3, 0, 128, 24}},
    {120,
     {188, 30},
     21,
     23,
     {{0, 0, 187, 29}, 1},
     {164, 3, 21, 24},
     {164, 3, 20, 23},
     {165, 4, 18, 21},
     5,
     {4, 0, 160, 30}},
    {144,
     {225, 36},
     26,
     27,
     {{0.5f, 0.5f, 223, 34}, 2},
     {196, 3, 26, 30},
     {196.5f, 3.5f, 24, 28},
     {198.5f, 5.5f, 20, 24},
     6,
     {5, 0, 191, 36}},
    {192,
     {300, 48},
     34,
     36,
     {{0.5f, 0.5f, 298, 46}, 2},
     {262, 4, 34, 40},
     {262.5f, 4.5f, 32, 38},
     {264.5f, 6.5f, 28, 34},
     8,
     {6, 0, 256, 48}},
};

TEST(ControlFramesAtDpi, ComboFamily) {
    for (const ComboCase& c : kCombos) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(comboDropButtonWidth(ComboKind::DropDownList, c.dpi), c.dropListButton);
        EXPECT_EQ(comboDropButtonWidth(ComboKind::DropDown, c.dpi), c.dropDownButton);
        EXPECT_EQ(comboDropButtonWidth(ComboKind::Simple, c.dpi), 0);
        const ComboGeometry g = comboGeometry(c.size, ComboKind::DropDownList, c.dpi);
        expectRect(g.frame.rect, c.frame.rect, "frame");
        EXPECT_FLOAT_EQ(g.frame.width, c.frame.width);
        expectRect(g.button, c.button, "drop button");
        expectRect(comboDropButton(c.size, ComboKind::DropDownList, c.dpi), c.button, "drop button alone");
        expectRect(g.buttonOutline, c.outline, "button outline");
        expectRect(g.buttonFill, c.fill, "button fill");
        EXPECT_EQ(g.buttonRadius, c.radius);
        expectRect(g.text, c.text, "text");
        // The button's outline ends where the cell does, whatever the line.
        EXPECT_FLOAT_EQ(g.buttonOutline.x + g.buttonOutline.width + (g.frame.width + 1) / 2,
                        static_cast<float>(c.button.x + c.button.width));
    }
}

// --- Edit and list borders: a 200 x 24 edit; the list frame is the resting line.

struct EditCase {
    UINT dpi;
    SizeI size;
    FrameStroke rest, hot;
};
const EditCase kEdits[] = {
    {96, {200, 24}, {{0, 0, 199, 23}, 1}, {{1, 1, 198, 22}, 2}},
    {120, {250, 30}, {{0, 0, 249, 29}, 1}, {{1.5f, 1.5f, 247, 27}, 3}},
    {144, {300, 36}, {{0.5f, 0.5f, 298, 34}, 2}, {{1.5f, 1.5f, 297, 33}, 3}},
    {192, {400, 48}, {{0.5f, 0.5f, 398, 46}, 2}, {{2, 2, 396, 44}, 4}},
};

TEST(ControlFramesAtDpi, EditAndListFamily) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.dpi);
        for (EditBorderLook look : {EditBorderLook::Rest, EditBorderLook::Focused}) {
            const FrameStroke s = editFrameStroke(c.size, look, c.dpi);
            expectRect(s.rect, c.rest.rect, "resting or focused line");
            EXPECT_FLOAT_EQ(s.width, c.rest.width);
        }
        const FrameStroke hot = editFrameStroke(c.size, EditBorderLook::Hot, c.dpi);
        expectRect(hot.rect, c.hot.rect, "hot line");
        EXPECT_FLOAT_EQ(hot.width, c.hot.width);
        const FrameStroke list = frameStroke(c.size, 1, c.dpi);
        expectRect(list.rect, c.rest.rect, "list line");
        EXPECT_FLOAT_EQ(list.width, c.rest.width);
    }
}

// --- Range controls: a 300 x 8 progress bar at 40 %, a 200 x 30 track bar
// with its thumb, a 20 x 24 vertical up-down.

struct RangeCase {
    UINT dpi;
    SizeI bar;
    FrameStroke barOutline;
    RectF trough;
    RectI filled;
    RectF fill;
    int outlineRadius, troughRadius, fillRadius;
    SizeI track;
    FrameStroke trackOutline;
    RectF trackFill;
    int trackRadius, trackFillRadius, channelRadius;
    RECT thumb;
    RectF thumbBelow;   // ticks below: the circle at the thumb's top
    float thumbAboveY;  // ticks above: pushed to the bottom
    SizeI upDown;
    RectF firstHalf, secondHalf;
};
const RangeCase kRanges[] = {
    {96,
     {300, 8},
     {{0, 0, 299, 7}, 1},
     {1, 1, 298, 6},
     {0, 0, 120, 8},
     {1, 1, 117, 5},
     5,
     1,
     3,  //
     {200, 30},
     {{0, 0, 199, 29}, 1},
     {1, 1, 198, 28},
     5,
     3,
     1,  //
     {10, 4, 21, 24},
     {10, 4, 10, 10},
     13,  //
     {20, 24},
     {0, 0, 19, 11},
     {0, 12, 19, 11}},
    {120,
     {375, 10},
     {{0, 0, 374, 9}, 1},
     {1, 1, 373, 8},
     {0, 0, 150, 10},
     {1, 1, 147, 7},
     6,
     1,
     4,  //
     {250, 38},
     {{0, 0, 249, 37}, 1},
     {1, 1, 248, 36},
     6,
     4,
     1,  //
     {13, 5, 27, 30},
     {13, 5, 13, 13},
     16,  //
     {25, 30},
     {0, 0, 24, 14},
     {0, 15, 24, 14}},
    {144,
     {450, 12},
     {{0.5f, 0.5f, 448, 10}, 2},
     {2, 2, 446, 8},
     {0, 0, 180, 12},
     {2.5f, 2.5f, 174, 6},
     8,
     2,
     5,  //
     {300, 45},
     {{0.5f, 0.5f, 298, 43}, 2},
     {2, 2, 296, 41},
     8,
     5,
     2,  //
     {15, 6, 32, 36},
     {15.5f, 6.5f, 15, 15},
     19.5f,  //
     {30, 36},
     {0.5f, 0.5f, 28, 16},
     {0.5f, 18.5f, 28, 16}},
    {192,
     {600, 16},
     {{0.5f, 0.5f, 598, 14}, 2},
     {2, 2, 596, 12},
     {0, 0, 240, 16},
     {2.5f, 2.5f, 234, 10},
     10,
     2,
     6,  //
     {400, 60},
     {{0.5f, 0.5f, 398, 58}, 2},
     {2, 2, 396, 56},
     10,
     6,
     2,  //
     {20, 8, 42, 48},
     {20.5f, 8.5f, 20, 20},
     26.5f,  //
     {40, 48},
     {0.5f, 0.5f, 38, 22},
     {0.5f, 24.5f, 38, 22}},
};

TEST(ControlFramesAtDpi, RangeFamily) {
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(c.dpi);
        const ProgressFrame frame = progressFrame(c.bar, c.dpi);
        expectRect(frame.outline.rect, c.barOutline.rect, "progress outline");
        EXPECT_FLOAT_EQ(frame.outline.width, c.barOutline.width);
        expectRect(frame.trough, c.trough, "trough");
        EXPECT_EQ(frame.outlineRadius, c.outlineRadius);
        EXPECT_EQ(frame.troughRadius, c.troughRadius);
        EXPECT_EQ(frame.fillRadius, c.fillRadius);
        const ProgressGeometry g = progressGeometry(c.bar, false, 0, 100, 40, c.dpi);
        expectRect(g.filled, c.filled, "done part");
        expectRect(g.fill, c.fill, "progress fill");

        const TrackBarFrame track = trackBarFrame(c.track, c.dpi);
        expectRect(track.outline.rect, c.trackOutline.rect, "track outline");
        EXPECT_FLOAT_EQ(track.outline.width, c.trackOutline.width);
        expectRect(track.fill, c.trackFill, "track fill");
        EXPECT_EQ(track.outlineRadius, c.trackRadius);
        EXPECT_EQ(track.fillRadius, c.trackFillRadius);
        EXPECT_EQ(track.channelRadius, c.channelRadius);
        expectRect(trackBarThumbEllipse(c.thumb, false, TickPlacement::BottomOrRight, c.dpi), c.thumbBelow,
                   "thumb, ticks below");
        EXPECT_FLOAT_EQ(trackBarThumbEllipse(c.thumb, false, TickPlacement::TopOrLeft, c.dpi).y, c.thumbAboveY);

        const std::array<RectF, 2> halves = upDownHalves(c.upDown, false, c.dpi);
        expectRect(halves[0], c.firstHalf, "first half");
        expectRect(halves[1], c.secondHalf, "second half");
    }
}

// --- List-view header: a 100 x 24 item in a 300-wide header.

struct HeaderCase {
    UINT dpi;
    RectI item;
    RectF face, separator, accentBar, title;
    PointF pressedTitle;
    int radius;
    RectF bottomLine;
};
const HeaderCase kHeaders[] = {
    {96, {0, 0, 100, 24}, {0, 0, 99, 23}, {99, 3, 1, 20}, {0, 21, 99, 2}, {6, 0, 87, 23}, {7, 1}, 1, {0, 23, 300, 1}},
    {120,
     {0, 0, 125, 30},
     {0, 0, 124, 29},
     {124, 4, 1, 25},
     {0, 26, 124, 3},
     {8, 0, 108, 29},
     {9, 1},
     1,
     {0, 29, 375, 1}},
    {144,
     {0, 0, 150, 36},
     {0, 0, 148, 34},
     {148, 5, 2, 29},
     {0, 31, 148, 3},
     {9, 0, 130, 34},
     {11, 2},
     2,
     {0, 34, 450, 2}},
    {192,
     {0, 0, 200, 48},
     {0, 0, 198, 46},
     {198, 6, 2, 40},
     {0, 42, 198, 4},
     {12, 0, 174, 46},
     {14, 2},
     2,
     {0, 46, 600, 2}},
};

TEST(ControlFramesAtDpi, HeaderFamily) {
    for (const HeaderCase& c : kHeaders) {
        SCOPED_TRACE(c.dpi);
        const HeaderItemLayout rest = headerItemLayout(c.item, false, c.dpi);
        expectRect(rest.face, c.face, "face");
        expectRect(rest.separator, c.separator, "separator");
        expectRect(rest.accentBar, c.accentBar, "accent bar");
        expectRect(rest.title, c.title, "title");
        EXPECT_EQ(rest.faceRadius, c.radius);
        const HeaderItemLayout pressed = headerItemLayout(c.item, true, c.dpi);
        EXPECT_FLOAT_EQ(pressed.title.x, c.pressedTitle.x);
        EXPECT_FLOAT_EQ(pressed.title.y, c.pressedTitle.y);
        const SizeI header{static_cast<int>(c.bottomLine.width), c.item.height};
        expectRect(headerBottomLine(header, c.dpi), c.bottomLine, "bottom line");
    }
}

}  // namespace
}  // namespace pelmora
