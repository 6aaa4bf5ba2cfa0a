// List boxes, tree views and the other list-type controls: the engine paints
// their border in the non-client area around the native scroll bars and, while
// backgrounds are translucent, shows the window's picture where they paint
// their background. The native control keeps its items, selection and caret.
// The common-controls header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <windowsx.h>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/back_buffer.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/controls/key_colour.h"
#include "skin/controls/list_paint.h"

namespace pelmora {
namespace {

bool isListBox(HWND control) {
    return hasWindowClass(control, L"ListBox");
}
bool isTreeView(HWND control) {
    return hasWindowClass(control, WC_TREEVIEWW);
}
bool isListView(HWND control) {
    return hasWindowClass(control, WC_LISTVIEWW);
}
bool isComboList(HWND control) {
    return hasWindowClass(control, L"ComboLBox");
}

bool isListControl(HWND control) {
    return isListBox(control) || isTreeView(control);
}

bool translucent() {
    return controlSettings().translucentBackgrounds;
}

// A list box that draws its own text: the engine keys its background out.
bool keysItsBackground(HWND list) {
    return isListBox(list) && !isOwnerDrawnListBox(windowStyle(list));
}

// The classes whose paint goes through a key colour while translucent: a list
// box fills every item with its background colour (the parent's answer makes
// that the key), and a tree view was given the key as its background.
bool paintsKeyed(HWND list) {
    return keysItsBackground(list) || isTreeView(list);
}

// A recorded list box fills its items and the space below them in the key
// colour, which its paint then replaces with the picture; any other list box
// draws on what is already there.
std::optional<LRESULT> listColour(UINT message, HDC dc, HWND list) {
    if (message != WM_CTLCOLORLISTBOX) return answerColourByMessage(message, dc, list);
    if (!isListBox(list)) return std::nullopt;
    const SkinnedWindowRecord* record = windowRecord(findOwnerWindowRecord(list));
    if (!record || !record->controls<ListSkinRecord>().indexOf(list)) return answerWithNullBrush(list, dc);
    if (!keysItsBackground(list)) return std::nullopt;
    ::SetTextColor(dc, static_cast<COLORREF>(keptPropValue(list, kPropTextColour)));
    ::SetBkColor(dc, kTreeViewKeyColour);
    ::SetDCBrushColor(dc, kTreeViewKeyColour);
    return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
}

// A new selection, or a cancelled one, redraws the list over the picture.
void listCommand(HWND list, int code) {
    if (isListBox(list) && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ::InvalidateRect(list, nullptr, TRUE);
}

// A tree view that opens or closes an item repaints the rows that moved.
void treeNotify(const NMHDR& header) {
    if (header.code == TVN_ITEMEXPANDINGA || header.code == TVN_ITEMEXPANDEDA || header.code == TVN_ITEMEXPANDEDW)
        ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
}

using ListLocation = Located<ListSkinRecord>;

bool holdsHighlight(const SkinnedWindowRecord* owner, int index) {
    return owner && index && owner->hotIndex == index && owner->hotClass == HotClass::ListControl;
}

// The frame painted over the picture, copied into the non-client area only:
// the client and the native scroll bars keep their own pixels.
void copyFrameToScreen(HWND list, HDC frame, const ListFramePaint& paint) {
    const NonClientDc screen(list);
    const RectI& client = paint.client;
    ::ExcludeClipRect(screen.get(), client.x, client.y, client.x + client.width, client.y + client.height);
    RECT window{};
    ::GetWindowRect(list, &window);
    for (const RECT& bar : scrollBarRects(list))
        ::ExcludeClipRect(screen.get(), bar.left - window.left, bar.top - window.top, bar.right - window.left,
                          bar.bottom - window.top);
    const int w = paint.window.width, h = paint.window.height;
    // A combo box's drop-down list lies outside the window's picture: what the
    // painter left in the key colour stays the system's own paint.
    if (paint.comboList)
        ::TransparentBlt(screen.get(), 0, 0, w, h, frame, 0, 0, w, h, kComboListKeyColour);
    else
        ::BitBlt(screen.get(), 0, 0, w, h, frame, 0, 0, SRCCOPY);
}

void drawFrame(HDC target, const ListFramePaint& paint) {
    GdipGraphics graphics;
    if (!graphics.fromHdc(target)) return;
    paintListFrame(graphics, paint, controlSettings());
    graphics.flush(Gdiplus::FlushIntentionSync);
}

void paintFrameOf(HWND list) {
    const ListLocation at = locate<ListSkinRecord>(list);
    if (at) paintListFrame(at);
}

// The colour the control writes its items in.
COLORREF inkOf(HWND list) {
    if (isTreeView(list)) {
        const auto colour = static_cast<COLORREF>(::SendMessageW(list, TVM_GETTEXTCOLOR, 0, 0));
        return colour == CLR_NONE ? ::GetSysColor(COLOR_WINDOWTEXT) : colour;
    }
    return static_cast<COLORREF>(keptPropValue(list, kPropTextColour));
}

// The picture (under the white of the background alpha) with the control's
// own paint over it, every pixel it left in the key colour showing the
// picture and the edges of its text blended onto it. The native paint goes
// into a buffer first, so the screen never shows the key.
LRESULT paintKeyedOverPicture(HWND list, LPARAM lParam) {
    const PaintScope paint(list);
    const RECT rc = clientRect(list);
    const int w = rc.right, h = rc.bottom;
    const BackBuffer base(w, h);
    if (w <= 0 || h <= 0 || !paintEditBackground(list, base.dc()))
        return callPreviousProc(list, WM_PAINT, reinterpret_cast<WPARAM>(paint.dc()), lParam);
    const BackBuffer drawn(w, h);
    {
        GdiBrush key(::CreateSolidBrush(kTreeViewKeyColour));
        ::FillRect(drawn.dc(), &rc, key.get());
    }
    const LRESULT result = callPreviousProc(list, WM_PAINT, reinterpret_cast<WPARAM>(drawn.dc()), lParam);
    composeOverKey(base.dc(), drawn.dc(), SizeI{w, h}, kTreeViewKeyColour, inkOf(list));
    ::BitBlt(paint.dc(), 0, 0, w, h, base.dc(), 0, 0, SRCCOPY);
    return result;
}

bool erasesWithPicture(HWND list) {
    return isTreeView(list) || isListView(list) || keysItsBackground(list) || isComboList(list);
}

LRESULT eraseWithPicture(HWND list, HDC dc, WPARAM wParam, LPARAM lParam) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, static_cast<COLORREF>(keptPropValue(list, kPropTextColour)));
    // A drop-down list away from the window has no picture behind it.
    if (!paintEditBackground(list, dc)) return callPreviousProc(list, WM_ERASEBKGND, wParam, lParam);
    return 1;
}

}  // namespace

const ControlClass kListClass = ControlClass(ControlProcedure::ListControl, listSkinProc)
                                    .ownsWindows(isListControl)
                                    .answersColour(listColour)
                                    .answersCommand(listCommand)
                                    .answersNotify(treeNotify);

void paintListFrame(const ListLocation& at, std::optional<bool> hot, std::optional<bool> focused) {
    const ListSkinRecord* record = at.record;
    if (!record) return;
    HWND list = record->window;
    ListFramePaint paint;
    paint.window = windowSizeOf(list);
    if (paint.window.width <= 0 || paint.window.height <= 0) return;
    paint.client = clientAreaInWindow(list);
    paint.hot = hot.value_or(holdsHighlight(at.window, at.index));
    paint.focused = focused.value_or(record->focused);
    paint.border = hasListBorder(windowStyle(list), static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_EXSTYLE)));
    // Only a dropped-down list lies outside the window's picture; the list of
    // a simple combo box is a child like any other.
    paint.comboList = isComboList(list) && !(windowStyle(list) & WS_CHILD);
    paint.dpi = at.window ? at.window->frame.dpi : controlDpi(list);
    if (paint.comboList) {
        const BackBuffer buffer(paint.window.width, paint.window.height);
        drawFrame(buffer.dc(), paint);
        copyFrameToScreen(list, buffer.dc(), paint);
        return;
    }
    const ControlSettings& settings = controlSettings();
    FaceKey key;
    key.add(paint.hot)
        .add(paint.focused)
        .add(paint.border)
        .add(paint.client)
        .add(settings.accentColour)
        .add(settings.translucentBackgrounds)
        .add(static_cast<std::uint64_t>(settings.backgroundAlpha));
    const HDC face = record->face.face(list, RECT{0, 0, paint.window.width, paint.window.height}, key,
                                       [&](HDC dc) { drawFrame(dc, paint); });
    if (face) copyFrameToScreen(list, face, paint);
}

std::optional<LRESULT> handleListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const ListLocation at = locate<ListSkinRecord>(list);
    switch (message) {
        case WM_MOUSEMOVE:
            requestMouseLeave(list);
            if (at && takeHoverHighlight(*at.window, HotClass::ListControl, at.index)) paintListFrame(at, true);
            return std::nullopt;
        case WM_MOUSELEAVE:
            if (at.window) dropHoverHighlight(*at.window);
            if (at) paintListFrame(at, false);
            return std::nullopt;
        case WM_MOVE:
            if (translucent()) ::InvalidateRect(list, nullptr, TRUE);
            return std::nullopt;
        case WM_ERASEBKGND:
            if (!translucent() || !erasesWithPicture(list)) return std::nullopt;
            return eraseWithPicture(list, reinterpret_cast<HDC>(wParam), wParam, lParam);
        case WM_PAINT:
            paintFrameOf(list);
            if (translucent() && paintsKeyed(list)) return paintKeyedOverPicture(list, lParam);
            return std::nullopt;
        case WM_NCPAINT:
            paintFrameOf(list);
            return paintNativeScrollBars(list);
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            if (at.record) at.record->focused = message == WM_SETFOCUS;
            const LRESULT result = callPreviousProc(list, message, wParam, lParam);
            paintFrameOf(list);
            return result;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL: {
            // The control scrolls by copying its pixels, the picture under the
            // lines with them; the whole area is drawn again once it moved.
            const LRESULT result = callPreviousProc(list, message, wParam, lParam);
            if (translucent()) ::InvalidateRect(list, nullptr, TRUE);
            return result;
        }
        default:
            return std::nullopt;
    }
}

LRESULT CALLBACK listSkinProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto handled = handleListMessage(list, message, wParam, lParam)) return *handled;
    return callPreviousProc(list, message, wParam, lParam);
}

}  // namespace pelmora
