#include "app/command_line.h"

#include <algorithm>

namespace pelmora {
namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Options are ASCII: compare without the locale, so no language's casing
// rules (a dotless i, say) can change what an option means.
wchar_t asciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool startsWithOption(std::wstring_view text, std::wstring_view upperOption) {
    if (text.size() < upperOption.size()) return false;
    for (std::size_t i = 0; i < upperOption.size(); ++i) {
        if (asciiUpper(text[i]) != upperOption[i]) return false;
    }
    return true;
}

bool isOption(std::wstring_view text, std::wstring_view upperOption) {
    return text.size() == upperOption.size() && startsWithOption(text, upperOption);
}

bool isFullPath(std::wstring_view folder) {
    const bool drive = folder.size() >= 3 && asciiUpper(folder[0]) >= L'A' && asciiUpper(folder[0]) <= L'Z' &&
                       folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
    const bool share = folder.size() >= 3 && folder[0] == L'\\' && folder[1] == L'\\' && !isBlank(folder[2]);
    return drive || share;
}

// Whether one of the options starts at `at`, behind an optional quote: a
// flag followed by a blank, a quote or the end, or "/LOG=" or "/D=".
bool optionStartsAt(std::wstring_view text, std::size_t at) {
    if (at < text.size() && text[at] == L'"') ++at;
    const std::wstring_view rest = text.substr(std::min(at, text.size()));
    if (startsWithOption(rest, L"/LOG=") || startsWithOption(rest, L"/D=")) return true;
    for (std::wstring_view flag : {L"/S", L"/NOSHORTCUT", L"/LAUNCH", L"/?"}) {
        if (startsWithOption(rest, flag) &&
            (rest.size() == flag.size() || isBlank(rest[flag.size()]) || rest[flag.size()] == L'"'))
            return true;
    }
    return false;
}

// Where the first option after a blank starts in the text of /D= and all
// that follows it; npos when there is none.
std::size_t firstOptionAfterFolder(std::wstring_view rest) {
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (isBlank(rest[i]) && optionStartsAt(rest, i + 1)) return i + 1;
    }
    return std::wstring_view::npos;
}

std::wstring withoutQuotes(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'"') out += c;
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::wstring_view line) : line_(line) {}

    ParsedCommandLine run() {
        for (;;) {
            while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
            if (pos_ == line_.size()) break;
            // The folder is the rest of the line, spaces and all.
            if (startsWithOption(line_.substr(pos_), L"/D=")) {
                std::wstring_view rest = line_.substr(pos_);
                while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
                const std::size_t next = firstOptionAfterFolder(rest);
                if (next == std::wstring_view::npos) {
                    folder(withoutQuotes(rest), rest);
                    break;
                }
                // The options after it still count: a /S there keeps the
                // run silent, a /LOG= records the fault.
                fault(CommandLineError::FolderNotLast, rest);
                pos_ += next;
                continue;
            }
            const std::size_t start = pos_;
            const std::wstring argument = nextArgument();
            option(argument, line_.substr(start, pos_ - start));
        }
        if (result_.options.launch && !result_.options.silent) fault(CommandLineError::LaunchWithoutSilent, L"/LAUNCH");
        if (result_.options.help && result_.options.silent) fault(CommandLineError::HelpWhenSilent, L"/?");
        return std::move(result_);
    }

private:
    // One argument up to the next blank outside quotes; the quotes go.
    std::wstring nextArgument() {
        std::wstring argument;
        bool quoted = false;
        for (; pos_ < line_.size(); ++pos_) {
            const wchar_t c = line_[pos_];
            if (c == L'"') {
                quoted = !quoted;
            } else if (!quoted && isBlank(c)) {
                break;
            } else {
                argument += c;
            }
        }
        return argument;
    }

    void option(const std::wstring& argument, std::wstring_view written) {
        CommandLine& o = result_.options;
        if (isOption(argument, L"/S")) return flag(&o.silent, written);
        if (isOption(argument, L"/NOSHORTCUT")) return flag(&o.noShortcut, written);
        if (isOption(argument, L"/LAUNCH")) return flag(&o.launch, written);
        if (isOption(argument, L"/?")) return flag(&o.help, written);
        if (startsWithOption(argument, L"/LOG=")) {
            if (!o.logFile.empty()) return fault(CommandLineError::RepeatedOption, written);
            if (argument.size() == 5) return fault(CommandLineError::MissingValue, written);
            o.logFile = argument.substr(5);
            return;
        }
        // A /D= written in quotes as a whole ends at its closing quote.
        if (startsWithOption(argument, L"/D=")) return folder(argument, written);
        fault(CommandLineError::UnknownOption, written);
    }

    void flag(bool* value, std::wstring_view written) {
        if (*value) return fault(CommandLineError::RepeatedOption, written);
        *value = true;
    }

    // argument: "/D=" and the folder, without quotes; no folder name can hold one.
    void folder(const std::wstring& argument, std::wstring_view written) {
        if (!result_.options.installDir.empty()) return fault(CommandLineError::RepeatedOption, written);
        std::wstring_view value = std::wstring_view(argument).substr(3);
        while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
        if (value.empty()) return fault(CommandLineError::MissingValue, written);
        if (!isFullPath(value)) return fault(CommandLineError::RelativeFolder, written);
        result_.options.installDir = std::wstring(value);
    }

    void fault(CommandLineError error, std::wstring_view written) {
        if (!result_.ok()) return;
        result_.error = error;
        result_.offending = std::wstring(written);
    }

    std::wstring_view line_;
    std::size_t pos_ = 0;
    ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine parseCommandLine(std::wstring_view arguments) {
    return Parser(arguments).run();
}

std::wstring_view argumentsOf(std::wstring_view commandLine) {
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        pos = commandLine.find(L'"', 1);
        pos = pos == std::wstring_view::npos ? commandLine.size() : pos + 1;
    } else {
        while (pos < commandLine.size() && !isBlank(commandLine[pos])) ++pos;
    }
    while (pos < commandLine.size() && isBlank(commandLine[pos])) ++pos;
    return commandLine.substr(pos);
}

const wchar_t* commandLineErrorName(CommandLineError error) {
    switch (error) {
        case CommandLineError::None:
            return L"none";
        case CommandLineError::UnknownOption:
            return L"unknown option";
        case CommandLineError::MissingValue:
            return L"option without a value";
        case CommandLineError::RelativeFolder:
            return L"installation folder is not a full path";
        case CommandLineError::RepeatedOption:
            return L"option given twice";
        case CommandLineError::LaunchWithoutSilent:
            return L"/LAUNCH without /S";
        case CommandLineError::HelpWhenSilent:
            return L"/? with /S";
        case CommandLineError::FolderNotLast:
            return L"/D= not last on the line";
        case CommandLineError::LogIsInstalled:
            return L"log file is a file the installation writes";
    }
    return L"?";
}

}  // namespace pelmora
