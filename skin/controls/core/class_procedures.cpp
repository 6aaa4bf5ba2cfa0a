#include "skin/controls/core/class_procedures.h"

#include <array>

#include "skin/controls/class_modules.h"
#include "skin/controls/core/engine_state.h"

namespace pelmora {
namespace {

// One row per class the engine knows; a class without a row, or with an empty
// procedure, keeps its native look and behaviour. A painter switches its class
// on by putting its procedure into its row, in the same change that adds the painter.
const ControlClassRow kClassRows[] = {
    {ControlProcedure::Button, buttonSkinProc, &kButtonParentAnswers},
    {ControlProcedure::Edit, editSkinProc, &kEditParentAnswers},
    {ControlProcedure::ComboBox, comboSkinProc, &kComboParentAnswers},
    {ControlProcedure::TrackBar, trackBarSkinProc, nullptr},
    {ControlProcedure::ProgressBar, progressSkinProc, nullptr},
    {ControlProcedure::UpDown, upDownSkinProc, nullptr},
    {ControlProcedure::ListControl, listSkinProc, &kListParentAnswers},
    {ControlProcedure::ListView, listViewSkinProc, nullptr},
    {ControlProcedure::Static, staticSkinProc, nullptr},
    {ControlProcedure::ControlLayer, controlLayerProc, nullptr},
};

ClassProcedureTable& table() {
    return engineState().procedures;
}

}  // namespace

ClassProcedureTable shippedClassProcedures() {
    ClassProcedureTable filled{};
    for (const ControlClassRow& row : kClassRows) filled.at(static_cast<size_t>(row.kind)) = row.procedure;
    return filled;
}

WNDPROC classProcedure(ControlProcedure kind) {
    return table().at(static_cast<size_t>(kind));
}

WNDPROC setClassProcedure(ControlProcedure kind, WNDPROC procedure) {
    WNDPROC& slot = table().at(static_cast<size_t>(kind));
    WNDPROC previous = slot;
    slot = procedure;
    return previous;
}

const ParentAnswers* parentAnswersFor(HWND control) {
    if (!control) return nullptr;
    for (const ControlClassRow& row : kClassRows)
        if (row.parentAnswers && row.parentAnswers->owns(control)) return row.parentAnswers;
    return nullptr;
}

}  // namespace pelmora
