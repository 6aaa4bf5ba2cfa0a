// The entry points of the control-class modules in this folder, one block per
// class: <class>_proc.cpp holds the class's window procedure (a message
// table) and its window-level painting; <class>_paint.{h,cpp} the pure
// painters. The class table (class_procedures.cpp) names the procedures.
#pragma once

#include <windows.h>

#include <optional>

namespace pelmora {

// Edit boxes (edit_proc.cpp).
LRESULT CALLBACK editSkinProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
// The border in the edit's non-client area; a flag not given is the record's.
void paintEditFrame(HWND edit, std::optional<bool> focused = std::nullopt, std::optional<bool> hot = std::nullopt);
// The translucent text-area background, into a client-area DC.
bool paintEditBackground(HWND edit, HDC dc);

// Combo boxes (combo_proc.cpp).
LRESULT CALLBACK comboSkinProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
// The whole combo onto its window DC; a flag not given is the record's.
void paintComboBox(int windowIndex, int comboIndex, std::optional<bool> hot = std::nullopt,
                   std::optional<bool> focused = std::nullopt);

// Progress bars (progress_proc.cpp).
LRESULT CALLBACK progressSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
// Onto `clientDc` (a client-area DC), or the window DC when null.
void paintProgressBar(int windowIndex, int progressIndex, HDC clientDc = nullptr);

// Track bars (trackbar_proc.cpp).
LRESULT CALLBACK trackBarSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
void paintTrackBar(int windowIndex, int trackBarIndex);

// Up-down controls (updown_proc.cpp).
LRESULT CALLBACK upDownSkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// A flag or pointer position not given is the record's.
void paintUpDown(int windowIndex, int upDownIndex, std::optional<bool> hot = std::nullopt,
                 std::optional<bool> pressed = std::nullopt, std::optional<LPARAM> pointer = std::nullopt);
// 1 (up or left arrow) or 2 for a pointer lParam in the control's client coordinates.
int upDownPartAt(int windowIndex, int upDownIndex, LPARAM pointer);

}  // namespace pelmora
