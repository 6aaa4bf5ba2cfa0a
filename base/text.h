// The one place where text changes encoding.
//
// The product's texts are code page 936 (GBK) by definition, whatever the
// machine's ANSI code page is. Inside the program every text is UTF-16 and
// every system call that takes text is a wide ("W") function; bytes in code
// page 936 (ZIP entry names, the information text) or UTF-8 are converted
// here, explicitly, and never through CP_ACP.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

constexpr unsigned kProductCodePage = 936;

#ifdef _WIN32
std::wstring wideFromGbk(std::string_view gbk);
std::string gbkFromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
#endif

// Strict conversions that behave the same on every platform (the installer
// builder also runs on Linux). UTF-16 is held as code units in wchar_t, one
// unit per element even where wchar_t is wider, so lengths count what
// Windows counts. They return false, leaving *out unspecified, for bytes that
// are not UTF-8 (overlong forms, encoded surrogates, values past U+10FFFF,
// cut-off sequences), for an unpaired surrogate, and for code-page-936 bytes
// that the code page does not define.
bool utf16FromUtf8(std::string_view utf8, std::wstring* out);
bool utf8FromUtf16(std::wstring_view units, std::string* out);
bool utf8FromGbk(std::string_view gbk, std::string* out);
inline bool isValidUtf8(std::string_view bytes) {
    std::wstring ignored;
    return utf16FromUtf8(bytes, &ignored);
}

}  // namespace pelmora
