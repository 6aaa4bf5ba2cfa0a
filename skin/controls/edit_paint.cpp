#include "skin/controls/edit_paint.h"

#include <algorithm>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kOpaqueWhite = 0xFFFFFFFF;
constexpr Argb kRestBorder = 0x50000000;  // black, alpha 80
constexpr int kAccentAlpha = 180;

}  // namespace

EditBorderLook editBorderLook(bool hot, bool focused) {
    if (hot) return EditBorderLook::Hot;
    return focused ? EditBorderLook::Focused : EditBorderLook::Rest;
}

FrameStroke editFrameStroke(SizeI size, EditBorderLook look, UINT dpi) {
    if (look != EditBorderLook::Hot) return frameStroke(size, 1, dpi);
    const int line = scaled(2, dpi);
    const float in = static_cast<float>(line) / 2;
    return {{in, in, static_cast<float>(size.width - line), static_cast<float>(size.height - line)},
            static_cast<float>(line)};
}

void paintEditFrame(GdipGraphics& graphics, SizeI window, const RectI& client, EditBorderLook look,
                    const ControlSettings& settings, UINT dpi) {
    const float w = static_cast<float>(window.width), h = static_cast<float>(window.height);
    graphics.setClipRectI(0, 0, window.width, window.height);
    graphics.setClipRectI(client.x, client.y, client.width, client.height, Gdiplus::CombineModeExclude);
    if (settings.translucentBackgrounds) {
        fillRect(graphics, RectF{0, 0, w, h}, whiteOfAlpha(settings.backgroundAlpha));
    } else {
        graphics.clear(kOpaqueWhite);
    }
    const FrameStroke stroke = editFrameStroke(window, look, dpi);
    strokeRect(graphics, stroke.rect,
               look == EditBorderLook::Rest ? kRestBorder : colourOfAlpha(settings.accentColour, kAccentAlpha),
               stroke.width);
    graphics.resetClip();
}

bool paintEditBackground(HDC background, const RectI& client, int alpha, HDC target) {
    layTranslucentWhite(background, client, alpha);
    return ::BitBlt(target, 0, 0, client.width, client.height, background, client.x, client.y, SRCCOPY) != 0;
}

}  // namespace pelmora
