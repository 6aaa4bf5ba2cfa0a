// Edit boxes: the native edit keeps its text and caret; the engine paints the
// border in the non-client area (the native scroll bars stay) and, while
// backgrounds are translucent, lets the window's picture show through the
// text area. Everything the procedure does not handle goes to the edit's own
// procedure.
#include <windowsx.h>

#include <vector>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/edit_paint.h"

namespace pelmora {
namespace {

using EditLocation = Located<EditSkinRecord>;

bool translucent() {
    return controlSettings().translucentBackgrounds;
}

bool hasScrollBars(HWND edit) {
    return (windowStyle(edit) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

bool insideComboBox(HWND edit) {
    return hasWindowClass(::GetParent(edit), L"ComboBox");
}

// An edit shows its hot border for as long as it holds the window's hover highlight, through repaints too.
bool holdsHighlight(HWND edit, const EditLocation& at) {
    const SkinnedWindowRecord* owner = at.window;
    return owner && at.record && owner->hotIndex == at.index && owner->hotClass == HotClass::Edit &&
           owner->hotEditParent == ::GetParent(edit);
}

void invalidate(HWND edit) {
    ::InvalidateRect(edit, nullptr, TRUE);
}

void onMouseMove(HWND edit, const EditLocation& at) {
    requestMouseLeave(edit);
    if (at && takeHoverHighlight(*at.window, HotClass::Edit, at.index, ::GetParent(edit)))
        paintEditFrame(edit, std::nullopt, true);
    // A selection drag moves the highlighted text over the picture.
    if (at.record && at.record->mouseDown && !hasScrollBars(edit)) invalidate(edit);
}

bool isEdit(HWND control) {
    return hasWindowClass(control, L"Edit");
}

std::optional<LRESULT> editColour(UINT message, HDC dc, HWND edit) {
    // The edit of a combo box is answered by the combo box.
    if (message == WM_CTLCOLOREDIT && insideComboBox(edit)) return std::nullopt;
    return answerColourByMessage(message, dc, edit);
}

// Scrolled or changed text is drawn over the picture again.
void editCommand(HWND edit, int code) {
    if (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE) invalidate(edit);
}

void onKillFocus(HWND edit, EditSkinRecord* record) {
    if (record) record->focused = false;
    if (insideComboBox(edit))
        invalidate(edit);
    else
        paintEditFrame(edit, std::nullopt, false);
}

}  // namespace

const ControlClass kEditClass = ControlClass(ControlProcedure::Edit, editSkinProc)
                                    .ownsWindows(isEdit)
                                    .answersColour(editColour)
                                    .answersCommand(editCommand);

void paintEditFrame(HWND edit, std::optional<bool> focused, std::optional<bool> hot) {
    const EditLocation at = locate<EditSkinRecord>(edit);
    const bool isFocused = focused.value_or(at.record && at.record->focused);
    const bool isHot = hot.value_or(holdsHighlight(edit, at));
    const SizeI size = windowSizeOf(edit);
    if (size.width <= 0 || size.height <= 0) return;
    const RectI client = clientAreaInWindow(edit);
    const EditBorderLook look = editBorderLook(isHot, isFocused);
    const ControlSettings& settings = controlSettings();
    const UINT dpi = at.window ? at.window->frame.dpi : controlDpi(edit);
    FaceKey key;
    key.atDpi(dpi)
        .add(static_cast<std::uint64_t>(look))
        .add(static_cast<std::uint64_t>(client.x))
        .add(static_cast<std::uint64_t>(client.y))
        .add(static_cast<std::uint64_t>(client.width))
        .add(static_cast<std::uint64_t>(client.height))
        .add(settings.translucentBackgrounds)
        .add(static_cast<std::uint64_t>(settings.backgroundAlpha))
        .add(settings.accentColour);
    // An edit the window did not record (one of a combo box) is drawn afresh every time.
    CachedFace unrecorded;
    CachedFace& kept = at.record ? at.record->face : unrecorded;
    const HDC face = kept.face(edit, RECT{0, 0, size.width, size.height}, key, [&](HDC dc) {
        GdipGraphics graphics;
        if (!graphics.fromHdc(dc)) return;
        paintEditFrame(graphics, size, client, look, settings, dpi);
        graphics.flush(Gdiplus::FlushIntentionSync);
    });
    if (!face) return;
    const NonClientDc screen(edit);
    ::ExcludeClipRect(screen.get(), client.x, client.y, client.x + client.width, client.y + client.height);
    RECT window{};
    ::GetWindowRect(edit, &window);
    // The native scroll bars are drawn by the system; painting under them first would flicker.
    for (const RECT& bar : scrollBarRects(edit))
        ::ExcludeClipRect(screen.get(), bar.left - window.left, bar.top - window.top, bar.right - window.left,
                          bar.bottom - window.top);
    ::BitBlt(screen.get(), 0, 0, size.width, size.height, face, 0, 0, SRCCOPY);
}

// The text area comes from the pair the window keeps for the edit's brush,
// so the erase and the colour answer share one kept picture.
bool paintEditBackground(HWND edit, HDC dc) {
    const RectI client = clientAreaInWindow(edit);
    if (ControlBrushes* brushes = controlBrushesOf(edit))
        if (const HDC area = brushes->translucentArea(edit))
            return ::BitBlt(dc, 0, 0, client.width, client.height, area, 0, 0, SRCCOPY) != 0;
    const SizeI size = windowSizeOf(edit);
    const ControlBackground background(edit, RECT{0, 0, size.width, size.height});
    if (!background) return false;
    return paintEditBackground(background.dc(), client, controlSettings().backgroundAlpha, dc);
}

LRESULT CALLBACK editSkinProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const EditLocation at = locate<EditSkinRecord>(edit);
    EditSkinRecord* record = at.record;
    switch (message) {
        case WM_DESTROY:
            releaseControlColours(edit);
            break;
        case WM_MOVE:
            if (translucent()) invalidate(edit);
            break;
        case WM_SETFOCUS: {
            if (record) record->focused = true;
            const LRESULT result = callPreviousProc(edit, message, wParam, lParam);
            // The focused border shows at once, not at the next paint.
            if (!insideComboBox(edit)) paintEditFrame(edit);
            return result;
        }
        case WM_KILLFOCUS:
            onKillFocus(edit, record);
            break;
        case WM_PAINT:
            paintEditFrame(edit);
            break;
        case WM_ERASEBKGND:
            if (!translucent()) break;
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            paintEditBackground(edit, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_NCPAINT:
            paintEditFrame(edit);
            return paintNativeScrollBars(edit);
        case WM_KEYDOWN:
            if (translucent() && !hasScrollBars(edit)) invalidate(edit);
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (translucent()) invalidate(edit);
            break;
        case WM_MOUSEMOVE:
            onMouseMove(edit, at);
            break;
        case WM_LBUTTONDOWN:
            if (record) record->mouseDown = true;
            if (translucent() && !hasScrollBars(edit)) invalidate(edit);
            break;
        case WM_LBUTTONUP:
            if (record) record->mouseDown = false;
            break;
        case WM_MOUSELEAVE:
            if (at.window) dropHoverHighlight(*at.window);
            paintEditFrame(edit, std::nullopt, false);
            break;
    }
    return callPreviousProc(edit, message, wParam, lParam);
}

}  // namespace pelmora
