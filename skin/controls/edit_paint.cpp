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

void paintEditFrame(GdipGraphics& graphics, SizeI window, const RectI& client, EditBorderLook look,
                    const ControlSettings& settings) {
    const float w = static_cast<float>(window.width), h = static_cast<float>(window.height);
    graphics.setClipRectI(0, 0, window.width, window.height);
    graphics.setClipRectI(client.x, client.y, client.width, client.height, Gdiplus::CombineModeExclude);
    if (settings.translucentBackgrounds) {
        fillRect(graphics, RectF{0, 0, w, h}, whiteOfAlpha(settings.backgroundAlpha));
    } else {
        graphics.clear(kOpaqueWhite);
    }
    const Argb accent = colourOfAlpha(settings.accentColour, kAccentAlpha);
    switch (look) {
        case EditBorderLook::Hot:
            strokeRect(graphics, RectF{1, 1, w - 2, h - 2}, accent, 2.0f);
            break;
        case EditBorderLook::Focused:
            strokeRect(graphics, RectF{0, 0, w - 1, h - 1}, accent);
            break;
        case EditBorderLook::Rest:
            strokeRect(graphics, RectF{0, 0, w - 1, h - 1}, kRestBorder);
            break;
    }
    graphics.resetClip();
}

bool paintEditBackground(HDC background, const RectI& client, int alpha, HDC target) {
    layTranslucentWhite(background, client, alpha);
    return ::BitBlt(target, 0, 0, client.width, client.height, background, client.x, client.y, SRCCOPY) != 0;
}

}  // namespace pelmora
