// GdipPen: strokes lines, outlines and paths.
#pragma once

#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipBrush;

class GdipPen : public GdipObject {
public:
    GdipPen() = default;
    ~GdipPen() override { destroy(); }
    GdipPen(GdipPen&& other) noexcept = default;
    GdipPen& operator=(GdipPen&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpPen* native() const noexcept { return static_cast<GpPen*>(handle()); }

    bool destroy() override;
    bool create(Argb colour, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    // A pen whose strokes are filled by the brush (e.g. a gradient line).
    bool createFromBrush(const GdipBrush& brush, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool clone(GdipPen& out) const;
    float width();
    bool setWidth(float width);
    Argb colour();
    bool setColour(Argb colour);
    bool setLineCap(Gdiplus::LineCap start, Gdiplus::LineCap end, Gdiplus::DashCap dash);
    bool setLineJoin(Gdiplus::LineJoin join);
    bool setAlignment(Gdiplus::PenAlignment alignment);
    bool setDashStyle(Gdiplus::DashStyle style);
    bool setDashArray(const std::vector<float>& dashes);

    bool resetTransform();
    bool translateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransform(float degrees, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
};

}  // namespace pelmora
