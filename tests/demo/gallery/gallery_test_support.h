// The skin gallery opened inside the test process: the skin module running for
// the whole run, a fresh gallery per test at a fixed place on the display,
// message pumping with a bounded wait, and the pixels the display shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "demo/gallery/gallery_window.h"
#include "tests/support/live_objects.h"

namespace pelmora::test {

// Dispatches every pending message.
void drainMessages();

// Pumps messages until `ready` holds or `timeoutMs` passes; the caller checks
// the state itself, so a timeout shows up as a failed expectation.
template <typename F>
bool pumpUntil(F ready, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        drainMessages();
        if (ready()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(2);
    }
}

// Puts the pointer at `at` (screen coordinates) and keeps it moving by a pixel
// while pumping, until `ready` holds: one synthetic move can arrive before the
// window is ready to track the mouse.
template <typename F>
bool hoverUntil(POINT at, F ready, DWORD timeoutMs = 3000) {
    int step = 0;
    return pumpUntil(
        [&] {
            ::SetCursorPos(at.x + (step++ % 2), at.y);
            ::Sleep(10);
            drainMessages();
            return ready();
        },
        timeoutMs);
}

// How many windows the engine still keeps a record of (each holding its
// controls' records), beside what test::LiveObjects counts.
int liveWindowRecords();

// What the display shows at a screen point, as 0x00RRGGBB.
std::uint32_t screenRgb(int x, int y);

class GalleryFixture {
public:
    GalleryFixture();  // opens the gallery and waits until it is on the display
    ~GalleryFixture();

    gallery::GalleryWindow& gallery() { return *gallery_; }
    HWND window() const { return gallery_->hwnd(); }
    HWND control(int id) const { return gallery_->control(id); }
    // The control's client rectangle in screen coordinates.
    RECT screenRect(int id) const;
    // What the control's window surface holds at (x, y) of its client area,
    // as 0x00RRGGBB: what was painted there last, whether or not it has
    // reached the display yet.
    std::uint32_t rgbIn(int id, int x, int y) const;
    POINT centreOf(int id) const;  // in screen coordinates
    // Every WM_COMMAND the gallery received, in order.
    struct Command {
        int id;
        int code;
    };
    const std::vector<Command>& commands() const { return commands_; }
    int clicksOf(int id) const;

private:
    std::unique_ptr<gallery::GalleryWindow> gallery_;
    std::vector<Command> commands_;
};

}  // namespace pelmora::test
