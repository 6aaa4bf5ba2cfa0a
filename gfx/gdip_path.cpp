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

std::vector<PointF> GdipPath::points() {
    INT count = 0;
    if (!record(gp::GdipGetPointCount(native(), &count)) || count <= 0) return {};
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

bool GdipPath::addLine(float x1, float y1, float x2, float y2) {
    return record(gp::GdipAddPathLine(native(), x1, y1, x2, y2));
}
bool GdipPath::addArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return record(gp::GdipAddPathArc(native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::addRectangle(float x, float y, float width, float height) {
    return record(gp::GdipAddPathRectangle(native(), x, y, width, height));
}

bool GdipPath::addEllipse(float x, float y, float width, float height) {
    return record(gp::GdipAddPathEllipse(native(), x, y, width, height));
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

RectF GdipPath::worldBounds() {
    Gdiplus::RectF out;
    return record(gp::GdipGetPathWorldBounds(native(), &out, nullptr, nullptr)) ? gdip_detail::fromGp(out) : RectF{};
}

bool GdipPath::isVisible(float x, float y, const GdipGraphics* graphics) {
    BOOL inside = FALSE;
    return record(gp::GdipIsVisiblePathPoint(native(), x, y, graphicsOf(graphics), &inside)) && inside;
}

}  // namespace pelmora
