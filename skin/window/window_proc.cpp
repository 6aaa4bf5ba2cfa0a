// The procedure of skinned top-level windows: each case unpacks its message
// and calls a named handler on the window's record, looked up once; everything
// goes on to the previous procedure unless the handler answers it alone.
#include <windowsx.h>

#include <optional>
#include <string>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_object.h"
#include "services/working_set_trim.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_render.h"
#include "skin/window/window_skin.h"

namespace pelmora {
namespace {

int taskbarHeight() {
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rc{};
    if (!taskbar || !::GetWindowRect(taskbar, &rc)) return 0;
    return rc.bottom - rc.top;
}

void onGetMinMaxInfo(const FrameState& frame, MINMAXINFO& info) {
    info.ptMinTrackSize = {frame.minTrackWidth, frame.minTrackHeight};
    if (frame.isMaximized) {
        info.ptMaxTrackSize = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - taskbarHeight()};
    } else {
        info.ptMaxTrackSize = {frame.maxTrackWidth, frame.maxTrackHeight};
    }
}

// A window maximised by the system covers the taskbar; pull its bottom up.
void keepOffTaskbar(SkinnedWindowRecord& record) {
    const RECT client = clientRect(record.window);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (client.right != screenWidth || client.bottom != screenHeight) return;
    record.frame.isMaximized = true;
    ::SetWindowPos(record.window, nullptr, 0, 0, screenWidth, screenHeight - taskbarHeight(),
                   SWP_NOZORDER | SWP_NOOWNERZORDER);
}

LRESULT onPaint(SkinnedWindowRecord& record) {
    {
        const PaintScope paint(record.window);
        if (!record.frame.isMinimized) {
            if (record.image.needsRender) {
                renderWindow(record, paint.dc(), true);
            } else {
                presentWindow(record, paint.dc());
            }
        }
    }
    return ::DefWindowProcW(record.window, WM_PAINT, 0, 0);
}

void onShow(SkinnedWindowRecord& record) {
    if (record.frame.isMinimized) {
        record.frame.isMinimized = false;
        return;
    }
    const PaintScope paint(record.window);
    renderWindow(record, paint.dc(), true);
}

void onSize(SkinnedWindowRecord& record) {
    record.hover.hotButton = 0;
    EngineState& state = engineState();
    if (state.firstSizePending) {
        record.image.needsRender = false;
        state.firstSizePending = false;
    } else {
        record.image.needsRender = true;
    }
    layoutDockedChildren(record);
}

// A window moved to a screen of another DPI (or the scale changed): the
// record's pixels are redone at the new DPI at the suggested place and size,
// and the composed image, region and scaled glyphs are rebuilt at the next
// paint. The program's own procedure gets the message afterwards, to move its
// children and change their fonts.
void onDpiChanged(SkinnedWindowRecord& record, UINT dpi, const RECT& suggested) {
    record.frame.dpi = dpi;
    record.hover.hotButton = 0;
    ::SetWindowPos(record.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // After the move: a first WM_SIZE clears the flag, and the same size sends none.
    record.image.needsRender = true;
    // The size may not have changed (the same rectangle at another DPI), so
    // the strip is laid out here rather than trusted to WM_WINDOWPOSCHANGED.
    layoutCaptionTooltips(record);
    if (record.status.statusBarHeight > 0) layoutStatusBar(record);
    ::InvalidateRect(record.window, nullptr, FALSE);
}

// The system keeps the low four bits of a WM_SYSCOMMAND for itself.
constexpr WPARAM kSystemCommandMask = 0xFFF0;

void onSysCommand(SkinnedWindowRecord& record, WPARAM command) {
    FrameState& frame = record.frame;
    switch (command & kSystemCommandMask) {
        case SC_MAXIMIZE:
            frame.isMaximized = true;
            record.image.needsRender = true;
            break;
        case SC_RESTORE:
            record.image.needsRender = true;
            // From the taskbar or the system menu as well as from the caption
            // button: a maximised window comes back to its size, a minimised
            // one to what it was before (maximised or not).
            if (!frame.isMinimized) frame.isMaximized = false;
            frame.isMinimized = false;
            break;
        case SC_MINIMIZE:
            record.image.needsRender = true;
            frame.isMinimized = true;
            break;
    }
}

PressContext pressContext(const SkinnedWindowRecord& record, const RECT& client) {
    const CaptionPart& caption = record.caption;
    const UINT dpi = record.frame.dpi;
    PressContext context;
    context.strip = {caption.stripLeft, caption.stripTop, caption.stripWidth, caption.stripHeight, dpi};
    context.clientRight = client.right;
    context.clientBottom = client.bottom;
    context.border = scaled(engineState().borderWidth, dpi);
    context.captionHeight = scaled(caption.captionHeight, dpi);
    context.dpi = dpi;
    context.captionActive = caption.captionActive;
    context.resizable = record.frame.resizable;
    return context;
}

// A press on the client: a caption drag or an edge resize (the system runs
// either in a modal loop of its own).
void beginMoveOrResize(SkinnedWindowRecord& record, LPARAM point) {
    const PressDecision decision =
        decidePress(pressContext(record, clientRect(record.window)), GET_X_LPARAM(point), GET_Y_LPARAM(point));
    HWND window = record.window;
    if (decision.action == PressAction::CaptionDrag) {
        ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    } else if (decision.action == PressAction::Resize) {
        record.image.needsRender = true;
        ::SetCursor(::LoadCursorW(nullptr, decision.edge->cursor));
        ::SendMessageW(window, WM_SYSCOMMAND, SC_SIZE + decision.edge->sizeOffset, 0);
    }
}

void updateResizeCursor(const SkinnedWindowRecord& record, LPARAM point) {
    if (!record.frame.resizable) return;
    const RECT client = clientRect(record.window);
    const UINT dpi = record.frame.dpi;
    if (auto edge = resizeEdgeAt(GET_X_LPARAM(point), GET_Y_LPARAM(point), client.right, client.bottom,
                                 scaled(engineState().borderWidth, dpi), dpi))
        ::SetCursor(::LoadCursorW(nullptr, edge->cursor));
}

void onLeftButtonDown(int index, SkinnedWindowRecord& record, LPARAM point) {
    record.hover.fadeIn.button = 0;
    if (!record.caption.captionActive) return;
    if (!record.frame.isMaximized && !record.frame.isMinimized) beginMoveOrResize(record, point);
    // The drag above may have run a modal loop in which the window went away.
    if (windowRecord(index) != &record) return;
    onCaptionPress(record, GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

void onLeftButtonUp(SkinnedWindowRecord& record) {
    const int hot = engineState().hotButtonIndex;
    if (hot >= 1 && hot <= static_cast<int>(record.caption.captionButtons.size()) && record.caption.captionActive)
        runCaptionButton(record, hot);  // the record may be gone after this
}

void onDoubleClick(SkinnedWindowRecord& record, int y) {
    if (y > scaled(record.caption.captionHeight, record.frame.dpi) || !record.frame.resizable) return;
    if (const int button = findMaximizeButton(record)) runCaptionButton(record, button);
}

}  // namespace

LRESULT SkinEngine::skinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = propIndex(window, kPropListIndex);
    const WNDPROC previous = reinterpret_cast<WNDPROC>(propValue(window, kPropPreviousProc));
    auto pass = [&] {
        return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                        : ::DefWindowProcW(window, message, wParam, lParam);
    };
    SkinnedWindowRecord* found = windowRecord(index);
    if (!found || found->window != window) return pass();
    SkinnedWindowRecord& record = *found;
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);

    switch (message) {
        case WM_QUIT:
            gdipShutdown();
            break;
        case WM_NCDESTROY:
            releaseSkinnedWindow(window);
            ::KillTimer(window, reinterpret_cast<UINT_PTR>(window));
            break;
        case WM_SHOWWINDOW:
            if (wParam == 1) onShow(record);
            break;
        case WM_ERASEBKGND:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_PAINT:
            return onPaint(record);
        case WM_LBUTTONDBLCLK:
            onDoubleClick(record, y);
            break;
        case WM_MOUSEMOVE:
            onCaptionMouseMove(record, x, y);
            if (!record.frame.isMaximized) updateResizeCursor(record, lParam);
            break;
        case WM_MOUSEHOVER:
            record.hover.mouseTracked = true;
            break;
        case WM_MOUSELEAVE:
            onCaptionMouseLeave(record);
            break;
        case WM_TIMER:
            if (wParam == reinterpret_cast<WPARAM>(window)) onCaptionFadeTimer(record);
            break;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(record.frame, *reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case WM_WINDOWPOSCHANGED:
            if (record.caption.hasMaximizeButton) keepOffTaskbar(record);
            layoutCaptionTooltips(record);
            if (record.status.statusBarHeight > 0) layoutStatusBar(record);
            break;
        case WM_SIZE:
            onSize(record);
            break;
        case kDpiChangedMessage:
            onDpiChanged(record, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            break;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(index, record, lParam);
            break;
        case WM_LBUTTONUP:
            onLeftButtonUp(record);
            break;
        case WM_SYSCOMMAND:
            onSysCommand(record, wParam);
            break;
        case WM_ACTIVATEAPP:
            // The application went to the background: hand its pages back.
            if (!wParam) startWorkingSetTrim();
            break;
        case WM_QUERYOPEN:
            record.frame.isMinimized = false;
            break;
        case WM_SETTEXT:
            if (record.caption.showTitle && record.caption.captionActive && lParam)
                paintTitle(record, false, std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
            break;
        default:
            // Messages from a child go to the child's class.
            if (isParentMessage(message))
                if (auto answer = answerForParent(message, wParam, lParam)) return *answer;
            break;
    }
    return pass();
}

}  // namespace pelmora
