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
#include <optional>

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

// One control class as the engine knows it: which controls it takes over, with
// which procedure, and what it answers for the window the controls sit in.
// Each class module defines its own (k<Class>Class in its <class>_proc.cpp,
// declared in class_modules.h) and names only the answers it gives:
//
//     const ControlClass kEditClass = ControlClass(ControlProcedure::Edit, editSkinProc)
//                                         .ownsWindows(isEdit)
//                                         .answersColour(editColour)
//                                         .answersCommand(editCommand);
//
// A class with a null procedure keeps its controls native.
struct ControlClass {
    ControlProcedure kind;
    WNDPROC procedure = nullptr;
    ParentAnswers answers;  // all null: the class answers nothing for its parent

    constexpr ControlClass(ControlProcedure kind, WNDPROC procedure) : kind(kind), procedure(procedure), answers{} {}

    constexpr ControlClass ownsWindows(bool (*owns)(HWND)) const {
        ControlClass changed = *this;
        changed.answers.owns = owns;
        return changed;
    }
    constexpr ControlClass answersColour(std::optional<LRESULT> (*colour)(UINT, HDC, HWND)) const {
        ControlClass changed = *this;
        changed.answers.controlColour = colour;
        return changed;
    }
    constexpr ControlClass answersCommand(void (*command)(HWND, int)) const {
        ControlClass changed = *this;
        changed.answers.command = command;
        return changed;
    }
    constexpr ControlClass answersNotify(void (*notify)(const NMHDR&)) const {
        ControlClass changed = *this;
        changed.answers.notify = notify;
        return changed;
    }
    constexpr ControlClass answersDrawItem(std::optional<LRESULT> (*drawItem)(const DRAWITEMSTRUCT&)) const {
        ControlClass changed = *this;
        changed.answers.drawItem = drawItem;
        return changed;
    }
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
