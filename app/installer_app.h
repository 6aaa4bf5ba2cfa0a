// The installer's behaviour: the handlers bound to the units of its window.
#pragma once

#include <windows.h>

#include <string>

#include "app/installer_window.h"

namespace pelmora {

class InstallerApp final : public FormEvents {
public:
    explicit InstallerApp(InstallerWindow& window) : window_(window) {}

    // Form events, dispatched to the named handlers below.
    void onWindowCreated() override;
    bool onCloseQuery() override;
    void onUnitClick(UnitRole unit) override;
    void onTimerTick(UnitRole timer) override;
    void onLabelReleased(UnitRole label, int x, int y, WPARAM keys) override;

    // The information line: date and time, then the system version.
    void onInfoTick();

    // Lowers the window's alpha from 254 to 0, then ends the program with `exitCode`.
    [[noreturn]] void fadeOutAndExit(int exitCode = 0);

    // Process-wide state, released by the exit clean-up.
    std::wstring installDir;
    std::wstring lastBrowseResult;

private:
    // Every call into the skin engine made when the window is created, in one place.
    void applyWindowSkin();

    InstallerWindow& window_;
};

// "2021年12月30日6时50分21秒" + 27 spaces + "系统版本：" + the version text.
std::wstring informationLineText(const std::wstring& dateTime, const std::wstring& version);

}  // namespace pelmora
