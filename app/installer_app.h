// The installer's behaviour: the handlers bound to the units of its window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/earlier_installation.h"
#include "app/exit_codes.h"
#include "app/install_log.h"
#include "app/install_phase.h"
#include "app/installation.h"
#include "app/installer_window.h"
#include "base/unique_resource.h"

namespace pelmora {

class InstallerApp final : public FormEvents {
public:
    explicit InstallerApp(InstallerWindow& window) : window_(window) {}

    // What the command line asks of the window, before it is created: the
    // folder the folder box starts with (empty: the default), whether to
    // make the shortcut, and where the steps are logged.
    void useOptions(const std::wstring& folder, bool shortcut, InstallLog& log);

    // Form events, dispatched to the named handlers below.
    void onWindowCreated() override;
    void onFirstFrameShown() override;
    bool onCloseQuery() override;
    void onUnitClick(UnitRole unit) override;
    void onTimerTick(UnitRole timer) override;
    void onLabelReleased(UnitRole label, int x, int y, WPARAM keys) override;

    // The information line: date and time, then the system version.
    void onInfoTick();

    // The installation sequence.
    void onBrowseClick();
    void onAgreeClick();
    void onInstallClick();
    void enterInstallingLayout();
    // Keeps the phase and shows its captions.
    void enterPhase(InstallPhase phase);
    void onProgressTick();
    void onFinishClick();
    void onTermsLinkClick(int x, int y, WPARAM keys);

    // Lowers the window's alpha from 254 to 0, then ends the program with
    // `code` (Installed after an installation, or before any;
    // ExtractionFailed after a failed one).
    [[noreturn]] void fadeOutAndExit(ExitCode code);

    // Process-wide state, released by the exit clean-up.
    std::wstring installDir;
    std::wstring lastBrowseResult;

private:
    // Every call into the skin engine made when the window is created, in one place.
    void applyWindowSkin();
    int showBox(const std::wstring& text, const std::wstring& caption, UINT type);
    // Checks made before anything is written; false (after a box) keeps the window idle.
    bool readyToWrite();
    // The line over the idle window that names the version installed
    // already, in the percent label's row, as wide as the heading.
    void showEarlierInstallation();
    // False when an older version would replace a newer one and the user
    // says no.
    bool downgradeAccepted();
    bool extractPayload();  // at 40 %
    void finishInstallation();
    void failInstallation();
    void showProgress(int percent, int bar);

    InstallerWindow& window_;
    InstallLog defaultLog_;  // keeps nothing
    InstallLog* log_ = &defaultLog_;
    std::wstring presetFolder_;
    bool shortcut_ = true;
    // The installation the last Install click began; replaced by the next
    // click while the window is idle.
    std::unique_ptr<Installation> installation_;
    InstallPhase phase_ = InstallPhase::Idle;
    int step_ = 0;           // installing: the steps done, of 100
    int shownPercent_ = -1;  // the percentage the label shows while installing
    EarlierInstallation earlier_;
    RECT percentRect_{};  // the percent label's place, while the line is shown in it
    bool lineShown_ = false;
};

// A path under the installation folder: the folder followed by a suffix that
// starts with a backslash. A folder that already ends in one (a drive root
// such as "D:\") does not get a second: "D:\Pelmora", never "D:\\Pelmora",
// which the shell cannot resolve into a shortcut target.
std::wstring installPath(const std::wstring& installDir, const wchar_t* suffix);

// "2021年12月30日6时50分21秒" + 27 spaces + "系统版本：" + the version text.
std::wstring informationLineText(const std::wstring& dateTime, const std::wstring& version);

}  // namespace pelmora
