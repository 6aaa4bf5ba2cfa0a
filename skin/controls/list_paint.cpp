#include "skin/controls/list_paint.h"

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kRestBorder = 0x50000000;  // black, alpha 80
constexpr int kLitAlpha = 180;
constexpr DWORD kEdgeStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

}  // namespace

bool hasListBorder(DWORD style, DWORD exStyle) {
    return (style & WS_BORDER) != 0 || (exStyle & kEdgeStyles) != 0;
}

bool isOwnerDrawnListBox(DWORD style) {
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

void paintListFrame(GdipGraphics& graphics, const ListFramePaint& frame, const ControlSettings& settings) {
    const float w = static_cast<float>(frame.window.width), h = static_cast<float>(frame.window.height);
    graphics.setClipRectI(0, 0, frame.window.width, frame.window.height);
    graphics.setClipRectI(frame.client.x, frame.client.y, frame.client.width, frame.client.height,
                          Gdiplus::CombineModeExclude);
    if (frame.comboList) graphics.clear(argbFromColour(kComboListKeyColour));
    fillRect(graphics, RectF{0, 0, w, h},
             whiteOfAlpha(settings.translucentBackgrounds ? settings.backgroundAlpha : 255));
    if (frame.border) {
        const bool lit = frame.hot || frame.focused;
        const FrameStroke stroke = frameStroke(frame.window, 1, frame.dpi);
        strokeRect(graphics, stroke.rect, lit ? colourOfAlpha(settings.accentColour, kLitAlpha) : kRestBorder,
                   stroke.width);
    }
    graphics.resetClip();
}

}  // namespace pelmora
