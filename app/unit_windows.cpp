#include "app/unit_windows.h"

#include <memory>
#include <string>

#include "base/unique_resource.h"
#include "base/win32_util.h"

namespace pelmora {
namespace {

constexpr UINT_PTR kTimerId = 1;

LabelLook* lookOf(HWND hwnd) {
    return reinterpret_cast<LabelLook*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void notifyParent(HWND hwnd, UnitEvent event) {
    ::SendMessageW(::GetParent(hwnd), kUnitEventMessage, ::GetDlgCtrlID(hwnd), reinterpret_cast<LPARAM>(&event));
}

void drawCaption(HWND hwnd, HDC dc, const LabelLook& look) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    SelectGuard font(dc, look.font ? look.font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.textColour);
    const std::wstring text = windowText(hwnd);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, look.textFormat);
}

// A transparent label shows what its parent paints beneath it: the parent
// draws its background into the label's DC, shifted to the label's place.
void paintParentBackground(HWND hwnd, HDC dc) {
    HWND parent = ::GetParent(hwnd);
    POINT origin{0, 0};
    ::MapWindowPoints(hwnd, parent, &origin, 1);
    POINT previous;
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

LRESULT labelCommon(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool transparent) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
            auto look = std::make_unique<LabelLook>(*static_cast<LabelLook*>(create->lpCreateParams));
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(look.release()));
            break;
        }
        case WM_NCDESTROY:
            delete lookOf(hwnd);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(wp);
            if (transparent) {
                paintParentBackground(hwnd, dc);
            } else {
                const COLORREF back = lookOf(hwnd)->backColour;
                RECT rc;
                ::GetClientRect(hwnd, &rc);
                GdiBrush brush(::CreateSolidBrush(back == kButtonFaceColour ? ::GetSysColor(COLOR_BTNFACE) : back));
                ::FillRect(dc, &rc, brush.get());
            }
            return 1;
        }
        case WM_PAINT: {
            PaintScope paint(hwnd);
            drawCaption(hwnd, paint.dc(), *lookOf(hwnd));
            return 0;
        }
        case WM_PRINTCLIENT:
            ::SendMessageW(hwnd, WM_ERASEBKGND, wp, 0);
            drawCaption(hwnd, reinterpret_cast<HDC>(wp), *lookOf(hwnd));
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = ::DefWindowProcW(hwnd, msg, wp, lp);
            // The old caption may reach outside the new one: repaint what lies
            // beneath first, then the label over it.
            if (transparent) {
                RECT rc;
                ::GetWindowRect(hwnd, &rc);
                ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
                ::RedrawWindow(::GetParent(hwnd), &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return result;
        }
        case WM_LBUTTONUP:
            notifyParent(hwnd, {UnitEventKind::LeftButtonReleased, static_cast<short>(LOWORD(lp)),
                                static_cast<short>(HIWORD(lp)), wp});
            return 0;
        case WM_NCHITTEST:
            // Labels take the mouse even when transparent, so the link can be clicked.
            return HTCLIENT;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return labelCommon(hwnd, msg, wp, lp, false);
}

LRESULT CALLBACK transparentLabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return labelCommon(hwnd, msg, wp, lp, true);
}

LRESULT CALLBACK timerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerId) {
        notifyParent(hwnd, {UnitEventKind::TimerTick});
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

bool registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HCURSOR cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = nullptr;  // labels erase themselves
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool registerUnitClasses(HINSTANCE instance) {
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    return registerClass(instance, kLabelClass, labelProc, arrow) &&
           registerClass(instance, kTransparentLabelClass, transparentLabelProc, arrow) &&
           registerClass(instance, kTimerClass, timerProc, arrow) &&
           registerClass(instance, kArchiveUnitClass, ::DefWindowProcW, arrow);
}

void setTimerInterval(HWND timer, int ms) {
    const int current = timerInterval(timer);
    if (ms <= 0) {
        ::KillTimer(timer, kTimerId);
        ::SetWindowLongPtrW(timer, GWLP_USERDATA, 0);
        return;
    }
    if (ms == current) return;
    ::SetTimer(timer, kTimerId, static_cast<UINT>(ms), nullptr);
    ::SetWindowLongPtrW(timer, GWLP_USERDATA, ms);
}

int timerInterval(HWND timer) {
    return static_cast<int>(::GetWindowLongPtrW(timer, GWLP_USERDATA));
}

}  // namespace pelmora
