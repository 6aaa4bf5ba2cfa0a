// GdipBrush and its three kinds: solid, linear gradient, path gradient.
#pragma once

#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipPath;

class GdipBrush : public GdipObject {
public:
    ~GdipBrush() override { destroy(); }
    GpBrush* native() const noexcept { return static_cast<GpBrush*>(handle()); }

    bool destroy() override;
    // A copy of the brush, owned by out.
    bool clone(GdipBrush& out) const;
    Gdiplus::BrushType type();

protected:
    GdipBrush() = default;
    GdipBrush(GdipBrush&& other) noexcept = default;
};

class GdipSolidBrush : public GdipBrush {
public:
    GdipSolidBrush() = default;
    GdipSolidBrush(GdipSolidBrush&& other) noexcept = default;
    GdipSolidBrush& operator=(GdipSolidBrush&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    bool create(Argb colour);
    Argb colour();
    bool setColour(Argb colour);
};

class GdipLinearGradientBrush : public GdipBrush {
public:
    GdipLinearGradientBrush() = default;
    GdipLinearGradientBrush(GdipLinearGradientBrush&& other) noexcept = default;
    GdipLinearGradientBrush& operator=(GdipLinearGradientBrush&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpLineGradient* nativeGradient() const noexcept { return static_cast<GpLineGradient*>(handle()); }

    // From colour1 at point1 to colour2 at point2, tiled beyond them.
    bool create(PointF point1, PointF point2, Argb colour1, Argb colour2);
    bool createI(PointI point1, PointI point2, Argb colour1, Argb colour2);
    bool createFromRect(const RectF& rect, Argb colour1, Argb colour2, Gdiplus::LinearGradientMode mode);
    bool colours(Argb& colour1, Argb& colour2);
    bool setColours(Argb colour1, Argb colour2);
    RectF rect();
    bool setGammaCorrection(bool on);
    bool setBlend(const std::vector<float>& factors, const std::vector<float>& positions);
    // One colour per position (0..1, first 0 and last 1).
    bool setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions);
    bool setSigmaBlend(float focus, float scale);
    bool setLinearBlend(float focus, float scale);
    bool setWrapMode(Gdiplus::WrapMode mode);
    bool resetTransform();
    bool translateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransform(float degrees, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
};

class GdipPathGradientBrush : public GdipBrush {
public:
    GdipPathGradientBrush() = default;
    GdipPathGradientBrush(GdipPathGradientBrush&& other) noexcept = default;
    GdipPathGradientBrush& operator=(GdipPathGradientBrush&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpPathGradient* nativeGradient() const noexcept { return static_cast<GpPathGradient*>(handle()); }

    bool create(std::vector<PointF>& points, Gdiplus::WrapMode mode = Gdiplus::WrapModeClamp);
    bool createFromPath(const GdipPath& path);
    Argb centreColour();
    bool setCentreColour(Argb colour);
    bool setCentrePoint(PointF centre);
    PointF centrePoint();
    // count: how many of the colours to hand over (all when negative); on
    // return, how many GDI+ took.
    bool setSurroundColours(const std::vector<Argb>& colours, int* count = nullptr);
    int surroundColourCount();
    bool setFocusScales(float x, float y);
    bool setWrapMode(Gdiplus::WrapMode mode);
    bool resetTransform();
    bool translateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
};

}  // namespace pelmora
