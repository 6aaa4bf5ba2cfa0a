#include "skin/controls/container_paint.h"

#include <algorithm>

#include "base/dpi_scale.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/control_text.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kFrameLine = 0x50000000;  // black, alpha 80

}  // namespace

GroupBoxGeometry groupBoxGeometry(SizeI size, float captionWidth, float captionHeight, UINT dpi) {
    GroupBoxGeometry g;
    const float w = static_cast<float>(size.width), h = static_cast<float>(size.height);
    const float top = static_cast<float>(scaled(kGroupFrameTop, dpi));
    const float left = static_cast<float>(scaled(kGroupCaptionLeft, dpi));
    const float space = static_cast<float>(scaled(kGroupCaptionSpace, dpi));
    g.lineWidth = static_cast<float>(scaled(1, dpi));
    g.corner = scaled(kGroupFrameCorner, dpi);
    const float in = (g.lineWidth - 1) / 2;
    g.frame = {in, top + in, w - 1 - 2 * in, h - 1 - top - 2 * in};
    const float room = w - 2 * left - 2 * space;
    if (captionWidth <= 0 || captionHeight <= 0 || room < 1) return g;
    const float textWidth = std::min(captionWidth, room);
    const float textHeight = std::min(captionHeight, h);
    g.gap = {left, 0, textWidth + 2 * space, textHeight};
    g.caption = {left + space, 0, textWidth, textHeight};
    return g;
}

void paintGroupBox(GdipGraphics& graphics, const GroupBoxPaint& box, const ControlSettings&) {
    if (box.size.width <= 0 || box.size.height <= 0) return;
    GdipFont font;
    // A font read from the control is already in its pixels; only the
    // stand-in size is a 96-DPI number.
    ControlFont wanted = box.font;
    if (wanted.size <= 0) wanted.size = scaled(kFallbackFontSize, box.dpi);
    const bool hasFont = !box.caption.empty() && makeControlFont(font, wanted);
    const RectF measured = hasFont ? measureControlText(graphics, box.caption, font) : RectF{};
    const GroupBoxGeometry g = groupBoxGeometry(box.size, measured.width, measured.height, box.dpi);

    if (g.gap.width > 0) graphics.setClipRect(g.gap.x, g.gap.y, g.gap.width, g.gap.height, Gdiplus::CombineModeExclude);
    strokeRoundedRect(graphics, g.frame, g.corner, kFrameLine, g.lineWidth);
    graphics.resetClip();

    if (g.caption.width <= 0) return;
    useBlendedTextModes(graphics);
    TextLayout layout;
    layout.wrap = false;
    layout.ellipsis = true;
    drawControlText(graphics, box.caption, font, box.textColour, g.caption, layout);
}

}  // namespace pelmora
