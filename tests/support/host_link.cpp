#include "tests/support/host_link.h"

#include <windows.h>

#include "base/text.h"
#include "base/win32_util.h"

namespace pelmora::testing {
namespace {

using UnixFileName = char*(CDECL*)(const wchar_t*);

// The host's name for a Windows path under Wine; empty elsewhere. A path that
// does not exist yet is its folder's host name and its own name.
std::string hostPath(const std::wstring& path) {
    const auto unixName = systemProc<UnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::string host = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return host;
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a host program under Wine and waits, bounded, until `done` holds:
// Wine starts a host binary like a Windows one, but its process handle does
// not always say when it has ended.
template <typename Done>
bool runHostProgram(const std::string& line, Done done) {
    std::wstring command = wideFromUtf8(line);  // host names are UTF-8
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    for (int i = 0; i < 400 && !done(); ++i) ::Sleep(25);
    return done();
}

}  // namespace

HostLink::HostLink(std::wstring link, const std::wstring& target) : link_(std::move(link)) {
    const std::string hostTarget = hostPath(target), hostLink = hostPath(link_);
    if (hostTarget.empty() || hostLink.empty()) {
        const DWORD flags = (::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
        made_ = ::CreateSymbolicLinkW(link_.c_str(), target.c_str(), flags | 2 /* unprivileged */) != FALSE;
        return;
    }
    made_ = runHostProgram("Z:\\bin\\ln -s \"" + hostTarget + "\" \"" + hostLink + "\"", [&] { return exists(link_); });
}

HostLink::~HostLink() {
    if (!made_) return;
    const std::string hostLink = hostPath(link_);
    if (hostLink.empty()) {
        // A link to a folder goes with RemoveDirectory, one to a file with DeleteFile.
        if (!::RemoveDirectoryW(link_.c_str())) ::DeleteFileW(link_.c_str());
        return;
    }
    // Not RemoveDirectory under Wine: it removes the folder the link points to.
    runHostProgram("Z:\\bin\\rm -f \"" + hostLink + "\"", [&] { return !exists(link_); });
}

}  // namespace pelmora::testing
