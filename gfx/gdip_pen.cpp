#include "gfx/gdip_pen.h"

#include "gfx/gdip_brush.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

bool GdipPen::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeletePen(native()));
}

bool GdipPen::create(Argb colour, float width, Gdiplus::Unit unit) {
    GpPen* made = nullptr;
    return adopt(gp::GdipCreatePen1(colour, width, unit, &made), made);
}
bool GdipPen::createFromBrush(const GdipBrush& brush, float width, Gdiplus::Unit unit) {
    GpPen* made = nullptr;
    return adopt(gp::GdipCreatePen2(brush.native(), width, unit, &made), made);
}

bool GdipPen::setWidth(float width) {
    return record(gp::GdipSetPenWidth(native(), width));
}
bool GdipPen::setLineJoin(Gdiplus::LineJoin join) {
    return record(gp::GdipSetPenLineJoin(native(), join));
}

}  // namespace pelmora
