#include "skin/window/window_skin.h"

#include <memory>

#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_string_format.h"
#include "skin/controls/core/control_install.h"
#include "skin/controls/core/engine_state.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/theme_images.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_render.h"

namespace pelmora {
namespace {

// The record of a window about to be skinned, with its initial values.
std::unique_ptr<SkinnedWindowRecord> newWindowRecord(HWND window, DWORD style, const SkinWindowOptions& options) {
    auto record = std::make_unique<SkinnedWindowRecord>();
    record->window = window;
    CaptionPart& caption = record->caption;
    caption.captionHeight = storedCaptionHeight(options.captionHeight.value_or(kMinCaptionHeight));
    caption.showHelpButton = options.showHelp.value_or(false);
    caption.showMenuButton = options.showMenu.value_or(false);
    caption.hasMinimizeButton = (style & WS_MINIMIZEBOX) != 0;
    caption.hasMaximizeButton = (style & WS_MAXIMIZEBOX) != 0;
    caption.hasCloseButton = true;
    caption.showTitle = options.showTitle.value_or(true);
    caption.captionGloss = options.captionGloss.value_or(false);
    caption.captionActive = options.captionActive.value_or(true);
    OwnBackground& background = record->background;
    background.backgroundMode = options.backgroundMode.value_or(themeSettings().themeBackgroundMode);
    if (!options.ownBackground.empty()) {
        background.ownBackgroundColour = averageImageColour(options.ownBackground);
        background.ownBackground =
            processedBackground(options.ownBackground, background.ownBackgroundColour, background.backgroundMode);
    }
    FrameState& frame = record->frame;
    frame.maxTrackWidth = ::GetSystemMetrics(SM_CXSCREEN);
    frame.maxTrackHeight = ::GetSystemMetrics(SM_CYSCREEN);
    frame.resizable = options.resizable.value_or(true);
    record->status.statusBarHeight = options.statusBarHeight.value_or(0);
    caption.captionButtons =
        standardCaptionButtons(caption.showHelpButton, caption.showMenuButton, caption.hasMinimizeButton,
                               caption.hasMaximizeButton, caption.hasCloseButton);
    caption.stripWidth = captionStripWidth(captionKinds(caption.captionButtons));
    caption.stripTop = 0;
    caption.stripHeight = kStripHeight;
    caption.captionTooltip.create(window);
    return record;
}

}  // namespace

void SkinEngine::skinWindow(HWND window, const SkinWindowOptions& options) {
    if (!window || findWindowRecord(window)) return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    engineState().borderWidth = 3;
    auto made = newWindowRecord(window, style, options);
    ::SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style | WS_SYSMENU));
    const int index = appendWindowRecord(std::move(made));
    SkinnedWindowRecord& record = *windowRecord(index);
    CaptionPart& caption = record.caption;
    for (size_t i = 0; i < caption.captionButtons.size(); ++i)
        caption.captionTooltip.addTool(RECT{}, caption.captionButtons[i].tooltipText, i + 1);
    layoutCaptionTooltips(record);
    if (record.status.statusBarHeight > 0) {
        setStatusBar(record, record.status.statusBarHeight, {});
        layoutStatusBar(record);
    }
    installControlsOf(index, window);
    // The composed image is built at the first paint. A window that is already
    // on screen gets no WM_SHOWWINDOW to build it and may have painted itself
    // natively, so it is marked for rendering and, when visible, invalidated.
    record.controlsInstalled = true;
    record.image.needsRender = true;
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
        for (auto& control : list)
            if (control.window) releaseControlColours(control.window);
    });
    // The record owns its composed image and snapshots: they go with it.
    removeWindowRecord(index);
}

void setStatusBar(SkinnedWindowRecord& record, int height, const std::vector<std::wstring>& items) {
    StatusBarPart& status = record.status;
    status.statusBarHeight = height;
    status.statusItems.clear();
    for (const std::wstring& text : items) status.statusItems.push_back({text, -1});
    status.statusTextColour = 0x00FFFFFF;
    status.statusFontFace = L"宋体";
}

void layoutStatusBar(SkinnedWindowRecord& record) {
    StatusBarPart& status = record.status;
    if (status.statusBarHeight <= 0) return;
    const RECT client = clientRect(record.window);
    status.statusBarRect =
        statusBarRect(client.right, client.bottom, engineState().borderWidth, status.statusBarHeight);
    std::vector<int> widths;
    for (const StatusItem& item : status.statusItems) widths.push_back(item.width);
    status.statusItemRects = statusItemRects(status.statusBarRect, widths);
}

// Status items are plain text on the bar's own background.
void paintStatusItem(SkinnedWindowRecord& record, int itemIndex) {
    const StatusBarPart& status = record.status;
    if (!record.image.composed || itemIndex < 1 || itemIndex > static_cast<int>(status.statusItemRects.size()) ||
        itemIndex > static_cast<int>(status.statusItems.size()))
        return;
    const RECT r = status.statusItemRects[static_cast<size_t>(itemIndex - 1)];
    restoreStatusBarRect(record, r);
    GdipGraphics graphics;
    if (!graphics.fromHdc(record.image.composed.dc())) return;
    GdipFont font;
    if (!font.createByName(std::wstring_view(status.statusFontFace), 9.0f, 0, Gdiplus::UnitPoint)) font.createDefault();
    GdipStringFormat format;
    format.genericDefault();
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    GdipSolidBrush brush;
    brush.create(argbFromColour(status.statusTextColour));
    const RectF layout{static_cast<float>(r.left + 2), static_cast<float>(r.top),
                       static_cast<float>(r.right - r.left - 4), static_cast<float>(r.bottom - r.top)};
    graphics.drawString(status.statusItems[static_cast<size_t>(itemIndex - 1)].text, font, brush, layout, &format);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

void SkinEngine::updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record) return;
    StatusBarPart& status = record->status;
    if (itemIndex < 1 || itemIndex > static_cast<int>(status.statusItems.size())) return;
    if (text) status.statusItems[static_cast<size_t>(itemIndex - 1)].text = *text;
    paintStatusItem(*record, itemIndex);
    if (itemIndex > static_cast<int>(status.statusItemRects.size())) return;
    const RECT r = status.statusItemRects[static_cast<size_t>(itemIndex - 1)];
    const WindowDc screen(window);
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, record->image.composed.dc(), r.left,
             r.top, SRCCOPY);
}

void layoutDockedChildren(const SkinnedWindowRecord& record) {
    const RECT client = clientRect(record.window);
    for (const DockedChild& child : record.frame.dockedChildren) {
        if (!child.window) continue;
        ::MoveWindow(child.window, 2, child.top, client.right - 4,
                     client.bottom - child.top - record.status.statusBarHeight - 3, TRUE);
    }
}

}  // namespace pelmora
