#include "tests/e2e/driver.h"

#include <cstdlib>
#include <vector>

namespace pelmora::e2e {

std::wstring buildDir() {
    const char* dir = std::getenv("PELMORA_BUILD_DIR");
    std::wstring path = L"Z:";
    for (const char* p = dir ? dir : ""; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring installerPath() {
    return buildDir() + L"\\app\\PelmoraSetup.exe";
}

std::wstring textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<hung>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                          &copied);
    text.resize(copied);
    return text;
}

std::wstring classOf(HWND hwnd) {
    wchar_t name[128] = {};
    ::GetClassNameW(hwnd, name, 128);
    return name;
}

RECT rectInParent(HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

namespace {

struct FindState {
    DWORD processId;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK findProc(HWND hwnd, LPARAM param) {
    auto* state = reinterpret_cast<FindState*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if ((state->processId == 0 || pid == state->processId) && ::IsWindowVisible(hwnd) &&
        textOf(hwnd) == *state->title) {
        state->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findTopLevel(DWORD processId, const std::wstring& title) {
    FindState state{processId, &title, nullptr};
    ::EnumWindows(findProc, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND findDialog(DWORD processId, const std::wstring& caption) {
    HWND found = findTopLevel(processId, caption);
    return found && classOf(found) == L"#32770" ? found : nullptr;
}

std::wstring messageBoxText(HWND box) {
    return textOf(::GetDlgItem(box, 0xFFFF));
}

void clickLater(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

HWND focusOf(const Installer& installer) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (::GetGUIThreadInfo(installer.threadId(), &info) && info.hwndFocus) return info.hwndFocus;
    return installer.window();
}

void pressKey(const Installer& installer, UINT vk) {
    HWND target = focusOf(installer);
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
    // Previous-state and transition bits, shifted as LPARAM: a 32-bit long
    // shifted into bit 31 is negative and would fill a 64-bit lParam's upper half.
    ::PostMessageW(target, WM_KEYUP, vk, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

bool tabTo(const Installer& installer, HWND target) {
    for (int i = 0; i < 20 && focusOf(installer) != target; ++i) {
        pressKey(installer, VK_TAB);
        if (!settle(installer)) return false;
    }
    return focusOf(installer) == target;
}

bool settle(const Installer& installer) {
    // A message posted behind everything else, whose effect can be read back:
    // the thread's posted messages are handled in order, so once the folder
    // box shows the new selection, all that came before it has been dealt
    // with (or a modal loop took it over). Sent messages give no such order.
    static WPARAM mark = 0;
    mark = mark == 1 ? 2 : 1;
    HWND edit = installer.unit(16);
    ::PostMessageW(edit, EM_SETSEL, mark, static_cast<LPARAM>(mark));
    const bool seen = waitFor(
        [&] {
            DWORD_PTR selection = 0;
            return !installer.running() ||
                   (::SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_NORMAL, 1000, &selection) &&
                    selection == static_cast<DWORD_PTR>(MAKELONG(mark, mark)));
        },
        60000);
    return seen && installer.running();
}

bool selectInFolderDialog(HANDLE process, HWND dialog, const std::wstring& path) {
    const SIZE_T bytes = (path.size() + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return false;
    // BFFM_SETSELECTIONW with a path: the string must live in the dialog's
    // process. The dialog procedure gives no usable result; the caller checks
    // what the dialog returned.
    const bool written = ::WriteProcessMemory(process, remote, path.c_str(), bytes, nullptr);
    DWORD_PTR ignored = 0;
    if (written) {
        ::SendMessageTimeoutW(dialog, WM_USER + 103, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                              &ignored);
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return written;
}

namespace {

// Starts `program` with `arguments`; the caller owns the handles in `info`.
bool startProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& extraEnvironment,
                  const std::wstring& folder, PROCESS_INFORMATION* info) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    std::vector<wchar_t> environment;
    if (!extraEnvironment.empty()) {
        wchar_t* block = ::GetEnvironmentStringsW();
        for (wchar_t* p = block; *p; p += wcslen(p) + 1) environment.insert(environment.end(), p, p + wcslen(p) + 1);
        ::FreeEnvironmentStringsW(block);
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        environment.push_back(0);
        environment.push_back(0);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            environment.empty() ? nullptr : environment.data(),
                            folder.empty() ? nullptr : folder.c_str(), &startup, info) != FALSE;
}

struct ShownWindow {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findShownWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ShownWindow*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

Installer::Installer(const std::wstring& extraEnvironment, const std::wstring& program, const std::wstring& title,
                     const std::wstring& arguments) {
    PROCESS_INFORMATION info{};
    if (!startProgram(program, arguments, extraEnvironment, L"", &info)) return;
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    waitFor([&] {
        window_ = findTopLevel(processId_, title);
        return window_ != nullptr || !running();
    });
}

HiddenRun runExpectingNoWindow(const std::wstring& arguments, const std::wstring& program, const std::wstring& folder,
                               DWORD timeoutMs) {
    HiddenRun run;
    PROCESS_INFORMATION info{};
    if (!startProgram(program, arguments, L"", folder, &info)) return run;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    // A shown window already fails the run, and a box would wait for ever:
    // the watch ends at the first one.
    waitFor(
        [&] {
            ShownWindow search{info.dwProcessId, nullptr};
            ::EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                run.windowShown = true;
                run.windowTitle = textOf(search.found);
                return true;
            }
            return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    if (::WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        ::WaitForSingleObject(process.get(), 5000);
        return run;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    run.exitCode = static_cast<long>(code);
    return run;
}

Installer::~Installer() {
    if (running()) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool Installer::running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

long Installer::waitExit(DWORD timeoutMs) {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1000;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return static_cast<long>(code);
}

bool saveScreenshot(const std::wstring& path) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    MemoryDc memory(::CreateCompatibleDC(screen));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiBitmap bitmap(::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (bitmap) {
        SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
        BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                            static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ok = file && ::WriteFile(file.get(), &fh, sizeof fh, &written, nullptr) &&
             ::WriteFile(file.get(), &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr) &&
             ::WriteFile(file.get(), bits, size, &written, nullptr);
    }
    ::ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace pelmora::e2e
