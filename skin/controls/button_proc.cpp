// Push buttons, check boxes, radio buttons and the image buttons inside a
// skinned window: the class's procedure as its message table, the repaint used
// for hover and clicks, and what buttons answer for the window they sit in.
#include "skin/controls/button_proc.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/control_install.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

// Asked of the button's own procedure directly: through the window, the
// question would pass this class's procedure and its property look-ups, each a
// round trip to the window server under Wine, at every paint.
bool isTicked(const ButtonSkinRecord& button) {
    const LRESULT check = button.previousProc ? ::CallWindowProcW(button.previousProc, button.window, BM_GETCHECK, 0, 0)
                                              : ::SendMessageW(button.window, BM_GETCHECK, 0, 0);
    return check == BST_CHECKED;
}

bool paintsItself(ButtonKind kind) {
    return kind == ButtonKind::CheckBox || kind == ButtonKind::RadioButton;
}

// A check or radio box paints state 0 on WM_PAINT and after a click, so its
// disabled look comes from the window itself; for every kind a disabled
// window is painted disabled, whoever asked for the paint.
ButtonPaintState effectiveState(HWND button, ButtonPaintState state) {
    if (::IsWindowEnabled(button)) return state;
    return ButtonPaintState(state.bits() | ButtonPaintState::kDisabled);
}

// One paint of a recorded button: the face its kind's painter draws over the
// window's picture under it, copied to `target` at (0, 0). The face is kept in
// the record for everything the painter reads, so a repaint that changes none
// of it (hover out and in again, a window paint) is a copy. The look and the
// check mark are read before anything is drawn.
void paintRecorded(ButtonSkinRecord& button, HDC target, const RECT& r, ButtonPaintState state) {
    ButtonLook look;
    look.caption = button.caption;
    look.fontFace = button.font.face;
    look.fontSize = button.font.size;
    look.fontStyle = button.font.style;
    look.textColour = static_cast<COLORREF>(keptPropValue(button.window, kPropTextColour));
    look.accentColour = controlSettings().accentColour;
    look.dpi = controlDpi(button.window);
    const bool ticked = paintsItself(button.kind) && isTicked(button);
    state = effectiveState(button.window, state);

    FaceKey key;
    key.atDpi(look.dpi)
        .add(static_cast<std::uint64_t>(button.kind))
        .add(state.bits())
        .add(ticked)
        .add(look.caption)
        .add(look.fontFace)
        .add(static_cast<std::uint64_t>(look.fontSize))
        .add(static_cast<std::uint64_t>(look.fontStyle))
        .add(look.textColour)
        .add(look.accentColour);
    if (button.kind == ButtonKind::ImageButton)
        key.addBytes(button.image).add(static_cast<std::uint64_t>(button.imageOption));
    if (button.kind == ButtonKind::StateImageButton)
        key.addBytes(button.image)
            .addBytes(button.hoverImage)
            .addBytes(button.pressedImage)
            .addBytes(button.disabledImage);

    const HDC face = button.face.face(button.window, r, key, [&](HDC dc) {
        GdipGraphics graphics;
        if (!graphics.fromHdc(dc)) return;
        switch (button.kind) {
            case ButtonKind::PushButton:
                paintPushButton(graphics, r, state, look);
                break;
            case ButtonKind::ImageButton:
                paintImageButton(graphics, r, state, button.image, button.imageOption, look);
                break;
            case ButtonKind::StateImageButton:
                paintStateImageButton(graphics, r, state,
                                      {button.image, button.hoverImage, button.pressedImage, button.disabledImage},
                                      look);
                break;
            case ButtonKind::CheckBox:
                paintCheckBox(graphics, r, state, ticked, look);
                break;
            case ButtonKind::RadioButton:
                paintRadioButton(graphics, r, state, ticked, look);
                break;
        }
    });
    if (face) ::BitBlt(target, 0, 0, r.right - r.left, r.bottom - r.top, face, 0, 0, SRCCOPY);
}

// --- Message handlers -------------------------------------------------------

LRESULT onPaint(HWND button, const ButtonSkinRecord& record, WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button's own procedure sends its parent WM_DRAWITEM.
    if (!paintsItself(record.kind)) return callPreviousProc(button, WM_PAINT, wParam, lParam);
    {
        const PaintScope paint(button);
        paintButtonState(button, ButtonPaintState(), false);
    }
    return ::DefWindowProcW(button, WM_PAINT, wParam, lParam);
}

// Nothing is erased: the painters lay the window's picture down themselves.
LRESULT onEraseBackground(HWND button, HDC dc) {
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<LRESULT>(::SetTextColor(dc, static_cast<COLORREF>(keptPropValue(button, kPropTextColour))));
}

// BM_SETCHECK, a press and the space key: the previous procedure changes the
// check state first, then the box is drawn at once, so the mark always follows
// BM_GETCHECK without waiting for a WM_PAINT.
LRESULT onCheckChange(HWND button, const ButtonSkinRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT previous = callPreviousProc(button, message, wParam, lParam);
    if (!paintsItself(record.kind)) return previous;
    const ButtonPaintState state =
        record.kind == ButtonKind::RadioButton ? ButtonPaintState(ButtonPaintState::kPressed) : ButtonPaintState();
    paintButtonState(button, state, false);
    return ::DefWindowProcW(button, message, wParam, lParam);
}

void onMouseMove(HWND button, const Located<ButtonSkinRecord>& at) {
    requestMouseLeave(button);
    if (takeHoverHighlight(*at.window, HotClass::Button, at.index)) paintButtonState(button, ButtonPaintState(), true);
}

void onMouseLeave(HWND button, const Located<ButtonSkinRecord>& at) {
    dropHoverHighlight(*at.window);
    const UINT resting = at.record->focused ? ButtonPaintState::kFocused : 0;
    paintButtonState(button, ButtonPaintState(resting), false);
}

bool isButton(HWND control) {
    return hasWindowClass(control, L"Button");
}

// WM_DRAWITEM of an owner-drawn button, painted for the window that owns it;
// the message then goes on to the window's previous procedure.
std::optional<LRESULT> drawButtonItem(const DRAWITEMSTRUCT& item) {
    drawOwnerButton(keptPropIndex(item.hwndItem, kPropOwnerIndex), item);
    return std::nullopt;
}

void buttonCommand(HWND control, int) {
    refreshButtonAfterCommand(control);
}

}  // namespace

// Control colours stay the shared answer: the null brush, so a button draws
// on the picture.
const ControlClass kButtonClass = ControlClass(ControlProcedure::Button, buttonSkinProc)
                                      .ownsWindows(isButton)
                                      .answersCommand(buttonCommand)
                                      .answersDrawItem(drawButtonItem);

LRESULT CALLBACK buttonSkinProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto at = locate<ButtonSkinRecord>(button);
    if (!at) return callPreviousProc(button, message, wParam, lParam);
    ButtonSkinRecord& record = *at.record;
    switch (message) {
        case WM_MOVE:
            // The window's picture behind the button changed.
            ::InvalidateRect(button, nullptr, TRUE);
            break;
        case WM_SETFOCUS:
            record.focused = true;
            break;
        case WM_KILLFOCUS:
            record.focused = false;
            break;
        case WM_SETTEXT:
            record.caption = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            break;
        case WM_PAINT:
            return onPaint(button, record, wParam, lParam);
        case WM_ERASEBKGND:
            return onEraseBackground(button, reinterpret_cast<HDC>(wParam));
        case WM_NCPAINT:
            return 1;  // a button has no frame of its own to draw
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) return onCheckChange(button, record, message, wParam, lParam);
            break;
        case BM_SETSTYLE:
            // A dialog marks its default push button with BM_SETSTYLE, which
            // replaces the button type: the engine's buttons stay owner-drawn.
            if (!paintsItself(record.kind))
                return callPreviousProc(button, message, (wParam & ~WPARAM{BS_TYPEMASK}) | BS_OWNERDRAW, lParam);
            break;
        case BM_SETCHECK:
        case WM_LBUTTONDOWN:
            return onCheckChange(button, record, message, wParam, lParam);
        case WM_MOUSEMOVE:
            onMouseMove(button, at);
            break;
        case WM_LBUTTONUP:
            // The next move after a click paints the hot look again.
            dropHoverHighlight(*at.window);
            break;
        case WM_LBUTTONDBLCLK:
            // The first click already reached the button; a second press
            // within the double-click time would click it again.
            return 0;
        case WM_MOUSELEAVE:
            onMouseLeave(button, at);
            break;
        default:
            break;
    }
    return callPreviousProc(button, message, wParam, lParam);
}

void paintButtonState(HWND button, ButtonPaintState state, bool hot) {
    const auto at = locate<ButtonSkinRecord>(button);
    if (!at) return;
    RECT r{};
    ::GetClientRect(button, &r);
    const WindowDc screen(button);
    paintRecorded(*at.record, screen.get(), r, hot ? state.withHot() : state);
}

bool drawOwnerButton(int windowIndex, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    const auto at = locate<ButtonSkinRecord>(item.hwndItem);
    if (!at || at.window != windowRecord(windowIndex) || paintsItself(at.record->kind)) return false;
    paintRecorded(*at.record, item.hDC, item.rcItem, ButtonPaintState(item.itemState));
    return true;
}

ButtonSkinRecord* takeImageButton(HWND button, const std::wstring& tooltip) {
    const int windowIndex = findOwnerWindowRecord(button);
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    if (!owner) return nullptr;
    int index = owner->controls<ButtonSkinRecord>().indexOf(button);
    if (!index) index = installPushButton(windowIndex, button);
    ButtonSkinRecord* record = owner->controls<ButtonSkinRecord>().find(index);
    if (!record || paintsItself(record->kind)) return nullptr;
    if (!tooltip.empty()) {
        if (!record->tooltip.getWindow()) {
            RECT r{};
            ::GetClientRect(button, &r);
            record->tooltip.create(button);
            record->tooltip.addTool(r, tooltip, 1);
        } else {
            record->tooltip.setToolText(tooltip, 1);
        }
    }
    return record;
}

void refreshButtonAfterCommand(HWND control) {
    const auto at = locate<ButtonSkinRecord>(control);
    if (at.record && paintsItself(at.record->kind)) paintButtonState(control, ButtonPaintState(), false);
}

}  // namespace pelmora
