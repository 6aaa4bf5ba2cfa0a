#include "app/installer_app.h"

#include "payload/constants.h"
#include "payload/embedded_data.h"
#include "services/date_time_text.h"
#include "services/message_pump.h"
#include "services/program_end.h"
#include "services/transparency.h"

namespace pelmora {

std::wstring informationLineText(const std::wstring& dateTime, const std::wstring& version) {
    return dateTime + std::wstring(27, L' ') + L"系统版本：" + version;
}

void InstallerApp::onWindowCreated() {
    applyWindowSkin();
    const ByteView icon = iconPng();
    window_.setIconImage(icon.data, icon.size);
    window_.setTimerInterval(UnitRole::InfoTimer, 500);
    window_.setText(UnitRole::PathEdit, kDefaultFolder);
}

void InstallerApp::applyWindowSkin() {
    // The skin engine is not part of the program yet; until it is, the window
    // keeps the standard look of its form.
}

void InstallerApp::onInfoTick() {
    window_.setText(UnitRole::InfoLabel, informationLineText(currentDateTimeText(), L""));
}

bool InstallerApp::onCloseQuery() {
    if (window_.text(UnitRole::FinishButton) == kInstallingCaption) return false;
    fadeOutAndExit();
}

void InstallerApp::onUnitClick(UnitRole unit) {}

void InstallerApp::onTimerTick(UnitRole timer) {
    if (timer == UnitRole::InfoTimer) onInfoTick();
}

void InstallerApp::onLabelReleased(UnitRole label, int x, int y, WPARAM keys) {}

void InstallerApp::fadeOutAndExit(int exitCode) {
    for (int i = 1; i <= 255; ++i) {
        setWindowAlpha(window_.hwnd(), static_cast<int>(kFadeBase) - i);
        sleepMs(1);
    }
    endProgram(exitCode);
}

}  // namespace pelmora
