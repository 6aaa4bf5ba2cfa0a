#include "base/text.h"

#include <windows.h>

namespace pelmora {
namespace {

std::wstring toWide(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string fromWide(unsigned codePage, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                          nullptr);
    return out;
}

}  // namespace

std::wstring wideFromGbk(std::string_view gbk) { return toWide(kProductCodePage, gbk); }
std::string gbkFromWide(std::wstring_view wide) { return fromWide(kProductCodePage, wide); }
std::wstring wideFromUtf8(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string utf8FromWide(std::wstring_view wide) { return fromWide(CP_UTF8, wide); }

}  // namespace pelmora
