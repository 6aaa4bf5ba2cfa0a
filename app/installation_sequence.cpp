// What the installer does when the user acts: choose a folder, agree,
// install under the progress display, then leave with or without starting the
// installed program. Where it stands is kept as an InstallPhase, and the
// captions follow from it.
#include "app/exit_codes.h"
#include "app/information_box.h"
#include "app/installer_app.h"
#include "app/installer_messages.h"
#include "app/package_contents.h"
#include "payload/constants.h"
#include "payload/package_texts.h"
#include "pelmora/skin.h"
#include "services/message_pump.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

// A text of the window or its boxes, as the package gives it.
std::wstring say(const char* key) {
    return ownPackage().windowText(key);
}

// The steps follow each other without waiting; the percentage and the bar
// are shown, and input is served, once a display frame rather than at every step.
constexpr DWORD kFrameMs = 16;

}  // namespace

std::wstring installPath(const std::wstring& installDir, const wchar_t* suffix) {
    if (!installDir.empty() && installDir.back() == L'\\' && suffix[0] == L'\\') return installDir + (suffix + 1);
    return installDir + suffix;
}

void InstallerApp::onBrowseClick() {
    const std::wstring result = browseForFolder(say("browseTitle"));
    // A cancelled dialog (or a choice without a file-system path) keeps the
    // folder the user had: an empty folder can never be installed into.
    if (result.empty()) return;
    lastBrowseResult = result;
    window_.setText(UnitRole::PathEdit, result);
}

void InstallerApp::onAgreeClick() {
    window_.setDisabled(UnitRole::InstallButton, !window_.checked());
}

void InstallerApp::onTermsLinkClick(int, int, WPARAM) {
    showInformationBox(window_.hwnd(), ownPackage().text(package::kKeyInformation, kInformationText),
                       say("informationCaption"));
}

void InstallerApp::onInstallClick() {
    if (!window_.checked()) {
        showInformationBox(window_.hwnd(), ownPackage().text(package::kKeyInformation, kInformationText),
                           say("informationCaption"));
        window_.setChecked(true);
        // Repaint where the box was before the archive is written, rather
        // than after.
        ::RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    installDir = window_.text(UnitRole::PathEdit);
    if (!downgradeAccepted()) return;
    installation_ = std::make_unique<Installation>(installDir, *log_);
    // Still idle after any of these: the user can choose another folder, and
    // the folder is free for another installer again.
    if (!readyToWrite()) return installation_.reset();
    if (!installation_->writeArchive()) {
        showBox(folderNotWritableText(installDir), say("errorCaption"), MB_OK | MB_ICONERROR);
        return installation_.reset();
    }
    enterInstallingLayout();
    enterPhase(InstallPhase::Installing);
    window_.setTimerInterval(UnitRole::ProgressTimer, 100);
}

bool InstallerApp::downgradeAccepted() {
    const std::wstring offered = ownPackage().text(package::kKeyProductVersion, L"");
    if (!earlier_.found() || compareVersions(earlier_.version, offered) <= 0) return true;
    // Only over that installation: elsewhere nothing newer is replaced.
    const std::wstring target = comparablePath(installPath(installDir, ownPackage().folderSuffix().c_str()));
    if (::CompareStringOrdinal(target.c_str(), -1, comparablePath(earlier_.productFolder).c_str(), -1, TRUE) !=
        CSTR_EQUAL)
        return true;
    const std::wstring text = fillIn(fillIn(say("downgradeAsk"), L"{old}", earlier_.version), L"{new}", offered);
    const bool yes = showBox(text, say("noticeCaption"), MB_YESNO | MB_ICONQUESTION) == IDYES;
    log_->write(yes ? L"an older version replaces " + earlier_.version + L": accepted"
                    : L"an older version would replace " + earlier_.version + L": declined");
    return yes;
}

// Every box in front of the window is dressed like the information box.
int InstallerApp::showBox(const std::wstring& text, const std::wstring& caption, UINT type) {
    const skin::SkinNextMessageBox skinned;
    return ::MessageBoxW(window_.hwnd(), text.c_str(), caption.c_str(), type);
}

// What must hold before anything is written. A path Windows cannot create, or
// start and link to, would otherwise end in an installation that looks
// finished and does nothing; a drive that fills up would fail halfway; a file
// held open by the running program would fail only after every other file
// had been replaced.
bool InstallerApp::readyToWrite() {
    if (!installation_->claimFolder()) {
        showBox(otherInstallationText(installation_->productFolder()), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    const FolderCheck check = installation_->checkFolder();
    if (check.verdict == FolderVerdict::PathTooLong) {
        showBox(pathTooLongText(installDir), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (check.verdict == FolderVerdict::LinkInTheWay) {
        showBox(linkInTheWayText(check.path), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (check.verdict == FolderVerdict::FileInTheWay) {
        showBox(fileInTheWayText(check.path), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (check.verdict == FolderVerdict::NotWritable) {
        showBox(folderNotWritableText(installDir), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (check.verdict == FolderVerdict::NotEnoughSpace) {
        showBox(notEnoughSpaceText(installDir, check.needed, check.free), say("errorCaption"), MB_OK | MB_ICONERROR);
        return false;
    }
    for (std::wstring busy = installation_->fileInUse(); !busy.empty(); busy = installation_->fileInUse()) {
        if (showBox(fileInUseText(busy), say("noticeCaption"), MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
            return false;
    }
    return true;
}

void InstallerApp::enterInstallingLayout() {
    if (lineShown_) {
        ::SetWindowPos(window_.unit(UnitRole::PercentLabel), nullptr, percentRect_.left, percentRect_.top,
                       percentRect_.right - percentRect_.left, percentRect_.bottom - percentRect_.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        lineShown_ = false;
    }
    window_.setVisible(UnitRole::InstallButton, false);
    window_.setVisible(UnitRole::FinishButton, true);
    window_.setVisible(UnitRole::PercentLabel, true);
    window_.setVisible(UnitRole::StatusLabel, true);
    for (UnitRole unit : {UnitRole::FolderLabel, UnitRole::TermsLinkLabel, UnitRole::AgreeLabel,
                          UnitRole::AgreeCheckBox, UnitRole::PathEdit, UnitRole::BrowseButton})
        window_.setVisible(unit, false);
}

void InstallerApp::enterPhase(InstallPhase phase) {
    phase_ = phase;
    const PhaseCaptions captions = phaseCaptions(phase);
    if (captions.percentLabel) window_.setText(UnitRole::PercentLabel, captions.percentLabel);
    if (captions.statusLabel) window_.setText(UnitRole::StatusLabel, say(captions.statusLabel));
    if (captions.finishButton) window_.setText(UnitRole::FinishButton, say(captions.finishButton));
}

// The whole installation runs inside one tick. The steps themselves take no
// time; what the user sees of them is shown once a display frame (the
// percentage and the bar), and every new status line is painted before the
// steps go on, so no message is skipped. Messages are dispatched once a frame
// too, so a later tick can enter again and continue from the current step;
// whichever run reaches 100 finishes, and finishing twice is harmless.
// Extraction dispatches nothing and so never runs twice.
void InstallerApp::onProgressTick() {
    if (phase_ != InstallPhase::Installing) return;
    // The percent label may still hold the line about an earlier version.
    showProgress(step_, step_);
    DWORD frame = ::GetTickCount();
    while (step_ < 100) {
        const int p = step_;
        if (p == 40) {
            showProgress(p, p);
            window_.setText(UnitRole::StatusLabel, say("statusWriting"));
            // Painted, not pumped: extraction must not start a nested run.
            ::RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            if (!extractPayload()) return failInstallation();
        }
        if (p == 70) {
            showProgress(p, p);
            window_.setText(UnitRole::StatusLabel, say("statusInstalling"));
        }
        step_ = p + 1;
        if (::GetTickCount() - frame >= kFrameMs) {
            showProgress(p, step_);
            processPendingMessages();
            frame = ::GetTickCount();
            // A nested run has finished or failed, and said so.
            if (phase_ != InstallPhase::Installing) return;
        }
    }
    // The finished phase shows its own percentage.
    window_.setProgressPosition(100);
    finishInstallation();
}

// The percentage and the bar as a step leaves them; only what changed is set,
// since each unit repaints when it is set.
void InstallerApp::showProgress(int percent, int bar) {
    if (percent != shownPercent_) {
        window_.setText(UnitRole::PercentLabel, std::to_wstring(percent) + kPercentSuffix);
        shownPercent_ = percent;
    }
    if (bar != window_.progressPosition()) window_.setProgressPosition(bar);
}

bool InstallerApp::extractPayload() {
    return installation_->extract();
}

void InstallerApp::finishInstallation() {
    // A nested run has finished already: one shortcut, one word about the archive.
    if (phase_ == InstallPhase::Finished) return;
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);
    enterPhase(InstallPhase::Finished);
    if (!installation_->finish(shortcut_))
        showBox(archiveLeftText(installation_->archivePath()), say("noticeCaption"), MB_OK | MB_ICONWARNING);
}

// Extraction did not succeed: take away what this run created, say so, keep
// the progress where it stopped, make no shortcut, and offer only to leave.
void InstallerApp::failInstallation() {
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);  // no tick may run during the box
    const std::wstring leftover = installation_->undo();
    enterPhase(InstallPhase::Failed);
    showBox(installFailedText(installation_->failedPath(), leftover), say("errorCaption"), MB_OK | MB_ICONERROR);
}

void InstallerApp::onFinishClick() {
    if (phase_ == InstallPhase::Failed) fadeOutAndExit(ExitCode::ExtractionFailed);
    // Only a finished installation has a program to start.
    if (phase_ != InstallPhase::Finished) return;
    installation_->launch();
    fadeOutAndExit(ExitCode::Installed);
}

bool InstallerApp::onCloseQuery() {
    if (phase_ == InstallPhase::Installing) return false;
    // Closed before installing, the run installed nothing and failed at nothing.
    fadeOutAndExit(phase_ == InstallPhase::Failed ? ExitCode::ExtractionFailed : ExitCode::Installed);
}

}  // namespace pelmora
