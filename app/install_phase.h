// Where the installation stands, as the window keeps it. The captions the
// window shows follow from the phase alone; nothing is ever read back from a
// window text, whose wording the package may change.
#pragma once

namespace pelmora {

enum class InstallPhase {
    Idle,        // the folder and the agreement can still be changed
    Installing,  // the archive is written; the progress runs
    Finished,    // the product is in place; leaving may start it
    Failed,      // extraction stopped and was taken back; leaving is all that is left
};

const char* installPhaseName(InstallPhase phase);

// The window texts (keys of the package's window texts) a phase shows; null
// where the phase does not set that unit's text. The status line while
// installing follows the progress, not the phase.
struct PhaseCaptions {
    const char* finishButton = nullptr;
    const char* statusLabel = nullptr;
    const wchar_t* percentLabel = nullptr;  // shown as it is
};

PhaseCaptions phaseCaptions(InstallPhase phase);

}  // namespace pelmora
