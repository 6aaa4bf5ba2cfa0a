#include "skin/window/caption_buttons.h"

#include <algorithm>
#include <utility>

#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_image_attributes.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/picture_decode.h"
#include "gfx/skin_images.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_render.h"

namespace pelmora {
namespace {

ByteBuffer glyphBytes(SkinImage image) {
    const Bytes bytes = SkinImageSet::copy(image);
    return ByteBuffer(bytes.begin(), bytes.end());
}

CaptionButton standardButton(CaptionButtonKind kind, SkinImage glyph, const wchar_t* tooltip) {
    CaptionButton button;
    button.kind = kind;
    button.width = captionButtonWidth(kind);
    button.glyph = glyphBytes(glyph);
    if (kind == CaptionButtonKind::Maximize) button.altGlyph = glyphBytes(SkinImage::CaptionRestoreGlyph);
    button.tooltipText = tooltip;
    return button;
}

StripRect stripOf(const SkinnedWindowRecord& record) {
    const CaptionPart& caption = record.caption;
    return {caption.stripLeft, caption.stripTop, caption.stripWidth, caption.stripHeight, record.frame.dpi};
}

std::vector<RectF> rectsOf(const CaptionPart& caption) {
    std::vector<RectF> rects;
    for (const CaptionButton& button : caption.captionButtons) rects.push_back(button.rect);
    return rects;
}

RECT integerRect(const RectF& r) {
    const int x = static_cast<int>(r.x), y = static_cast<int>(r.y);
    return {x, y, x + static_cast<int>(r.width), y + static_cast<int>(r.height)};
}

// The button's outline: a plain rectangle, or a rounded one for Close.
void addButtonShape(GdipPath& path, const CaptionButton& button, float width, float height, UINT dpi) {
    if (button.kind == CaptionButtonKind::Close) {
        addRoundedRectangle(path, button.rect.x, button.rect.y, width, height, static_cast<float>(scaled(5, dpi)));
    } else {
        path.addRectangle(button.rect.x, button.rect.y, width, height);
    }
}

void fillVertical(GdipGraphics& graphics, const GdipPath& shape, const RectF& r, Argb top, Argb bottom) {
    GdipLinearGradientBrush brush;
    brush.create({r.x, r.y}, {r.x, r.y + r.height}, top, bottom);
    graphics.fillPath(brush, shape);
}

// The glyph drawn at the window's scale: decoded and scaled with a
// high-quality filter into a bitmap of its own, which the paints then copy
// pixel for pixel. Empty when the picture does not decode.
std::shared_ptr<GdipBitmap> scaledGlyphImage(const ByteBuffer& png, UINT dpi) {
    GdipBitmap source;
    if (png.empty() || !decodePicture(source, png.data(), png.size())) return nullptr;
    const int width = scaled(static_cast<int>(source.width()), dpi);
    const int height = scaled(static_cast<int>(source.height()), dpi);
    auto image = std::make_shared<GdipBitmap>();
    if (!image->create(width, height)) return nullptr;
    GdipGraphics graphics;
    if (!graphics.fromImage(*image)) return nullptr;
    if (!drawImageScaledSharp(graphics, source, {0, 0, static_cast<float>(width), static_cast<float>(height)}))
        return nullptr;
    return image;
}

void drawGlyph(GdipGraphics& graphics, const SkinnedWindowRecord& record, CaptionButton& button) {
    const bool restoreGlyph =
        button.kind == CaptionButtonKind::Maximize && record.frame.isMaximized && !button.altGlyph.empty();
    const UINT dpi = record.frame.dpi;
    if (dpi != kBaseDpi) {
        if (button.scaledDpi != dpi) {
            button.scaledGlyph = scaledGlyphImage(button.glyph, dpi);
            button.scaledAltGlyph = scaledGlyphImage(button.altGlyph, dpi);
            button.scaledDpi = dpi;
        }
        const std::shared_ptr<GdipBitmap>& image = restoreGlyph ? button.scaledAltGlyph : button.scaledGlyph;
        if (image)
            graphics.drawImageRect(*image, button.rect.x, button.rect.y, static_cast<float>(image->width()),
                                   static_cast<float>(image->height()));
        return;
    }
    const ByteBuffer& png = restoreGlyph ? button.altGlyph : button.glyph;
    GdipBitmap image;
    if (!decodePicture(image, png.data(), png.size())) return;
    graphics.drawImageRect(image, button.rect.x, button.rect.y, static_cast<float>(image.width()),
                           static_cast<float>(image.height()));
}

void paintHighlight(GdipGraphics& graphics, const CaptionButton& button, int alpha, UINT dpi) {
    const RectF& r = button.rect;
    GdipLinearGradientBrush shade;
    shade.create({r.x, r.y}, {r.x, r.y + r.height}, static_cast<Argb>(alpha / 5) << 24, 0x00FFFFFF);
    graphics.fillRectangle(shade, r.x, r.y, r.width, r.height);
    const COLORREF colour = button.kind == CaptionButtonKind::Close ? 0x000000FF : controlSettings().accentColour;
    GdipPath shape;
    shape.create();
    addButtonShape(shape, button, r.width, r.height, dpi);
    fillVertical(graphics, shape, r, argbFromColour(colour, static_cast<std::uint8_t>(alpha)), 0x00FFFFFF);
    GdipPath rim;
    rim.create();
    const float line = static_cast<float>(scaled(1, dpi));
    addButtonShape(rim, button, r.width - line, r.height * 0.8f, dpi);
    GdipLinearGradientBrush rimBrush;
    rimBrush.create({r.x, r.y}, {r.x, r.y + r.height},
                    argbFromColour(0x00FFFFFF, static_cast<std::uint8_t>(alpha * 0.8)), 0x00FFFFFF);
    GdipPen pen;
    pen.createFromBrush(rimBrush, line);
    graphics.drawPath(pen, rim);
}

void paintPressed(GdipGraphics& graphics, const CaptionButton& button, UINT dpi) {
    const RectF& r = button.rect;
    GdipPath shape;
    shape.create();
    addButtonShape(shape, button, r.width, r.height, dpi);
    if (button.kind == CaptionButtonKind::Close) {
        fillVertical(graphics, shape, r, 0xFFFF0000, 0x1EFFFFFF);
    } else {
        fillVertical(graphics, shape, r, 0x50000000, 0x05FFFFFF);
    }
}

// The faint separators left of a button (and of the next one, which the
// restored rectangle may have touched).
void paintCaptionStrip(const CaptionPart& caption, int buttonIndex, GdipGraphics& graphics, UINT dpi) {
    const int count = static_cast<int>(caption.captionButtons.size());
    const float y0 = static_cast<float>(caption.stripTop), h = static_cast<float>(caption.stripHeight);
    const float s1 = static_cast<float>(scaled(1, dpi)), s3 = static_cast<float>(scaled(3, dpi));
    const float s4 = static_cast<float>(scaled(4, dpi));
    auto separator = [&](int index, std::uint8_t alpha) {
        const float x = static_cast<float>(static_cast<int>(caption.captionButtons[index - 1].rect.x) - scaled(2, dpi));
        GdipLinearGradientBrush brush;
        brush.create({x, y0}, {x, y0 + h - s3}, static_cast<Argb>(alpha) << 24, 0x00000000);
        GdipPen pen;
        pen.createFromBrush(brush, s1);
        graphics.drawLine(pen, x, y0 + s1, x, y0 + h - s4);
    };
    separator(buttonIndex, buttonIndex == 1 ? 100 : 60);
    if (buttonIndex < count) separator(buttonIndex + 1, 60);
}

bool isButton(const CaptionPart& caption, int buttonIndex) {
    return buttonIndex >= 1 && buttonIndex <= static_cast<int>(caption.captionButtons.size());
}

}  // namespace

std::vector<CaptionButton> standardCaptionButtons(bool help, bool menu, bool minimize, bool maximize, bool close) {
    std::vector<CaptionButton> buttons;
    if (help) buttons.push_back(standardButton(CaptionButtonKind::Help, SkinImage::CaptionHelpGlyph, L"帮助"));
    if (menu) buttons.push_back(standardButton(CaptionButtonKind::MainMenu, SkinImage::CaptionMenuGlyph, L"主菜单"));
    if (minimize)
        buttons.push_back(standardButton(CaptionButtonKind::Minimize, SkinImage::CaptionMinimizeGlyph, L"最小化"));
    if (maximize)
        buttons.push_back(standardButton(CaptionButtonKind::Maximize, SkinImage::CaptionMaximizeGlyph, L"最大化"));
    if (close) buttons.push_back(standardButton(CaptionButtonKind::Close, SkinImage::CaptionCloseGlyph, L"关闭"));
    return buttons;
}

std::vector<CaptionButtonKind> captionKinds(const std::vector<CaptionButton>& buttons) {
    std::vector<CaptionButtonKind> kinds;
    for (const CaptionButton& button : buttons) kinds.push_back(button.kind);
    return kinds;
}

void layoutCaptionTooltips(SkinnedWindowRecord& record) {
    CaptionPart& caption = record.caption;
    const UINT dpi = record.frame.dpi;
    const RECT client = clientRect(record.window);
    caption.stripWidth = captionStripWidth(captionKinds(caption.captionButtons), dpi);
    caption.stripLeft = captionStripLeft(client.right, caption.stripWidth, dpi);
    caption.stripHeight = scaled(kStripHeight, dpi);
    const std::vector<RectF> rects =
        captionButtonRects(caption.stripLeft, caption.stripTop, captionKinds(caption.captionButtons), dpi);
    for (size_t i = 0; i < rects.size(); ++i) {
        caption.captionButtons[i].rect = rects[i];
        caption.captionTooltip.setToolRect(integerRect(rects[i]), i + 1);
    }
}

int hitTestCaptionButtons(const SkinnedWindowRecord& record, int x, int y) {
    int& hot = engineState().hotButtonIndex;
    hot = hitTestCaptionRects(stripOf(record), rectsOf(record.caption), x, y);
    return hot;
}

int findMaximizeButton(const SkinnedWindowRecord& record) {
    const std::vector<CaptionButton>& buttons = record.caption.captionButtons;
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].kind == CaptionButtonKind::Maximize) return static_cast<int>(i) + 1;
    return 0;
}

void runCaptionButton(SkinnedWindowRecord& record, int buttonIndex) {
    if (!isButton(record.caption, buttonIndex)) return;
    HWND window = record.window;
    const CaptionButton& button = record.caption.captionButtons[static_cast<size_t>(buttonIndex - 1)];
    FrameState& frame = record.frame;
    // Each command ends with the message that carries it out: the window may
    // be gone after it, and the record with it.
    switch (button.kind) {
        case CaptionButtonKind::Close:
            // Through the system command, so the owner's close query still decides.
            ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        case CaptionButtonKind::Maximize:
            record.image.needsRender = true;
            frame.isMinimized = false;
            frame.isMaximized = !frame.isMaximized;
            ::SendMessageW(window, WM_SYSCOMMAND, frame.isMaximized ? SC_MAXIMIZE : SC_RESTORE, 0);
            return;
        case CaptionButtonKind::Minimize:
            frame.isMinimized = true;
            ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        case CaptionButtonKind::Help:
            if (record.caption.helpHandler) record.caption.helpHandler();
            return;
        case CaptionButtonKind::MainMenu:
            if (record.caption.menuHandler) record.caption.menuHandler();
            return;
        case CaptionButtonKind::Custom:
            if (button.handler) button.handler();
            return;
    }
}

bool SkinEngine::addCaptionButton(HWND window, const ByteBuffer& image, const std::wstring& tooltip,
                                  CaptionHandler handler) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record) return false;
    CaptionPart& caption = record->caption;
    CaptionButton button;
    button.kind = CaptionButtonKind::Custom;
    button.glyph = image;
    button.tooltipText = tooltip;
    button.handler = std::move(handler);
    caption.captionButtons.insert(caption.captionButtons.begin(), std::move(button));
    // Tool ids are button positions, and the new button took the first one:
    // one more tool, then every tool gets the text of the button now at its position.
    caption.captionTooltip.addTool(RECT{}, tooltip, caption.captionButtons.size());
    for (size_t i = 0; i < caption.captionButtons.size(); ++i)
        caption.captionTooltip.setToolText(caption.captionButtons[i].tooltipText, i + 1);
    layoutCaptionTooltips(*record);
    return true;
}

bool SkinEngine::setCaptionGlyphs(HWND window, const ByteBuffer& minimize, const ByteBuffer& maximize,
                                  const ByteBuffer& restore, const ByteBuffer& close) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record || record->caption.captionButtons.empty()) return false;
    auto replace = [](ByteBuffer& slot, const ByteBuffer& image) {
        if (!image.empty()) slot = image;
    };
    std::vector<CaptionButton>& buttons = record->caption.captionButtons;
    const int count = static_cast<int>(buttons.size());
    replace(buttons[static_cast<size_t>(count - 1)].glyph, close);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const bool hasMin = (style & WS_MINIMIZEBOX) != 0, hasMax = (style & WS_MAXIMIZEBOX) != 0;
    if (hasMin && hasMax) {
        if (count >= 2) {
            replace(buttons[static_cast<size_t>(count - 2)].glyph, maximize);
            replace(buttons[static_cast<size_t>(count - 2)].altGlyph, restore);
        }
        if (count >= 3) replace(buttons[static_cast<size_t>(count - 3)].glyph, minimize);
    } else if (count >= 2 && hasMax) {
        replace(buttons[static_cast<size_t>(count - 2)].glyph, maximize);
        replace(buttons[static_cast<size_t>(count - 2)].altGlyph, restore);
    } else if (count >= 2 && hasMin) {
        replace(buttons[static_cast<size_t>(count - 2)].glyph, minimize);
    }
    for (CaptionButton& button : buttons) button.scaledDpi = 0;  // the scaled glyphs are of the old pictures
    for (int i = 1; i <= count; ++i) paintCaptionButton(*record, i, CaptionButtonLook::Normal, 0, true);
    return true;
}

void paintCaptionButton(SkinnedWindowRecord& record, int buttonIndex, CaptionButtonLook look, int alpha, bool present) {
    HDC composed = record.image.composed.dc();
    if (!composed || !isButton(record.caption, buttonIndex)) return;
    CaptionButton& button = record.caption.captionButtons[static_cast<size_t>(buttonIndex - 1)];
    const UINT dpi = record.frame.dpi;
    RECT area = integerRect(button.rect);
    if (look == CaptionButtonLook::Pressed) ::OffsetRect(&area, -scaled(1, dpi), 0);
    restoreBackgroundRect(record, area);
    {
        GdipGraphics graphics;
        if (!graphics.fromHdc(composed)) return;
        paintCaptionStrip(record.caption, buttonIndex, graphics, dpi);
        if (look == CaptionButtonLook::Highlight && alpha > 0) paintHighlight(graphics, button, alpha, dpi);
        if (look == CaptionButtonLook::Pressed) paintPressed(graphics, button, dpi);
        drawGlyph(graphics, record, button);
        graphics.flush(Gdiplus::FlushIntentionSync);
    }
    if (!present || !::IsWindowVisible(record.window)) return;
    RECT shown = integerRect(button.rect);
    ::UnionRect(&shown, &shown, &area);
    const WindowDc screen(record.window);
    ::BitBlt(screen.get(), shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, composed,
             shown.left, shown.top, SRCCOPY);
}

void onCaptionMouseMove(SkinnedWindowRecord& record, int x, int y) {
    if (!record.caption.captionActive) return;
    HWND window = record.window;
    CaptionHover& hover = record.hover;
    if (!hover.mouseTracked) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, window, 1};
        ::TrackMouseEvent(&track);
    }
    const bool inStrip = inHoverStrip(stripOf(record), x, y);
    if (inStrip && !hover.fadeTimerRunning) {
        ::SetTimer(window, reinterpret_cast<UINT_PTR>(window), kFadeIntervalMs, nullptr);
        hover.fadeTimerRunning = true;
    } else if (!inStrip) {
        hover.fadeTimerRunning = false;  // the timer runs on until the fade-out ends
    }
    const int hit = hitTestCaptionButtons(record, x, y);
    if (hover.hotButton >= 1 && hover.hotButton != hit) {
        // A fade-out still running is cut short: its button goes back to normal.
        if (hover.fadeOut.step < kFadeSteps)
            paintCaptionButton(record, hover.fadeOut.button, CaptionButtonLook::Normal, 0, true);
        hover.fadeOut = {hover.hotButton, 0};
    }
    if (hit >= 1 && hit != hover.hotButton) hover.fadeIn = {hit, 0};
    hover.hotButton = hit;
}

void onCaptionFadeTimer(SkinnedWindowRecord& record) {
    CaptionHover& hover = record.hover;
    if (hover.fadeIn.button >= 1 && hover.fadeIn.step < kFadeSteps) {
        ++hover.fadeIn.step;
        paintCaptionButton(record, hover.fadeIn.button, CaptionButtonLook::Highlight, fadeInAlpha(hover.fadeIn.step),
                           true);
    }
    if (hover.fadeOut.button >= 1 && hover.fadeOut.step < kFadeSteps) {
        ++hover.fadeOut.step;
        paintCaptionButton(record, hover.fadeOut.button, CaptionButtonLook::Highlight, fadeOutAlpha(hover.fadeOut.step),
                           true);
    }
    const bool idle = !hover.mouseTracked || !hover.fadeTimerRunning;
    if (idle && (hover.fadeOut.step > kFadeSteps - 1 || hover.fadeOut.button == 0)) {
        hover.fadeTimerRunning = false;
        ::KillTimer(record.window, reinterpret_cast<UINT_PTR>(record.window));
        hover.hotButton = 0;
        hover.fadeIn = hover.fadeOut = {};
    }
}

void onCaptionMouseLeave(SkinnedWindowRecord& record) {
    CaptionHover& hover = record.hover;
    hover.mouseTracked = false;
    if (!record.caption.captionActive || hover.hotButton < 1) return;
    if (hover.fadeOut.step <= kFadeSteps - 1 || hover.fadeIn.step <= kFadeSteps - 1)
        paintCaptionButton(record, hover.fadeOut.button, CaptionButtonLook::Normal, 0, true);
    hover.fadeIn = {};
    hover.fadeOut = {hover.hotButton, 0};
    hover.hotButton = 0;
}

void onCaptionPress(SkinnedWindowRecord& record, int x, int y) {
    const int hit = hitTestCaptionButtons(record, x, y);
    if (hit >= 1) paintCaptionButton(record, hit, CaptionButtonLook::Pressed, 0, true);
}

}  // namespace pelmora
