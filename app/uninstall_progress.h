// What the windowed uninstaller shows while it removes: a small skinned
// window in the installer's style, a line saying what goes and a bar that
// advances with every recorded file. It lives only as long as the removal.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

class UninstallProgress {
public:
    // Shows the window at once, centred on the screen, the bar empty;
    // `files` is how many steps fill it.
    UninstallProgress(const std::wstring& caption, const std::wstring& line, int files);
    ~UninstallProgress();
    UninstallProgress(const UninstallProgress&) = delete;
    UninstallProgress& operator=(const UninstallProgress&) = delete;

    bool shown() const { return window_ != nullptr; }
    // One more file dealt with; repaints before the next one is removed.
    void advance();

private:
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
};

inline constexpr wchar_t kUninstallProgressClass[] = L"PelmoraUninstallProgress";

}  // namespace pelmora
