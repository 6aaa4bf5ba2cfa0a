// List views and their headers. A list view runs one engine procedure, which
// does the list-type controls' work (border, see-through background, scrolling)
// and its own: the header repaints, and the clean-up of the image list the
// engine attached. Its header is a window of its own: the same procedure
// paints its items over the picture, the one under the pointer in the accent.
// The common-controls header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <windowsx.h>

#include <string>
#include <vector>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/listview_paint.h"

namespace pelmora {
namespace {

bool isHeader(HWND window) {
    return hasWindowClass(window, WC_HEADERW);
}

using HeaderLocation = Located<ListViewSkinRecord>;

std::vector<HeaderItem> headerItems(HWND header) {
    std::vector<HeaderItem> items;
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        wchar_t text[260] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.push_back({{r.left, r.top, r.right - r.left, r.bottom - r.top}, text, item.fmt});
    }
    return items;
}

int itemUnderCursor(HWND header, const std::vector<HeaderItem>& items) {
    POINT pointer{};
    if (!::GetCursorPos(&pointer) || ::WindowFromPoint(pointer) != header) return -1;
    ::ScreenToClient(header, &pointer);
    return headerItemAt(items, PointI{pointer.x, pointer.y});
}

void paintHeaderWindow(HWND header, const ListViewSkinRecord* record, HDC target) {
    const RECT rc = clientRect(header);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    const ControlBackground background(header, rc);
    if (!background) return;
    {
        GdipGraphics graphics;
        if (!graphics.fromHdc(background.dc())) return;
        HeaderPaint paint;
        paint.size = {rc.right, rc.bottom};
        paint.items = headerItems(header);
        if (record) {
            // Where the pointer is now: mouse messages only say when to paint,
            // and one that comes late must not leave an item lit.
            paint.hotItem = record->hotItem >= 0 ? itemUnderCursor(header, paint.items) : -1;
            paint.pressed = record->pressed;
            paint.buttons = record->headerButtons;
            paint.font = record->headerFont;
        }
        paint.textColour = static_cast<COLORREF>(keptPropValue(header, kPropTextColour));
        paint.dpi = controlDpi(header);
        paintHeader(graphics, paint, controlSettings());
        graphics.flush(Gdiplus::FlushIntentionSync);
    }
    ::BitBlt(target, 0, 0, rc.right, rc.bottom, background.dc(), 0, 0, SRCCOPY);
}

void repaintHeader(HWND header) {
    if (header) ::InvalidateRect(header, nullptr, FALSE);
}

// The header at rest: no hot or pressed item.
void coolHeader(HWND header) {
    if (!header) return;
    ListViewSkinRecord* record = locate<ListViewSkinRecord>(header).record;
    if (!record || (record->hotItem < 0 && !record->pressed)) return;
    record->hotItem = -1;
    record->pressed = false;
    repaintHeader(header);
}

int itemUnderPointer(HWND header, LPARAM lParam) {
    return headerItemAt(headerItems(header), PointI{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void onHeaderMouseMove(HWND header, const HeaderLocation& at, LPARAM lParam) {
    requestMouseLeave(header);
    if (!at) return;
    ListViewSkinRecord* record = at.record;
    const bool took = takeHoverHighlight(*at.window, HotClass::ListView, at.index);
    const int item = itemUnderPointer(header, lParam);
    if (took || item != record->hotItem) {
        record->hotItem = item;
        repaintHeader(header);
    }
}

LRESULT headerProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto at = locate<ListViewSkinRecord>(header);
    ListViewSkinRecord* record = at.record;
    switch (message) {
        case WM_MOUSEMOVE:
            onHeaderMouseMove(header, at, lParam);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: {
            if (record) record->pressed = message == WM_LBUTTONDOWN;
            const LRESULT result = callPreviousProc(header, message, wParam, lParam);
            repaintHeader(header);
            return result;
        }
        case WM_MOUSELEAVE:
            if (at.window) dropHoverHighlight(*at.window);
            coolHeader(header);
            break;
        case WM_MOVE:
            repaintHeader(header);
            break;
        case WM_ERASEBKGND:
            // The paint covers the whole header.
            return 1;
        case WM_PAINT: {
            const PaintScope paint(header);
            paintHeaderWindow(header, record, paint.dc());
            return 0;
        }
    }
    return callPreviousProc(header, message, wParam, lParam);
}

// The engine's image list leaves the list view before the view sees
// WM_DESTROY, so a view that frees its own image lists never frees this one;
// the engine frees it at WM_NCDESTROY.
void detachEngineImageList(HWND view, const ListViewSkinRecord* record) {
    if (!record || !record->imageList) return;
    const auto attached = reinterpret_cast<HANDLE>(::SendMessageW(view, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (attached == record->imageList) ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void destroyEngineImageList(ListViewSkinRecord* record) {
    if (!record || !record->imageList) return;
    ::ImageList_Destroy(static_cast<HIMAGELIST>(record->imageList));
    record->imageList = nullptr;
}

}  // namespace

HANDLE attachRowHeightImageList(HWND view) {
    if ((windowStyle(view) & LVS_TYPEMASK) != LVS_REPORT) return nullptr;
    if (::SendMessageW(view, LVM_GETIMAGELIST, LVSIL_SMALL, 0)) return nullptr;
    HIMAGELIST list = ::ImageList_Create(1, kListViewRowHeight, ILC_COLOR32, 0, 1);
    if (list) ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list));
    return list;
}

LRESULT CALLBACK listViewSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isHeader(window)) return headerProc(window, message, wParam, lParam);
    switch (message) {
        case WM_DESTROY:
            detachEngineImageList(window, locate<ListViewSkinRecord>(window).record);
            break;
        case WM_NCDESTROY:
            destroyEngineImageList(locate<ListViewSkinRecord>(window).record);
            break;
        case WM_MOVE:
            repaintHeader(::FindWindowExW(window, nullptr, WC_HEADERW, nullptr));
            break;
        case WM_MOUSEMOVE:
            // The pointer is over the rows: no header item is under it any more,
            // whenever the header's own leave notice arrives.
            coolHeader(::FindWindowExW(window, nullptr, WC_HEADERW, nullptr));
            break;
    }
    if (auto handled = handleListMessage(window, message, wParam, lParam)) return *handled;
    return callPreviousProc(window, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kListViewClass(ControlProcedure::ListView, listViewSkinProc);

}  // namespace pelmora
