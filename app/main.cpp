// Program start-up: process set-up, the exit clean-up, the installer window,
// then the message loop until the program ends.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "app/exit_codes.h"
#include "app/installer_app.h"
#include "app/installer_window.h"
#include "app/package_contents.h"
#include "app/self_removal.h"
#include "app/unattended.h"
#include "app/uninstaller_run.h"
#include "base/unique_resource.h"
#include "base/window_class.h"
#include "pelmora/skin.h"
#include "services/program_end.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"PelmoraOwner";

}  // namespace

// The builder attaches a package only to a program that carries this text,
// so that no other program is mistaken for an installer stub.
extern "C" __attribute__((used)) const char pelmora_installer_stub_marker[] = "PelmoraInstallerStub/1";

namespace {

// The current folder becomes the program's own folder.
void enterProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::wstring folder(path, n);
    folder.resize(folder.find_last_of(L'\\') + 1);
    ::SetCurrentDirectoryW(folder.c_str());
}

// A hidden window that owns the installer window.
HWND createOwnerWindow(HINSTANCE instance) {
    pelmora::registerWindowClass(instance, kOwnerClass, ::DefWindowProcW);
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace pelmora;
    // The uninstaller's copy that removes it once it has ended: nothing else.
    if (const std::optional<int> code = runRemovalCopy(argumentsOf(::GetCommandLineW()))) return *code;
    ::OleInitialize(nullptr);
    // Read while the caller's folder is current: a relative log path is theirs.
    const ParsedCommandLine commandLine = readCommandLine();
    enterProgramFolder();
    static InstallLog installLog;
    if (runningAsUninstaller()) runUninstaller(commandLine, installLog);
    if (const std::optional<ExitCode> exitCode = runCommandLine(commandLine, installLog)) endProgram(*exitCode);
    UniqueWindow owner(createOwnerWindow(instance));

    static InstallerWindow window;
    static InstallerApp app(window);
    app.useOptions(commandLine.options.installDir, !commandLine.options.noShortcut, installLog);
    // Started before the exit cleanup is registered, so the engine's own
    // statics outlive the cleanup that ends it.
    skin::startSkinModule();
    registerExitCleanup([] {
        app.installDir.clear();
        app.lastBrowseResult.clear();
        skin::endSkinModule();
    });

    // A damaged download must not install half a product: the package block
    // behind the program image is checked whole, read from the file in
    // chunks, before anything shows. A cut-off download has no block at all.
    // (The check runs here rather than on a thread beside GDI+'s start-up:
    // under Wine a thread's memory, about 1 MiB, stays resident after it
    // ends, which costs more than the 8 ms the thread would save.)
    if (loadOwnPackage() != package::BlockResult::Ok) {
        ::MessageBoxW(nullptr, L"安装包已损坏，请重新下载。", L"错误", MB_OK | MB_ICONERROR);
        endProgram(ExitCode::DamagedPackage);
    }

    if (!window.create(instance, owner.get(), &app)) fatalError(L"安装窗口创建失败");

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.handleDialogKey(msg) || ::IsDialogMessageW(window.hwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    runExitCleanup();
    // Every way out of the window ends the process itself; only a window
    // destroyed from outside gets here, and that is no fault of the run.
    return exitCodeValue(ExitCode::Installed);
}
