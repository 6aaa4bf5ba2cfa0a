#include "skin/window/window_render.h"

#include <optional>
#include <string>

#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window/window_geometry.h"

namespace pelmora {
namespace {

constexpr Argb kOutsideColour = 0xFFFF00FF;  // beyond the rounded region; never seen

// The window keeps only its rounded outline; the system owns the region after.
void reshapeWindow(HWND window, int width, int height) {
    ::SetWindowRgn(window, nullptr, TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    ::SetWindowRgn(window, ::CreateRoundRectRgn(0, 0, width + 1, height + 1, 5, 5), TRUE);
}

// A fresh 32-bit image of the client size in the composed DC; the image it
// replaces is deleted. The properties name the DC's first bitmap and the current
// one for painters outside the engine; the record owns both.
void prepareComposedBitmap(SkinnedWindowRecord& record, int width, int height) {
    GdipBitmap image;
    image.create(width > 0 ? width : 1, height > 0 ? height : 1);
    if (!record.composed.select(image.toHbitmap())) return;
    if (!propValue(record.window, kPropComposedFirstBitmap))
        setPropValue(record.window, kPropComposedFirstBitmap,
                     reinterpret_cast<std::intptr_t>(record.composed.firstBitmap()));
    setPropValue(record.window, kPropComposedBitmap, reinterpret_cast<std::intptr_t>(record.composed.bitmap()));
}

void drawBackgroundImage(GdipGraphics& graphics, const ByteBuffer& png, int mode, int width, int height) {
    GdipImage image;
    if (!image.loadFromMemory(png.data(), png.size())) return;
    const float iw = static_cast<float>(image.width()), ih = static_cast<float>(image.height());
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    switch (static_cast<BackgroundMode>(mode)) {
    case BackgroundMode::RightFaded: graphics.drawImageRect(image, w - iw, 0, iw, ih); break;
    case BackgroundMode::Stretched: graphics.drawImageRect(image, 0, 0, w, h); break;
    case BackgroundMode::Centred:
        graphics.drawImageRect(image, static_cast<float>(static_cast<int>((w - iw) / 2)),
                               static_cast<float>(static_cast<int>((h - ih) / 2)), iw, ih);
        break;
    default: graphics.drawImageRect(image, 0, 0, iw, ih); break;
    }
}

}  // namespace

void paintBackground(const SkinnedWindowRecord& record, GdipGraphics& graphics, int width, int height) {
    graphics.clear(kOutsideColour);
    GdipPath outline;
    outline.create();
    addRoundedRectangle(outline, 0, 0, static_cast<float>(width), static_cast<float>(height), 4);
    graphics.setClipPath(outline);
    const ThemeSettings& theme = themeSettings();
    const bool own = !record.ownBackground.empty();
    GdipSolidBrush fill;
    fill.create(own ? (record.ownBackgroundColour | 0xFF000000u) : argbFromColour(theme.themeColour));
    graphics.fillPath(fill, outline);
    if (own) {
        drawBackgroundImage(graphics, record.ownBackground, record.backgroundMode, width, height);
    } else if (!theme.themeBackground.empty()) {
        drawBackgroundImage(graphics, theme.themeBackground, theme.themeBackgroundMode, width, height);
    }
    if (record.captionGloss && record.captionHeight > 0) {
        GdipLinearGradientBrush gloss;
        gloss.create({0, 0}, {0, static_cast<float>(record.captionHeight)}, 0x96FFFFFF, 0x00FFFFFF);
        graphics.fillRectangle(gloss, 0, 0, static_cast<float>(width), static_cast<float>(record.captionHeight));
    }
    graphics.resetClip();
}

void paintBorder(GdipGraphics& graphics, int width, int height) {
    GdipPath outer, inner;
    outer.create();
    inner.create();
    addRoundedRectangle(outer, 0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1), 7);
    addRoundedRectangle(inner, 1, 1, static_cast<float>(width - 3), static_cast<float>(height - 3), 6);
    GdipPen black, white;
    black.create(0xB4000000, 1.0f);
    white.create(0xB4FFFFFF, 1.0f);
    graphics.drawPath(black, outer);
    graphics.drawPath(white, inner);
}

bool copyComposedImage(HWND window, HDC dc, const RECT& rect) {
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record || !record->composed) return false;
    return ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, record->composed.dc(),
                    rect.left, rect.top, SRCCOPY) != FALSE;
}

void SkinEngine::renderWindow(int recordIndex, HDC dc, bool present) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record) return;
    HWND window = record->window;
    const RECT client = clientRect(window);
    const int width = client.right, height = client.bottom;
    reshapeWindow(window, width, height);
    prepareComposedBitmap(*record, width, height);
    {
        GdipGraphics graphics;
        if (graphics.fromHdc(record->composed.dc())) {
            paintBackground(*record, graphics, width, height);
            if (record->captionActive) paintBorder(graphics, width, height);
            graphics.flush(Gdiplus::FlushIntentionSync);
        }
    }
    if (record->captionActive) {
        record->backgroundSnapshot.ensureSize(record->composed.dc(), width, height);
        ::BitBlt(record->backgroundSnapshot.dc(), 0, 0, width, height, record->composed.dc(), 0, 0, SRCCOPY);
        if (record->statusBarHeight > 0) {
            const RECT& bar = record->statusBarRect;
            record->statusBarSnapshot.ensureSize(record->composed.dc(), width, height);
            ::BitBlt(record->statusBarSnapshot.dc(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top,
                     record->composed.dc(), bar.left, bar.top, SRCCOPY);
        }
        if (record->showTitle) paintTitle(recordIndex, true);
        for (int i = 1; i <= static_cast<int>(record->captionButtons.size()); ++i)
            paintCaptionButton(recordIndex, i, CaptionButtonLook::Normal, 0, false);
    }
    if (record->statusBarHeight > 0)
        for (int i = 1; i <= static_cast<int>(record->statusItems.size()); ++i) paintStatusItem(recordIndex, i);
    record->needsRender = false;
    if (!present) return;
    std::optional<WindowDc> screen;
    if (!dc) dc = screen.emplace(window).get();
    ::BitBlt(dc, 0, 0, width, height, record->composed.dc(), 0, 0, SRCCOPY);
    if (!themeSettings().firstSizePending) invalidateVisibleChildren(window);
}

void SkinEngine::presentWindow(int recordIndex, HDC dc) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->composed) return;
    const RECT client = clientRect(record->window);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, record->composed.dc(), 0, 0, SRCCOPY);
}

void SkinEngine::paintTitle(int recordIndex, std::optional<bool> keepBackground, std::optional<std::wstring> text) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->composed || !record->showTitle || !record->captionActive) return;
    const bool keep = keepBackground.value_or(false);
    const RECT client = clientRect(record->window);
    const RECT title = titleRect(client.right, record->stripWidth, borderWidth);
    if (!keep) restoreBackgroundRect(recordIndex, title);
    if (appIcon()) ::DrawIconEx(record->composed.dc(), title.left, title.top - 3, appIcon(), 17, 17, 0, nullptr, DI_NORMAL);
    const std::wstring caption = text ? *text : windowText(record->window);
    {
        GdipGraphics graphics;
        graphics.fromHdc(record->composed.dc());
        GdipFont font;
        const float size = static_cast<float>(record->titleFontSize > 0 ? record->titleFontSize : 13);
        const int style = record->titleBold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
        if (!font.createByName(std::wstring_view(record->titleFontFace), size, style, Gdiplus::UnitPoint))
            font.createDefault();
        GdipStringFormat format;
        format.genericDefault();
        format.setAlign(Gdiplus::StringAlignmentNear);
        format.setLineAlign(Gdiplus::StringAlignmentNear);
        GdipSolidBrush outline, face;
        outline.create(argbFromColour(record->titleOutlineColour, 150));
        face.create(argbFromColour(record->titleColour));
        const float x = static_cast<float>(title.left + 20), y = static_cast<float>(title.top);
        const float w = static_cast<float>(title.right - title.left);
        const PointF offsets[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const PointF& d : offsets) graphics.drawString(caption, font, outline, {x + d.x, y + d.y, w, 32}, &format);
        graphics.drawString(caption, font, face, {x, y, w, 32}, &format);
        graphics.flush(Gdiplus::FlushIntentionSync);
    }
    if (keep) return;
    WindowDc screen(record->window);
    ::BitBlt(screen.get(), title.left, title.top, title.right - title.left, 32, record->composed.dc(), title.left,
             title.top, SRCCOPY);
}

void SkinEngine::restoreBackgroundRect(int recordIndex, const RECT& r) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->composed || !record->backgroundSnapshot) return;
    ::BitBlt(record->composed.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, record->backgroundSnapshot.dc(),
             r.left, r.top, SRCCOPY);
}

void SkinEngine::restoreStatusBarRect(int recordIndex, const RECT& r) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->composed || !record->statusBarSnapshot) return;
    ::BitBlt(record->composed.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, record->statusBarSnapshot.dc(),
             r.left, r.top, SRCCOPY);
}

}  // namespace pelmora
