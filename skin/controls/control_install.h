// Finding, recording and subclassing the child controls of a skinned window.
#pragma once

#include <windows.h>

#include <optional>

#include "skin/controls/core/control_records.h"

namespace pelmora {

// Style tests of the two button installers (pure, on a BUTTON's style).
bool takesAsPushButton(DWORD style);
std::optional<ButtonKind> checkButtonKindOf(DWORD style);  // CheckBox, RadioButton or nothing
// Where a track bar of that style draws its ticks.
TickPlacement tickPlacementOf(DWORD style);

// Runs the class installers over the direct children of `parent`, in their
// fixed order, recording the controls in window record `windowIndex`. With
// `containerChildren` (a container's children rather than a window's) only the
// first eight installers run. Each installer is one call of the same template
// with the class name, the record's list and the procedure kind.
void installControlsOf(int windowIndex, HWND parent, bool containerChildren = false);

// The class installers, in the order installControlsOf runs them. Each takes
// the direct children of `parent` whose class matches and whose procedure is
// available (see class_procedures.h); they do nothing while control skinning
// is switched off, except installToolbars, which always takes its windows.
void installPushButtons(int windowIndex, HWND parent);
void installCheckButtons(int windowIndex, HWND parent);
// Takes one push button the way installPushButtons does; its index in
// `buttons`, 0 when it is not a push button, is already taken, or buttons are
// not skinned.
int installPushButton(int windowIndex, HWND button);
void installEditsAndCombos(int windowIndex, HWND parent);
void installTrackBars(int windowIndex, HWND parent);
void installProgressBars(int windowIndex, HWND parent);
void installListControls(int windowIndex, HWND parent);
void installUpDowns(int windowIndex, HWND parent);
void installListViews(int windowIndex, HWND parent);
void installStatics(int windowIndex, HWND parent);
void installToolbars(int windowIndex, HWND parent);

// Records `window` in the control layer of window record `ownerIndex` (reusing
// the blank entry), subclasses it with the control-layer procedure and sets
// "Kj_lbID", "Kj_FuID" and "Kj_hProc". Returns the entry's index, or 0 when
// there is no such record, the control layer has no procedure yet, or the
// window already runs the control-layer procedure.
int recordControlLayer(int ownerIndex, HWND window, COLORREF keyColour);

}  // namespace pelmora
