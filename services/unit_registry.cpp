#include "services/unit_registry.h"

#include <algorithm>
#include <vector>

#include "services/program_end.h"

namespace pelmora {
namespace {

struct Entry {
    UnitRef unit;
    HWND hwnd;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

}  // namespace

void registerUnitWindow(UnitRef unit, HWND hwnd) {
    auto& list = entries();
    for (auto& e : list) {
        if (e.unit == unit) {
            e.hwnd = hwnd;
            return;
        }
    }
    list.push_back({unit, hwnd});
}

void forgetUnitWindows(std::uint32_t windowId) {
    auto& list = entries();
    list.erase(std::remove_if(list.begin(), list.end(), [&](const Entry& e) { return e.unit.windowId == windowId; }),
               list.end());
}

HWND findUnitWindow(UnitRef unit) {
    for (const auto& e : entries()) {
        if (e.unit == unit) return e.hwnd;
    }
    return nullptr;
}

HWND windowHandleOf(UnitRef unit) {
    HWND hwnd = findUnitWindow(unit);
    if (!hwnd) fatalError(L"指定窗口或窗口组件不存在或尚未载入");
    return hwnd;
}

}  // namespace pelmora
