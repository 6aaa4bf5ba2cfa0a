// Process-wide switches and colours that the control installers and painters
// read. The skin object's operations are the only writers; the settings live
// in the engine state (engine_state.h).
#pragma once

#include <windows.h>

namespace pelmora {

constexpr COLORREF kDefaultAccentColour = 0x00DDCA22;
constexpr int kDefaultBackgroundAlpha = 160;

struct ControlSettings {
    bool controlSkinningEnabled = true;             // off: class installers take nothing (windows are still skinned)
    COLORREF accentColour = kDefaultAccentColour;   // hover, focus and selection
    bool translucentBackgrounds = false;            // edit-like controls show the window's picture behind them
    int backgroundAlpha = kDefaultBackgroundAlpha;  // alpha of the fill over a translucent background
    bool trackBarFrameEnabled = true;
};

ControlSettings& controlSettings();  // engineState().controls

}  // namespace pelmora
