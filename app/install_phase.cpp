#include "app/install_phase.h"

#include "payload/constants.h"

namespace pelmora {

const char* installPhaseName(InstallPhase phase) {
    switch (phase) {
        case InstallPhase::Idle:
            return "idle";
        case InstallPhase::Installing:
            return "installing";
        case InstallPhase::Finished:
            return "finished";
        case InstallPhase::Failed:
            return "failed";
    }
    return "unknown";
}

PhaseCaptions phaseCaptions(InstallPhase phase) {
    switch (phase) {
        case InstallPhase::Idle:
            return {};  // the form's own captions; the Finish button is hidden
        case InstallPhase::Installing:
            return {"installing", nullptr, nullptr};
        case InstallPhase::Finished:
            return {"finish", "statusDone", kFinalPercentage};
        case InstallPhase::Failed:
            return {"exit", "statusFailed", nullptr};  // the percentage stays where it stopped
    }
    return {};
}

}  // namespace pelmora
