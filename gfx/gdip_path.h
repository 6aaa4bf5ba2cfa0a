// GdipPath: figures to fill, stroke or clip with, and text outlines.
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
    std::vector<PointF> points();
    bool startFigure();
    bool closeFigure();

    bool addLine(float x1, float y1, float x2, float y2);
    bool addArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool addRectangle(float x, float y, float width, float height);
    bool addEllipse(float x, float y, float width, float height);
    // An empty format means the generic default: GDI+ on Wine refuses a null
    // one here, and the default is what a null one would mean on Windows.
    bool addString(std::wstring_view text, const GdipFontFamily& family, int style, float emSize, const RectF& layout,
                   const GdipStringFormat* format = nullptr);

    RectF worldBounds();
    bool isVisible(float x, float y, const GdipGraphics* graphics = nullptr);
};

}  // namespace pelmora
