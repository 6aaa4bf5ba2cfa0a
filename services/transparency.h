// Whole-window transparency through layered windows.
#pragma once

#include <windows.h>

#include <optional>

namespace pelmora {

int clampedAlpha(std::optional<int> alpha);  // 0-255 as given; anything else 255

// Makes the window layered (its extended style becomes WS_EX_LAYERED alone)
// with the given constant alpha. False on systems without layered windows.
bool setWindowAlpha(HWND hwnd, std::optional<int> alpha = std::nullopt);

}  // namespace pelmora
