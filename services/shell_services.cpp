#include "services/shell_services.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <utility>
#include <vector>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

struct DisabledWindows {
    DWORD processId;
    std::vector<std::pair<HWND, bool>> windows;  // window, was enabled
};

BOOL CALLBACK disableOwnTopLevel(HWND hwnd, LPARAM param) {
    auto* state = reinterpret_cast<DisabledWindows*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->processId && !::GetParent(hwnd)) {
        // EnableWindow returns whether the window was disabled before.
        const bool wasEnabled = !::EnableWindow(hwnd, FALSE);
        state->windows.emplace_back(hwnd, wasEnabled);
    }
    return TRUE;
}

}  // namespace

std::wstring browseForFolder(const std::wstring& title, bool includeFiles) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    HWND active = ::GetActiveWindow();
    HWND foreground = ::GetForegroundWindow();
    info.hwndOwner = ::IsWindow(active) ? active : nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = includeFiles ? (BIF_EDITBOX | BIF_BROWSEINCLUDEFILES) : BIF_EDITBOX;

    DisabledWindows disabled{::GetCurrentProcessId(), {}};
    ::EnumWindows(disableOwnTopLevel, reinterpret_cast<LPARAM>(&disabled));
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    for (auto& [hwnd, wasEnabled] : disabled.windows) {
        if (::IsWindow(hwnd)) ::EnableWindow(hwnd, wasEnabled ? TRUE : FALSE);
    }
    if (::IsWindow(foreground)) ::SetForegroundWindow(foreground);
    if (::IsWindow(active)) ::SetActiveWindow(active);

    std::wstring result;
    if (chosen) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(chosen, path)) result = path;
        ::CoTaskMemFree(chosen);  // the shell allocator
    }
    return result;
}

std::wstring specialFolderPath(int kind) {
    static const int kCsidl[] = {CSIDL_PERSONAL,  CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                 CSIDL_STARTMENU, CSIDL_PROGRAMS,  CSIDL_STARTUP,          CSIDL_APPDATA};
    wchar_t buffer[MAX_PATH + 1] = {};
    bool ok = false;
    if (kind >= 1 && kind <= 8) {
        ok = ::SHGetSpecialFolderPathW(nullptr, buffer, kCsidl[kind - 1], FALSE) != FALSE;
    } else if (kind == 9) {
        const UINT n = ::GetWindowsDirectoryW(buffer, MAX_PATH);
        ok = n > 0 && n < MAX_PATH;
    } else if (kind == 10) {
        const UINT n = ::GetSystemDirectoryW(buffer, MAX_PATH);
        ok = n > 0 && n < MAX_PATH;
    } else if (kind == 11) {
        const DWORD n = ::GetTempPathW(MAX_PATH, buffer);
        ok = n > 0 && n < MAX_PATH;
    }
    if (!ok || buffer[0] == L'\0') return {};
    std::wstring path = buffer;
    if (path.back() != L'\\') path += L'\\';
    return path;
}

std::wstring shortcutFileName(const std::wstring& linkPath) {
    const size_t slash = linkPath.find_last_of(L"\\/");
    const size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    if (linkPath.find(L'.', nameStart) != std::wstring::npos) return linkPath;
    return linkPath + L".lnk";
}

bool createShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::optional<std::wstring>& description, const std::optional<std::wstring>& arguments,
                    const std::optional<std::wstring>& workingFolder) {
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.out()))))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) return false;
    link->SetPath(target.c_str());
    link->SetShowCmd(SW_SHOW);
    if (description) link->SetDescription(description->c_str());
    if (arguments) link->SetArguments(arguments->c_str());
    if (workingFolder) link->SetWorkingDirectory(workingFolder->c_str());
    return SUCCEEDED(file->Save(shortcutFileName(linkPath).c_str(), TRUE));
}

}  // namespace pelmora
