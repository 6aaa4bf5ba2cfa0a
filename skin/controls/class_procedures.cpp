#include "skin/controls/class_procedures.h"

#include <array>

#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_settings.h"
#include "skin/state/engine_state.h"

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

bool controlsShowThePicture() {
    const ControlSettings& settings = controlSettings();
    return settings.translucentBackgrounds && settings.controlSkinningEnabled;
}

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

std::optional<LRESULT> answerForParent(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            if (!controlsShowThePicture()) return std::nullopt;
            const auto control = reinterpret_cast<HWND>(lParam);
            const auto dc = reinterpret_cast<HDC>(wParam);
            const ParentAnswers* answers = parentAnswersFor(control);
            if (answers && answers->controlColour) return answers->controlColour(message, dc, control);
            return answerColourByMessage(message, dc, control);
        }
        case WM_COMMAND: {
            const auto control = reinterpret_cast<HWND>(lParam);
            if (!control || !controlsShowThePicture()) return std::nullopt;
            if (const ParentAnswers* answers = parentAnswersFor(control); answers && answers->command)
                answers->command(control, HIWORD(wParam));
            return std::nullopt;
        }
        case WM_NOTIFY: {
            if (!lParam) return std::nullopt;
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (const ParentAnswers* answers = parentAnswersFor(header.hwndFrom); answers && answers->notify)
                answers->notify(header);
            return std::nullopt;
        }
        case WM_DRAWITEM: {
            if (!lParam) return std::nullopt;
            const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const ParentAnswers* answers = parentAnswersFor(item.hwndItem); answers && answers->drawItem)
                return answers->drawItem(item);
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace pelmora
