// Working-set trimming: each time the application loses activation a worker
// thread hands the process's pages back to the system, so an installer left
// in the background holds little memory. It is done in-process with the
// system call meant for it; nothing is written to disk and no program is run.
#pragma once

#include <windows.h>

namespace pelmora {

// Thread body (no data): empties the working set of this process. Returns 1
// when the system accepted the request, 0 when it refused; either way the
// process goes on as before.
DWORD WINAPI trimWorkingSet(void* unused);

// Starts trimWorkingSet on a new thread that nobody joins (called on every
// WM_ACTIVATEAPP that reports deactivation). False when no thread could be started.
bool startWorkingSetTrim();

// How many trimming threads have finished, and how many of those the system
// accepted, since the program started.
long workingSetTrimsFinished();
long workingSetTrimsAccepted();

}  // namespace pelmora
