// The installation log asked for with /LOG=: one UTF-8 line per step, each
// with the local time in front, written as it happens so that a run that
// ends abruptly still leaves every step before the end. Without a file the
// log takes every line and keeps none.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/unique_resource.h"

namespace pelmora {

class InstallLog {
public:
    // Opens the file for appending (earlier runs stay), creating it when it
    // is missing; other runs may append to it at the same time. False, with
    // the system error left in GetLastError, when it cannot be opened.
    bool open(const std::wstring& path);
    bool isOpen() const { return static_cast<bool>(file_); }

    void write(std::wstring_view text);
    // `text`, then the system's own words for `error` (0 adds nothing).
    void writeFailure(std::wstring_view text, DWORD error);

private:
    UniqueFile file_;
};

// "2024-05-01 09:03:07.250  text" and CR LF.
std::wstring logLine(const SYSTEMTIME& time, std::wstring_view text);

// "error 5: Access is denied." from the code and the system's message for
// it (without the line break the system ends it with); "error 5" alone when
// there is no message.
std::wstring errorText(DWORD code, std::wstring_view systemMessage);
// The same with the message the system has for `code`.
std::wstring systemErrorText(DWORD code);

}  // namespace pelmora
