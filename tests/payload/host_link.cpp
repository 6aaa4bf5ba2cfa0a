#include "tests/payload/host_link.h"

#include <windows.h>

#include "base/text.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"

namespace pelmora::testing {
namespace {

using UnixFileName = char*(CDECL*)(const wchar_t*);

// The Unix path Wine keeps a Windows path at; empty outside Wine.
std::wstring unixPathOf(UnixFileName unixFileName, const std::wstring& path) {
    char* unix = unixFileName(path.c_str());
    if (!unix) return {};
    const std::wstring wide = wideFromUtf8(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return wide;
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool makeHostLink(const std::wstring& link, const std::wstring& target) {
    const auto unixFileName = systemProc<UnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!unixFileName) {
        const DWORD folder = (::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), folder | 2 /* unprivileged */) && exists(link);
    }
    const std::size_t cut = link.find_last_of(L'\\');
    const std::wstring unixTarget = unixPathOf(unixFileName, target);
    const std::wstring unixFolder = unixPathOf(unixFileName, link.substr(0, cut));
    if (unixTarget.empty() || unixFolder.empty() || cut == std::wstring::npos) return false;
    const std::wstring unixLink = unixFolder + L"/" + link.substr(cut + 1);
    // Wine starts a Unix program given by its Z: path, with its arguments.
    std::wstring command = L"Z:\\bin\\ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.get(), 10000);
    // The Unix program's end is not always seen through its handle: wait
    // for the link itself, bounded.
    for (int i = 0; i < 200 && !exists(link); ++i) ::Sleep(25);
    return exists(link);
}

}  // namespace pelmora::testing
