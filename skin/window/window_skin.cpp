#include "skin/window/window_skin.h"

#include <memory>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_string_format.h"
#include "skin/controls/core/control_install.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/theme_images.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/window_geometry.h"

namespace pelmora {
namespace {

void deleteProperty(HWND window, const wchar_t* name) {
    if (HGDIOBJ object = reinterpret_cast<HGDIOBJ>(propValue(window, name))) ::DeleteObject(object);
    setPropValue(window, name, 0);
}

}  // namespace

void SkinEngine::skinWindow(HWND window, const SkinWindowOptions& options) {
    if (!window || findWindowRecord(window)) return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    borderWidth = 3;

    auto record = std::make_unique<SkinnedWindowRecord>();
    record->window = window;
    record->captionHeight = storedCaptionHeight(options.captionHeight.value_or(kMinCaptionHeight));
    record->showHelpButton = options.showHelp.value_or(false);
    record->showMenuButton = options.showMenu.value_or(false);
    record->hasMinimizeButton = (style & WS_MINIMIZEBOX) != 0;
    record->hasMaximizeButton = (style & WS_MAXIMIZEBOX) != 0;
    record->hasCloseButton = true;
    record->showTitle = options.showTitle.value_or(true);
    record->captionGloss = options.captionGloss.value_or(false);
    record->backgroundMode = options.backgroundMode.value_or(themeSettings().themeBackgroundMode);
    record->maxTrackWidth = ::GetSystemMetrics(SM_CXSCREEN);
    record->maxTrackHeight = ::GetSystemMetrics(SM_CYSCREEN);
    record->resizable = options.resizable.value_or(true);
    record->captionActive = options.captionActive.value_or(true);
    record->statusBarHeight = options.statusBarHeight.value_or(0);
    if (!options.ownBackground.empty()) {
        record->ownBackgroundColour = averageImageColour(options.ownBackground);
        record->ownBackground = options.ownBackground;
        if (record->backgroundMode == static_cast<int>(BackgroundMode::LeftFaded))
            record->ownBackground =
                fadeBackgroundEdge(options.ownBackground, record->ownBackgroundColour, FadeSide::Right);
        if (record->backgroundMode == static_cast<int>(BackgroundMode::RightFaded))
            record->ownBackground =
                fadeBackgroundEdge(options.ownBackground, record->ownBackgroundColour, FadeSide::Left);
    }
    record->captionButtons =
        standardCaptionButtons(record->showHelpButton, record->showMenuButton, record->hasMinimizeButton,
                               record->hasMaximizeButton, record->hasCloseButton);
    record->stripWidth = captionStripWidth(captionKinds(record->captionButtons));
    record->stripTop = 0;
    record->stripHeight = kStripHeight;
    record->captionTooltip.create(window);

    ::SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style | WS_SYSMENU));
    const int index = appendWindowRecord(std::move(record));
    SkinnedWindowRecord& added = *windowRecord(index);
    for (size_t i = 0; i < added.captionButtons.size(); ++i)
        added.captionTooltip.addTool(RECT{}, added.captionButtons[i].tooltipText, i + 1);
    layoutCaptionTooltips(index);
    if (added.statusBarHeight > 0) {
        setStatusBar(index, added.statusBarHeight, {});
        layoutStatusBar(index);
    }
    installControlsOf(index, window);
    // The composed image is built at the first paint. A window that is already
    // on screen gets no WM_SHOWWINDOW to build it and may have painted itself
    // natively, so it is marked for rendering and, when visible, invalidated.
    added.controlsInstalled = true;
    added.needsRender = true;
    const LONG_PTR previous =
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinEngine::windowProcThunk));
    setPropValue(window, kPropPreviousProc, previous);
    setPropValue(window, kPropListIndex, index);
    if (::IsWindowVisible(window)) ::InvalidateRect(window, nullptr, FALSE);
}

void releaseSkinnedWindow(HWND window) {
    const int index = findWindowRecord(window);
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record) return;
    // The translucent-background brush and bitmap a control was last answered
    // with belong to its properties until the window goes.
    forEachControlList(*record, [](auto& list, const wchar_t*) {
        for (auto& control : list) {
            if (!control.window) continue;
            deleteProperty(control.window, kPropBackgroundBitmap);
            deleteProperty(control.window, kPropBackgroundBrush);
        }
    });
    // The record owns its composed image and snapshots: they go with it.
    removeWindowRecord(index);
}

void SkinEngine::setStatusBar(int recordIndex, int height, const std::vector<std::wstring>& items) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record) return;
    record->statusBarHeight = height;
    record->statusItems.clear();
    for (const std::wstring& text : items) record->statusItems.push_back({text, -1});
    record->statusTextColour = 0x00FFFFFF;
    record->statusFontFace = L"宋体";
}

void SkinEngine::layoutStatusBar(int recordIndex) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || record->statusBarHeight <= 0) return;
    RECT client{};
    ::GetClientRect(record->window, &client);
    record->statusBarRect = statusBarRect(client.right, client.bottom, borderWidth, record->statusBarHeight);
    std::vector<int> widths;
    for (const StatusItem& item : record->statusItems) widths.push_back(item.width);
    record->statusItemRects = statusItemRects(record->statusBarRect, widths);
}

// Status items are plain text on the bar's own background.
void SkinEngine::paintStatusItem(int recordIndex, int itemIndex) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->composed || itemIndex < 1 || itemIndex > static_cast<int>(record->statusItemRects.size()) ||
        itemIndex > static_cast<int>(record->statusItems.size()))
        return;
    const RECT r = record->statusItemRects[static_cast<size_t>(itemIndex - 1)];
    restoreStatusBarRect(recordIndex, r);
    GdipGraphics graphics;
    if (!graphics.fromHdc(record->composed.dc())) return;
    GdipFont font;
    if (!font.createByName(std::wstring_view(record->statusFontFace), 9.0f, 0, Gdiplus::UnitPoint))
        font.createDefault();
    GdipStringFormat format;
    format.genericDefault();
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    GdipSolidBrush brush;
    brush.create(argbFromColour(record->statusTextColour));
    const RectF layout{static_cast<float>(r.left + 2), static_cast<float>(r.top),
                       static_cast<float>(r.right - r.left - 4), static_cast<float>(r.bottom - r.top)};
    graphics.drawString(record->statusItems[static_cast<size_t>(itemIndex - 1)].text, font, brush, layout, &format);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

void SkinEngine::updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text) {
    const int index = findWindowRecord(window);
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record || itemIndex < 1 || itemIndex > static_cast<int>(record->statusItems.size())) return;
    if (text) record->statusItems[static_cast<size_t>(itemIndex - 1)].text = *text;
    paintStatusItem(index, itemIndex);
    if (itemIndex > static_cast<int>(record->statusItemRects.size())) return;
    const RECT r = record->statusItemRects[static_cast<size_t>(itemIndex - 1)];
    WindowDc screen(window);
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, record->composed.dc(), r.left, r.top,
             SRCCOPY);
}

void SkinEngine::layoutDockedChildren(int recordIndex) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record) return;
    RECT client{};
    ::GetClientRect(record->window, &client);
    for (const DockedChild& child : record->dockedChildren) {
        if (!child.window) continue;
        ::MoveWindow(child.window, 2, child.top, client.right - 4,
                     client.bottom - child.top - record->statusBarHeight - 3, TRUE);
    }
}

}  // namespace pelmora
