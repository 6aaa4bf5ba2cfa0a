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
    bool setWidth(float width);
    bool setLineJoin(Gdiplus::LineJoin join);
};

}  // namespace pelmora
