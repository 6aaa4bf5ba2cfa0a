#include "app/self_removal.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "base/unique_resource.h"
#include "base/win32_util.h"

namespace pelmora {
namespace {

// "/REMOVE-AFTER=<process handle> <0|1> <program>": written by this program
// for its own copy only, so it is neither one of the options nor listed.
constexpr wchar_t kRemoveAfter[] = L"/REMOVE-AFTER=";
// How long the copy waits for the uninstaller to end, and then for its file
// to be let go (a virus scanner may still hold it for a moment).
constexpr DWORD kWaitForEndMs = 10 * 60 * 1000;
constexpr int kDeleteAttempts = 50;
constexpr DWORD kDeleteRetryMs = 100;

void leaveToRestart(const std::wstring& program, bool folderToo) {
    ::MoveFileExW(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (folderToo) {
        const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
        ::MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

}  // namespace

bool removeWhenEnded(const std::wstring& program, bool folderToo) {
    wchar_t temporaryFolder[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temporaryFolder);
    const std::wstring copy = std::wstring(temporaryFolder, n > MAX_PATH ? 0 : n) + L"~pelmora-uninstall-" +
                              std::to_wstring(::GetCurrentProcessId()) + L".exe";
    if (n == 0 || n > MAX_PATH || !::CopyFileW(modulePath().c_str(), copy.c_str(), FALSE)) {
        leaveToRestart(program, folderToo);
        return false;
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    // Shared for reading and deleting, so the system can still start it.
    UniqueFile deleteOnClose(::CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited,
                                           OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    HANDLE self = nullptr;
    if (!deleteOnClose || !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self,
                                             SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0)) {
        deleteOnClose.reset();
        ::DeleteFileW(copy.c_str());
        leaveToRestart(program, folderToo);
        return false;
    }
    UniqueHandle ownHandle(self);
    std::wstring commandLine = L"\"" + copy + L"\" " + kRemoveAfter +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(self)) + (folderToo ? L" 1 " : L" 0 ") +
                               program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, temporaryFolder,
                          &startup, &started)) {
        deleteOnClose.reset();
        leaveToRestart(program, folderToo);
        return false;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    // This process's handles close as it ends; the copy's inherited ones
    // keep the file until the copy ends too.
    deleteOnClose.release();
    ownHandle.release();
    return true;
}

std::optional<int> runRemovalCopy(std::wstring_view arguments) {
    const std::wstring_view prefix = kRemoveAfter;
    if (arguments.substr(0, prefix.size()) != prefix) return std::nullopt;
    arguments.remove_prefix(prefix.size());
    const std::size_t space = arguments.find(L' ');
    if (space == std::wstring_view::npos || arguments.size() < space + 4) return 1;
    const std::wstring handleText(arguments.substr(0, space));
    const bool folderToo = arguments[space + 1] == L'1';
    const std::wstring program(arguments.substr(space + 3));
    // Never a means of deleting anything else: only an uninstaller, and only
    // after the process that asked has ended.
    const std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    if (::CompareStringOrdinal(name.c_str(), -1, L"uninstall.exe", -1, TRUE) != CSTR_EQUAL) return 1;
    HANDLE uninstaller =
        reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(handleText.c_str(), nullptr, 10)));
    if (::GetProcessId(uninstaller) == 0 || ::WaitForSingleObject(uninstaller, kWaitForEndMs) != WAIT_OBJECT_0)
        return 1;
    ::CloseHandle(uninstaller);
    bool deleted = false;
    for (int attempt = 0; attempt < kDeleteAttempts && !deleted; ++attempt) {
        deleted = ::DeleteFileW(program.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
        if (!deleted) ::Sleep(kDeleteRetryMs);
    }
    if (!deleted) {
        leaveToRestart(program, folderToo);
        return 1;
    }
    // Only an empty folder goes: whatever was put there meanwhile stays.
    if (folderToo) ::RemoveDirectoryW(program.substr(0, program.find_last_of(L'\\')).c_str());
    return 0;
}

}  // namespace pelmora
