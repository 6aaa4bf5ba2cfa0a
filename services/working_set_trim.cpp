#include "services/working_set_trim.h"

#include <shlwapi.h>

#include <atomic>

namespace pelmora {
namespace {

std::atomic<long> trimsFinished{0};
std::atomic<long> trimsAccepted{0};

}  // namespace

DWORD WINAPI trimWorkingSet(void*) {
    // Both limits at -1 is the documented request to remove as many pages as
    // possible from this process's working set; they fault back in on use.
    const SIZE_T all = static_cast<SIZE_T>(-1);
    const bool accepted = ::SetProcessWorkingSetSize(::GetCurrentProcess(), all, all) != FALSE;
    if (accepted) ++trimsAccepted;
    ++trimsFinished;
    return accepted ? 1 : 0;
}

bool startWorkingSetTrim() {
    return ::SHCreateThread(trimWorkingSet, nullptr, 0, nullptr) != FALSE;
}

long workingSetTrimsFinished() {
    return trimsFinished.load();
}

long workingSetTrimsAccepted() {
    return trimsAccepted.load();
}

}  // namespace pelmora
