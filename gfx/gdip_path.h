// GdipPath (figures to fill, stroke or clip with) and GdipRegion.
#pragma once

#include <string_view>
#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipFontFamily;
class GdipGraphics;
class GdipStringFormat;

class GdipPath : public GdipObject {
public:
    GdipPath() = default;
    ~GdipPath() override { destroy(); }
    GdipPath(GdipPath&& other) noexcept = default;
    GdipPath& operator=(GdipPath&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpPath* native() const noexcept { return static_cast<GpPath*>(handle()); }

    bool destroy() override;
    bool create(Gdiplus::FillMode mode = Gdiplus::FillModeAlternate);
    bool clone(GdipPath& out) const;
    bool reset();
    bool setFillMode(Gdiplus::FillMode mode);
    int pointCount();
    std::vector<PointF> points();
    bool startFigure();
    bool closeFigure();
    bool closeAllFigures();

    bool addLine(float x1, float y1, float x2, float y2);
    bool addLineI(int x1, int y1, int x2, int y2);
    bool addLines(std::vector<PointF>& points);
    bool addArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool addBezier(PointF p1, PointF p2, PointF p3, PointF p4);
    bool addRectangle(float x, float y, float width, float height);
    bool addRectangleI(int x, int y, int width, int height);
    // Corner ellipses of percent (clamped to 1..100) of the width and height.
    bool addRoundedRectanglePercent(float x, float y, float width, float height, int percent);
    bool addEllipse(float x, float y, float width, float height);
    bool addPolygon(std::vector<PointF>& points);
    bool addPath(const GdipPath& other, bool connect);
    // An empty format means the generic default: GDI+ on Wine refuses a null
    // one here, and the default is what a null one would mean on Windows.
    bool addString(std::wstring_view text, const GdipFontFamily& family, int style, float emSize, const RectF& layout,
                   const GdipStringFormat* format = nullptr);
    bool addString(std::string_view gbkText, const GdipFontFamily& family, int style, float emSize, const RectF& layout,
                   const GdipStringFormat* format = nullptr);

    RectF worldBounds();
    bool isVisible(float x, float y, const GdipGraphics* graphics = nullptr);
    bool isOutlineVisible(float x, float y, const class GdipPen& pen, const GdipGraphics* graphics = nullptr);
};

class GdipRegion : public GdipObject {
public:
    GdipRegion() = default;
    ~GdipRegion() override { destroy(); }
    GdipRegion(GdipRegion&& other) noexcept = default;
    GdipRegion& operator=(GdipRegion&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpRegion* native() const noexcept { return static_cast<GpRegion*>(handle()); }

    bool destroy() override;
    bool create();
    bool createRect(const RectF& rect);
    bool createRectI(const RectI& rect);
    bool createPath(const GdipPath& path);
    bool createHrgn(HRGN region);
    bool combineRect(const RectF& rect, Gdiplus::CombineMode mode);
    bool combineRegion(const GdipRegion& other, Gdiplus::CombineMode mode);
    bool combinePath(const GdipPath& path, Gdiplus::CombineMode mode);
    bool translate(float dx, float dy);
    RectF bounds(const GdipGraphics& graphics);
    // A new GDI region the caller owns; null on failure.
    HRGN hrgn(const GdipGraphics& graphics);
    bool isEmpty(const GdipGraphics& graphics);
    bool isVisible(float x, float y, const GdipGraphics* graphics = nullptr);
};

}  // namespace pelmora
