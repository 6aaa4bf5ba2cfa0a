#include "skin/state/engine_state.h"

#include <utility>

namespace pelmora {

EngineState& engineState() {
    static EngineState state;
    return state;
}

void resetEngineState() {
    // Swapped with a fresh state rather than assigned one: GCC 12 at -O3 warns
    // that the assigned temporary's vectors may be used uninitialised (they
    // are not), and the old records now go only once the fresh state is whole.
    EngineState fresh;
    std::swap(engineState(), fresh);
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
