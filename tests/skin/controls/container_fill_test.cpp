// Whether a container's fill lies under its children, as the screen shows it:
// a container inside a background provider, a text label inside the container.
// Changing the setting repaints the label without anything else asking.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>

#include "gfx/drawing_helpers.h"
#include "skin/controls/core/window_properties.h"
#include "skin/skin_engine.h"
#include "tests/skin/controls/control_window_support.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::pumpUntil;

constexpr COLORREF kFill = 0x000000FF;  // red, opaque
constexpr std::uint32_t kFillArgb = 0xFFFF0000;
// What the provider offers: never red.
std::uint32_t offeredAt(int x, int y) {
    return 0xFF000000u | static_cast<std::uint32_t>(20 + y % 100) << 16 | static_cast<std::uint32_t>(x & 0xFF) << 8 |
           0x99u;
}

HWND plainChild(HWND parent, int x, int y, int width, int height) {
    return ::CreateWindowExW(0, test::plainWindowClass(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                             height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// provider (40, 60) > container (20, 20) > label (10, 30), all visible.
class ContainerFill {
public:
    explicit ContainerFill(int initialFillUnderChildren)
        : host_([&](HWND window) {
              offered_.fill(offeredAt);
              provider_ = plainChild(window, 40, 60, 260, 160);
              setPropValue(provider_, kPropOffersBackground, 1);
              setPropValue(provider_, kPropOfferedBackgroundDc, reinterpret_cast<std::intptr_t>(offered_.dc()));
              container_ = plainChild(provider_, 20, 20, 220, 110);
              label_ = test::createChild(container_, L"Static", SS_LEFT, 10, 30, 180, 20, L"安装");
          }) {
        skinEngine().skinContainerWindow(container_, kFill, 255, std::nullopt, initialFillUnderChildren);
    }
    HWND container() const { return container_; }
    // Right of the text, on the label.
    std::uint32_t labelPixel() const { return host_.controlPixel(label_, 160, 10); }
    std::uint32_t offeredUnderLabel() const {
        const RECT r = rectRelativeTo(provider_, label_);
        return offeredAt(r.left + 160, r.top + 10);
    }
    // On the container, clear of the label.
    std::uint32_t containerPixel() const { return host_.controlPixel(container_, 200, 90); }

private:
    test::Canvas offered_{260, 160};
    HWND provider_ = nullptr, container_ = nullptr, label_ = nullptr;
    test::SkinnedControlWindow host_;
};

struct FillCase {
    const char* name;
    int initial, value;
    bool underChildren;
};

TEST(ContainerFillTest, SettingDecidesWhetherTheFillLiesUnderTheChildren) {
    const FillCase cases[] = {
        {"0 takes the fill off the children", 1, 0, false},
        {"1 lays it under them", 0, 1, true},
        {"any other non-zero value lays it under them", 0, 7, true},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        ContainerFill fixture(c.initial);
        const std::uint32_t before = c.underChildren ? fixture.offeredUnderLabel() : kFillArgb;
        if (!pumpUntil([&] { return closeTo(fixture.labelPixel(), before, 2); })) {
            ADD_FAILURE() << "the starting setting does not show";
            continue;
        }

        skinEngine().setContainerItemValue(fixture.container(), c.value);
        const std::uint32_t after = c.underChildren ? kFillArgb : fixture.offeredUnderLabel();
        EXPECT_TRUE(pumpUntil([&] { return closeTo(fixture.labelPixel(), after, 2); }))
            << "the label was not repainted with the new setting";
        // The container itself keeps its fill either way.
        EXPECT_TRUE(closeTo(fixture.containerPixel(), kFillArgb, 2));
    }
}

}  // namespace
}  // namespace pelmora
