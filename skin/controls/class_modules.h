// The entry points of the control-class modules in this folder, one block per
// class. Each class is one pair of files beside the framework in core/:
// <class>_proc.cpp (its window procedure as a message table, and what it
// answers for its parent) and <class>_paint.{h,cpp} (pure painters). The class
// table (core/class_procedures.cpp) names what is declared here.
#pragma once

#include <windows.h>

#include "skin/controls/core/parent_messages.h"

namespace pelmora {

// Push buttons, check boxes, radio buttons and the image buttons
// (button_proc.cpp): the procedure, as a message table (focus, caption copy,
// paint by kind, no erase and no frame, the check repaint after the previous
// procedure changed the state, hover and leave, double clicks swallowed).
LRESULT CALLBACK buttonSkinProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
extern const ParentAnswers kButtonParentAnswers;

// Edit boxes (edit_proc.cpp).
extern const ParentAnswers kEditParentAnswers;

// Combo boxes (combo_proc.cpp).
extern const ParentAnswers kComboParentAnswers;

// List boxes, tree views and the other list-type controls (list_proc.cpp).
extern const ParentAnswers kListParentAnswers;

// The control layer: windows that paint themselves natively while the engine
// replaces their plain background by the skinned window's picture (labels,
// toolbars and the like) (control_layer.cpp).
LRESULT CALLBACK controlLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
