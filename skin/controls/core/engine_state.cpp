#include "skin/controls/core/engine_state.h"

namespace pelmora {

EngineState& engineState() {
    static EngineState state;
    return state;
}

void resetEngineState() {
    engineState() = EngineState{};
}

ControlSettings& controlSettings() {
    return engineState().controls;
}

ThemeSettings& themeSettings() {
    return engineState().theme;
}

std::vector<std::unique_ptr<SkinnedWindowRecord>>& windowRecords() {
    return engineState().windowRecords;
}

}  // namespace pelmora
