#include "base/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstdint>

namespace pelmora {
namespace {

#ifdef _WIN32
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
    const int n =
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}
#endif

// Length of the sequence a lead byte starts, and the smallest value it may
// carry (anything below is an overlong form); 0 for a byte that leads nothing.
int sequenceLength(std::uint8_t lead, std::uint32_t* smallest) {
    if (lead < 0x80) return *smallest = 0, 1;
    if ((lead & 0xE0) == 0xC0) return *smallest = 0x80, 2;
    if ((lead & 0xF0) == 0xE0) return *smallest = 0x800, 3;
    if ((lead & 0xF8) == 0xF0) return *smallest = 0x10000, 4;
    return 0;
}

void appendUtf8(std::uint32_t c, std::string* out) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | (c >> 6));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | (c >> 12));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (c >> 18));
        *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

#ifdef _WIN32
std::wstring wideFromGbk(std::string_view gbk) {
    return toWide(kProductCodePage, gbk);
}
std::string gbkFromWide(std::wstring_view wide) {
    return fromWide(kProductCodePage, wide);
}
std::wstring wideFromUtf8(std::string_view utf8) {
    return toWide(CP_UTF8, utf8);
}
std::string utf8FromWide(std::wstring_view wide) {
    return fromWide(CP_UTF8, wide);
}
#endif

bool utf16FromUtf8(std::string_view utf8, std::wstring* out) {
    out->clear();
    out->reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t smallest = 0;
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        const int length = sequenceLength(lead, &smallest);
        if (length == 0 || utf8.size() - i < static_cast<std::size_t>(length)) return false;
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        if (c >= 0x10000) {
            out->push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            out->push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out->push_back(static_cast<wchar_t>(c));
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

bool utf8FromUtf16(std::wstring_view units, std::string* out) {
    out->clear();
    out->reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto u = static_cast<std::uint32_t>(units[i]);
        if (u > 0xFFFF) return false;  // wider wchar_t: only code units belong here
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 == units.size()) return false;
            const auto low = static_cast<std::uint32_t>(units[i + 1]);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            appendUtf8(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), out);
            ++i;
        } else {
            appendUtf8(u, out);
        }
    }
    return true;
}

bool utf8FromGbk(std::string_view gbk, std::string* out) {
    out->clear();
    if (gbk.empty()) return true;
#ifdef _WIN32
    const int n = ::MultiByteToWideChar(kProductCodePage, MB_ERR_INVALID_CHARS, gbk.data(),
                                        static_cast<int>(gbk.size()), nullptr, 0);
    if (n <= 0) return false;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(kProductCodePage, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()), wide.data(),
                          n);
    return utf8FromUtf16(wide, out);
#else
    iconv_t cd = ::iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(gbk);
    std::string output(gbk.size() * 3, '\0');  // no character grows past three UTF-8 bytes a byte
    char* in = input.data();
    char* result = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    const bool ok = ::iconv(cd, &in, &inLeft, &result, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
    ::iconv_close(cd);
    if (!ok) return false;
    output.resize(output.size() - outLeft);
    *out = std::move(output);
    return true;
#endif
}

}  // namespace pelmora
