// Window handles of the loaded form units, by (window id, unit id).
#pragma once

#include <windows.h>

#include <cstdint>

namespace pelmora {

struct UnitRef {
    std::uint32_t windowId;
    std::uint32_t unitId;
    bool operator==(const UnitRef& o) const { return windowId == o.windowId && unitId == o.unitId; }
};

void registerUnitWindow(UnitRef unit, HWND hwnd);
void forgetUnitWindows(std::uint32_t windowId);
HWND findUnitWindow(UnitRef unit);  // nullptr when the unit is not loaded

// The HWND of a loaded unit. A unit that is not loaded is a programming error
// the installer cannot recover from: it ends through the fatal error box.
HWND windowHandleOf(UnitRef unit);

}  // namespace pelmora
