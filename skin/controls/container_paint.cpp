#include "skin/controls/container_paint.h"

#include <algorithm>

#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/control_text.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kFrameLine = 0x50000000;  // black, alpha 80

}  // namespace

GroupBoxGeometry groupBoxGeometry(SizeI size, float captionWidth, float captionHeight) {
    GroupBoxGeometry g;
    const float w = static_cast<float>(size.width), h = static_cast<float>(size.height);
    g.frame = {0, static_cast<float>(kGroupFrameTop), w - 1, h - 1 - kGroupFrameTop};
    const float room = w - 2 * kGroupCaptionLeft - 2 * kGroupCaptionSpace;
    if (captionWidth <= 0 || captionHeight <= 0 || room < 1) return g;
    const float textWidth = std::min(captionWidth, room);
    const float textHeight = std::min(captionHeight, h);
    g.gap = {static_cast<float>(kGroupCaptionLeft), 0, textWidth + 2 * kGroupCaptionSpace, textHeight};
    g.caption = {static_cast<float>(kGroupCaptionLeft + kGroupCaptionSpace), 0, textWidth, textHeight};
    return g;
}

void paintGroupBox(GdipGraphics& graphics, const GroupBoxPaint& box, const ControlSettings&) {
    if (box.size.width <= 0 || box.size.height <= 0) return;
    GdipFont font;
    const bool hasFont = !box.caption.empty() && makeControlFont(font, box.font);
    const RectF measured = hasFont ? measureControlText(graphics, box.caption, font) : RectF{};
    const GroupBoxGeometry g = groupBoxGeometry(box.size, measured.width, measured.height);

    if (g.gap.width > 0) graphics.setClipRect(g.gap.x, g.gap.y, g.gap.width, g.gap.height, Gdiplus::CombineModeExclude);
    strokeRoundedRect(graphics, g.frame, kGroupFrameCorner, kFrameLine);
    graphics.resetClip();

    if (g.caption.width <= 0) return;
    useBlendedTextModes(graphics);
    TextLayout layout;
    layout.wrap = false;
    layout.ellipsis = true;
    drawControlText(graphics, box.caption, font, box.textColour, g.caption, layout);
}

}  // namespace pelmora
