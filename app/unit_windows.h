// Window classes of the form's own units: labels, transparent labels, timers
// and the archive unit. Labels keep their caption as the window text, so
// WM_GETTEXT / WM_SETTEXT read and write it from any process.
#pragma once

#include <windows.h>

#include "app/form_table.h"

namespace pelmora {

inline constexpr wchar_t kLabelClass[] = L"PelmoraLabel";
inline constexpr wchar_t kTransparentLabelClass[] = L"PelmoraTransparentLabel";
inline constexpr wchar_t kTimerClass[] = L"PelmoraTimer";
inline constexpr wchar_t kArchiveUnitClass[] = L"PelmoraArchiveUnit";

// Sent by a unit window to its parent; lParam points to a UnitEvent.
inline constexpr UINT kUnitEventMessage = WM_APP + 0x40;

enum class UnitEventKind { TimerTick, LeftButtonReleased };

struct UnitEvent {
    UnitEventKind kind;
    int x = 0, y = 0;  // mouse position in the unit's client area
    WPARAM keys = 0;   // MK_* flags
};

// What a label needs to paint itself; passed as the creation parameter.
struct LabelLook {
    COLORREF textColour;
    COLORREF backColour;  // labels only; kButtonFaceColour = the system colour
    UINT textFormat;
    HFONT font;  // borrowed from the form, which outlives the label
};

bool registerUnitClasses(HINSTANCE instance);

// Timer units: 0 or less stops, the current value again does nothing, a new
// positive value restarts the timer with that period.
void setTimerInterval(HWND timer, int ms);
int timerInterval(HWND timer);

}  // namespace pelmora
