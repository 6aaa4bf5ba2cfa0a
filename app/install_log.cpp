#include "app/install_log.h"

#include <cwchar>

#include "base/text.h"

namespace pelmora {

bool InstallLog::open(const std::wstring& path) {
    // Append access alone makes every write land at the end of the file as
    // one piece, whoever else writes there: several runs (of this installer
    // or another) may share a log, and readers may look meanwhile. Read
    // access is for the lock below.
    UniqueFile file(::CreateFileW(path.c_str(), FILE_READ_DATA | FILE_APPEND_DATA | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return false;
    // A byte-order mark lets editors that guess the code page read the
    // Chinese paths right. It goes into an empty file only, under a lock so
    // that two runs starting together write one.
    OVERLAPPED start{};
    if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &start)) return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file.get(), &size) != FALSE;
    if (ok && size.QuadPart == 0) {
        DWORD written = 0;
        ok = ::WriteFile(file.get(), "\xEF\xBB\xBF", 3, &written, nullptr) && written == 3;
    }
    ::UnlockFileEx(file.get(), 0, 1, 0, &start);
    if (!ok) return false;
    file_ = std::move(file);
    return true;
}

void InstallLog::write(std::wstring_view text) {
    if (!file_) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string bytes = utf8FromWide(logLine(now, text));
    DWORD written = 0;
    // One write per line, so that lines of runs sharing the file never mix.
    // A line that cannot be written is lost; the installation does not stop
    // for its log.
    ::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void InstallLog::writeFailure(std::wstring_view text, DWORD error) {
    if (error == 0) return write(text);
    write(std::wstring(text) + L": " + systemErrorText(error));
}

std::wstring logLine(const SYSTEMTIME& time, std::wstring_view text) {
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u.%03u  ", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond, time.wMilliseconds);
    return stamp + std::wstring(text) + L"\r\n";
}

std::wstring errorText(DWORD code, std::wstring_view systemMessage) {
    while (!systemMessage.empty() &&
           (systemMessage.back() == L'\r' || systemMessage.back() == L'\n' || systemMessage.back() == L' '))
        systemMessage.remove_suffix(1);
    std::wstring text = L"error " + std::to_wstring(code);
    if (!systemMessage.empty()) text += L": " + std::wstring(systemMessage);
    return text;
}

std::wstring systemErrorText(DWORD code) {
    // A fixed buffer: no allocation of the system's to release afterwards.
    wchar_t message[512];
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                          message, 512, nullptr);
    return errorText(code, std::wstring_view(message, length));
}

}  // namespace pelmora
