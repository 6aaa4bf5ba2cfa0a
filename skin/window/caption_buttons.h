// Caption buttons of a skinned window: the standard set, their layout, hit
// test, commands and painting, and the hover fade the window procedure drives
// (a 20 ms timer whose id is the window handle). Every step works on the one
// record it is given.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/window/caption_button.h"

namespace pelmora {

struct SkinnedWindowRecord;

// How a caption button is drawn.
enum class CaptionButtonLook { Normal, Highlight, Pressed };

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

// Places the strip at the right of the client area, the buttons in it, and
// each tooltip tool over its button.
void layoutCaptionTooltips(SkinnedWindowRecord& record);
// 1-based index of the button under the client point, 0 for none; also kept
// as the engine's hotButtonIndex.
int hitTestCaptionButtons(const SkinnedWindowRecord& record, int x, int y);
// 1-based index of the first Maximize button, 0 for none.
int findMaximizeButton(const SkinnedWindowRecord& record);
// Carries out one button's command. The window, and the record with it, may
// be gone when this returns.
void runCaptionButton(SkinnedWindowRecord& record, int buttonIndex);
// Redraws one button in the composed image (alpha: highlight strength) and,
// with `present`, copies it to the visible window.
void paintCaptionButton(SkinnedWindowRecord& record, int buttonIndex, CaptionButtonLook look, int alpha, bool present);

// Hover protocol, called by the window procedure with client coordinates.
void onCaptionMouseMove(SkinnedWindowRecord& record, int x, int y);
void onCaptionFadeTimer(SkinnedWindowRecord& record);
void onCaptionMouseLeave(SkinnedWindowRecord& record);
void onCaptionPress(SkinnedWindowRecord& record, int x, int y);

}  // namespace pelmora
