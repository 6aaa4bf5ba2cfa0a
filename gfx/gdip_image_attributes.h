// How GDI+ samples an image while drawing it. The engine uses one thing of
// it: a wrap mode, so that a picture scaled with a high-quality filter
// samples mirrored pixels beyond its edges instead of transparency.
#pragma once

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipImageAttributes : public GdipObject {
public:
    GdipImageAttributes() = default;
    ~GdipImageAttributes() override { destroy(); }
    GdipImageAttributes(GdipImageAttributes&& other) noexcept = default;
    GdipImageAttributes& operator=(GdipImageAttributes&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    Gdiplus::GpImageAttributes* native() const noexcept { return static_cast<Gdiplus::GpImageAttributes*>(handle()); }

    bool destroy() override;
    bool create();
    bool setWrapMode(Gdiplus::WrapMode mode);
};

class GdipGraphics;
class GdipImage;

// Draws the whole image into `rect` with the high-quality bicubic filter on
// whole pixels, the pixels beyond its edges taken as its own edge mirrored:
// the outer rows of a scaled glyph stay as strong as the inner ones instead
// of fading into the transparent outside. The graphics' filter and pixel
// offset are set back afterwards.
bool drawImageScaledSharp(GdipGraphics& graphics, GdipImage& image, const RectF& rect);

}  // namespace pelmora
