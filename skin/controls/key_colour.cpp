#include "skin/controls/key_colour.h"

namespace pelmora {

bool copyExceptKeyColour(HDC target, const RectI& area, HDC source, PointI from, COLORREF key) {
    if (area.width <= 0 || area.height <= 0) return false;
    return ::TransparentBlt(target, area.x, area.y, area.width, area.height, source, from.x, from.y, area.width,
                            area.height, key) != 0;
}

}  // namespace pelmora
