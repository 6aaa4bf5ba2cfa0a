#include "app/command_line.h"

namespace pelmora {
namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Options are ASCII: compare without the locale, so no language's casing
// rules (a dotless i, say) can change what an option means.
wchar_t asciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

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
                folder(withoutQuotes(rest), rest);
                break;
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

ParsedCommandLine parseCommandLine(std::wstring_view arguments) { return Parser(arguments).run(); }

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
    case CommandLineError::None: return L"none";
    case CommandLineError::UnknownOption: return L"unknown option";
    case CommandLineError::MissingValue: return L"option without a value";
    case CommandLineError::RelativeFolder: return L"installation folder is not a full path";
    case CommandLineError::RepeatedOption: return L"option given twice";
    case CommandLineError::LaunchWithoutSilent: return L"/LAUNCH without /S";
    case CommandLineError::HelpWhenSilent: return L"/? with /S";
    }
    return L"?";
}

}  // namespace pelmora
