// Everything the skin engine keeps for the whole process, in one object: the
// settings the skin object's operations write, the runtime flags of the window
// layer, the window records and the class procedure table. Nothing else in the
// engine holds process-wide state, so resetting this object resets the engine.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "base/win32_util.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {

// How a background picture is placed in a window's client area.
enum class BackgroundMode : int { LeftFaded = 0, RightFaded = 1, Centred = 2, Stretched = 3, TopLeft = 4 };

// The theme every skinned window is painted with unless it has its own background.
struct ThemeSettings {
    COLORREF themeColour = ::GetSysColor(COLOR_BTNFACE);  // window fill where no picture covers it
    ByteBuffer themeBackground;                           // PNG painted into windows without their own
    ByteBuffer themeBackground2x;  // the same picture at twice the size, drawn above 150 %; empty: none
    int themeBackgroundMode = static_cast<int>(BackgroundMode::TopLeft);
};

struct EngineState {
    ControlSettings controls;
    ThemeSettings theme;
    // The first WM_SIZE of any skinned window does not re-render, and while
    // this is set a render does not make the children repaint.
    bool firstSizePending = true;
    int borderWidth = 0;     // frame width used by caption layout, title placement and edge tests
    int hotButtonIndex = 0;  // caption button last hit, shared by all windows; 0 none
    std::vector<std::unique_ptr<SkinnedWindowRecord>> windowRecords;
    ClassProcedureTable procedures = shippedClassProcedures();
};

EngineState& engineState();

// Back to the state of a fresh process: records dropped (with everything they
// own), settings and flags at their defaults, the shipped class table.
void resetEngineState();

ThemeSettings& themeSettings();

}  // namespace pelmora
