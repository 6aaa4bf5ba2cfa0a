#include "skin/controls/class_procedures.h"

#include <array>

#include "skin/controls/button_proc.h"
#include "skin/controls/control_layer.h"

namespace pelmora {
namespace {

// One line per class: a painter switches its class on by naming its procedure here.
std::array<WNDPROC, static_cast<size_t>(ControlProcedure::Count)>& table() {
    static std::array<WNDPROC, static_cast<size_t>(ControlProcedure::Count)> procedures = {
        buttonSkinProc,  // Button
        nullptr,  // Edit
        nullptr,  // ComboBox
        nullptr,  // TrackBar
        nullptr,  // ProgressBar
        nullptr,  // ListControl
        nullptr,  // UpDown
        nullptr,  // ListView
        nullptr,  // Static
        controlLayerProc,  // ControlLayer
    };
    return procedures;
}

}  // namespace

WNDPROC classProcedure(ControlProcedure kind) {
    return table().at(static_cast<size_t>(kind));
}

WNDPROC setClassProcedure(ControlProcedure kind, WNDPROC procedure) {
    WNDPROC& slot = table().at(static_cast<size_t>(kind));
    WNDPROC previous = slot;
    slot = procedure;
    return previous;
}

}  // namespace pelmora
