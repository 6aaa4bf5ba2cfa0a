// Caption buttons of a skinned window: the standard set, and the hover fade
// the window procedure drives (a 20 ms timer whose id is the window handle).
#pragma once

#include <windows.h>

#include <vector>

#include "skin/window/caption_button.h"

namespace pelmora {

struct SkinnedWindowRecord;

// Alpha of the highlight after `step` timer ticks of a fade in / out.
constexpr int fadeInAlpha(int step) {
    return step * 30;
}
constexpr int fadeOutAlpha(int step) {
    return 240 - step * 30;
}
constexpr int kFadeSteps = 8;
constexpr UINT kFadeIntervalMs = 20;

// Help, MainMenu, Minimize, Maximize, Close, each only when its flag is set.
std::vector<CaptionButton> standardCaptionButtons(bool help, bool menu, bool minimize, bool maximize, bool close);
std::vector<CaptionButtonKind> captionKinds(const std::vector<CaptionButton>& buttons);

// Hover protocol, called by the window procedure with client coordinates.
void onCaptionMouseMove(int recordIndex, int x, int y);
void onCaptionFadeTimer(int recordIndex);
void onCaptionMouseLeave(int recordIndex);
void onCaptionPress(int recordIndex, int x, int y);

}  // namespace pelmora
