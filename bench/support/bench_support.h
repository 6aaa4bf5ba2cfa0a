// What every benchmark shares: a clock, the median of rounds, the ratio
// against a baseline measured in the same run, a scratch folder, and (for the
// installer benchmark) starting a program and finding its window. The
// benchmarks keep their own copy of these rather than borrow the tests'
// helpers, so a change to a test fixture never moves a benchmark's figure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/unique_resource.h"

namespace pelmora::bench {

// Milliseconds on the performance counter.
double nowMs();
// The middle value (the upper one of an even count); 0 for none.
double median(std::vector<double> values);
// One line: what, our figure, the baseline's, their ratio and the goal for it
// (no goal when 0).
void printRatio(const char* what, const char* ours, double ourValue, const char* base, double baseValue,
                const char* unit, double goal = 0);

// Removes a folder and everything in it; true when it is gone.
bool removeTree(const std::wstring& path);

// A fresh folder under the temporary folder, removed with its contents at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& hint);
    ~ScratchFolder() { removeTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// The build tree (PELMORA_BUILD_DIR) as Wine's Z: drive shows it.
std::wstring buildDir();
std::wstring installerPath();
inline constexpr wchar_t kInstallerTitle[] = L"软件安装向导";

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

// A window's text, read with WM_GETTEXT (safe across processes).
std::wstring windowText(HWND window);

// A program started for the benchmark, and its top-level window of that title.
class Launched {
public:
    Launched(const std::wstring& program, const std::wstring& title);
    ~Launched();  // ends the process if it still runs
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.get(); }
    // The installer's unit at `position`: control id 1000 + position.
    HWND unit(int position) const { return ::GetDlgItem(window_, 1000 + position); }
    // Waits for the process to end; false on timeout.
    bool waitExit(DWORD timeoutMs = 15000);

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace pelmora::bench
