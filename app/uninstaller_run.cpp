#include "app/uninstaller_run.h"

#include <windows.h>

#include <string>

#include "app/exit_codes.h"
#include "app/install_record_file.h"
#include "app/installer_messages.h"
#include "app/package_contents.h"
#include "app/self_removal.h"
#include "app/uninstall_progress.h"
#include "app/uninstallation.h"
#include "base/text.h"
#include "base/win32_util.h"
#include "pelmora/skin.h"
#include "services/program_end.h"

namespace pelmora {
namespace {

// The buttons of the next box the thread shows, renamed once it is built:
// the system's own "OK" and "Cancel" say nothing about what happens.
thread_local const wchar_t* tNextOkText = nullptr;
thread_local const wchar_t* tNextCancelText = nullptr;

LRESULT CALLBACK renameButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && tNextOkText) {
        HWND box = reinterpret_cast<HWND>(wParam);
        ::SetDlgItemTextW(box, IDOK, tNextOkText);
        ::SetDlgItemTextW(box, IDCANCEL, tNextCancelText);
        tNextOkText = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class Boxes {
public:
    explicit Boxes(const record::InstallRecord& record) : record_(record) {}

    std::wstring text(const char* key) const {
        const auto it = record_.texts.find(key);
        if (it != record_.texts.end()) return it->second;
        return ownPackage().windowText(key);  // the built-in default
    }
    std::wstring caption() const { return text("uninstallCaption"); }

    int show(const std::wstring& body, const std::wstring& title, UINT type) const {
        const skin::SkinNextMessageBox skinned;
        return ::MessageBoxW(nullptr, body.c_str(), title.c_str(), type | MB_SETFOREGROUND);
    }

    // "卸载" and "取消" instead of the system's buttons; true for the first.
    bool confirm(const std::wstring& body) const {
        const std::wstring ok = text("uninstall"), cancel = text("cancel");
        const skin::SkinNextMessageBox skinned;
        // Hooked after the skin's hook, so it runs first: the buttons carry
        // their texts before the box is dressed and shown.
        HHOOK hook = ::SetWindowsHookExW(WH_CBT, renameButtons, nullptr, ::GetCurrentThreadId());
        tNextOkText = ok.c_str();
        tNextCancelText = cancel.c_str();
        const int answer =
            ::MessageBoxW(nullptr, body.c_str(), caption().c_str(), MB_OKCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND);
        tNextOkText = nullptr;
        if (hook) ::UnhookWindowsHookEx(hook);
        return answer == IDOK;
    }

private:
    const record::InstallRecord& record_;
};

void startBoxes() {
    skin::startSkinModule();
    registerExitCleanup([] { skin::endSkinModule(); });
    skin::Theme theme;
    const std::string picture = plainPicturePng(500, 300, 205, 0x2B3A55, 0xECE8DC);
    theme.imageBytes.assign(picture.begin(), picture.end());
    skin::setSkinTheme(theme);
}

[[noreturn]] void end(InstallLog& log, ExitCode code) {
    log.write(L"exit code " + std::to_wstring(exitCodeValue(code)));
    endProgram(code);
}

std::wstring joined(const std::vector<std::wstring>& paths) {
    std::wstring text;
    for (const std::wstring& p : paths) text += L"\r\n" + p;
    return text;
}

// In the window, the removal under a progress display that closes before
// the last box; with /S, nothing shown.
UninstallOutcome removeShowingProgress(Uninstallation& uninstallation, const Boxes& boxes, bool silent,
                                       InstallLog& log) {
    if (silent) return uninstallation.remove();
    const record::InstallRecord& record = uninstallation.record();
    const int files = static_cast<int>(record.files.size());
    UninstallProgress progress(boxes.caption(), fillIn(boxes.text("uninstalling"), L"{product}", record.name), files);
    if (progress.shown()) log.write(L"removal progress shown, " + std::to_wstring(files) + L" files");
    int done = 0;
    UninstallOutcome outcome = uninstallation.remove([&] {
        progress.advance();
        ++done;
    });
    if (progress.shown())
        log.write(L"removal progress at " + std::to_wstring(done) + L" of " + std::to_wstring(files) + L" files");
    return outcome;
}

}  // namespace

bool runningAsUninstaller() {
    const std::wstring program = modulePath();
    const std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    return ::CompareStringOrdinal(name.c_str(), -1, record::kUninstallerFileName, -1, TRUE) == CSTR_EQUAL &&
           loadOwnPackage() == package::BlockResult::NoBlock;
}

void runUninstaller(const ParsedCommandLine& commandLine, InstallLog& log) {
    const CommandLine& options = commandLine.options;
    const bool silent = options.silent;
    if (silent) setFatalErrorBoxShown(false);
    if (!options.logFile.empty() && !log.open(options.logFile)) {
        if (!silent)
            ::MessageBoxW(nullptr, logNotWritableText(options.logFile).c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
        endProgram(ExitCode::BadCommandLine);
    }
    log.write(std::wstring(L"uninstaller started: ") + ::GetCommandLineW());
    // Only /S, /LOG= and /? mean anything to the uninstaller.
    std::wstring fault =
        commandLine.ok() ? std::wstring() : commandLineFaultText(commandLine.error, commandLine.offending);
    if (fault.empty() && (!options.installDir.empty() || options.noShortcut || options.launch))
        fault = L"卸载程序只接受 /S、/LOG= 和 /?。";
    if (!fault.empty()) {
        log.write(L"bad command line: " + fault);
        if (!silent)
            ::MessageBoxW(nullptr, (fault + L"\r\n\r\n" + kCommandLineUsage).c_str(), kErrorCaption,
                          MB_OK | MB_ICONERROR);
        end(log, ExitCode::BadCommandLine);
    }
    if (options.help) {
        ::MessageBoxW(nullptr, kCommandLineUsage, kCommandLineCaption, MB_OK | MB_ICONINFORMATION);
        end(log, ExitCode::Installed);
    }

    const std::wstring program = modulePath();
    const std::wstring folder = folderOf(program);
    record::InstallRecord record;
    record::RecordResult why = record::RecordResult::Ok;
    const RecordFileState state = readRecordFile(folder, &record, &why);
    if (!silent) startBoxes();
    if (state != RecordFileState::Ok) {
        log.write(L"install record " + recordPath(folder) + L": " +
                  (state == RecordFileState::Missing ? std::wstring(L"missing")
                                                     : wideFromUtf8(record::recordResultName(why))) +
                  L"; nothing removed");
        if (!silent) Boxes(record).show(recordDamagedText(recordPath(folder)), kErrorCaption, MB_OK | MB_ICONERROR);
        end(log, ExitCode::RecordDamaged);
    }
    log.write(L"uninstalling " + record.name + L" " + record.version + L" from " + folder);
    const Boxes boxes(record);
    if (!silent) {
        std::wstring ask = fillIn(fillIn(boxes.text("uninstallAsk"), L"{product}", record.name + L" " + record.version),
                                  L"{path}", folder);
        if (!boxes.confirm(ask)) {
            log.write(L"cancelled before anything was removed");
            end(log, ExitCode::Installed);
        }
    }
    Uninstallation uninstallation(folder, record, log);
    for (std::wstring busy = uninstallation.fileInUse(); !busy.empty(); busy = uninstallation.fileInUse()) {
        // Nobody is there to close the program and retry.
        if (silent) end(log, ExitCode::ProgramInUse);
        const std::wstring text = fillIn(boxes.text("uninstallFileInUse"), L"{file}", busy);
        if (boxes.show(text, boxes.caption(), MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) {
            log.write(L"cancelled: nothing removed");
            end(log, ExitCode::ProgramInUse);
        }
    }
    const UninstallOutcome outcome = removeShowingProgress(uninstallation, boxes, silent, log);
    if (!outcome.complete()) {
        if (!silent)
            boxes.show(fillIn(boxes.text("uninstallIncomplete"), L"{leftover}", joined(outcome.stayed)),
                       boxes.caption(), MB_OK | MB_ICONWARNING);
        end(log, ExitCode::UninstallIncomplete);
    }
    if (removeWhenEnded(program, outcome.productFolderEmpty)) {
        log.write(L"the uninstaller goes once it has ended");
    } else {
        log.writeFailure(L"the uninstaller goes at the next start of Windows", ::GetLastError());
    }
    if (!silent) {
        std::wstring done = fillIn(boxes.text("uninstallDone"), L"{product}", record.name);
        for (const std::wstring& kept : outcome.keptFolders)
            done += L"\r\n" + fillIn(boxes.text("uninstallFolderKept"), L"{path}", kept);
        boxes.show(done, boxes.caption(), MB_OK | MB_ICONINFORMATION);
    }
    end(log, ExitCode::Installed);
}

}  // namespace pelmora
