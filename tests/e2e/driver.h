// Drives the real installer from a second process, as a user would: starts
// it, finds its window and units, reads texts and states, clicks, closes.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_resource.h"

namespace pelmora::e2e {

std::wstring buildDir();       // the build tree, as a Windows path
std::wstring installerPath();  // the installer executable
inline constexpr wchar_t kWindowTitle[] = L"软件安装向导";

// Polls `ready` every few milliseconds until it holds or `timeoutMs` passes.
template <typename F>
bool waitFor(F ready, DWORD timeoutMs = 10000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(5);
    }
}

std::wstring textOf(HWND hwnd);  // WM_GETTEXT, safe across processes
std::wstring classOf(HWND hwnd);
RECT rectInParent(HWND child);

// A running installer process and its window.
class Installer {
public:
    // Starts the installer (optionally another copy of it, with extra
    // environment "NAME=value", with arguments) and waits for its window
    // with that title.
    explicit Installer(const std::wstring& extraEnvironment = L"", const std::wstring& program = installerPath(),
                       const std::wstring& title = kWindowTitle, const std::wstring& arguments = L"");
    ~Installer();  // ends the process if it still runs

    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_.get(); }
    DWORD threadId() const { return threadId_; }
    // The unit at `position` (its place in the form + 1); its control id is
    // 1000 + position.
    HWND unit(int position) const { return ::GetDlgItem(window_, 1000 + position); }
    bool running() const;
    // Waits for the process to end; returns its exit code, or -1000 on timeout.
    long waitExit(DWORD timeoutMs = 15000);

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// A run of the installer that must show nothing at all: its exit code
// (-1000 when it showed a window or did not end in time, and was ended
// then), and the title of the visible window it was seen with, if any.
struct HiddenRun {
    long exitCode = -1000;
    bool windowShown = false;
    std::wstring windowTitle;
};
// Starts the installer with `arguments` in `folder` (empty: the test's own
// current folder) and watches every window of its process until it ends.
HiddenRun runExpectingNoWindow(const std::wstring& arguments, const std::wstring& program = installerPath(),
                               const std::wstring& folder = L"", DWORD timeoutMs = 60000);

// Where the installer's keyboard input goes: its focused window, or its main
// window when nothing has the focus.
HWND focusOf(const Installer& installer);
// Presses and releases a key there, as the keyboard would deliver it.
void pressKey(const Installer& installer, UINT vk);
// Moves the focus with Tab until `target` has it; false when it never does.
bool tabTo(const Installer& installer, HWND target);
// Returns once the installer has dealt with everything posted to it before
// (or has entered a modal loop doing so); false when it ended or hangs. It
// moves the selection of the folder box.
bool settle(const Installer& installer);

HWND findTopLevel(DWORD processId, const std::wstring& title);  // processId 0: any process
// A dialog (class #32770) of the process with that caption.
HWND findDialog(DWORD processId, const std::wstring& caption);
// The text of a message box (its static text control).
std::wstring messageBoxText(HWND box);
// Presses a button without waiting for what it starts (a modal box, say).
void clickLater(HWND button);
// Asks an open folder dialog of another process to select `path`.
bool selectInFolderDialog(HANDLE process, HWND dialog, const std::wstring& path);
// Saves what the screen shows (the virtual desktop) as a 24-bit BMP.
bool saveScreenshot(const std::wstring& path);

}  // namespace pelmora::e2e
