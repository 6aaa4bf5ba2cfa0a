#include "skin/window/window_skin.h"

#include <memory>

#include "base/dpi_scale.h"
#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "skin/controls/control_install.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
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
    frame.dpi = windowDpi(window);
    frame.maxTrackWidth = ::GetSystemMetrics(SM_CXSCREEN);
    frame.maxTrackHeight = ::GetSystemMetrics(SM_CYSCREEN);
    frame.resizable = options.resizable.value_or(true);
    record->status.statusBarHeight = options.statusBarHeight.value_or(0);
    caption.captionButtons =
        standardCaptionButtons(caption.showHelpButton, caption.showMenuButton, caption.hasMinimizeButton,
                               caption.hasMaximizeButton, caption.hasCloseButton);
    caption.stripWidth = captionStripWidth(captionKinds(caption.captionButtons), frame.dpi);
    caption.stripTop = 0;
    caption.stripHeight = scaled(kStripHeight, frame.dpi);
    caption.captionTooltip.create(window);
    return record;
}

}  // namespace

void SkinEngine::skinWindow(HWND window, const SkinWindowOptions& options) {
    if (!window || findWindowRecord(window)) return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    engineState().borderWidth = kBorderWidth;
    auto made = newWindowRecord(window, style, options);
    ::SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style | WS_SYSMENU));
    const int index = appendWindowRecord(std::move(made));
    SkinnedWindowRecord& record = *windowRecord(index);
    CaptionPart& caption = record.caption;
    for (size_t i = 0; i < caption.captionButtons.size(); ++i)
        caption.captionTooltip.addTool(RECT{}, caption.captionButtons[i].tooltipText, i + 1);
    layoutCaptionTooltips(record);
    if (record.status.statusBarHeight > 0) {
        setStatusBar(record, record.status.statusBarHeight, options.statusItems);
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

void layoutDockedChildren(const SkinnedWindowRecord& record) {
    const RECT client = clientRect(record.window);
    for (const DockedChild& child : record.frame.dockedChildren) {
        if (!child.window) continue;
        ::MoveWindow(child.window, 2, child.top, client.right - 4,
                     client.bottom - child.top - record.status.statusBarHeight - 3, TRUE);
    }
}

}  // namespace pelmora
