// The entry points of the control-class modules in this folder, one block per
// class. Each class is one pair of files beside the framework in core/:
// <class>_proc.cpp (its window procedure as a message table, its window-level
// painting, and what it answers for its parent) and <class>_paint.{h,cpp}
// (pure painters). Each module defines its ControlClass (procedure and
// parent answers); the class table (class_procedures.cpp) lists them.
#pragma once

#include <windows.h>

#include <optional>

#include "skin/controls/class_procedures.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/parent_messages.h"

namespace pelmora {

// Push buttons, check boxes, radio buttons and the image buttons
// (button_proc.cpp): the procedure, as a message table (focus, caption copy,
// paint by kind, no erase and no frame, the check repaint after the previous
// procedure changed the state, hover and leave, double clicks swallowed).
LRESULT CALLBACK buttonSkinProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
extern const ControlClass kButtonClass;

// Edit boxes (edit_proc.cpp).
extern const ControlClass kEditClass;
LRESULT CALLBACK editSkinProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
// The border in the edit's non-client area; a flag not given is the record's.
void paintEditFrame(HWND edit, std::optional<bool> focused = std::nullopt, std::optional<bool> hot = std::nullopt);
// The translucent text-area background, into a client-area DC.
bool paintEditBackground(HWND edit, HDC dc);

// Combo boxes (combo_proc.cpp).
extern const ControlClass kComboBoxClass;
LRESULT CALLBACK comboSkinProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
// The whole combo onto its window DC; a flag not given is the record's.
void paintComboBox(const ComboBoxSkinRecord& combo, std::optional<bool> hot = std::nullopt,
                   std::optional<bool> focused = std::nullopt);

// Progress bars (progress_proc.cpp).
extern const ControlClass kProgressBarClass;
LRESULT CALLBACK progressSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
// Onto `clientDc` (a client-area DC), or the window DC when null.
void paintProgressBar(const ProgressSkinRecord& bar, HDC clientDc = nullptr);

// Track bars (trackbar_proc.cpp).
extern const ControlClass kTrackBarClass;
LRESULT CALLBACK trackBarSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
void paintTrackBar(const TrackBarSkinRecord& bar);

// Up-down controls (updown_proc.cpp).
extern const ControlClass kUpDownClass;
LRESULT CALLBACK upDownSkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// A flag or pointer position not given is the record's.
void paintUpDown(const UpDownSkinRecord& control, std::optional<bool> hot = std::nullopt,
                 std::optional<bool> pressed = std::nullopt, std::optional<LPARAM> pointer = std::nullopt);
// The arrow under a pointer lParam in the control's client coordinates.
UpDownPart upDownPartAt(const UpDownSkinRecord& control, LPARAM pointer);

// List boxes, tree views and the other list-type controls (list_proc.cpp).
extern const ControlClass kListClass;
LRESULT CALLBACK listSkinProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
// The border in the list's non-client area; a flag not given is the record's
// (hot: whether the list holds its window's hover highlight).
void paintListFrame(const Located<ListSkinRecord>& list, std::optional<bool> hot = std::nullopt,
                    std::optional<bool> focused = std::nullopt);
// What every list-type control does with a message (list views too): the
// result when the message is answered, nothing when it goes on unchanged.
std::optional<LRESULT> handleListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

// List views and their headers (listview_proc.cpp): one procedure for both
// windows. A list view is recorded among the list controls (its properties
// name that place) and in listViews; its header only in listViews.
extern const ControlClass kListViewClass;
LRESULT CALLBACK listViewSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Row height of a skinned report view without its own small images.
constexpr int kListViewRowHeight = 20;
// Gives a report view without a small image list a blank one, one pixel wide
// and a row high, so its rows have room over the picture. Returns the image
// list (the engine owns it), or null when the view needs none.
HANDLE attachRowHeightImageList(HWND view);

// Statics (static_proc.cpp).
extern const ControlClass kStaticClass;
LRESULT CALLBACK staticSkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The control layer: windows that paint themselves natively while the engine
// replaces their plain background by the skinned window's picture (labels,
// toolbars and the like) (control_layer.cpp).
extern const ControlClass kControlLayerClass;
LRESULT CALLBACK controlLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
