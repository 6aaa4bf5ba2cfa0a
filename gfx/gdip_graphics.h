// GdipGraphics: a GDI+ drawing surface over a device context, a window or an
// image. Painters make one per paint on their back buffer's memory DC and
// destroy it before returning.
#pragma once

#include <string_view>
#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipBrush;
class GdipFont;
class GdipImage;
class GdipPath;
class GdipPen;
class GdipStringFormat;

class GdipGraphics : public GdipObject {
public:
    GdipGraphics() = default;
    ~GdipGraphics() override { destroy(); }
    GdipGraphics(GdipGraphics&& other) noexcept = default;
    GdipGraphics& operator=(GdipGraphics&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpGraphics* native() const noexcept { return static_cast<GpGraphics*>(handle()); }

    bool destroy() override;
    // The raw status; the only method that leaves gdipLastStatus alone.
    Gdiplus::Status flush(Gdiplus::FlushIntention intention = Gdiplus::FlushIntentionFlush);
    bool fromHdc(HDC dc, HANDLE device = nullptr);
    bool fromImage(const GdipImage& image);

    bool setCompositingQuality(Gdiplus::CompositingQuality quality);
    bool setTextRenderingHint(Gdiplus::TextRenderingHint hint);
    bool setInterpolationMode(Gdiplus::InterpolationMode mode);
    bool setSmoothingMode(Gdiplus::SmoothingMode mode);
    Gdiplus::SmoothingMode smoothingMode();
    bool setPixelOffsetMode(Gdiplus::PixelOffsetMode mode);

    bool translateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);

    bool drawLine(const GdipPen& pen, float x1, float y1, float x2, float y2);
    bool drawRectangle(const GdipPen& pen, float x, float y, float width, float height);
    bool drawEllipse(const GdipPen& pen, float x, float y, float width, float height);
    bool drawPath(const GdipPen& pen, const GdipPath& path);
    bool clear(Argb colour);
    bool fillRectangle(const GdipBrush& brush, float x, float y, float width, float height);
    bool fillRectangleF(const GdipBrush& brush, const RectF& rect);
    bool fillEllipse(const GdipBrush& brush, float x, float y, float width, float height);
    bool fillPath(const GdipBrush& brush, const GdipPath& path);

    bool drawString(std::wstring_view text, const GdipFont& font, const GdipBrush& brush, const RectF& layout,
                    const GdipStringFormat* format = nullptr);
    bool measureString(std::wstring_view text, const GdipFont& font, const RectF& layout,
                       const GdipStringFormat* format, RectF& bounds);

    // Natural size at (x, y).
    bool drawImage(const GdipImage& image, float x, float y);
    // The whole image stretched over the rectangle.
    bool drawImageRect(const GdipImage& image, float x, float y, float width, float height,
                       Gdiplus::Unit sourceUnit = Gdiplus::UnitPixel);
    bool drawImageRectRect(const GdipImage& image, const RectF& destination, const RectF& source,
                           Gdiplus::Unit sourceUnit = Gdiplus::UnitPixel,
                           Gdiplus::GpImageAttributes* attributes = nullptr);

    bool setClipPath(const GdipPath& path, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool setClipRect(float x, float y, float width, float height,
                     Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool setClipRectI(int x, int y, int width, int height, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool resetClip();
};

}  // namespace pelmora
