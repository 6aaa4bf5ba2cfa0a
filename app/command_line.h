// The installer's command line: options in the form administrators know from
// other installers, read case-insensitively. A pure unit: the text goes in,
// the options (or the first fault) come out; nothing is looked up.
//
//   /S            install without the window; the agreement counts as given
//   /D=<folder>   the installation folder: last on the line, spaces allowed,
//                 a full path; quotes are not needed and are dropped (tools
//                 that start programs often quote an argument with spaces).
//                 One of the options after it, after a blank, is a fault: a
//                 script that put it elsewhere would otherwise lose them.
//   /NOSHORTCUT   no desktop shortcut
//   /LAUNCH       with /S: start the installed program at the end
//   /LOG=<file>   a UTF-8 log of every step (quotes allowed around a path
//                 with spaces)
//   /?            a box listing the options
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

struct CommandLine {
    bool silent = false;
    bool noShortcut = false;
    bool launch = false;
    bool help = false;
    std::wstring installDir;  // empty: not given
    std::wstring logFile;     // empty: no log
};

enum class CommandLineError {
    None,
    UnknownOption,        // not one of the options above
    MissingValue,         // "/D=" or "/LOG=" with nothing after it
    RelativeFolder,       // /D= is not a full path ("C:\..." or "\\server\share...")
    RepeatedOption,       // an option given twice
    LaunchWithoutSilent,  // /LAUNCH asks for a start that only /S leaves to the installer
    HelpWhenSilent,       // /? cannot show its box in a silent run
    FolderNotLast,        // an option follows /D=: no folder name holds " /S" and the like
    LogIsInstalled,       // /LOG= names a file the installation writes (decided by the caller)
};

struct ParsedCommandLine {
    CommandLine options;
    CommandLineError error = CommandLineError::None;
    std::wstring offending;  // the argument at fault, as written
    bool ok() const { return error == CommandLineError::None; }
};

// Reads the arguments (the command line without the program's name). Every
// argument is read even after a fault, so a log asked for anywhere on the
// line can still record it; the first fault is the one reported.
ParsedCommandLine parseCommandLine(std::wstring_view arguments);

// The arguments of a full command line: the program's name skipped as the
// system reads it (up to and with the closing quote when it starts with one,
// else up to the first space or tab), then the blanks after it.
std::wstring_view argumentsOf(std::wstring_view commandLine);

// A short English name of the fault, for the log.
const wchar_t* commandLineErrorName(CommandLineError error);

}  // namespace pelmora
