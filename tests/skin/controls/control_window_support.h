// A real skinned window on the test display for the control procedures: a
// picture whose every pixel differs from its neighbours, translucent control
// backgrounds with alpha 0 and a red accent, as the installer sets them up.
// The children are made before the window is skinned, so the class installers
// take them; pixels are read back from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "tests/skin/skin_test_support.h"

namespace pelmora::test {

constexpr COLORREF kTestAccent = 0x000000FF;  // red

// Never white, black, red or grey.
std::uint32_t windowPicture(int x, int y);

class SkinnedControlWindow {
public:
    // `makeChildren` runs on the bare window, before skinning.
    explicit SkinnedControlWindow(const std::function<void(HWND window)>& makeChildren, int width = 400,
                                  int height = 300);
    ~SkinnedControlWindow();
    SkinnedControlWindow(const SkinnedControlWindow&) = delete;
    SkinnedControlWindow& operator=(const SkinnedControlWindow&) = delete;

    HWND window() const { return window_; }
    POINT origin() const { return origin_; }
    // Opaque 0xFFRRGGBB of the screen at a point of the window's client area.
    std::uint32_t pixel(int x, int y) const;
    // ... and at a point of a control's window rectangle.
    std::uint32_t controlPixel(HWND control, int x, int y) const;
    // The picture under that point.
    std::uint32_t pictureUnder(HWND control, int x, int y) const;
    // Moves the real pointer to a point of a control's window rectangle.
    void pointAt(HWND control, int x, int y) const;

private:
    SkinState state_;
    HWND window_ = nullptr;
    POINT origin_{60, 60};
};

void drainMessages();
// Pumps messages until `ready` holds or the time is up; the caller checks the state itself.
bool pumpUntil(const std::function<bool()>& ready, DWORD timeoutMs = 3000);
// Pumps for a while, for checks that something does NOT happen.
void pumpFor(DWORD ms);

bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance = 3);
// `colour` at `alpha` over the opaque `base`.
std::uint32_t over(std::uint32_t base, std::uint32_t colour, int alpha);
// Red strength: how far red stands above the other two channels.
int redness(std::uint32_t argb);

}  // namespace pelmora::test
