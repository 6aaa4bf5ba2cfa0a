// What the installer does with its command line before any window: the
// options box, a bad command line, and the silent installation, which goes
// through the same steps as the window without showing anything and answers
// with an exit code alone.
#pragma once

#include <optional>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/install_log.h"

namespace pelmora {

// The process's own command line, read. A relative log path is made full
// here, against the folder the installer was started in: call it before the
// program's folder becomes the current one.
ParsedCommandLine readCommandLine();

// Opens the log when one is asked for, then deals with everything that ends
// without the window: a bad command line (BadCommandLine, after a box unless
// silent), /? (Installed, after the options box) and /S (the installation's
// exit code). Nothing when the window is to open; the log stays open for it.
std::optional<ExitCode> runCommandLine(const ParsedCommandLine& commandLine, InstallLog& log);

// The installation without the window, into the folder given (else the
// default one), step by step as the window does it. No box, whatever happens;
// a file in use is not waited for. Returns the exit code.
ExitCode runSilentInstall(const CommandLine& options, InstallLog& log);

}  // namespace pelmora
