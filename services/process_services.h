// Starting programs.
#pragma once

#include <optional>
#include <string>

namespace pelmora {

// wShowWindow for a show mode: 1 hide, 2 normal, 3 minimised, 4 maximised,
// 5 shown without activation, 6 minimise; above 6 counts as 6, 0 or less as 1.
int showCommandForMode(int showMode);

// The command line that starts exactly `programPath`: quoted, so the system
// never tries a shorter prefix at a space (C:\Program.exe for C:\Program Files\...).
std::wstring quotedCommandLine(const std::wstring& programPath);

// Starts a process with the caller's environment and current folder. Waits for
// its end when asked, else up to one second for it to become idle.
bool runProgram(const std::wstring& commandLine, bool waitForExit = false, std::optional<int> showMode = std::nullopt);

}  // namespace pelmora
