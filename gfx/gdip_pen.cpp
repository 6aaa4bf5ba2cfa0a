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
bool GdipPen::clone(GdipPen& out) const {
    GpPen* made = nullptr;
    GpStatus s = gp::GdipClonePen(native(), &made);
    return adoptInto(out, s, made);
}

float GdipPen::width() {
    REAL value = 0;
    return record(gp::GdipGetPenWidth(native(), &value)) ? value : 0;
}
bool GdipPen::setWidth(float width) {
    return record(gp::GdipSetPenWidth(native(), width));
}
Argb GdipPen::colour() {
    Gdiplus::ARGB value = 0;
    return record(gp::GdipGetPenColor(native(), &value)) ? value : 0;
}
bool GdipPen::setColour(Argb colour) {
    return record(gp::GdipSetPenColor(native(), colour));
}
bool GdipPen::setLineCap(Gdiplus::LineCap start, Gdiplus::LineCap end, Gdiplus::DashCap dash) {
    return record(gp::GdipSetPenLineCap197819(native(), start, end, dash));
}
bool GdipPen::setLineJoin(Gdiplus::LineJoin join) {
    return record(gp::GdipSetPenLineJoin(native(), join));
}
bool GdipPen::setAlignment(Gdiplus::PenAlignment alignment) {
    return record(gp::GdipSetPenMode(native(), alignment));
}
bool GdipPen::setDashStyle(Gdiplus::DashStyle style) {
    return record(gp::GdipSetPenDashStyle(native(), style));
}
bool GdipPen::setDashArray(const std::vector<float>& dashes) {
    return record(
        gp::GdipSetPenDashArray(native(), dashes.empty() ? nullptr : dashes.data(), static_cast<INT>(dashes.size())));
}

bool GdipPen::resetTransform() {
    return record(gp::GdipResetPenTransform(native()));
}
bool GdipPen::translateTransform(float dx, float dy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipTranslatePenTransform(native(), dx, dy, order));
}
bool GdipPen::scaleTransform(float sx, float sy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipScalePenTransform(native(), sx, sy, order));
}
bool GdipPen::scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order) {
    GpPen* p = native();
    return gdip_detail::transformAt(
        [p](float dx, float dy, Gdiplus::MatrixOrder o) { return gp::GdipTranslatePenTransform(p, dx, dy, o); },
        [p, sx, sy](Gdiplus::MatrixOrder o) { return gp::GdipScalePenTransform(p, sx, sy, o); }, centre, order);
}
bool GdipPen::rotateTransform(float degrees, Gdiplus::MatrixOrder order) {
    return record(gp::GdipRotatePenTransform(native(), degrees, order));
}
bool GdipPen::rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order) {
    GpPen* p = native();
    return gdip_detail::transformAt(
        [p](float dx, float dy, Gdiplus::MatrixOrder o) { return gp::GdipTranslatePenTransform(p, dx, dy, o); },
        [p, degrees](Gdiplus::MatrixOrder o) { return gp::GdipRotatePenTransform(p, degrees, o); }, centre, order);
}

}  // namespace pelmora
