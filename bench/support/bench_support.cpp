#include "bench/support/bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace pelmora::bench {

double nowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perMs;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRatio(const char* what, const char* ours, double ourValue, const char* base, double baseValue,
                const char* unit, double goal) {
    std::printf("%-28s %s %7.1f %s, %s %7.1f %s, ratio %.2f", what, ours, ourValue, unit, base, baseValue, unit,
                ourValue / baseValue);
    if (goal > 0) std::printf(" (goal <= %.1f)", goal);
    std::printf("\n");
}

bool removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryW(path.c_str()) || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

ScratchFolder::ScratchFolder(const std::wstring& hint) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    for (unsigned n = ::GetTickCount();; ++n) {
        std::wstring candidate =
            std::wstring(temp) + hint + L" " + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(n);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

std::wstring buildDir() {
    const char* dir = std::getenv("PELMORA_BUILD_DIR");
    std::wstring path = L"Z:";
    for (const char* p = dir ? dir : ""; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring installerPath() {
    return buildDir() + L"\\app\\PelmoraSetup.exe";
}

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<hung>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &copied);
    text.resize(copied);
    return text;
}

namespace {

struct TitleSearch {
    DWORD processId;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || !::IsWindowVisible(window) || windowText(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

Launched::Launched(const std::wstring& program, const std::wstring& title) {
    std::wstring commandLine = L"\"" + program + L"\"";
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    waitFor([&] {
        TitleSearch search{processId_, &title, nullptr};
        ::EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
        window_ = search.found;
        return window_ != nullptr || ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
    });
}

Launched::~Launched() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool Launched::waitExit(DWORD timeoutMs) {
    return process_ && ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace pelmora::bench
