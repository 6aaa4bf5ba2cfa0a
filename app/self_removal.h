// How the uninstaller removes its own file, which Windows keeps while the
// program runs. The uninstaller copies itself into the temporary folder,
// opens that copy with FILE_FLAG_DELETE_ON_CLOSE (a handle its child
// inherits), and starts it with an inherited handle to its own process. The
// copy waits for the uninstaller to end, deletes uninstall.exe and the
// product folder when nothing else is left in it, and ends; its own file
// goes with the last handle to it, which the system closes as the copy ends.
// So nothing is left once both have ended, on Windows as under Wine, and the
// uninstaller's exit code stays the one a script waiting on it sees.
//
// When the copy cannot be started, the file and folder are left to the next
// start of Windows (MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// Arranges for `program` (this running uninstaller) to be deleted once this
// process has ended, and its folder with it when `folderToo` and it is empty
// by then. False when only the next start of Windows will do it.
bool removeWhenEnded(const std::wstring& program, bool folderToo);

// When the command line's arguments are the removal copy's (see above), does
// its work and returns the process's exit code; nothing otherwise.
std::optional<int> runRemovalCopy(std::wstring_view arguments);

}  // namespace pelmora
