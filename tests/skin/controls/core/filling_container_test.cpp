// Which recorded container passes its fill to a control: the nearest ancestor
// that lets its fill lie under its children, found below the stop window only.
#include <windows.h>
#include <gtest/gtest.h>

#include "skin/controls/core/control_background.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

constexpr int kNotAContainer = -1;

enum class Level { None, Outer, Middle, Control };

struct FillingCase {
    const char* name;
    int outerFill, middleFill, controlFill;  // fillUnderChildren, or kNotAContainer
    Level stop;
    Level expected;
};

// host (recorded) > outer > middle > control
TEST(FindFillingContainerTest, NearestFillingAncestorBelowTheStop) {
    const int none = kNotAContainer;
    const FillingCase cases[] = {
        {"parent fills", none, 1, none, Level::None, Level::Middle},
        {"any non-zero value fills", none, 3, none, Level::None, Level::Middle},
        {"parent that keeps its fill is passed over", 1, 0, none, Level::None, Level::Outer},
        {"nearest of two filling containers", 1, 1, none, Level::None, Level::Middle},
        {"no ancestor fills", 0, 0, none, Level::None, Level::None},
        {"no container at all", none, none, none, Level::None, Level::None},
        {"the control's own entry does not count", none, none, 1, Level::None, Level::None},
        {"search ends at the stop", 1, none, none, Level::Middle, Level::None},
        {"the stop itself is not searched", none, 1, none, Level::Middle, Level::None},
        {"a filling container below the stop is found", 1, 1, none, Level::Outer, Level::Middle},
    };
    for (const FillingCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::SkinState state;
        HWND host = test::createHostWindow(100, 100, 300, 200);
        const int recordIndex = test::recordWindow(host);
        HWND outer = test::createChild(host, L"Static", 0, 10, 10, 250, 150);
        HWND middle = test::createChild(outer, L"Static", 0, 10, 10, 200, 100);
        HWND control = test::createChild(middle, L"Button", BS_PUSHBUTTON, 10, 10, 80, 24);
        int indexOf[4] = {0, 0, 0, 0};
        const std::pair<Level, int> fills[] = {
            {Level::Outer, c.outerFill}, {Level::Middle, c.middleFill}, {Level::Control, c.controlFill}};
        const HWND windows[4] = {nullptr, outer, middle, control};
        for (auto [level, fill] : fills) {
            if (fill == kNotAContainer) continue;
            auto& list = windowRecord(recordIndex)->controls<ContainerSkinRecord>();
            const int index = list.takeSlot();
            list.at(index).window = windows[static_cast<int>(level)];
            list.at(index).colour = 0x00FFFFFF;
            list.at(index).fillUnderChildren = fill;
            indexOf[static_cast<int>(level)] = index;
        }
        EXPECT_EQ(findFillingContainer(recordIndex, control, windows[static_cast<int>(c.stop)]),
                  indexOf[static_cast<int>(c.expected)]);
        ::DestroyWindow(host);
    }
}

}  // namespace
}  // namespace pelmora
