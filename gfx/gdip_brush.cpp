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

bool GdipBrush::clone(GdipBrush& out) const {
    GpBrush* made = nullptr;
    GpStatus s = gp::GdipCloneBrush(native(), &made);
    return adoptInto(out, s, made);
}

Gdiplus::BrushType GdipBrush::type() {
    Gdiplus::BrushType value{};
    return record(gp::GdipGetBrushType(native(), &value)) ? value : Gdiplus::BrushType{};
}

// ---- GdipSolidBrush

bool GdipSolidBrush::create(Argb colour) {
    GpSolidFill* made = nullptr;
    return adopt(gp::GdipCreateSolidFill(colour, &made), made);
}
Argb GdipSolidBrush::colour() {
    Gdiplus::ARGB value = 0;
    return record(gp::GdipGetSolidFillColor(static_cast<GpSolidFill*>(handle()), &value)) ? value : 0;
}
bool GdipSolidBrush::setColour(Argb colour) {
    return record(gp::GdipSetSolidFillColor(static_cast<GpSolidFill*>(handle()), colour));
}

// ---- GdipLinearGradientBrush

bool GdipLinearGradientBrush::create(PointF point1, PointF point2, Argb colour1, Argb colour2) {
    Gdiplus::PointF p1(point1.x, point1.y), p2(point2.x, point2.y);
    GpLineGradient* made = nullptr;
    return adopt(gp::GdipCreateLineBrush(&p1, &p2, colour1, colour2, Gdiplus::WrapModeTile, &made), made);
}
bool GdipLinearGradientBrush::createI(PointI point1, PointI point2, Argb colour1, Argb colour2) {
    Gdiplus::Point p1(point1.x, point1.y), p2(point2.x, point2.y);
    GpLineGradient* made = nullptr;
    return adopt(gp::GdipCreateLineBrushI(&p1, &p2, colour1, colour2, Gdiplus::WrapModeTile, &made), made);
}
bool GdipLinearGradientBrush::createFromRect(const RectF& rect, Argb colour1, Argb colour2,
                                             Gdiplus::LinearGradientMode mode) {
    Gdiplus::RectF r = gdip_detail::toGp(rect);
    GpLineGradient* made = nullptr;
    return adopt(gp::GdipCreateLineBrushFromRect(&r, colour1, colour2, mode, Gdiplus::WrapModeTile, &made), made);
}
bool GdipLinearGradientBrush::colours(Argb& colour1, Argb& colour2) {
    Gdiplus::ARGB pair[2] = {0, 0};
    bool ok = record(gp::GdipGetLineColors(nativeGradient(), pair));
    colour1 = pair[0];
    colour2 = pair[1];
    return ok;
}
bool GdipLinearGradientBrush::setColours(Argb colour1, Argb colour2) {
    return record(gp::GdipSetLineColors(nativeGradient(), colour1, colour2));
}
RectF GdipLinearGradientBrush::rect() {
    Gdiplus::RectF out;
    return record(gp::GdipGetLineRect(nativeGradient(), &out)) ? gdip_detail::fromGp(out) : RectF{};
}
bool GdipLinearGradientBrush::setGammaCorrection(bool on) {
    return record(gp::GdipSetLineGammaCorrection(nativeGradient(), on ? TRUE : FALSE));
}
bool GdipLinearGradientBrush::setBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    if (factors.size() != positions.size()) return record(Gdiplus::InvalidParameter);
    return record(
        gp::GdipSetLineBlend(nativeGradient(), factors.data(), positions.data(), static_cast<INT>(factors.size())));
}
bool GdipLinearGradientBrush::setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions) {
    // GDI+ reads one position per colour.
    if (positions.size() < colours.size()) return record(Gdiplus::InvalidParameter);
    std::vector<Gdiplus::ARGB> packed(colours.begin(), colours.end());
    return record(gp::GdipSetLinePresetBlend(nativeGradient(), packed.data(), positions.data(),
                                             static_cast<INT>(colours.size())));
}
bool GdipLinearGradientBrush::setSigmaBlend(float focus, float scale) {
    return record(gp::GdipSetLineSigmaBlend(nativeGradient(), focus, scale));
}
bool GdipLinearGradientBrush::setLinearBlend(float focus, float scale) {
    return record(gp::GdipSetLineLinearBlend(nativeGradient(), focus, scale));
}
bool GdipLinearGradientBrush::setWrapMode(Gdiplus::WrapMode mode) {
    return record(gp::GdipSetLineWrapMode(nativeGradient(), mode));
}
bool GdipLinearGradientBrush::resetTransform() {
    return record(gp::GdipResetLineTransform(nativeGradient()));
}
bool GdipLinearGradientBrush::translateTransform(float dx, float dy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipTranslateLineTransform(nativeGradient(), dx, dy, order));
}
bool GdipLinearGradientBrush::scaleTransform(float sx, float sy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipScaleLineTransform(nativeGradient(), sx, sy, order));
}
bool GdipLinearGradientBrush::scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order) {
    GpLineGradient* b = nativeGradient();
    return gdip_detail::transformAt(
        [b](float dx, float dy, Gdiplus::MatrixOrder o) { return gp::GdipTranslateLineTransform(b, dx, dy, o); },
        [b, sx, sy](Gdiplus::MatrixOrder o) { return gp::GdipScaleLineTransform(b, sx, sy, o); }, centre, order);
}
bool GdipLinearGradientBrush::rotateTransform(float degrees, Gdiplus::MatrixOrder order) {
    return record(gp::GdipRotateLineTransform(nativeGradient(), degrees, order));
}
bool GdipLinearGradientBrush::rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order) {
    GpLineGradient* b = nativeGradient();
    return gdip_detail::transformAt(
        [b](float dx, float dy, Gdiplus::MatrixOrder o) { return gp::GdipTranslateLineTransform(b, dx, dy, o); },
        [b, degrees](Gdiplus::MatrixOrder o) { return gp::GdipRotateLineTransform(b, degrees, o); }, centre, order);
}

// ---- GdipPathGradientBrush

bool GdipPathGradientBrush::create(std::vector<PointF>& points, Gdiplus::WrapMode mode) {
    gdip_detail::PackedPoints<Gdiplus::PointF, PointF> packed(points);
    GpPathGradient* made = nullptr;
    return adopt(gp::GdipCreatePathGradient(packed.data(), packed.count(), mode, &made), made);
}
bool GdipPathGradientBrush::createFromPath(const GdipPath& path) {
    GpPathGradient* made = nullptr;
    return adopt(gp::GdipCreatePathGradientFromPath(path.native(), &made), made);
}
Argb GdipPathGradientBrush::centreColour() {
    Gdiplus::ARGB value = 0;
    return record(gp::GdipGetPathGradientCenterColor(nativeGradient(), &value)) ? value : 0;
}
bool GdipPathGradientBrush::setCentreColour(Argb colour) {
    return record(gp::GdipSetPathGradientCenterColor(nativeGradient(), colour));
}
bool GdipPathGradientBrush::setCentrePoint(PointF centre) {
    Gdiplus::PointF p(centre.x, centre.y);
    return record(gp::GdipSetPathGradientCenterPoint(nativeGradient(), &p));
}
PointF GdipPathGradientBrush::centrePoint() {
    Gdiplus::PointF p;
    return record(gp::GdipGetPathGradientCenterPoint(nativeGradient(), &p)) ? PointF{p.X, p.Y} : PointF{};
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
int GdipPathGradientBrush::surroundColourCount() {
    INT n = 0;
    return record(gp::GdipGetPathGradientSurroundColorCount(nativeGradient(), &n)) ? n : 0;
}
bool GdipPathGradientBrush::setFocusScales(float x, float y) {
    return record(gp::GdipSetPathGradientFocusScales(nativeGradient(), x, y));
}
bool GdipPathGradientBrush::setWrapMode(Gdiplus::WrapMode mode) {
    return record(gp::GdipSetPathGradientWrapMode(nativeGradient(), mode));
}
bool GdipPathGradientBrush::resetTransform() {
    return record(gp::GdipResetPathGradientTransform(nativeGradient()));
}
bool GdipPathGradientBrush::translateTransform(float dx, float dy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipTranslatePathGradientTransform(nativeGradient(), dx, dy, order));
}
bool GdipPathGradientBrush::scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order) {
    GpPathGradient* b = nativeGradient();
    return gdip_detail::transformAt(
        [b](float dx, float dy, Gdiplus::MatrixOrder o) {
            return gp::GdipTranslatePathGradientTransform(b, dx, dy, o);
        },
        [b, sx, sy](Gdiplus::MatrixOrder o) { return gp::GdipScalePathGradientTransform(b, sx, sy, o); }, centre,
        order);
}
bool GdipPathGradientBrush::rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order) {
    GpPathGradient* b = nativeGradient();
    return gdip_detail::transformAt(
        [b](float dx, float dy, Gdiplus::MatrixOrder o) {
            return gp::GdipTranslatePathGradientTransform(b, dx, dy, o);
        },
        [b, degrees](Gdiplus::MatrixOrder o) { return gp::GdipRotatePathGradientTransform(b, degrees, o); }, centre,
        order);
}

}  // namespace pelmora
