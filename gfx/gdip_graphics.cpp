#include "gfx/gdip_graphics.h"

#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_internal.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"

namespace pelmora {

using gdip_detail::record;
using gdip_detail::toGp;

namespace {
GpStringFormat* formatOf(const GdipStringFormat* format) {
    return format ? format->native() : nullptr;
}
}  // namespace

bool GdipGraphics::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteGraphics(native()));
}

Gdiplus::Status GdipGraphics::flush(Gdiplus::FlushIntention intention) {
    return gp::GdipFlush(native(), intention);
}

bool GdipGraphics::fromHdc(HDC dc, HANDLE device) {
    GpGraphics* made = nullptr;
    GpStatus s = device ? gp::GdipCreateFromHDC2(dc, device, &made) : gp::GdipCreateFromHDC(dc, &made);
    return adopt(s, made);
}

bool GdipGraphics::fromImage(const GdipImage& image) {
    GpGraphics* made = nullptr;
    return adopt(gp::GdipGetImageGraphicsContext(image.native(), &made), made);
}

bool GdipGraphics::setCompositingQuality(Gdiplus::CompositingQuality quality) {
    return record(gp::GdipSetCompositingQuality(native(), quality));
}
bool GdipGraphics::setTextRenderingHint(Gdiplus::TextRenderingHint hint) {
    return record(gp::GdipSetTextRenderingHint(native(), hint));
}
bool GdipGraphics::setInterpolationMode(Gdiplus::InterpolationMode mode) {
    return record(gp::GdipSetInterpolationMode(native(), mode));
}
bool GdipGraphics::setSmoothingMode(Gdiplus::SmoothingMode mode) {
    return record(gp::GdipSetSmoothingMode(native(), mode));
}
Gdiplus::SmoothingMode GdipGraphics::smoothingMode() {
    Gdiplus::SmoothingMode mode{};
    return record(gp::GdipGetSmoothingMode(native(), &mode)) ? mode : Gdiplus::SmoothingMode{};
}
bool GdipGraphics::setPixelOffsetMode(Gdiplus::PixelOffsetMode mode) {
    return record(gp::GdipSetPixelOffsetMode(native(), mode));
}

bool GdipGraphics::translateTransform(float dx, float dy, Gdiplus::MatrixOrder order) {
    return record(gp::GdipTranslateWorldTransform(native(), dx, dy, order));
}

bool GdipGraphics::drawLine(const GdipPen& pen, float x1, float y1, float x2, float y2) {
    return record(gp::GdipDrawLine(native(), pen.native(), x1, y1, x2, y2));
}
bool GdipGraphics::drawRectangle(const GdipPen& pen, float x, float y, float width, float height) {
    return record(gp::GdipDrawRectangle(native(), pen.native(), x, y, width, height));
}
bool GdipGraphics::drawEllipse(const GdipPen& pen, float x, float y, float width, float height) {
    return record(gp::GdipDrawEllipse(native(), pen.native(), x, y, width, height));
}
bool GdipGraphics::drawPath(const GdipPen& pen, const GdipPath& path) {
    return record(gp::GdipDrawPath(native(), pen.native(), path.native()));
}
bool GdipGraphics::clear(Argb colour) {
    return record(gp::GdipGraphicsClear(native(), colour));
}
bool GdipGraphics::fillRectangle(const GdipBrush& brush, float x, float y, float width, float height) {
    return record(gp::GdipFillRectangle(native(), brush.native(), x, y, width, height));
}
bool GdipGraphics::fillRectangleF(const GdipBrush& brush, const RectF& rect) {
    return fillRectangle(brush, rect.x, rect.y, rect.width, rect.height);
}
bool GdipGraphics::fillEllipse(const GdipBrush& brush, float x, float y, float width, float height) {
    return record(gp::GdipFillEllipse(native(), brush.native(), x, y, width, height));
}
bool GdipGraphics::fillPath(const GdipBrush& brush, const GdipPath& path) {
    return record(gp::GdipFillPath(native(), brush.native(), path.native()));
}

bool GdipGraphics::drawString(std::wstring_view text, const GdipFont& font, const GdipBrush& brush, const RectF& layout,
                              const GdipStringFormat* format) {
    gdip_detail::WideText wide(text);
    Gdiplus::RectF rect = toGp(layout);
    return record(gp::GdipDrawString(native(), wide.c_str(), wide.length(), font.native(), &rect, formatOf(format),
                                     brush.native()));
}

bool GdipGraphics::measureString(std::wstring_view text, const GdipFont& font, const RectF& layout,
                                 const GdipStringFormat* format, RectF& bounds) {
    gdip_detail::WideText wide(text);
    Gdiplus::RectF rect = toGp(layout);
    Gdiplus::RectF out;
    bool ok = record(gp::GdipMeasureString(native(), wide.c_str(), wide.length(), font.native(), &rect,
                                           formatOf(format), &out, nullptr, nullptr));
    bounds = ok ? gdip_detail::fromGp(out) : RectF{};
    return ok;
}

bool GdipGraphics::drawImage(const GdipImage& image, float x, float y) {
    return record(gp::GdipDrawImage(native(), image.native(), x, y));
}
bool GdipGraphics::drawImageRect(const GdipImage& image, float x, float y, float width, float height,
                                 Gdiplus::Unit sourceUnit) {
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(image.native(), &w);
    gp::GdipGetImageHeight(image.native(), &h);
    return record(gp::GdipDrawImageRectRect(native(), image.native(), x, y, width, height, 0, 0, float(w), float(h),
                                            sourceUnit, nullptr, nullptr, nullptr));
}
bool GdipGraphics::drawImageRectRect(const GdipImage& image, const RectF& d, const RectF& s, Gdiplus::Unit sourceUnit,
                                     Gdiplus::GpImageAttributes* attributes) {
    return record(gp::GdipDrawImageRectRect(native(), image.native(), d.x, d.y, d.width, d.height, s.x, s.y, s.width,
                                            s.height, sourceUnit, attributes, nullptr, nullptr));
}

bool GdipGraphics::setClipPath(const GdipPath& path, Gdiplus::CombineMode mode) {
    return record(gp::GdipSetClipPath(native(), path.native(), mode));
}
bool GdipGraphics::setClipRect(float x, float y, float width, float height, Gdiplus::CombineMode mode) {
    return record(gp::GdipSetClipRect(native(), x, y, width, height, mode));
}
bool GdipGraphics::setClipRectI(int x, int y, int width, int height, Gdiplus::CombineMode mode) {
    return record(gp::GdipSetClipRectI(native(), x, y, width, height, mode));
}
bool GdipGraphics::resetClip() {
    return record(gp::GdipResetClip(native()));
}

}  // namespace pelmora
