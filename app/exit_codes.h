// How the installer ends, for the scripts and management tools that start it.
// The values are documented for administrators and never change meaning.
#pragma once

namespace pelmora {

enum class ExitCode : int {
    Installed = 0,
    ExtractionFailed = 1,
    DamagedPackage = 2,
    FolderNotWritable = 3,  // or a path of the installation too long for Windows
    NotEnoughSpace = 4,
    BadCommandLine = 5,
    ProgramInUse = 6,  // a file the installation replaces is held open
};

inline int exitCodeValue(ExitCode code) { return static_cast<int>(code); }

}  // namespace pelmora
