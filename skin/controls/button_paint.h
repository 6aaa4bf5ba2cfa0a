// Painters of the button family: push buttons, check boxes, radio buttons and
// the two image-button kinds. Each draws one button into a GDI+ graphics from a
// rectangle, a state and what the button shows; none of them knows a window, so
// tests paint them into a bitmap and read the pixels. The window procedure
// decides the state (hot, pressed, focused, ...) and hands it over; the
// painters decide nothing.
#pragma once

#include <windows.h>

#include <string_view>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora {

class GdipGraphics;
class GdipPath;

// The look a button is painted in. The bits are the owner-draw state values, so
// a DRAWITEMSTRUCT's itemState is taken unchanged; every other bit is dropped.
class ButtonPaintState {
public:
    static constexpr UINT kPressed = ODS_SELECTED;   // 0x1: mouse held down
    static constexpr UINT kDisabled = ODS_DISABLED;  // 0x4
    static constexpr UINT kFocused = ODS_FOCUS;      // 0x10
    static constexpr UINT kHot = ODS_HOTLIGHT;       // 0x40: under the pointer
    static constexpr UINT kMask = kPressed | kDisabled | kFocused | kHot;

    constexpr ButtonPaintState() = default;
    constexpr explicit ButtonPaintState(UINT bits) : bits_(bits & kMask) {}

    constexpr UINT bits() const { return bits_; }
    constexpr bool pressed() const { return (bits_ & kPressed) != 0; }
    constexpr bool disabled() const { return (bits_ & kDisabled) != 0; }
    constexpr bool focused() const { return (bits_ & kFocused) != 0; }
    constexpr bool hot() const { return (bits_ & kHot) != 0; }
    // The same state with the hot bit added (the hover repaint).
    constexpr ButtonPaintState withHot() const { return ButtonPaintState(bits_ | kHot); }

    constexpr bool operator==(ButtonPaintState other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(ButtonPaintState other) const { return bits_ != other.bits_; }

private:
    UINT bits_ = 0;
};

// The glow around a focused push button and a hot check or radio box. A fixed
// colour, deliberately not the accent.
constexpr COLORREF kGlowColour = 0x00DDCA22;
// The plate a disabled button is painted on.
constexpr COLORREF kDisabledPlateColour = 0x00C0C0C0;

// What a button writes and in which colours.
struct ButtonLook {
    std::wstring_view caption;   // empty: no text is drawn
    std::wstring_view fontFace;  // empty or unknown: the stock GUI font
    int fontSize = 12;           // pixels
    int fontStyle = 0;           // GDI+ FontStyle bits
    COLORREF textColour = 0;     // always drawn opaque
    COLORREF accentColour = kDefaultAccentColour;
    UINT dpi = kBaseDpi;  // the window's; every length below is written at 96 and scaled to it
};

// --- Geometry. Rectangles are (left, top, width, height) in the painter's
// coordinates; r is the button's rectangle (normally its client rectangle) in
// pixels. The lengths in the comments are at 96 DPI; `dpi` scales them.

struct PushButtonGeometry {
    RectF bounds;       // the whole rectangle: disabled plate, caption box
    RectF face;         // rounded face and outline, stroked by a pen of `line` pixels
    RectF gloss;        // upper half, rounded at the top only
    RectF inset;        // the pressed fill, 2 in from the edges
    int radius = 5;     // of the face, the gloss, the inset and the disabled outline
    float line = 1.0f;  // the outline's pen
    int glow = 3;       // strokes of the focus glow, widths 1 to glow
};
PushButtonGeometry pushButtonGeometry(const RECT& r, UINT dpi = kBaseDpi);

struct CheckBoxGeometry {
    RectF box;       // the 13 x 13 glyph, at the left edge, centred vertically
    RectF caption;   // left-aligned, vertically centred text, 17 from the left
    PointF hotFrom;  // where the hot gradient starts: (3, 1) into the box
    int glow = 2;    // strokes of the hot glow
};
CheckBoxGeometry checkBoxGeometry(const RECT& r, UINT dpi = kBaseDpi);

struct RadioButtonGeometry {
    RectF ring;  // 12 x 12 outer circle, 2 from the left
    RectF disc;  // 9 x 9 inner disc
    RectF dot;   // 6 x 6 mark of a checked button
    RectF caption;
    float shade = 10;     // extent of the disc's shading gradient
    float hotShade = 11;  // extent of the hot gradient
    float line = 1.0f;    // the pen of the ring, the disc and the dot
    int glow = 2;
};
RadioButtonGeometry radioButtonGeometry(const RECT& r, UINT dpi = kBaseDpi);

// Where an image button puts its picture and its caption.
struct ImageButtonLayout {
    bool hasImage = false;
    RectF image;  // square; meaningless without an image
    RectF caption;
    bool captionCentred = true;   // false: left-aligned (vertically centred either way)
    bool captionTrimmed = false;  // cut with an ellipsis where it does not fit
};
// imageOption non-zero: image at the left (or centred without a caption), text
// beside it; 0: image above, text below.
// fontSize is in pixels (already at the window's DPI).
ImageButtonLayout imageButtonLayout(const RECT& r, int imageOption, bool hasImage, bool hasCaption, int fontSize,
                                    UINT dpi = kBaseDpi);

// The four pictures of a state-image button and which of them a state shows:
// disabled first, then hot, then pressed.
enum class StateImage { Normal, Hover, Pressed, Disabled };
StateImage stateImageFor(ButtonPaintState state);

struct StateImages {
    const ByteBuffer& normal;
    const ByteBuffer& hover;
    const ByteBuffer& pressed;
    const ByteBuffer& disabled;
    const ByteBuffer& pick(StateImage which) const;
};

// --- Path operations.

// An open figure: up the left side from (x, y + height), a corner arc in
// (x, y, r, r), along the top, a corner arc in (x + width - r, y, r, r), and
// down the right side to (x + width, y + height). The bottom stays open.
bool addTopRoundedRectangle(GdipPath& path, float x, float y, float width, float height, float r);

// Strokes the path count times with one pen of the colour, widths 1 to count,
// so the middle of the outline is the most opaque. A scaled glow takes the
// count scaled, so it reaches as far out and fades alike.
bool drawGlow(GdipGraphics& graphics, const GdipPath& path, int count, COLORREF colour, std::uint8_t alpha);

// --- Painters. Each draws everything it owns over what the graphics already
// holds and frees every GDI+ object it made, whichever branch it took.

void paintPushButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const ButtonLook& look);
// checked: BM_GETCHECK said BST_CHECKED. Pressed and focused change nothing.
void paintCheckBox(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked, const ButtonLook& look);
void paintRadioButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked,
                      const ButtonLook& look);
// image: encoded picture bytes (PNG, JPEG, BMP); empty: the caption alone.
void paintImageButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const ByteBuffer& image,
                      int imageOption, const ButtonLook& look);
void paintStateImageButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const StateImages& images,
                           const ButtonLook& look);

}  // namespace pelmora
