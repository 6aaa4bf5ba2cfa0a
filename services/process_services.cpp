#include "services/process_services.h"

#include <windows.h>

#include <vector>

#include "base/unique_resource.h"

namespace pelmora {

int showCommandForMode(int showMode) {
    static const int kCommands[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                                    SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
    if (showMode < 1) showMode = 1;
    if (showMode > 6) showMode = 6;
    return kCommands[showMode - 1];
}

std::wstring quotedCommandLine(const std::wstring& programPath) {
    return L"\"" + programPath + L"\"";
}

bool runProgram(const std::wstring& commandLine, bool waitForExit, std::optional<int> showMode) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommandForMode(showMode.value_or(2)));
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (waitForExit) {
        ::WaitForSingleObject(process.get(), INFINITE);
    } else {
        ::WaitForInputIdle(process.get(), 1000);
    }
    return true;
}

}  // namespace pelmora
