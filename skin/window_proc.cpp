// The procedure of skinned top-level windows: each case unpacks its message
// and calls a named handler; everything goes on to the previous procedure
// unless the handler answers it alone.
#include <windowsx.h>

#include <cwchar>
#include <optional>

#include "gfx/back_buffer.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_object.h"
#include "skin/caption_buttons.h"
#include "skin/control_background.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/control_settings.h"
#include "skin/controls/window_properties.h"
#include "skin/controls/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window_geometry.h"
#include "skin/window_skin.h"

namespace pelmora {
namespace {

RECT clientRect(HWND window) {
    RECT rc{};
    ::GetClientRect(window, &rc);
    return rc;
}

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    return lstrcmpiW(className, name) == 0;
}

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

// The window's picture under an edit or static, as a bitmap the control's
// brush tiles from its own origin.
HBITMAP backgroundBitmapOf(HWND control) {
    const RECT rc = clientRect(control);
    HDC background = prepareControlBackground(control, rc);
    if (!background) return nullptr;
    WindowDc screen(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom);
    {
        MemoryDc copy(::CreateCompatibleDC(screen.get()));
        SelectGuard select(copy.get(), bitmap);
        ::BitBlt(copy.get(), 0, 0, rc.right, rc.bottom, background, 0, 0, SRCCOPY);
    }
    releaseControlBackground(background);
    return bitmap;
}

std::optional<LRESULT> onControlColour(UINT message, HDC dc, HWND control) {
    const ControlSettings& settings = controlSettings();
    if (!settings.translucentBackgrounds || !settings.controlSkinningEnabled) return std::nullopt;
    if (message == WM_CTLCOLOREDIT && hasClass(::GetParent(control), L"ComboBox")) return std::nullopt;
    if (message == WM_CTLCOLORLISTBOX) {
        const int owner = findOwnerWindowRecord(control);
        const SkinnedWindowRecord* record = windowRecord(owner);
        if (!hasClass(control, L"ListBox") || (record && record->lists.indexOf(control))) return std::nullopt;
    }
    ::SetTextColor(dc, static_cast<COLORREF>(propValue(control, kPropTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
    if (HGDIOBJ old = reinterpret_cast<HGDIOBJ>(propValue(control, kPropBackgroundBrush))) ::DeleteObject(old);
    HBRUSH brush = nullptr;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        if (HGDIOBJ old = reinterpret_cast<HGDIOBJ>(propValue(control, kPropBackgroundBitmap))) ::DeleteObject(old);
        HBITMAP bitmap = backgroundBitmapOf(control);
        setPropValue(control, kPropBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
        brush = bitmap ? ::CreatePatternBrush(bitmap) : static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    } else {
        brush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    // A stock brush must never be deleted later; keep only what we made.
    const bool owned = brush != ::GetStockObject(NULL_BRUSH);
    setPropValue(control, kPropBackgroundBrush, owned ? reinterpret_cast<std::intptr_t>(brush) : 0);
    return reinterpret_cast<LRESULT>(brush);
}

// Children whose content scrolled or changed must repaint over the picture.
void onChildCommand(WPARAM wParam, HWND control) {
    const ControlSettings& settings = controlSettings();
    if (!control || !settings.translucentBackgrounds || !settings.controlSkinningEnabled) return;
    const int code = hiWord(static_cast<std::uint32_t>(wParam)) & 0xFFFF;
    const bool repaint =
        (hasClass(control, L"Edit") &&
         (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
        (hasClass(control, L"ListBox") && (code == 1 || code == 3)) ||
        (hasClass(control, L"ComboBox") && (code == 4 || code == 1));
    if (repaint)
        ::InvalidateRect(control, nullptr, TRUE);
    else if (!hasClass(control, L"Edit") && !hasClass(control, L"ListBox") && !hasClass(control, L"ComboBox"))
        refreshButtonAfterCommand(control);
}

LRESULT onPaint(SkinEngine& engine, int index, SkinnedWindowRecord& record, HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    if (!record.isMinimized) {
        if (record.needsRender) {
            engine.renderWindow(index, dc, true);
            record.needsRender = false;
        } else {
            engine.presentWindow(index, dc);
        }
    }
    ::EndPaint(window, &paint);
    return ::DefWindowProcW(window, WM_PAINT, 0, 0);
}

void onShow(SkinEngine& engine, int index, SkinnedWindowRecord& record, HWND window) {
    if (record.isMinimized) {
        record.isMinimized = false;
        return;
    }
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    engine.renderWindow(index, dc, true);
    ::EndPaint(window, &paint);
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
    case WM_QUIT: gdipShutdown(); break;
    case WM_NCDESTROY:
        releaseSkinnedWindow(window);
        ::KillTimer(window, reinterpret_cast<UINT_PTR>(window));
        break;
    case WM_SHOWWINDOW:
        if (wParam == 1) onShow(*this, index, *record, window);
        break;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_PAINT: return onPaint(*this, index, *record, window);
    case WM_LBUTTONDBLCLK:
        if (y <= record->captionHeight && record->resizable) {
            if (const int button = findMaximizeButton(index)) runCaptionButton(index, button);
        }
        break;
    case WM_MOUSEMOVE:
        onCaptionMouseMove(index, x, y);
        if (!record->isMaximized) updateResizeCursor(index, lParam, {});
        break;
    case WM_MOUSEHOVER: record->mouseTracked = true; break;
    case WM_MOUSELEAVE: onCaptionMouseLeave(index); break;
    case WM_TIMER:
        if (wParam == reinterpret_cast<WPARAM>(window)) onCaptionFadeTimer(index);
        break;
    case WM_GETMINMAXINFO: onGetMinMaxInfo(*record, *reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_WINDOWPOSCHANGED:
        if (record->hasMaximizeButton) keepOffTaskbar(*record);
        layoutCaptionTooltips(index);
        if (record->statusBarHeight > 0) layoutStatusBar(index);
        break;
    case WM_SIZE: onSize(index, *record); break;
    case WM_LBUTTONDOWN: onLeftButtonDown(*this, index, *record, lParam); break;
    case WM_LBUTTONUP:
        if (hotButtonIndex >= 1 && hotButtonIndex <= static_cast<int>(record->captionButtons.size()) &&
            record->captionActive) {
            runCaptionButton(index, hotButtonIndex);
        }
        break;
    case WM_SYSCOMMAND: onSysCommand(*record, wParam); break;
    case WM_QUERYOPEN: record->isMinimized = false; break;
    case WM_SETTEXT:
        if (record->showTitle && record->captionActive && lParam)
            paintTitle(index, false, std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (auto brush = onControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return *brush;
        break;
    case WM_DRAWITEM: {
        // A copy: the painter must not depend on the sender's structure.
        const DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        drawOwnerButton(index, item);
        break;
    }
    case WM_COMMAND: onChildCommand(wParam, reinterpret_cast<HWND>(lParam)); break;
    case WM_NOTIFY: {
        const NMHDR header = *reinterpret_cast<const NMHDR*>(lParam);
        if (static_cast<int>(header.code) == -405 || static_cast<int>(header.code) == -406)
            ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
        break;
    }
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

void SkinEngine::updateResizeCursor(int recordIndex, LPARAM point, const RECT&) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !record->resizable) return;
    const RECT client = clientRect(record->window);
    if (auto edge = resizeEdgeAt(GET_X_LPARAM(point), GET_Y_LPARAM(point), client.right, client.bottom, borderWidth))
        ::SetCursor(::LoadCursorW(nullptr, edge->cursor));
}

}  // namespace pelmora
