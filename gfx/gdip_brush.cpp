#include "gfx/gdip_brush.h"

#include "gfx/gdip_internal.h"
#include "gfx/gdip_path.h"

namespace pelmora {

using gdip_detail::record;

// ---- GdipBrush

bool GdipBrush::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteBrush(native()));
}

// ---- GdipSolidBrush

bool GdipSolidBrush::create(Argb colour) {
    GpSolidFill* made = nullptr;
    return adopt(gp::GdipCreateSolidFill(colour, &made), made);
}

// ---- GdipLinearGradientBrush

bool GdipLinearGradientBrush::create(PointF point1, PointF point2, Argb colour1, Argb colour2) {
    Gdiplus::PointF p1(point1.x, point1.y), p2(point2.x, point2.y);
    GpLineGradient* made = nullptr;
    return adopt(gp::GdipCreateLineBrush(&p1, &p2, colour1, colour2, Gdiplus::WrapModeTile, &made), made);
}
bool GdipLinearGradientBrush::setLinearBlend(float focus, float scale) {
    return record(gp::GdipSetLineLinearBlend(nativeGradient(), focus, scale));
}
bool GdipLinearGradientBrush::setWrapMode(Gdiplus::WrapMode mode) {
    return record(gp::GdipSetLineWrapMode(nativeGradient(), mode));
}

// ---- GdipPathGradientBrush

bool GdipPathGradientBrush::createFromPath(const GdipPath& path) {
    GpPathGradient* made = nullptr;
    return adopt(gp::GdipCreatePathGradientFromPath(path.native(), &made), made);
}
bool GdipPathGradientBrush::setCentreColour(Argb colour) {
    return record(gp::GdipSetPathGradientCenterColor(nativeGradient(), colour));
}
bool GdipPathGradientBrush::setSurroundColours(const std::vector<Argb>& colours, int* count) {
    INT n = (count && *count >= 0) ? std::min<INT>(*count, static_cast<INT>(colours.size()))
                                   : static_cast<INT>(colours.size());
    std::vector<Gdiplus::ARGB> packed(colours.begin(), colours.end());
    bool ok = record(
        gp::GdipSetPathGradientSurroundColorsWithCount(nativeGradient(), packed.empty() ? nullptr : packed.data(), &n));
    if (count) *count = n;
    return ok;
}

}  // namespace pelmora
