#include "skin/window/window_render.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "gfx/picture_decode.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_skin.h"

namespace pelmora {
namespace {

// The outer outline's black, laid over the whole image first: the few
// corner pixels the region keeps but the picture's clip path and the outline
// leave undrawn then look like the outline instead of showing the clear colour.
constexpr Argb kOutlineBlack = 0xB4000000;

// The window keeps only its rounded outline; the system owns the region after.
// The old region is cleared first; a window without one (the first render)
// skips that and the frame update after it, two round trips to the display
// server (about 14 ms of the first paint under Wine).
void reshapeWindow(HWND window, int width, int height, UINT dpi) {
    GdiRegion current(::CreateRectRgn(0, 0, 0, 0));
    if (!current || ::GetWindowRgn(window, current.get()) != ERROR) {
        ::SetWindowRgn(window, nullptr, TRUE);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    }
    const int corner = scaled(5, dpi);
    GdiRegion wanted(::CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner));
    // The system takes the region over when it accepts it.
    if (wanted && ::SetWindowRgn(window, wanted.get(), TRUE)) wanted.release();
}

// A fresh 32-bit image of the client size in the composed DC; the image it
// replaces is deleted. The properties name the DC's first bitmap and the current
// one for painters outside the engine; the record owns both.
void prepareComposedBitmap(SkinnedWindowRecord& record, int width, int height) {
    BitmapDc& composed = record.image.composed;
    GdipBitmap image;
    image.create(width > 0 ? width : 1, height > 0 ? height : 1);
    if (!composed.select(image.toHbitmap())) return;
    if (!propValue(record.window, kPropComposedFirstBitmap))
        setPropValue(record.window, kPropComposedFirstBitmap, reinterpret_cast<std::intptr_t>(composed.firstBitmap()));
    setPropValue(record.window, kPropComposedBitmap, reinterpret_cast<std::intptr_t>(composed.bitmap()));
}

// Copies `r` of the composed image to the window's screen.
void showOnScreen(const SkinnedWindowRecord& record, const RECT& r) {
    const WindowDc screen(record.window);
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, record.image.composed.dc(), r.left, r.top,
             SRCCOPY);
}

void restoreFrom(const ComposedImage& image, const BitmapDc& snapshot, const RECT& r) {
    if (!image.composed || !snapshot) return;
    const SIZE size = snapshot.size();
    const RECT held{0, 0, size.cx, size.cy};
    RECT kept{};
    if (!::IntersectRect(&kept, &r, &held)) return;
    ::BitBlt(image.composed.dc(), kept.left, kept.top, kept.right - kept.left, kept.bottom - kept.top, snapshot.dc(),
             kept.left, kept.top, SRCCOPY);
}

// Only the title and the caption buttons are ever restored from the
// background snapshot, so it keeps the band they lie in rather than a second
// image of the whole window.
int captionBandHeight(const SkinnedWindowRecord& record, int width, int height) {
    const CaptionPart& caption = record.caption;
    const UINT dpi = record.frame.dpi;
    const RECT title = titleRect(width, caption.stripWidth, scaled(engineState().borderWidth, dpi), dpi);
    const int band = std::max<int>(title.bottom, caption.stripTop + caption.stripHeight);
    return std::min(height, band);
}

// The picture is drawn at the window's scale: once per composed image (a
// resize, a DPI change), never per paint, which copies the composed image.
// `pictureScale` is 2 for a picture made at twice the size.
void drawBackgroundImage(GdipGraphics& graphics, const ByteBuffer& png, int pictureScale, int mode, int width,
                         int height, UINT dpi) {
    GdipBitmap image;
    if (!decodePicture(image, png.data(), png.size())) return;
    const int drawnWidth = scaledPictureSize(static_cast<int>(image.width()), pictureScale, dpi);
    const int drawnHeight = scaledPictureSize(static_cast<int>(image.height()), pictureScale, dpi);
    const float iw = static_cast<float>(drawnWidth), ih = static_cast<float>(drawnHeight);
    if (drawnWidth != static_cast<int>(image.width()) || drawnHeight != static_cast<int>(image.height()))
        graphics.setInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    switch (static_cast<BackgroundMode>(mode)) {
        case BackgroundMode::RightFaded:
            graphics.drawImageRect(image, w - iw, 0, iw, ih);
            break;
        case BackgroundMode::Stretched:
            graphics.drawImageRect(image, 0, 0, w, h);
            break;
        case BackgroundMode::Centred:
            graphics.drawImageRect(image, static_cast<float>(static_cast<int>((w - iw) / 2)),
                                   static_cast<float>(static_cast<int>((h - ih) / 2)), iw, ih);
            break;
        default:
            graphics.drawImageRect(image, 0, 0, iw, ih);
            break;
    }
}

}  // namespace

void paintBackground(const SkinnedWindowRecord& record, GdipGraphics& graphics, int width, int height) {
    const UINT dpi = record.frame.dpi;
    const ThemeSettings& theme = themeSettings();
    const OwnBackground& background = record.background;
    const bool own = !background.ownBackground.empty();
    const Argb fillColour = own ? (background.ownBackgroundColour | 0xFF000000u) : argbFromColour(theme.themeColour);
    graphics.clear(fillColour);
    GdipSolidBrush edge;
    edge.create(kOutlineBlack);
    graphics.fillRectangle(edge, 0, 0, static_cast<float>(width), static_cast<float>(height));
    GdipPath outline;
    outline.create();
    addRoundedRectangle(outline, 0, 0, static_cast<float>(width), static_cast<float>(height),
                        static_cast<float>(scaled(4, dpi)));
    graphics.setClipPath(outline);
    GdipSolidBrush fill;
    fill.create(fillColour);
    graphics.fillPath(fill, outline);
    if (own) {
        drawBackgroundImage(graphics, background.ownBackground, 1, background.backgroundMode, width, height, dpi);
    } else if (!theme.themeBackground2x.empty() && usesDoublePicture(dpi)) {
        drawBackgroundImage(graphics, theme.themeBackground2x, 2, theme.themeBackgroundMode, width, height, dpi);
    } else if (!theme.themeBackground.empty()) {
        drawBackgroundImage(graphics, theme.themeBackground, 1, theme.themeBackgroundMode, width, height, dpi);
    }
    const int captionHeight = scaled(record.caption.captionHeight, dpi);
    if (record.caption.captionGloss && captionHeight > 0) {
        GdipLinearGradientBrush gloss;
        gloss.create({0, 0}, {0, static_cast<float>(captionHeight)}, 0x96FFFFFF, 0x00FFFFFF);
        graphics.fillRectangle(gloss, 0, 0, static_cast<float>(width), static_cast<float>(captionHeight));
    }
    graphics.resetClip();
}

void paintBorder(GdipGraphics& graphics, int width, int height, UINT dpi) {
    // Each line is scaled(1) wide; a pen is centred on its path, so a wider
    // line's path moves inwards by half the extra width to keep it inside.
    const float line = static_cast<float>(scaled(1, dpi));
    const float outerAt = (line - 1) / 2, innerAt = outerAt + line;
    GdipPath outer, inner;
    outer.create();
    inner.create();
    addRoundedRectangle(outer, outerAt, outerAt, static_cast<float>(width) - 1 - 2 * outerAt,
                        static_cast<float>(height) - 1 - 2 * outerAt, static_cast<float>(scaled(7, dpi)));
    addRoundedRectangle(inner, innerAt, innerAt, static_cast<float>(width) - 1 - 2 * innerAt,
                        static_cast<float>(height) - 1 - 2 * innerAt, static_cast<float>(scaled(6, dpi)));
    GdipPen black, white;
    black.create(0xB4000000, line);
    white.create(0xB4FFFFFF, line);
    graphics.drawPath(black, outer);
    graphics.drawPath(white, inner);
}

bool copyComposedImage(HWND window, HDC dc, const RECT& rect) {
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record || !record->image.composed) return false;
    return ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    record->image.composed.dc(), rect.left, rect.top, SRCCOPY) != FALSE;
}

void renderWindow(SkinnedWindowRecord& record, HDC dc, bool present) {
    HWND window = record.window;
    const RECT client = clientRect(window);
    const int width = client.right, height = client.bottom;
    const UINT dpi = record.frame.dpi;
    reshapeWindow(window, width, height, dpi);
    prepareComposedBitmap(record, width, height);
    ComposedImage& image = record.image;
    const CaptionPart& caption = record.caption;
    {
        GdipGraphics graphics;
        if (graphics.fromHdc(image.composed.dc())) {
            paintBackground(record, graphics, width, height);
            if (caption.captionActive) paintBorder(graphics, width, height, dpi);
            graphics.flush(Gdiplus::FlushIntentionSync);
        }
    }
    const StatusBarPart& status = record.status;
    if (caption.captionActive) {
        const int band = captionBandHeight(record, width, height);
        image.backgroundSnapshot.ensureSize(image.composed.dc(), width, band);
        ::BitBlt(image.backgroundSnapshot.dc(), 0, 0, width, band, image.composed.dc(), 0, 0, SRCCOPY);
        if (status.statusBarHeight > 0) {
            const RECT& bar = status.statusBarRect;
            image.statusBarSnapshot.ensureSize(image.composed.dc(), width, height);
            ::BitBlt(image.statusBarSnapshot.dc(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top,
                     image.composed.dc(), bar.left, bar.top, SRCCOPY);
        }
        if (caption.showTitle) paintTitle(record, true);
        for (int i = 1; i <= static_cast<int>(caption.captionButtons.size()); ++i)
            paintCaptionButton(record, i, CaptionButtonLook::Normal, 0, false);
    }
    if (status.statusBarHeight > 0)
        for (int i = 1; i <= static_cast<int>(status.statusItems.size()); ++i) paintStatusItem(record, i);
    image.needsRender = false;
    if (!present) return;
    std::optional<WindowDc> screen;
    if (!dc) dc = screen.emplace(window).get();
    ::BitBlt(dc, 0, 0, width, height, image.composed.dc(), 0, 0, SRCCOPY);
    if (!engineState().firstSizePending) invalidateVisibleChildren(window);
}

void presentWindow(const SkinnedWindowRecord& record, HDC dc) {
    if (!record.image.composed) return;
    const RECT client = clientRect(record.window);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, record.image.composed.dc(), 0, 0, SRCCOPY);
}

void paintTitle(SkinnedWindowRecord& record, bool keepBackground, std::optional<std::wstring> text) {
    const CaptionPart& caption = record.caption;
    HDC composed = record.image.composed.dc();
    if (!composed || !caption.showTitle || !caption.captionActive) return;
    const RECT client = clientRect(record.window);
    const UINT dpi = record.frame.dpi;
    const RECT title = titleRect(client.right, caption.stripWidth, scaled(engineState().borderWidth, dpi), dpi);
    const int titleHeight = title.bottom - title.top;
    if (!keepBackground) restoreBackgroundRect(record, title);
    if (HICON icon = skinEngine().appIcon()) {
        const int iconSize = scaled(17, dpi);
        ::DrawIconEx(composed, title.left, title.top - scaled(3, dpi), icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
    const std::wstring shown = text ? *text : windowText(record.window);
    {
        const TitleLook& look = record.title;
        GdipGraphics graphics;
        graphics.fromHdc(composed);
        GdipFont font;
        // Points at 96 DPI, made the window's size on a DC of whatever DPI.
        const float size = static_cast<float>(look.titleFontSize > 0 ? look.titleFontSize : 13) *
                           static_cast<float>(dpi) / static_cast<float>(::GetDeviceCaps(composed, LOGPIXELSY));
        const int style = look.titleBold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
        if (!font.createByName(std::wstring_view(look.titleFontFace), size, style, Gdiplus::UnitPoint))
            font.createDefault();
        GdipStringFormat format;
        format.genericDefault();
        format.setAlign(Gdiplus::StringAlignmentNear);
        format.setLineAlign(Gdiplus::StringAlignmentNear);
        GdipSolidBrush outline, face;
        outline.create(argbFromColour(look.titleOutlineColour, 150));
        face.create(argbFromColour(look.titleColour));
        const float x = static_cast<float>(title.left + scaled(20, dpi)), y = static_cast<float>(title.top);
        const float w = static_cast<float>(title.right - title.left), h = static_cast<float>(titleHeight);
        const float o = static_cast<float>(scaled(1, dpi));
        const PointF offsets[] = {{o, 0}, {-o, 0}, {0, o}, {0, -o}};
        for (const PointF& d : offsets) graphics.drawString(shown, font, outline, {x + d.x, y + d.y, w, h}, &format);
        graphics.drawString(shown, font, face, {x, y, w, h}, &format);
        graphics.flush(Gdiplus::FlushIntentionSync);
    }
    if (!keepBackground) showOnScreen(record, {title.left, title.top, title.right, title.bottom});
}

void restoreBackgroundRect(SkinnedWindowRecord& record, const RECT& r) {
    restoreFrom(record.image, record.image.backgroundSnapshot, r);
}

void restoreStatusBarRect(SkinnedWindowRecord& record, const RECT& r) {
    restoreFrom(record.image, record.image.statusBarSnapshot, r);
}

}  // namespace pelmora
