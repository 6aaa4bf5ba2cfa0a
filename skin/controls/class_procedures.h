// The class table: which control classes the engine takes over, with which
// procedure, and what each class answers for the window it sits in.
//
// A class installer records and subclasses controls only when its class has a
// procedure here. Each class's procedure arrives together with its painter; until
// then the entry is empty and that class keeps its native look and behaviour, so
// the window looks and works the same at every stage. A push button in
// particular is turned owner-drawn when it is taken, and must not be taken
// before something answers its WM_DRAWITEM.
#pragma once

#include <windows.h>

#include <array>

#include "skin/controls/core/parent_messages.h"

namespace pelmora {

enum class ControlProcedure : int {
    Button,  // push buttons, check boxes, radio buttons
    Edit,
    ComboBox,
    TrackBar,
    ProgressBar,
    ListControl,  // list boxes, combo lists, tree views and the other list-type classes
    UpDown,
    ListView,  // list views and their headers
    Static,
    ControlLayer,  // toolbars and windows handed to skinControlLayer
    Count
};

// One row of the class table (class_procedures.cpp): a class switches itself
// on by naming its procedure in its row, and answers for its parent through
// its ParentAnswers.
struct ControlClassRow {
    ControlProcedure kind;
    WNDPROC procedure = nullptr;                   // null: the class's controls stay native
    const ParentAnswers* parentAnswers = nullptr;  // null: the class answers nothing for its parent
};

// The procedure of every class, indexed by ControlProcedure; kept in the engine
// state so that tests can stand procedures in and reset them all at once.
using ClassProcedureTable = std::array<WNDPROC, static_cast<size_t>(ControlProcedure::Count)>;

// The table as the class rows fill it.
ClassProcedureTable shippedClassProcedures();

// The class's window procedure, or null while the class stays native.
WNDPROC classProcedure(ControlProcedure kind);

// Replaces one entry and returns the previous one (tests stand in a procedure
// of their own for a class whose painter does not exist yet).
// Test seam, kept: SkinState::enableAllClasses and window_properties_test swap entries; shipped code never does.
WNDPROC setClassProcedure(ControlProcedure kind, WNDPROC procedure);

// The answers of the first class whose ParentAnswers own `control`; null when none does.
const ParentAnswers* parentAnswersFor(HWND control);

// The parent's answer to a message from one of its children, or nothing when
// the message goes on to the parent's previous procedure unanswered. Control
// colours and commands are answered only while controls are skinned and show
// the window's picture (controlSkinningEnabled and translucentBackgrounds).
std::optional<LRESULT> answerForParent(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
