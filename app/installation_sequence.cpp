// What the installer does when the user acts: choose a folder, agree,
// install under the progress display, then leave with or without starting the
// installed program. The state is read from the Finish button's caption:
// "安装中···" while installing, "退出并启动" when finished, "退出" after a
// failure.
#include "app/information_box.h"
#include "app/installer_app.h"
#include "payload/constants.h"
#include "payload/embedded_data.h"
#include "services/file_services.h"
#include "services/message_pump.h"
#include "services/process_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

constexpr wchar_t kErrorCaption[] = L"错误";
constexpr wchar_t kFailedStatus[] = L"安装失败 ";
constexpr wchar_t kFailedCaption[] = L"退出";
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
    if (!writePayloadArchive()) {
        const std::wstring text = L"无法写入安装目录：" + installDir + L"\r\n请选择其他安装目录。";
        ::MessageBoxW(window_.hwnd(), text.c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
        return;  // still idle: the user can choose another folder
    }
    enterInstallingLayout();
    window_.setTimerInterval(UnitRole::ProgressTimer, 100);
}

bool InstallerApp::writePayloadArchive() {
    if (installDir.empty()) return false;
    const std::wstring productFolder = installPath(installDir, kFolderSuffix);
    const std::wstring archive = installPath(installDir, kArchiveSuffix);
    const bool createdFolder = createFolder(productFolder);  // an existing folder is fine
    const ByteView payload = payloadArchive();
    if (writeByteSetsToFile(archive, {{payload.data, payload.size}})) return true;
    // Leave nothing behind: no partial archive, no folder made for it.
    deleteFile(archive);
    if (createdFolder) ::RemoveDirectoryW(productFolder.c_str());
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
    window_.setText(UnitRole::PercentLabel, kFinalPercentage);
    window_.setText(UnitRole::StatusLabel, kFinalStatus);
    window_.setText(UnitRole::FinishButton, kFinalCaption);
    createShortcut(specialFolderPath(3) + kShortcutName, installPath(installDir, kProgramPathSuffix));
    deleteFile(installPath(installDir, kArchiveSuffix));
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);
}

// Extraction did not succeed: say so, keep the progress where it stopped,
// make no shortcut, and offer only to leave.
void InstallerApp::failInstallation() {
    installFailed_ = true;
    window_.setTimerInterval(UnitRole::ProgressTimer, 0);  // no tick may run during the box
    deleteFile(installPath(installDir, kArchiveSuffix));
    window_.setText(UnitRole::StatusLabel, kFailedStatus);
    window_.setText(UnitRole::FinishButton, kFailedCaption);
    const std::wstring text = L"无法将文件安装到：" + installPath(installDir, kFolderSuffix) + L"\r\n安装未完成。";
    ::MessageBoxW(window_.hwnd(), text.c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
}

void InstallerApp::onFinishClick() {
    const std::wstring caption = window_.text(UnitRole::FinishButton);
    if (caption == kInstallingCaption) return;
    if (caption == kFailedCaption) fadeOutAndExit(kFailedExitCode);
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
