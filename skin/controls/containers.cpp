#include "skin/controls/containers.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/container_paint.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/control_install.h"
#include "skin/controls/control_text.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_font.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

// The group-box type of a "Button" carries this bit (BS_GROUPBOX is 7); the
// fill then takes the frame's shape.
constexpr DWORD kGroupBoxBit = 0x4;

bool isGroupBox(HWND window) {
    return hasWindowClass(window, L"Button") && (windowStyle(window) & kGroupBoxBit);
}

// The nearest ancestor that publishes its own background, or null.
HWND nearestProvider(HWND window) {
    for (HWND up = ::GetParent(window); up; up = ::GetParent(up))
        if (offersBackground(up)) return up;
    return nullptr;
}

ContainerSkinRecord* containerRecordOf(HWND container) {
    return locate<ContainerSkinRecord>(container).record;
}

LRESULT callPrevious(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(propValue(container, kPropPreviousProc));
    return previous ? ::CallWindowProcW(previous, container, message, wParam, lParam)
                    : ::DefWindowProcW(container, message, wParam, lParam);
}

// The container and everything inside it drawn again over the picture.
void repaintWithChildren(HWND container) {
    ::RedrawWindow(container, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// The picture (with the container's fill) under the client area, and for a
// group box its frame and caption over it. The children keep their pixels.
void paintContainer(HWND container, const ContainerSkinRecord& record) {
    const PaintScope paint(container);
    const RECT rc = clientRect(container);
    const SizeI size{rc.right, rc.bottom};
    if (size.width <= 0 || size.height <= 0) return;
    const ControlBackground background(container, rc);
    if (!background) return;
    if (record.groupBox) {
        GdipGraphics graphics;
        if (graphics.fromHdc(background.dc())) {
            GroupBoxPaint box;
            box.size = size;
            const std::wstring caption = windowText(container);
            box.caption = caption;
            box.font = record.groupBoxFont;
            box.textColour = static_cast<COLORREF>(keptPropValue(container, kPropTextColour));
            box.dpi = controlDpi(container);
            paintGroupBox(graphics, box, controlSettings());
            graphics.flush(Gdiplus::FlushIntentionSync);
        }
    }
    excludeChildrenFromClip(container, paint.dc());
    ::BitBlt(paint.dc(), 0, 0, size.width, size.height, background.dc(), 0, 0, SRCCOPY);
}

// A toolbar (or any window the control layer runs) paints itself through the
// layer underneath; every other container is painted by the engine alone.
bool paintedByControlLayer(HWND container) {
    return ::GetPropW(container, kPropLayerPreviousProc) != nullptr;
}

}  // namespace

int skinContainerWindow(HWND window, const ContainerOptions& options) {
    const int ownerIndex = findOwnerWindowRecord(window);
    SkinnedWindowRecord* owner = windowRecord(ownerIndex);
    if (!owner || owner->controls<ContainerSkinRecord>().indexOf(window)) return 0;
    // A window already run by an engine procedure would forward to itself.
    if (::GetPropW(window, kPropPreviousProc)) return 0;
    const int index = owner->controls<ContainerSkinRecord>().takeSlot();
    ContainerSkinRecord& record = owner->controls<ContainerSkinRecord>().at(index);
    record.window = window;
    record.colour = options.colour.value_or(0);
    record.alpha = options.alpha.value_or(255);
    record.fillUnderChildren = options.fillUnderChildren.value_or(1);
    if (isGroupBox(window)) {
        record.groupBox = true;
        record.groupBoxFont = readControlFont(window);
        if (record.groupBoxFont.face.empty()) record.groupBoxFont.face = kFallbackFace;
        if (record.groupBoxFont.size == 0) record.groupBoxFont.size = kFallbackFontSize;
    }
    installControlsOf(ownerIndex, window, true);
    setPropValue(window, kPropListIndex, index);
    setPropValue(window, kPropOwnerIndex, ownerIndex);
    record.previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&containerProc)));
    setPropValue(window, kPropPreviousProc, reinterpret_cast<std::intptr_t>(record.previousProc));
    setPropValue(window, kPropProviderAncestor, reinterpret_cast<std::intptr_t>(nearestProvider(window)));
    if (::IsWindowVisible(window)) repaintWithChildren(window);
    return index;
}

bool setContainerFillUnderChildren(HWND window, int value) {
    ContainerSkinRecord* record = containerRecordOf(window);
    if (!record) return false;
    record->fillUnderChildren = value;
    repaintWithChildren(window);
    return true;
}

LRESULT CALLBACK containerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    const ContainerSkinRecord* record = containerRecordOf(container);
    switch (message) {
        case WM_COMMAND: {
            answerForParent(message, wParam, lParam);
            const LRESULT result = callPrevious(container, message, wParam, lParam);
            // A group box drops its children's commands; the window it sits in
            // is where a program listens for them.
            if (record && record->groupBox && lParam) ::SendMessageW(::GetParent(container), message, wParam, lParam);
            return result;
        }
        case WM_PAINT:
            if (!record || paintedByControlLayer(container)) break;
            paintContainer(container, *record);
            return 0;
        case WM_ERASEBKGND:
            // The paint covers the whole client area with the picture.
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            if (!record || paintedByControlLayer(container)) break;
            return 1;
        case WM_SHOWWINDOW: {
            const LRESULT result = callPrevious(container, message, wParam, lParam);
            if (wParam) repaintWithChildren(container);
            return result;
        }
        case WM_MOVE:
            // The picture behind it changed, whatever its fill.
            repaintWithChildren(container);
            break;
        default:
            // The other messages from a child (WM_COMMAND is handled above).
            if (isParentMessage(message))
                if (auto answer = answerForParent(message, wParam, lParam)) return *answer;
            break;
    }
    return callPrevious(container, message, wParam, lParam);
}

}  // namespace pelmora
