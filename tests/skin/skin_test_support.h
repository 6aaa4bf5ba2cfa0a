// Shared pieces of the skin engine tests: GDI+ running for the whole run,
// plain host windows with standard children, recorded windows that are
// forgotten after each test, and 32-bit memory surfaces whose pixels can be read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/unique_resource.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/core/window_records.h"
#include "tests/support/canvas.h"

namespace pelmora::test {

// The pointer as the tests move it. Under Xvfb a crossing event that the X
// server made before the pointer's last move can reach the desktop late and
// put the system's pointer back where it was, which a window then takes for
// the user moving away. Tests move the pointer with `pointTo` and call
// `restorePointer` while they pump messages; it puts the pointer back and says
// whether it had to.
void pointTo(int screenX, int screenY);
bool restorePointer();
// Moves the pointer to the screen's bottom-right corner, clear of every test
// window, and waits until the system reports it there. Call it before showing
// a window that a test hovers: a window mapped under the pointer is told the
// pointer's old position, which can arrive after the test has moved it.
void parkPointer();

// A window class of this module whose procedure is DefWindowProc and which
// erases with no brush (what lies under a child shows), registered at the
// first call: for the skinned windows and plain children tests make.
const wchar_t* plainWindowClass();
// A visible top-level window with a do-nothing class procedure and the face colour.
HWND createHostWindow(int x = 100, int y = 100, int width = 300, int height = 200);
HWND createChild(HWND parent, const wchar_t* className, DWORD style, int x, int y, int width, int height,
                 const wchar_t* text = L"", DWORD exStyle = 0);

// Appends a window record for `window` the way the window layer does before it
// installs the controls; returns its index.
int recordWindow(HWND window);

// A fresh engine state for the test: records, settings, flags and the class
// table are reset when it is made and again when it goes.
class SkinState {
public:
    SkinState();
    ~SkinState();
    SkinState(const SkinState&) = delete;
    SkinState& operator=(const SkinState&) = delete;
    // Stands a forwarding procedure in for every class, as if each had its painter.
    void enableAllClasses();
};

// Reads one pixel of a DC that holds a 32-bit DIB section, as 0xAARRGGBB.
std::uint32_t dibPixel(HDC dc, int x, int y);

// Channel helpers.
inline int red(std::uint32_t argb) {
    return (argb >> 16) & 0xFF;
}
inline int green(std::uint32_t argb) {
    return (argb >> 8) & 0xFF;
}
inline int blue(std::uint32_t argb) {
    return argb & 0xFF;
}
inline int alpha(std::uint32_t argb) {
    return (argb >> 24) & 0xFF;
}

// A PNG of the given size whose pixel (x, y) is colourAt(x, y) (opaque ARGB).
std::vector<std::uint8_t> makePng(int width, int height, std::uint32_t (*colourAt)(int x, int y));
// Decodes a PNG and reads one pixel (ARGB); 0 when it cannot.
std::uint32_t pngPixel(const std::vector<std::uint8_t>& png, int x, int y);
SIZE pngSize(const std::vector<std::uint8_t>& png);
// Every pixel of a decoded PNG (ARGB), row by row.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Pixels decodePng(const std::vector<std::uint8_t>& png);

}  // namespace pelmora::test
