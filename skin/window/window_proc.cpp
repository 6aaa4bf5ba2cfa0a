// The procedure of skinned top-level windows: each case unpacks its message
// and calls a named handler; everything goes on to the previous procedure
// unless the handler answers it alone.
#include <windowsx.h>

#include <cwchar>
#include <optional>

#include "base/win32_util.h"
#include "gfx/back_buffer.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_object.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_skin.h"

namespace pelmora {
namespace {

int taskbarHeight() {
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rc{};
    if (!taskbar || !::GetWindowRect(taskbar, &rc)) return 0;
    return rc.bottom - rc.top;
}

void onGetMinMaxInfo(const SkinnedWindowRecord& record, MINMAXINFO& info) {
    info.ptMinTrackSize = {record.minTrackWidth, record.minTrackHeight};
    if (record.isMaximized) {
        info.ptMaxTrackSize = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - taskbarHeight()};
    } else {
        info.ptMaxTrackSize = {record.maxTrackWidth, record.maxTrackHeight};
    }
}

// A window maximised by the system covers the taskbar; pull its bottom up.
void keepOffTaskbar(SkinnedWindowRecord& record) {
    const RECT client = clientRect(record.window);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (client.right != screenWidth || client.bottom != screenHeight) return;
    record.isMaximized = true;
    ::SetWindowPos(record.window, nullptr, 0, 0, screenWidth, screenHeight - taskbarHeight(),
                   SWP_NOZORDER | SWP_NOOWNERZORDER);
}

LRESULT onPaint(SkinEngine& engine, int index, SkinnedWindowRecord& record, HWND window) {
    {
        const PaintScope paint(window);
        if (!record.isMinimized) {
            if (record.needsRender) {
                engine.renderWindow(index, paint.dc(), true);
                record.needsRender = false;
            } else {
                engine.presentWindow(index, paint.dc());
            }
        }
    }
    return ::DefWindowProcW(window, WM_PAINT, 0, 0);
}

void onShow(SkinEngine& engine, int index, SkinnedWindowRecord& record, HWND window) {
    if (record.isMinimized) {
        record.isMinimized = false;
        return;
    }
    const PaintScope paint(window);
    engine.renderWindow(index, paint.dc(), true);
}

void onSize(int index, SkinnedWindowRecord& record) {
    record.hotButton = 0;
    ThemeSettings& theme = themeSettings();
    if (theme.firstSizePending) {
        record.needsRender = false;
        theme.firstSizePending = false;
    } else {
        record.needsRender = true;
    }
    skinEngine().layoutDockedChildren(index);
}

void onSysCommand(SkinnedWindowRecord& record, WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_MAXIMIZE:
            record.isMaximized = true;
            record.needsRender = true;
            break;
        case SC_RESTORE:
            record.needsRender = true;
            record.isMinimized = false;
            break;
        case SC_MINIMIZE:
            record.needsRender = true;
            record.isMinimized = true;
            break;
    }
}

void onLeftButtonDown(SkinEngine& engine, int index, SkinnedWindowRecord& record, LPARAM point) {
    record.fadeIn.button = 0;
    if (!record.captionActive) return;
    if (!record.isMaximized && !record.isMinimized) engine.beginMoveOrResize(index, point, clientRect(record.window));
    // The drag above may have run a modal loop in which the window went away.
    if (windowRecord(index) != &record) return;
    onCaptionPress(index, GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

PressContext pressContext(const SkinEngine& engine, const SkinnedWindowRecord& record, const RECT& client) {
    PressContext context;
    context.strip = {record.stripLeft, record.stripTop, record.stripWidth, record.stripHeight};
    context.clientRight = client.right;
    context.clientBottom = client.bottom;
    context.border = engine.borderWidth;
    context.captionHeight = record.captionHeight;
    context.captionActive = record.captionActive;
    context.resizable = record.resizable;
    return context;
}

}  // namespace

LRESULT SkinEngine::skinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = propIndex(window, kPropListIndex);
    const WNDPROC previous = reinterpret_cast<WNDPROC>(propValue(window, kPropPreviousProc));
    auto pass = [&] {
        return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                        : ::DefWindowProcW(window, message, wParam, lParam);
    };
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record || record->window != window) return pass();
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
            if (wParam == 1) onShow(*this, index, *record, window);
            break;
        case WM_ERASEBKGND:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_PAINT:
            return onPaint(*this, index, *record, window);
        case WM_LBUTTONDBLCLK:
            if (y <= record->captionHeight && record->resizable) {
                if (const int button = findMaximizeButton(index)) runCaptionButton(index, button);
            }
            break;
        case WM_MOUSEMOVE:
            onCaptionMouseMove(index, x, y);
            if (!record->isMaximized) updateResizeCursor(index, lParam);
            break;
        case WM_MOUSEHOVER:
            record->mouseTracked = true;
            break;
        case WM_MOUSELEAVE:
            onCaptionMouseLeave(index);
            break;
        case WM_TIMER:
            if (wParam == reinterpret_cast<WPARAM>(window)) onCaptionFadeTimer(index);
            break;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(*record, *reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case WM_WINDOWPOSCHANGED:
            if (record->hasMaximizeButton) keepOffTaskbar(*record);
            layoutCaptionTooltips(index);
            if (record->statusBarHeight > 0) layoutStatusBar(index);
            break;
        case WM_SIZE:
            onSize(index, *record);
            break;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(*this, index, *record, lParam);
            break;
        case WM_LBUTTONUP:
            if (hotButtonIndex >= 1 && hotButtonIndex <= static_cast<int>(record->captionButtons.size()) &&
                record->captionActive) {
                runCaptionButton(index, hotButtonIndex);
            }
            break;
        case WM_SYSCOMMAND:
            onSysCommand(*record, wParam);
            break;
        case WM_QUERYOPEN:
            record->isMinimized = false;
            break;
        case WM_SETTEXT:
            if (record->showTitle && record->captionActive && lParam)
                paintTitle(index, false, std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
            // Messages from a child go to the child's class.
            if (auto answer = answerForParent(message, wParam, lParam)) return *answer;
            break;
    }
    return pass();
}

void SkinEngine::beginMoveOrResize(int recordIndex, LPARAM point, const RECT& client) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record) return;
    const PressDecision decision =
        decidePress(pressContext(*this, *record, client), GET_X_LPARAM(point), GET_Y_LPARAM(point));
    HWND window = record->window;
    if (decision.action == PressAction::CaptionDrag) {
        ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    } else if (decision.action == PressAction::Resize) {
        record->needsRender = true;
        ::SetCursor(::LoadCursorW(nullptr, decision.edge->cursor));
        ::SendMessageW(window, WM_SYSCOMMAND, SC_SIZE + decision.edge->sizeOffset, 0);
    }
}

void SkinEngine::updateResizeCursor(int recordIndex, LPARAM point) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->resizable) return;
    const RECT client = clientRect(record->window);
    if (auto edge = resizeEdgeAt(GET_X_LPARAM(point), GET_Y_LPARAM(point), client.right, client.bottom, borderWidth))
        ::SetCursor(::LoadCursorW(nullptr, edge->cursor));
}

}  // namespace pelmora
