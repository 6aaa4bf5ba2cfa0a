// Numbers of the look are written for a 96-DPI screen; these turn them into
// a window's pixels. Every scaled number goes through `scaled`, so the
// rounding is decided once: MulDiv's, half away from zero (1.5 -> 2,
// -1.5 -> -2). At 96 DPI every number comes back unchanged.
#pragma once

#include <windows.h>

namespace pelmora {

constexpr UINT kBaseDpi = 96;

// WM_DPICHANGED, which the Windows 7 headers this code builds against lack:
// LOWORD(wParam) is the new DPI, lParam the suggested window RECT*.
constexpr UINT kDpiChangedMessage = 0x02E0;

// value96 * dpi / 96, rounded half away from zero. A DPI of 0 (a window that
// is gone, a failed query) counts as 96.
constexpr int scaled(int value96, UINT dpi) {
    if (dpi == 0 || dpi == kBaseDpi) return value96;
    const long long product = static_cast<long long>(value96) * static_cast<long long>(dpi);
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

constexpr float scaledF(float value96, UINT dpi) {
    return dpi == 0 ? value96 : value96 * static_cast<float>(dpi) / static_cast<float>(kBaseDpi);
}

// Each edge scaled on its own, so rectangles that touch at 96 DPI still touch.
constexpr RECT scaledRect(const RECT& r96, UINT dpi) {
    return {scaled(r96.left, dpi), scaled(r96.top, dpi), scaled(r96.right, dpi), scaled(r96.bottom, dpi)};
}

constexpr SIZE scaledSize(SIZE size96, UINT dpi) {
    return {scaled(size96.cx, dpi), scaled(size96.cy, dpi)};
}

constexpr POINT scaledPoint(POINT point96, UINT dpi) {
    return {scaled(point96.x, dpi), scaled(point96.y, dpi)};
}

// The screen's DPI for the process as a whole: LOGPIXELSY of the screen DC.
UINT systemDpi();

// The DPI a window is drawn at: GetDpiForWindow where the system has it (it
// follows the window's monitor for a per-monitor aware program), else the
// system DPI.
UINT windowDpi(HWND window);

// The size a picture of `pixels` made for `pictureScale` times 96 DPI (1, or
// 2 for one made at twice the size) is drawn at in a window of `dpi`,
// rounded as `scaled` rounds.
constexpr int scaledPictureSize(int pixels, int pictureScale, UINT dpi) {
    const long long unit = static_cast<long long>(kBaseDpi) * (pictureScale < 1 ? 1 : pictureScale);
    const long long product = static_cast<long long>(pixels) * (dpi == 0 ? kBaseDpi : dpi);
    return static_cast<int>(product >= 0 ? (product + unit / 2) / unit : -((-product + unit / 2) / unit));
}

// Whether a window picture given at twice the size as well is drawn from
// that one: above 150 % (144 DPI). Up to 150 % the picture is enlarged at
// most by half; above, the large one is at most reduced (at 175 %) or drawn
// pixel for pixel (at 200 %).
constexpr bool usesDoublePicture(UINT dpi) {
    return dpi > 144;
}

}  // namespace pelmora
