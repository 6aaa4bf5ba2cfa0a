#include "skin/controls/core/control_background.h"

#include "base/dpi_scale.h"
#include "base/win32_util.h"
#include "gfx/back_buffer.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_path.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

bool isSkinnedWindow(HWND window) {
    return window && findWindowRecord(window) != 0;
}

void copyFrom(HDC target, HDC source, int x, int y, int width, int height) {
    if (source) ::BitBlt(target, 0, 0, width, height, source, x, y, SRCCOPY);
}

HDC composedDcOf(int recordIndex) {
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    return record ? record->image.composed.dc() : nullptr;
}

HDC offeredDcOf(HWND provider) {
    return reinterpret_cast<HDC>(propValue(provider, kPropOfferedBackgroundDc));
}

const ContainerSkinRecord* container(int recordIndex, int containerIndex) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    return record && containerIndex > 0 ? record->controls<ContainerSkinRecord>().find(containerIndex) : nullptr;
}

// The container's colour laid over the buffer: over the whole rectangle, or for
// a group box over its frame, which starts 5 pixels down (at 96 DPI; scaled
// at its window's) so that the caption line crosses its top edge and ends one
// pixel above the bottom. A fresh graphics: no anti-aliasing, so the fill's
// edges fall on whole pixels.
void paintFill(HDC dc, const RECT& r, const ContainerSkinRecord& fill, bool groupBoxShape, UINT dpi) {
    GdipPath path;
    if (!path.create()) return;
    const int top = scaled(5, dpi);
    if (groupBoxShape)
        addRoundedRectangle(path, 0, static_cast<float>(top), static_cast<float>(r.right),
                            static_cast<float>(r.bottom - top - 1), static_cast<float>(scaled(5, dpi)));
    else
        path.addRectangle(0, 0, static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top));
    GdipGraphics graphics;
    GdipSolidBrush brush;
    if (graphics.fromHdc(dc) && brush.create(argbFromColour(fill.colour, static_cast<std::uint8_t>(fill.alpha))))
        graphics.fillPath(brush, path);
}

// The control's own container entry fills in its own shape.
void paintOwnFill(HDC dc, const RECT& r, int recordIndex, int containerIndex) {
    const ContainerSkinRecord* own = container(recordIndex, containerIndex);
    const SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (own && own->colour != 0) paintFill(dc, r, *own, own->groupBox, record ? record->frame.dpi : kBaseDpi);
}

}  // namespace

ControlOwner locateControlOwner(HWND control, bool useProviders) {
    ControlOwner owner;
    if (useProviders && offersBackground(control)) {
        owner.provider = control;
        return owner;
    }
    if (const int index = findWindowRecord(control)) {
        owner.recordIndex = index;
        owner.inWindow = true;
        return owner;
    }
    for (HWND w = control; w;) {
        w = ::GetParent(w);
        if (!w) break;
        if (useProviders && offersBackground(w)) {
            owner.provider = w;
            return owner;
        }
        const auto& records = windowRecords();
        for (size_t j = 0; j < records.size(); ++j) {
            if (records[j]->window == w) {
                owner.recordIndex = static_cast<int>(j) + 1;
                owner.inWindow = true;
                return owner;
            }
            const int k = records[j]->controls<ContainerSkinRecord>().indexOf(w);
            if (!k) continue;
            if (const HWND ancestor = reinterpret_cast<HWND>(keptPropValue(w, kPropProviderAncestor));
                useProviders && ancestor) {
                owner.provider = ancestor;
                return owner;
            }
            owner.recordIndex = static_cast<int>(j) + 1;
            owner.containerIndex = k;
            return owner;
        }
    }
    return owner;
}

RECT offsetInSkinnedWindow(HWND window) {
    if (isSkinnedWindow(window)) return RECT{};
    const SkinnedWindowRecord* owner = windowRecord(findOwnerWindowRecord(window));
    HWND ancestor = window;
    while (ancestor && (!owner || ancestor != owner->window)) ancestor = ::GetParent(ancestor);
    RECT own{}, origin{};
    ::GetWindowRect(window, &own);
    if (ancestor) ::GetWindowRect(ancestor, &origin);
    return {own.left - origin.left, own.top - origin.top, own.right - origin.left, own.bottom - origin.top};
}

int findContainerIndex(int recordIndex, HWND window) {
    return findControl<ContainerSkinRecord>(recordIndex, window);
}

int findFillingContainer(int recordIndex, HWND window, HWND stop) {
    for (HWND w = window; w;) {
        w = ::GetParent(w);
        if (w == stop) return 0;
        const int k = findContainerIndex(recordIndex, w);
        if (k > 0 && container(recordIndex, k)->fillUnderChildren != 0) return k;
    }
    return 0;
}

RECT childRectInParentClient(HWND window) {
    if (isSkinnedWindow(window)) return RECT{};
    HWND parent = ::GetParent(window);
    RECT client = clientRect(parent);
    POINT origin{0, 0};
    ::ClientToScreen(parent, &origin);
    ::OffsetRect(&client, origin.x, origin.y);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.left - client.left, rect.top - client.top, rect.right - client.left, rect.bottom - client.top};
}

HDC excludeChildrenFromClip(HWND window, HDC dc) {
    for (HWND child = ::FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = ::FindWindowExW(window, child, nullptr, nullptr)) {
        if (!::IsWindowVisible(child) || isClickThrough(child)) continue;
        const RECT r = childRectInParentClient(child);
        ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    return dc;
}

bool fillControlBackground(HDC buffer, HWND control, const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    ControlOwner owner = locateControlOwner(control, true);
    int recordIndex = owner.recordIndex;

    if (owner.inWindow) {
        // The skinned window was found on the way up: no second walk up the
        // parents (each step can be a round trip to the window server).
        const SkinnedWindowRecord* skinned = windowRecord(recordIndex);
        const RECT o = skinned && skinned->window != control ? rectRelativeTo(skinned->window, control) : RECT{};
        copyFrom(buffer, composedDcOf(recordIndex), o.left + r.left, o.top + r.top, width, height);
        paintOwnFill(buffer, r, recordIndex, findContainerIndex(recordIndex, control));
    } else if (owner.provider && owner.provider == control) {
        // The control publishes its own background; what lies behind it comes
        // from the provider it sits in, or else from its skinned window.
        if (const HWND outer = reinterpret_cast<HWND>(keptPropValue(control, kPropProviderAncestor))) {
            const RECT o = rectRelativeTo(outer, control);
            copyFrom(buffer, offeredDcOf(outer), o.left + r.left, o.top + r.top, width, height);
        } else if (const int record = findOwnerWindowRecord(control)) {
            const RECT o = rectInRootWindow(control);
            copyFrom(buffer, composedDcOf(record), o.left + r.left, o.top + r.top, width, height);
        }
    } else if (owner.provider) {
        const RECT o = rectRelativeTo(owner.provider, control);
        copyFrom(buffer, offeredDcOf(owner.provider), o.left + r.left, o.top + r.top, width, height);
        if (!recordIndex) recordIndex = findOwnerWindowRecord(control);
        if (!recordIndex) return true;
        if (const int own = findContainerIndex(recordIndex, control)) {
            paintOwnFill(buffer, r, recordIndex, own);
        } else if (const int filling = findFillingContainer(recordIndex, control, owner.provider)) {
            const ContainerSkinRecord* fill = container(recordIndex, filling);
            if (fill->colour != 0) paintFill(buffer, r, *fill, false, kBaseDpi);
        }
    } else {
        if (!recordIndex) recordIndex = findOwnerWindowRecord(control);
        if (recordIndex > 0)
            if (const int own = findContainerIndex(recordIndex, control)) owner.containerIndex = own;
        if (!recordIndex) return false;
        const RECT o = rectInRootWindow(control);
        copyFrom(buffer, composedDcOf(recordIndex), o.left + r.left, o.top + r.top, width, height);
        if (const ContainerSkinRecord* fill = container(recordIndex, owner.containerIndex); fill && fill->colour != 0)
            paintFill(buffer, r, *fill, false, kBaseDpi);
    }
    return true;
}

HDC prepareControlBackground(HWND control, const RECT& r) {
    BackBuffer owned(r.right - r.left, r.bottom - r.top);
    if (!owned || !fillControlBackground(owned.dc(), control, r)) return nullptr;
    return owned.release();
}

}  // namespace pelmora
