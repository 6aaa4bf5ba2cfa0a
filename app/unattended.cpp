#include "app/unattended.h"

#include <windows.h>

#include <string>

#include "app/exit_codes.h"
#include "app/installation.h"
#include "app/installer_messages.h"
#include "app/package_contents.h"
#include "base/text.h"
#include "payload/constants.h"
#include "payload/package_block.h"
#include "services/program_end.h"

namespace pelmora {
namespace {

std::wstring fullPath(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return full;
}

ExitCode ended(InstallLog& log, ExitCode code) {
    log.write(L"exit code " + std::to_wstring(exitCodeValue(code)));
    return code;
}

ExitCode exitCodeOf(FolderVerdict verdict) {
    switch (verdict) {
        case FolderVerdict::Ready:
            return ExitCode::Installed;
        case FolderVerdict::PathTooLong:
        case FolderVerdict::LinkInTheWay:
        case FolderVerdict::FileInTheWay:
        case FolderVerdict::NotWritable:
            return ExitCode::FolderNotWritable;
        case FolderVerdict::NotEnoughSpace:
            return ExitCode::NotEnoughSpace;
    }
    return ExitCode::FolderNotWritable;
}

// Whether the log asked for is a file the installation into the folder the
// run starts with (the one given, else the default) writes. A damaged
// installer installs nothing; it is refused as such later.
bool logIsInstalled(const CommandLine& options) {
    if (options.logFile.empty() || loadOwnPackage() != package::BlockResult::Ok) return false;
    InstallLog none;
    const Installation planned(options.installDir.empty() ? ownPackage().defaultFolder() : options.installDir, none);
    return planned.writes(options.logFile);
}

ExitCode installSilently(const CommandLine& options, InstallLog& log) {
    const package::BlockResult block = loadOwnPackage();
    if (block != package::BlockResult::Ok) {
        log.write(L"the installer is damaged: " + wideFromUtf8(package::blockResultName(block)));
        return ExitCode::DamagedPackage;
    }
    Installation installation(options.installDir.empty() ? ownPackage().defaultFolder() : options.installDir, log);
    // Before any check: the other installation may be writing right now.
    if (!installation.claimFolder()) return ExitCode::ProgramInUse;
    const FolderCheck check = installation.checkFolder();
    if (check.verdict != FolderVerdict::Ready) return exitCodeOf(check.verdict);
    // Nobody is there to close the program and retry.
    if (!installation.fileInUse().empty()) return ExitCode::ProgramInUse;
    if (!installation.writeArchive()) return ExitCode::FolderNotWritable;
    if (!installation.extract()) {
        installation.undo();
        return ExitCode::ExtractionFailed;
    }
    // An archive that cannot be deleted is in the log; the product is installed.
    installation.finish(!options.noShortcut);
    if (options.launch) installation.launch();
    return ExitCode::Installed;
}

}  // namespace

ParsedCommandLine readCommandLine() {
    ParsedCommandLine parsed = parseCommandLine(argumentsOf(::GetCommandLineW()));
    if (!parsed.options.logFile.empty()) parsed.options.logFile = fullPath(parsed.options.logFile);
    return parsed;
}

std::optional<ExitCode> runCommandLine(const ParsedCommandLine& parsed, InstallLog& log) {
    ParsedCommandLine commandLine = parsed;
    const CommandLine& options = commandLine.options;
    // Whatever happens from here on, a silent run shows nothing: not even
    // the box of a fatal error.
    if (options.silent) setFatalErrorBoxShown(false);
    // A log in a file the installation writes would be written into it, and
    // take its place: never opened.
    if (logIsInstalled(options)) {
        if (commandLine.ok()) {
            commandLine.error = CommandLineError::LogIsInstalled;
            commandLine.offending = options.logFile;
        }
    } else if (!options.logFile.empty() && !log.open(options.logFile)) {
        if (!options.silent)
            ::MessageBoxW(nullptr, logNotWritableText(options.logFile).c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
        return ExitCode::BadCommandLine;
    }
    log.write(std::wstring(L"installer started: ") + ::GetCommandLineW());
    if (!commandLine.ok()) {
        log.write(std::wstring(L"bad command line: ") + commandLineErrorName(commandLine.error) + L": " +
                  commandLine.offending);
        if (!options.silent) {
            ::MessageBoxW(nullptr, badCommandLineText(commandLine.error, commandLine.offending).c_str(), kErrorCaption,
                          MB_OK | MB_ICONERROR);
        }
        return ended(log, ExitCode::BadCommandLine);
    }
    if (options.help) {
        ::MessageBoxW(nullptr, kCommandLineUsage, kCommandLineCaption, MB_OK | MB_ICONINFORMATION);
        return ended(log, ExitCode::Installed);
    }
    if (options.silent) return runSilentInstall(options, log);
    log.write(L"the installer window opens");
    return std::nullopt;
}

ExitCode runSilentInstall(const CommandLine& options, InstallLog& log) {
    log.write(L"silent installation");
    return ended(log, installSilently(options, log));
}

}  // namespace pelmora
