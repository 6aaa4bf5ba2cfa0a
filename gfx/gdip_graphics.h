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
class GdipRegion;
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
    bool fromHwnd(HWND window, bool useIcm = false);
    bool fromHdc(HDC dc, HANDLE device = nullptr);
    bool fromImage(const GdipImage& image);
    HDC getHdc();
    bool releaseHdc(HDC dc);

    bool setCompositingMode(Gdiplus::CompositingMode mode);
    bool setCompositingQuality(Gdiplus::CompositingQuality quality);
    bool setTextRenderingHint(Gdiplus::TextRenderingHint hint);
    bool setInterpolationMode(Gdiplus::InterpolationMode mode);
    bool setSmoothingMode(Gdiplus::SmoothingMode mode);
    Gdiplus::SmoothingMode smoothingMode();
    bool setPixelOffsetMode(Gdiplus::PixelOffsetMode mode);

    bool resetTransform();
    bool translateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool scaleTransformAt(float sx, float sy, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransform(float degrees, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    bool rotateTransformAt(float degrees, PointF centre, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    // Transforms the points in place.
    bool transformPoints(Gdiplus::CoordinateSpace destination, Gdiplus::CoordinateSpace source,
                         std::vector<PointF>& points);
    bool transformPointsI(Gdiplus::CoordinateSpace destination, Gdiplus::CoordinateSpace source,
                          std::vector<PointI>& points);

    bool drawLine(const GdipPen& pen, float x1, float y1, float x2, float y2);
    bool drawLineI(const GdipPen& pen, int x1, int y1, int x2, int y2);
    bool drawLines(const GdipPen& pen, std::vector<PointF>& points);
    bool drawRectangle(const GdipPen& pen, float x, float y, float width, float height);
    bool drawRectangleI(const GdipPen& pen, int x, int y, int width, int height);
    bool drawEllipse(const GdipPen& pen, float x, float y, float width, float height);
    bool drawPath(const GdipPen& pen, const GdipPath& path);
    bool clear(Argb colour);
    bool fillRectangle(const GdipBrush& brush, float x, float y, float width, float height);
    bool fillRectangleF(const GdipBrush& brush, const RectF& rect);
    bool fillRectangleI(const GdipBrush& brush, int x, int y, int width, int height);
    bool fillPolygon(const GdipBrush& brush, std::vector<PointF>& points,
                     Gdiplus::FillMode mode = Gdiplus::FillModeAlternate);
    bool fillEllipse(const GdipBrush& brush, float x, float y, float width, float height);
    bool fillPath(const GdipBrush& brush, const GdipPath& path);
    bool fillRegion(const GdipBrush& brush, const GdipRegion& region);

    bool drawString(std::wstring_view text, const GdipFont& font, const GdipBrush& brush, const RectF& layout,
                    const GdipStringFormat* format = nullptr);
    bool drawString(std::string_view gbkText, const GdipFont& font, const GdipBrush& brush, const RectF& layout,
                    const GdipStringFormat* format = nullptr);
    bool measureString(std::wstring_view text, const GdipFont& font, const RectF& layout,
                       const GdipStringFormat* format, RectF& bounds);
    bool measureString(std::string_view gbkText, const GdipFont& font, const RectF& layout,
                       const GdipStringFormat* format, RectF& bounds);
    // Makes count (at least 1) regions and, on success, hands them to new
    // wrappers appended to regions. The format names the character ranges.
    bool measureCharacterRanges(std::wstring_view text, const GdipFont& font, const RectF& layout,
                                const GdipStringFormat& format, int count, std::vector<GdipRegion>& regions);
    bool measureCharacterRanges(std::string_view gbkText, const GdipFont& font, const RectF& layout,
                                const GdipStringFormat& format, int count, std::vector<GdipRegion>& regions);

    // Natural size at (x, y).
    bool drawImage(const GdipImage& image, float x, float y);
    bool drawImageI(const GdipImage& image, int x, int y);
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
    bool setClipRegion(const GdipRegion& region, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool resetClip();
    RectF clipBounds();
};

}  // namespace pelmora
