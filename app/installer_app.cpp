#include "app/installer_app.h"

#include "app/window_picture.h"
#include "payload/constants.h"
#include "payload/embedded_data.h"
#include "services/date_time_text.h"
#include "services/message_pump.h"
#include "services/program_end.h"
#include "services/transparency.h"
#include "sysinfo/os_version.h"

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
    // The skin engine is not part of the program yet. Until it composes the
    // window, the form paints the theme picture itself, so the white title
    // and information line sit on the dark sky they were made for.
    const ByteView picture = backgroundPng();
    windowPicture_ = decodePicture(picture.data, picture.size);
    window_.setBackgroundPicture(windowPicture_.get());
}

void InstallerApp::onInfoTick() {
    window_.setText(UnitRole::InfoLabel, informationLineText(currentDateTimeText(), osVersionText()));
}

void InstallerApp::onUnitClick(UnitRole unit) {
    switch (unit) {
    case UnitRole::BrowseButton: return onBrowseClick();
    case UnitRole::AgreeCheckBox: return onAgreeClick();
    case UnitRole::InstallButton: return onInstallClick();
    case UnitRole::FinishButton: return onFinishClick();
    default: return;
    }
}

void InstallerApp::onTimerTick(UnitRole timer) {
    if (timer == UnitRole::InfoTimer) onInfoTick();
    if (timer == UnitRole::ProgressTimer) onProgressTick();
}

void InstallerApp::onLabelReleased(UnitRole label, int x, int y, WPARAM keys) {
    if (label == UnitRole::TermsLinkLabel) onTermsLinkClick(x, y, keys);
}

void InstallerApp::fadeOutAndExit(int exitCode) {
    for (int i = 1; i <= 255; ++i) {
        setWindowAlpha(window_.hwnd(), static_cast<int>(kFadeBase) - i);
        sleepMs(1);
    }
    endProgram(exitCode);
}

}  // namespace pelmora
