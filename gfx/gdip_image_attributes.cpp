#include "gfx/gdip_image_attributes.h"

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

bool GdipImageAttributes::destroy() {
    if (!native()) return false;
    return released(gp::GdipDisposeImageAttributes(native()));
}

bool GdipImageAttributes::create() {
    Gdiplus::GpImageAttributes* made = nullptr;
    return adopt(gp::GdipCreateImageAttributes(&made), made);
}

bool GdipImageAttributes::setWrapMode(Gdiplus::WrapMode mode) {
    return record(gp::GdipSetImageAttributesWrapMode(native(), mode, 0, FALSE));
}

bool drawImageScaledSharp(GdipGraphics& graphics, GdipImage& image, const RectF& rect) {
    GdipImageAttributes mirrored;
    if (!mirrored.create() || !mirrored.setWrapMode(Gdiplus::WrapModeTileFlipXY)) return false;
    graphics.setInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const RectF source{0, 0, static_cast<float>(image.width()), static_cast<float>(image.height())};
    const bool ok = graphics.drawImageRectRect(image, rect, source, Gdiplus::UnitPixel, mirrored.native());
    graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeDefault);
    graphics.setInterpolationMode(Gdiplus::InterpolationModeDefault);
    return ok;
}

}  // namespace pelmora
