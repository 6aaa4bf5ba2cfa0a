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
    bool setLinearBlend(float focus, float scale);
    bool setWrapMode(Gdiplus::WrapMode mode);
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

    bool createFromPath(const GdipPath& path);
    bool setCentreColour(Argb colour);
    // count: how many of the colours to hand over (all when negative); on
    // return, how many GDI+ took.
    bool setSurroundColours(const std::vector<Argb>& colours, int* count = nullptr);
};

}  // namespace pelmora
