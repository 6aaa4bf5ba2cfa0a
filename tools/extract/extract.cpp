// extract [--progress] ARCHIVE DESTINATION
//
// Unpacks a ZIP archive with the installer's own extractor. The result (1, 0
// or -1) is printed alone on the last line; the exit code is 0 for 1, 1 for 0
// and 2 for -1 (and 3 for a wrong command line).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "payload/extract_archive.h"

namespace {

// Consoles get UTF-16, pipes and files get UTF-8.
void writeText(DWORD which, const std::wstring& text) {
    HANDLE out = ::GetStdHandle(which);
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        const std::string bytes = pelmora::utf8FromWide(text);
        ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

void say(const std::wstring& line) {
    writeText(STD_OUTPUT_HANDLE, line + L"\n");
}
void complain(const std::wstring& line) {
    writeText(STD_ERROR_HANDLE, L"extract: " + line + L"\n");
}

constexpr wchar_t kUsage[] = L"usage: extract [--progress] ARCHIVE DESTINATION";

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool progress = false;
    std::vector<std::wstring> paths;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--progress") {
            progress = true;
        } else if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
            say(kUsage);
            return 0;
        } else if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
            complain(L"unknown option " + arg);
            complain(kUsage);
            return 3;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) {
        complain(kUsage);
        return 3;
    }

    pelmora::ArchiveUnit unit;
    if (progress) {
        unit.setProgressHandler([](const pelmora::ExtractProgress& event) {
            say(std::to_wstring(pelmora::progressPercent(event)) + L"% " + event.entryPath);
            return true;
        });
    }
    const int result = unit.extractArchive(paths[0], paths[1]);
    if (result != 1) complain(unit.lastError());
    say(std::to_wstring(result));
    return result == 1 ? 0 : result == 0 ? 1 : 2;
}
