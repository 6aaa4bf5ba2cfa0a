// The uninstaller: the installer's stub copied into the product folder as
// uninstall.exe. The same program is an uninstaller when its file is named
// uninstall.exe and carries no package (an installer always does; a damaged
// one says so whatever it is called). It reads the install record beside
// itself and removes what it lists (uninstallation.h), in skinned boxes in
// the installer's style, or silently with /S; /LOG= logs as for installing.
#pragma once

#include "app/command_line.h"
#include "app/install_log.h"

namespace pelmora {

// Whether this program runs as the uninstaller (see above).
bool runningAsUninstaller();

// The whole uninstallation; ends the process with its exit code.
[[noreturn]] void runUninstaller(const ParsedCommandLine& commandLine, InstallLog& log);

}  // namespace pelmora
