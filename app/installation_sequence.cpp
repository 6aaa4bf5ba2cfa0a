// What the installer does when the user acts: choose a folder, agree,
// install under the progress display, then leave with or without starting the
// installed program. The state is read from the Finish button's caption:
// "安装中···" while installing, "退出并启动" when finished, "退出" after a
// failure.
#include "app/information_box.h"
#include "app/install_plan.h"
#include "app/installer_app.h"
#include "app/installer_messages.h"
#include "payload/constants.h"
#include "payload/embedded_data.h"
#include "services/file_services.h"
#include "services/message_pump.h"
#include "services/process_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

constexpr int kFailedExitCode = 1;

}  // namespace

std::wstring installPath(const std::wstring& installDir, const wchar_t* suffix) {
    if (!installDir.empty() && installDir.back() == L'\\' && suffix[0] == L'\\') return installDir + (suffix + 1);
    return installDir + suffix;
}

void InstallerApp::onBrowseClick() {
    const std::wstring result = browseForFolder(kBrowseTitle);
    // A cancelled dialog (or a choice without a file-system path) keeps the
    // folder the user had: an empty folder can never be installed into.
    if (result.empty()) return;
    lastBrowseResult = result;
    window_.setText(UnitRole::PathEdit, result);
}

void InstallerApp::onAgreeClick() { window_.setDisabled(UnitRole::InstallButton, !window_.checked()); }

void InstallerApp::onTermsLinkClick(int, int, WPARAM) {
    showInformationBox(window_.hwnd(), kInformationText, kInformationCaption);
}

void InstallerApp::onInstallClick() {
    if (!window_.checked()) {
        showInformationBox(window_.hwnd(), kInformationText, kInformationCaption);
        window_.setChecked(true);
        // Repaint where the box was before the archive is written, rather
        // than after.
        ::RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    installDir = window_.text(UnitRole::PathEdit);
    if (!readyToWrite()) return;  // still idle: the user can choose another folder
    if (!writePayloadArchive()) {
        showBox(folderNotWritableText(installDir), kErrorCaption, MB_OK | MB_ICONERROR);
        return;
    }
    enterInstallingLayout();
    window_.setTimerInterval(UnitRole::ProgressTimer, 100);
}

int InstallerApp::showBox(const std::wstring& text, const wchar_t* caption, UINT type) {
    return ::MessageBoxW(window_.hwnd(), text.c_str(), caption, type);
}

// What must hold before anything is written. A path Windows cannot create, or
// start and link to, would otherwise end in an installation that looks
// finished and does nothing; a file held open by the running program would
// fail only after every other file had been replaced.
bool InstallerApp::readyToWrite() {
    const ByteView payload = payloadArchive();
    const std::vector<PlannedPath> plan = plannedPaths(installDir, payload.data, payload.size);
    if (firstTooLongPath(plan)) {
        showBox(pathTooLongText(installDir), kErrorCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    for (std::wstring busy = firstFileInUse(plan); !busy.empty(); busy = firstFileInUse(plan)) {
        if (showBox(fileInUseText(busy), kNoticeCaption, MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) return false;
    }
    return true;
}

bool InstallerApp::writePayloadArchive() {
    if (installDir.empty()) return false;
    const std::wstring productFolder = installPath(installDir, kFolderSuffix);
    const std::wstring archive = installPath(installDir, kArchiveSuffix);
    createdProductFolder_ = createFolder(productFolder);  // an existing folder is fine
    // A read-only archive left by an earlier run cannot be replaced as it is.
    ::SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    const ByteView payload = payloadArchive();
    if (writeByteSetsToFile(archive, {{payload.data, payload.size}})) return true;
    // Leave nothing behind: no partial archive, no folder made for it.
    deleteFile(archive);
    if (createdProductFolder_) ::RemoveDirectoryW(productFolder.c_str());
    return false;
}

void InstallerApp::enterInstallingLayout() {
    window_.setVisible(UnitRole::InstallButton, false);
    window_.setVisible(UnitRole::FinishButton, true);
    window_.setText(UnitRole::FinishButton, kInstallingCaption);
    window_.setVisible(UnitRole::PercentLabel, true);
    window_.setVisible(UnitRole::StatusLabel, true);
    for (UnitRole unit : {UnitRole::FolderLabel, UnitRole::TermsLinkLabel, UnitRole::AgreeLabel,
                          UnitRole::AgreeCheckBox, UnitRole::PathEdit, UnitRole::BrowseButton})
        window_.setVisible(unit, false);
}

// The whole installation runs inside one tick. Messages are dispatched
// between steps, so a later tick can enter again and continue from the
// current position; whichever run reaches 100 finishes, and finishing twice
// is harmless. Extraction dispatches nothing and so never runs twice.
void InstallerApp::onProgressTick() {
    if (window_.text(UnitRole::FinishButton) != kInstallingCaption) return;
    for (int step = 1; step <= 100; ++step) {
        const int p = window_.progressPosition();
        window_.setText(UnitRole::PercentLabel, std::to_wstring(p) + kPercentSuffix);
        if (p == 40) {
            window_.setText(UnitRole::StatusLabel, kStatusAt40);
            if (!extractPayload()) return failInstallation();
        }
        if (p == 70) window_.setText(UnitRole::StatusLabel, kStatusAt70);
        window_.setProgressPosition(p + 1);
        waitPumping(1);
        if (installFailed_) return;  // a nested run failed; it has said so
        if (window_.progressPosition() == 100) break;
    }
    finishInstallation();
}

bool InstallerApp::extractPayload() {
    return archiveUnit_.extractArchive(installPath(installDir, kArchiveSuffix), installPath(installDir, kFolderSuffix)) == 1;
}

void InstallerApp::finishInstallation() {
    // A nested run has finished already: one shortcut, one word about the archive.
    if (window_.text(UnitRole::FinishButton) == kFinalCaption) return;
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);
    window_.setText(UnitRole::PercentLabel, kFinalPercentage);
    window_.setText(UnitRole::StatusLabel, kFinalStatus);
    window_.setText(UnitRole::FinishButton, kFinalCaption);
    createShortcut(specialFolderPath(3) + kShortcutName, installPath(installDir, kProgramPathSuffix));
    const std::wstring archive = installPath(installDir, kArchiveSuffix);
    if (!removeFile(archive)) showBox(archiveLeftText(archive), kNoticeCaption, MB_OK | MB_ICONWARNING);
}

// Extraction did not succeed: take away what this run created, say so, keep
// the progress where it stopped, make no shortcut, and offer only to leave.
void InstallerApp::failInstallation() {
    installFailed_ = true;
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);  // no tick may run during the box
    const std::wstring leftover = removeWhatThisRunCreated();
    window_.setText(UnitRole::StatusLabel, kFailedStatus);
    window_.setText(UnitRole::FinishButton, kFailedCaption);
    const std::wstring& failed = archiveUnit_.failedPath();
    showBox(installFailedText(failed.empty() ? installPath(installDir, kFolderSuffix) : failed, leftover),
            kErrorCaption, MB_OK | MB_ICONERROR);
}

// Newest first, so every folder is empty by the time its turn comes; a folder
// that still holds something (a file that was there before) stays. Returns
// the first path that could not be removed, or empty.
std::wstring InstallerApp::removeWhatThisRunCreated() {
    std::wstring leftover;
    const auto& created = archiveUnit_.createdPaths();
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        const bool removed = it->folder ? removeEmptyFolder(it->path) : removeFile(it->path);
        if (!removed && leftover.empty()) leftover = it->path;
    }
    const std::wstring archive = installPath(installDir, kArchiveSuffix);
    if (!removeFile(archive) && leftover.empty()) leftover = archive;
    const std::wstring productFolder = installPath(installDir, kFolderSuffix);
    if (createdProductFolder_ && !removeEmptyFolder(productFolder) && leftover.empty()) leftover = productFolder;
    return leftover;
}

void InstallerApp::onFinishClick() {
    const std::wstring caption = window_.text(UnitRole::FinishButton);
    if (caption == kFailedCaption) fadeOutAndExit(kFailedExitCode);
    // Only a finished installation has a program to start.
    if (caption != kFinalCaption) return;
    // Quoted, so a file at a shorter prefix of the path is never started instead.
    runProgram(quotedCommandLine(installPath(installDir, kProgramPathSuffix)));
    fadeOutAndExit();
}

bool InstallerApp::onCloseQuery() {
    const std::wstring caption = window_.text(UnitRole::FinishButton);
    if (caption == kInstallingCaption) return false;
    fadeOutAndExit(caption == kFailedCaption ? kFailedExitCode : 0);
}

}  // namespace pelmora
