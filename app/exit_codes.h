// How the installer ends, for the scripts and management tools that start it.
// The values are documented for administrators and never change meaning.
#pragma once

#include "services/program_end.h"

namespace pelmora {

enum class ExitCode : int {
    Installed = 0,  // also a run that ended before installing anything, without a fault
    ExtractionFailed = 1,
    DamagedPackage = 2,
    FolderNotWritable = 3,  // or a path of the installation too long for Windows
    NotEnoughSpace = 4,
    BadCommandLine = 5,
    ProgramInUse = 6,  // a file the installation replaces (or the uninstaller removes) is held open
    // The uninstaller's own:
    UninstallIncomplete = 7,  // some recorded files could not be removed; the record lists what stayed
    RecordDamaged = 8,        // the install record is missing, cut or changed: nothing was removed
};

inline int exitCodeValue(ExitCode code) {
    return static_cast<int>(code);
}

// Runs the exit clean-up and ends the process with `code`.
[[noreturn]] inline void endProgram(ExitCode code) {
    endProgram(exitCodeValue(code));
}

}  // namespace pelmora
