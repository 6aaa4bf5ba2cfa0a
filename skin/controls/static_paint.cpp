#include "skin/controls/static_paint.h"

#include "base/unique_resource.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"

namespace pelmora {
namespace {

DWORD typeOf(DWORD style) {
    return style & SS_TYPEMASK;
}

// Restores the target's stretch mode and brush origin, which belong to whoever
// handed the DC over.
class StretchModeScope {
public:
    explicit StretchModeScope(HDC dc) : dc_(dc), mode_(::SetStretchBltMode(dc, HALFTONE)) {
        // Halftoning reads the brush origin; it must be reset after the mode.
        ::SetBrushOrgEx(dc, 0, 0, &origin_);
    }
    ~StretchModeScope() {
        ::SetBrushOrgEx(dc_, origin_.x, origin_.y, nullptr);
        if (mode_) ::SetStretchBltMode(dc_, mode_);
    }
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;

private:
    HDC dc_;
    int mode_;
    POINT origin_{};
};

}  // namespace

StaticKind staticKindOf(DWORD style) {
    switch (typeOf(style)) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return StaticKind::Text;
        case SS_ICON:
            return StaticKind::Icon;
        case SS_BITMAP:
            return StaticKind::Bitmap;
        default:
            return StaticKind::Other;
    }
}

TextLayout staticTextLayoutOf(DWORD style) {
    TextLayout layout;
    switch (typeOf(style)) {
        case SS_CENTER:
            layout.align = TextAlign::Centre;
            break;
        case SS_RIGHT:
            layout.align = TextAlign::Far;
            break;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            layout.wrap = false;
            break;
        default:
            break;
    }
    if (style & SS_CENTERIMAGE) {
        layout.lineAlign = TextAlign::Centre;
        layout.wrap = false;
    }
    if (style & SS_ELLIPSISMASK) {
        layout.wrap = false;
        layout.ellipsis = true;
    }
    layout.hidePrefix = (style & SS_NOPREFIX) == 0;
    return layout;
}

StaticImagePlacement staticImagePlacementOf(DWORD style) {
    if (style & SS_REALSIZECONTROL) return StaticImagePlacement::Stretched;
    if (style & SS_CENTERIMAGE) return StaticImagePlacement::Centred;
    if (style & SS_RIGHTJUST) return StaticImagePlacement::BottomRight;
    return StaticImagePlacement::TopLeft;
}

RectI staticImageRect(SizeI control, SizeI image, StaticImagePlacement placement) {
    switch (placement) {
        case StaticImagePlacement::Stretched:
            return {0, 0, control.width, control.height};
        case StaticImagePlacement::Centred:
            return {(control.width - image.width) / 2, (control.height - image.height) / 2, image.width, image.height};
        case StaticImagePlacement::BottomRight:
            return {control.width - image.width, control.height - image.height, image.width, image.height};
        case StaticImagePlacement::TopLeft:
            break;
    }
    return {0, 0, image.width, image.height};
}

void paintTextStatic(GdipGraphics& graphics, const StaticTextPaint& paint) {
    if (paint.text.empty()) return;
    useBlendedTextModes(graphics);
    GdipFont font;
    // A font read from the control is already in its pixels; only the
    // stand-in size is a 96-DPI number.
    ControlFont wanted = paint.font;
    if (wanted.size <= 0) wanted.size = scaled(kFallbackFontSize, paint.dpi);
    if (!makeControlFont(font, wanted)) return;
    const RectF box{0, 0, static_cast<float>(paint.size.width), static_cast<float>(paint.size.height)};
    drawControlText(graphics, paint.text, font, paint.textColour, box, paint.layout);
}

SizeI bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof info, &info) != sizeof info) return {};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SizeI iconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return {};
    // GetIconInfo hands out copies of both bitmaps; the caller deletes them.
    GdiBitmap colour(info.hbmColor), mask(info.hbmMask);
    if (colour) return bitmapSize(colour.get());
    // A monochrome icon keeps its AND and XOR masks one above the other.
    const SizeI both = bitmapSize(mask.get());
    return {both.width, both.height / 2};
}

bool paintBitmapStatic(HDC target, SizeI control, HBITMAP bitmap, StaticImagePlacement placement) {
    const SizeI image = bitmapSize(bitmap);
    if (!target || image.width <= 0 || image.height <= 0) return false;
    MemoryDc source(::CreateCompatibleDC(target));
    if (!source) return false;
    SelectGuard selected(source.get(), bitmap);
    // A bitmap can be selected into one DC at a time; the selection fails when
    // its owner still holds it, and copying would then draw the empty default.
    if (::GetCurrentObject(source.get(), OBJ_BITMAP) != bitmap) return false;
    const RectI at = staticImageRect(control, image, placement);
    if (at.width == image.width && at.height == image.height)
        return ::BitBlt(target, at.x, at.y, at.width, at.height, source.get(), 0, 0, SRCCOPY) != 0;
    StretchModeScope halftone(target);
    return ::StretchBlt(target, at.x, at.y, at.width, at.height, source.get(), 0, 0, image.width, image.height,
                        SRCCOPY) != 0;
}

bool paintIconStatic(HDC target, SizeI control, HICON icon, StaticImagePlacement placement) {
    const SizeI image = iconSize(icon);
    if (!target || image.width <= 0 || image.height <= 0) return false;
    const RectI at = staticImageRect(control, image, placement);
    return ::DrawIconEx(target, at.x, at.y, icon, at.width, at.height, 0, nullptr, DI_NORMAL) != 0;
}

}  // namespace pelmora
