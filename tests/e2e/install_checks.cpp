#include "tests/e2e/install_checks.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/text.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {

std::wstring desktopShortcut() {
    wchar_t desktop[MAX_PATH];
    ::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return std::wstring(desktop) + L"\\Pelmora.lnk";
}

std::wstring shortcutTarget(const std::wstring& link) {
    ComPtr<IShellLinkW> shell;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(shell.out()))))
        return L"<no shell link>";
    ComPtr<IPersistFile> file;
    if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return L"";
    PIDLIST_ABSOLUTE items = nullptr;
    wchar_t path[MAX_PATH] = {};
    std::wstring target;
    if (SUCCEEDED(shell->GetIDList(&items)) && ::SHGetPathFromIDListW(items, path)) target = path;
    ::CoTaskMemFree(items);
    return target;
}

std::wstring screenshotPath(const wchar_t* name) {
    const std::wstring folder = buildDir() + L"\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t locale[32] = {};
    ::GetEnvironmentVariableW(L"LC_ALL", locale, 32);
    return folder + L"\\" + name + L"-" + std::wstring(locale).substr(0, 5) + L".bmp";
}

void collectTree(const std::wstring& root, const std::wstring& rel, std::map<std::wstring, std::string>* out,
                 std::map<std::wstring, DWORD>* attributes) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((root + rel + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = rel + L"\\" + name;
        if (attributes) (*attributes)[child] = data.dwFileAttributes;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*out)[child] = "/";
            collectTree(root, child, out, attributes);
        } else {
            pelmora::testing::readFileBytes(root + child, &(*out)[child]);
        }
    } while (::FindNextFileW(find.get(), &data));
}

std::map<std::wstring, std::string> listing(const std::wstring& folder) {
    std::map<std::wstring, std::string> tree;
    collectTree(folder, L"", &tree, nullptr);
    for (auto& [name, bytes] : tree)
        if (bytes.size() > 64) bytes = "<" + std::to_string(bytes.size()) + " bytes>";
    return tree;
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

RunningProgram::RunningProgram(const std::wstring& path) {
    std::wstring line = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    waitFor([&] { return (window_ = findTopLevel(info.dwProcessId, kProductTitle)) != nullptr; });
}

RunningProgram::~RunningProgram() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 1);
}

bool RunningProgram::close() {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    return ::WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0;
}

bool writeDamagedCopy(const std::wstring& path) {
    std::string image;
    pelmora::testing::readFileBytes(installerPath(), &image);
    const size_t end = image.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos || end < 100) return false;
    image[end - 100] ^= 0x5A;
    return writeFileBytes(path, image);
}

void takeUninstallData(std::map<std::wstring, std::string>* tree) {
    for (const wchar_t* name : {L"\\uninstall.exe", L"\\uninstall.dat"}) {
        EXPECT_EQ(tree->erase(name), 1u) << "no " << ::testing::PrintToString(std::wstring(name));
    }
}

void expectPayloadInstalledAt(const std::wstring& productFolder) {
    std::map<std::wstring, std::string> expected, actual;
    std::map<std::wstring, DWORD> attributes;
    collectTree(buildDir() + L"\\resources\\payload_tree", L"", &expected, nullptr);
    collectTree(productFolder, L"", &actual, &attributes);
    takeUninstallData(&actual);
    ASSERT_EQ(expected.size(), 77u) << "generated payload tree is incomplete";
    ASSERT_EQ(actual.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        auto it = actual.find(name);
        ASSERT_NE(it, actual.end()) << "missing " << ::testing::PrintToString(name);
        EXPECT_TRUE(it->second == bytes) << "content differs: " << ::testing::PrintToString(name);
        // Normal: nothing read-only, hidden or system is left behind. (Wine
        // reports a plain file as ARCHIVE where Windows says NORMAL.)
        const DWORD unwanted = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(attributes[name] & unwanted, 0u) << ::testing::PrintToString(name);
    }
}

HWND waitForBox(const Installer& installer, const wchar_t* caption) {
    HWND box = nullptr;
    waitFor([&] { return (box = findDialog(installer.processId(), caption)) != nullptr; });
    return box;
}

bool boxSkinnedAndFadedIn(HWND box, DWORD timeoutMs) {
    if (!(::GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_LAYERED)) return false;
    const bool fadedIn = waitFor(
        [&] {
            BYTE alpha = 0;
            DWORD flags = 0;
            return ::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == 250;
        },
        timeoutMs);
    RECT r{};
    ::GetWindowRect(box, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
    const bool rounded = ::GetWindowRgn(box, region.get()) != ERROR && !::PtInRegion(region.get(), 0, 0) &&
                         !::PtInRegion(region.get(), w - 1, h - 1) && ::PtInRegion(region.get(), w / 2, 0) &&
                         ::PtInRegion(region.get(), w / 2, h - 1);
    return fadedIn && rounded;
}

std::wstring acknowledgeBox(Installer& installer, const wchar_t* caption, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!waitFor([&] { return (box = findDialog(installer.processId(), caption)) != nullptr; }, timeoutMs))
        return L"<none>";
    const std::wstring text = messageBoxText(box);
    clickLater(::GetDlgItem(box, IDOK) ? ::GetDlgItem(box, IDOK) : ::GetDlgItem(box, IDCANCEL));
    waitFor([&] { return !::IsWindow(box); });
    return text;
}

}  // namespace pelmora::e2e
