#include "app/installer_app.h"

#include "app/package_contents.h"
#include "base/dpi_scale.h"
#include "payload/constants.h"
#include "payload/package_texts.h"
#include "pelmora/skin.h"
#include "services/date_time_text.h"
#include "services/message_pump.h"
#include "services/program_end.h"
#include "services/transparency.h"
#include "sysinfo/os_version.h"

namespace pelmora {
namespace {

// The row where the labels' light strip begins: just above the progress bar.
constexpr int kPlainPictureSplit = 205;

}  // namespace

std::wstring informationLineText(const std::wstring& dateTime, const std::wstring& version) {
    return dateTime + std::wstring(27, L' ') + ownPackage().windowText("systemVersion") + version;
}

void InstallerApp::useOptions(const std::wstring& folder, bool shortcut, InstallLog& log) {
    presetFolder_ = folder;
    shortcut_ = shortcut;
    log_ = &log;
}

void InstallerApp::onWindowCreated() {
    applyWindowSkin();
    window_.setTimerInterval(UnitRole::InfoTimer, 500);
    earlier_ = findEarlierInstallation();
    const std::wstring folder = !presetFolder_.empty() ? presetFolder_
                                : earlier_.found()     ? earlier_.installDir
                                                       : ownPackage().defaultFolder();
    window_.setText(UnitRole::PathEdit, folder);
    if (earlier_.found()) showEarlierInstallation();
}

// The window's icon is drawn by no frame of the window itself (the skin draws
// no icon); the taskbar and Alt+Tab take it a moment later, which keeps
// making the icons and handing them to the display off the way to the first frame.
void InstallerApp::onFirstFrameShown() {
    const std::string_view icon = iconImage(ownPackage().icon(), ::GetSystemMetrics(SM_CXICON));
    if (!icon.empty()) window_.setIconImage(icon.data(), icon.size());
}

void InstallerApp::showEarlierInstallation() {
    HWND line = window_.unit(UnitRole::PercentLabel);
    RECT heading;
    ::GetWindowRect(window_.unit(UnitRole::TitleLabel), &heading);
    ::GetWindowRect(line, &percentRect_);
    ::MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&heading), 2);
    ::MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&percentRect_), 2);
    ::SetWindowPos(line, nullptr, heading.left, percentRect_.top, heading.right - heading.left,
                   percentRect_.bottom - percentRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    window_.setText(UnitRole::PercentLabel,
                    earlierInstallationLine(earlier_.version, ownPackage().text(package::kKeyProductVersion, L"")));
    window_.setVisible(UnitRole::PercentLabel, true);
    lineShown_ = true;
}

void InstallerApp::applyWindowSkin() {
    HWND hwnd = window_.hwnd();
    skin::setControlSkinning(true, 0);
    skin::WindowOptions options;
    options.captionHeight = 30;
    options.captionActive = true;
    options.resizable = false;
    options.showHelp = false;
    options.showMenu = false;
    options.showTitle = true;
    options.captionGloss = false;
    skin::skinWindow(hwnd, options);
    skin::TitleStyle title;
    title.fontSize = 12;
    title.bold = false;
    skin::setTitleStyle(hwnd, title);
    const PackageContents& package = ownPackage();
    // A package without a picture of its own gets a plain one: dark behind
    // the white heading, light behind the black labels. On a screen above
    // 150 % it is made at twice the size too, so the edge between the
    // colours stays sharp (not on others: start-up would pay for a picture
    // that is never shown; a window moved there later scales the small one).
    const bool plain = package.background().empty();
    const std::string picture =
        plain ? plainPicturePng(500, 300, kPlainPictureSplit, 0x2B3A55, 0xECE8DC) : package.background();
    const std::string picture2x = !plain ? package.background2x()
                                  : usesDoublePicture(windowDpi(hwnd))
                                      ? plainPicturePng(1000, 600, 2 * kPlainPictureSplit, 0x2B3A55, 0xECE8DC)
                                      : std::string();
    skin::Theme theme;
    theme.imageBytes.assign(picture.begin(), picture.end());
    theme.imageBytes2x.assign(picture2x.begin(), picture2x.end());
    theme.mode = skin::BackgroundMode::TopLeft;
    skin::setSkinTheme(theme);
    // These labels paint a button-face background; the layer swaps it for the picture.
    skin::skinControlLayer(window_.unit(UnitRole::FolderLabel));
    skin::skinControlLayer(window_.unit(UnitRole::TermsLinkLabel));
    skin::skinControlLayer(window_.unit(UnitRole::AgreeLabel));
    skin::setControlTextColour(window_.unit(UnitRole::InstallButton), 0x000000FF);
}

void InstallerApp::onInfoTick() {
    const PackageContents& package = ownPackage();
    DateTimeUnits units;
    units.year = package.windowText("year");
    units.month = package.windowText("month");
    units.day = package.windowText("day");
    units.hour = package.windowText("hour");
    units.minute = package.windowText("minute");
    units.second = package.windowText("second");
    window_.setText(UnitRole::InfoLabel, informationLineText(currentDateTimeText(units), osVersionText()));
}

void InstallerApp::onUnitClick(UnitRole unit) {
    switch (unit) {
        case UnitRole::BrowseButton:
            return onBrowseClick();
        case UnitRole::AgreeCheckBox:
            return onAgreeClick();
        case UnitRole::InstallButton:
            return onInstallClick();
        case UnitRole::FinishButton:
            return onFinishClick();
        default:
            return;
    }
}

void InstallerApp::onTimerTick(UnitRole timer) {
    if (timer == UnitRole::InfoTimer) onInfoTick();
    if (timer == UnitRole::ProgressTimer) onProgressTick();
}

void InstallerApp::onLabelReleased(UnitRole label, int x, int y, WPARAM keys) {
    if (label == UnitRole::TermsLinkLabel) onTermsLinkClick(x, y, keys);
}

void InstallerApp::fadeOutAndExit(ExitCode code) {
    for (int i = 1; i <= 255; ++i) {
        setWindowAlpha(window_.hwnd(), static_cast<int>(kFadeBase) - i);
        sleepMs(1);
    }
    log_->write(L"exit code " + std::to_wstring(exitCodeValue(code)));
    endProgram(code);
}

}  // namespace pelmora
