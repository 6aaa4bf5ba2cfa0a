#include "app/install_log.h"

#include <cwchar>

#include "base/text.h"

namespace pelmora {

bool InstallLog::open(const std::wstring& path) {
    // Readers may look while the installation runs; nobody else writes.
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return false;
    const LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return false;
    empty_ = size.QuadPart == 0;
    file_ = std::move(file);
    return true;
}

void InstallLog::write(std::wstring_view text) {
    if (!file_) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string bytes = utf8FromWide(logLine(now, text));
    // A byte-order mark lets editors that guess the code page read the
    // Chinese paths right.
    if (empty_) bytes.insert(0, "\xEF\xBB\xBF");
    DWORD written = 0;
    // A line that cannot be written is lost; the installation does not stop
    // for its log.
    if (::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) empty_ = false;
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
