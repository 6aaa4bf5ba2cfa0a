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

std::wstring wideFromGbk(std::string_view gbk);
std::string gbkFromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

}  // namespace pelmora
