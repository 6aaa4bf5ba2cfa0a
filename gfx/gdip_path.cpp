#include "gfx/gdip_path.h"

#include <algorithm>

#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_internal.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"

namespace pelmora {

using gdip_detail::record;
using gdip_detail::toGp;

namespace {
GpGraphics* graphicsOf(const GdipGraphics* graphics) {
    return graphics ? graphics->native() : nullptr;
}
}  // namespace

// ---- GdipPath

bool GdipPath::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeletePath(native()));
}

bool GdipPath::create(Gdiplus::FillMode mode) {
    GpPath* made = nullptr;
    return adopt(gp::GdipCreatePath(mode, &made), made);
}

bool GdipPath::clone(GdipPath& out) const {
    GpPath* made = nullptr;
    GpStatus s = gp::GdipClonePath(native(), &made);
    return adoptInto(out, s, made);
}

bool GdipPath::reset() {
    return record(gp::GdipResetPath(native()));
}
bool GdipPath::setFillMode(Gdiplus::FillMode mode) {
    return record(gp::GdipSetPathFillMode(native(), mode));
}

int GdipPath::pointCount() {
    INT count = 0;
    return record(gp::GdipGetPointCount(native(), &count)) ? count : 0;
}

std::vector<PointF> GdipPath::points() {
    int count = pointCount();
    if (count <= 0) return {};
    std::vector<Gdiplus::PointF> packed(count);
    if (!record(gp::GdipGetPathPoints(native(), packed.data(), count))) return {};
    std::vector<PointF> out;
    out.reserve(count);
    for (const Gdiplus::PointF& p : packed) out.push_back({p.X, p.Y});
    return out;
}

bool GdipPath::startFigure() {
    return record(gp::GdipStartPathFigure(native()));
}
bool GdipPath::closeFigure() {
    return record(gp::GdipClosePathFigure(native()));
}
bool GdipPath::closeAllFigures() {
    return record(gp::GdipClosePathFigures(native()));
}

bool GdipPath::addLine(float x1, float y1, float x2, float y2) {
    return record(gp::GdipAddPathLine(native(), x1, y1, x2, y2));
}
bool GdipPath::addLineI(int x1, int y1, int x2, int y2) {
    return record(gp::GdipAddPathLineI(native(), x1, y1, x2, y2));
}
bool GdipPath::addLines(std::vector<PointF>& points) {
    gdip_detail::PackedPoints<Gdiplus::PointF, PointF> packed(points);
    return record(gp::GdipAddPathLine2(native(), packed.data(), packed.count()));
}
bool GdipPath::addArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return record(gp::GdipAddPathArc(native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::addBezier(PointF p1, PointF p2, PointF p3, PointF p4) {
    return record(gp::GdipAddPathBezier(native(), p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y));
}
bool GdipPath::addRectangle(float x, float y, float width, float height) {
    return record(gp::GdipAddPathRectangle(native(), x, y, width, height));
}
bool GdipPath::addRectangleI(int x, int y, int width, int height) {
    return record(gp::GdipAddPathRectangleI(native(), x, y, width, height));
}

bool GdipPath::addRoundedRectanglePercent(float x, float y, float width, float height, int percent) {
    percent = std::clamp(percent, 1, 100);
    // Integer corner sizes, truncated toward zero.
    float rx = static_cast<float>(static_cast<int>(width * percent / 100));
    float ry = static_cast<float>(static_cast<int>(height * percent / 100));
    addArc(x + width - rx, y, rx, ry, 270, 90);
    addArc(x + width - rx, y + height - ry, rx, ry, 0, 90);
    addArc(x, y + height - ry, rx, ry, 90, 90);
    addArc(x, y, rx, ry, 180, 90);
    return closeFigure();
}

bool GdipPath::addEllipse(float x, float y, float width, float height) {
    return record(gp::GdipAddPathEllipse(native(), x, y, width, height));
}
bool GdipPath::addPolygon(std::vector<PointF>& points) {
    gdip_detail::PackedPoints<Gdiplus::PointF, PointF> packed(points);
    return record(gp::GdipAddPathPolygon(native(), packed.data(), packed.count()));
}
bool GdipPath::addPath(const GdipPath& other, bool connect) {
    return record(gp::GdipAddPathPath(native(), other.native(), connect ? TRUE : FALSE));
}

bool GdipPath::addString(std::wstring_view text, const GdipFontFamily& family, int style, float emSize,
                         const RectF& layout, const GdipStringFormat* format) {
    GdipStringFormat fallback;
    if (!format || !format->native()) {
        fallback.genericDefault();
        format = &fallback;
    }
    gdip_detail::WideText wide(text);
    Gdiplus::RectF rect = toGp(layout);
    return record(gp::GdipAddPathString(native(), wide.c_str(), wide.length(), family.native(), style, emSize, &rect,
                                        format->native()));
}
bool GdipPath::addString(std::string_view gbkText, const GdipFontFamily& family, int style, float emSize,
                         const RectF& layout, const GdipStringFormat* format) {
    return addString(gdip_detail::fromGbk(gbkText).text, family, style, emSize, layout, format);
}

RectF GdipPath::worldBounds() {
    Gdiplus::RectF out;
    return record(gp::GdipGetPathWorldBounds(native(), &out, nullptr, nullptr)) ? gdip_detail::fromGp(out) : RectF{};
}

bool GdipPath::isVisible(float x, float y, const GdipGraphics* graphics) {
    BOOL inside = FALSE;
    return record(gp::GdipIsVisiblePathPoint(native(), x, y, graphicsOf(graphics), &inside)) && inside;
}
bool GdipPath::isOutlineVisible(float x, float y, const GdipPen& pen, const GdipGraphics* graphics) {
    BOOL inside = FALSE;
    return record(gp::GdipIsOutlineVisiblePathPoint(native(), x, y, pen.native(), graphicsOf(graphics), &inside)) &&
           inside;
}

// ---- GdipRegion

bool GdipRegion::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteRegion(native()));
}

bool GdipRegion::create() {
    GpRegion* made = nullptr;
    return adopt(gp::GdipCreateRegion(&made), made);
}
bool GdipRegion::createRect(const RectF& rect) {
    Gdiplus::RectF r = toGp(rect);
    GpRegion* made = nullptr;
    return adopt(gp::GdipCreateRegionRect(&r, &made), made);
}
bool GdipRegion::createRectI(const RectI& rect) {
    Gdiplus::Rect r = toGp(rect);
    GpRegion* made = nullptr;
    return adopt(gp::GdipCreateRegionRectI(&r, &made), made);
}
bool GdipRegion::createPath(const GdipPath& path) {
    GpRegion* made = nullptr;
    return adopt(gp::GdipCreateRegionPath(path.native(), &made), made);
}
bool GdipRegion::createHrgn(HRGN region) {
    GpRegion* made = nullptr;
    return adopt(gp::GdipCreateRegionHrgn(region, &made), made);
}
bool GdipRegion::combineRect(const RectF& rect, Gdiplus::CombineMode mode) {
    Gdiplus::RectF r = toGp(rect);
    return record(gp::GdipCombineRegionRect(native(), &r, mode));
}
bool GdipRegion::combineRegion(const GdipRegion& other, Gdiplus::CombineMode mode) {
    return record(gp::GdipCombineRegionRegion(native(), other.native(), mode));
}
bool GdipRegion::combinePath(const GdipPath& path, Gdiplus::CombineMode mode) {
    return record(gp::GdipCombineRegionPath(native(), path.native(), mode));
}
bool GdipRegion::translate(float dx, float dy) {
    return record(gp::GdipTranslateRegion(native(), dx, dy));
}

RectF GdipRegion::bounds(const GdipGraphics& graphics) {
    Gdiplus::RectF out;
    return record(gp::GdipGetRegionBounds(native(), graphics.native(), &out)) ? gdip_detail::fromGp(out) : RectF{};
}
HRGN GdipRegion::hrgn(const GdipGraphics& graphics) {
    HRGN out = nullptr;
    return record(gp::GdipGetRegionHRgn(native(), graphics.native(), &out)) ? out : nullptr;
}
bool GdipRegion::isEmpty(const GdipGraphics& graphics) {
    BOOL empty = FALSE;
    return record(gp::GdipIsEmptyRegion(native(), graphics.native(), &empty)) && empty;
}
bool GdipRegion::isVisible(float x, float y, const GdipGraphics* graphics) {
    BOOL inside = FALSE;
    return record(gp::GdipIsVisibleRegionPoint(native(), x, y, graphicsOf(graphics), &inside)) && inside;
}

}  // namespace pelmora
