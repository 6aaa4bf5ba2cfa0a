#include "skin/controls/class_procedures.h"

#include <array>

#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_settings.h"
#include "skin/state/engine_state.h"

namespace pelmora {
namespace {

// Every class the engine knows (each defined in its own module); a class
// left out, or with an empty procedure, keeps its native look and behaviour.
// A painter switches its class on by adding its class here, in the same change
// that adds the painter.
const ControlClass* const kClasses[] = {
    &kButtonClass, &kEditClass, &kComboBoxClass, &kTrackBarClass, &kProgressBarClass,
    &kUpDownClass, &kListClass, &kListViewClass, &kStaticClass,   &kControlLayerClass,
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
    for (const ControlClass* shipped : kClasses) filled.at(static_cast<size_t>(shipped->kind)) = shipped->procedure;
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
    for (const ControlClass* shipped : kClasses)
        if (shipped->answers.owns && shipped->answers.owns(control)) return &shipped->answers;
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
