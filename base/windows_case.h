// File names compared the way Windows' file systems compare them: each
// UTF-16 code unit is upper-cased through a fixed one-to-one table and the
// results must match unit for unit. No locale, no normalisation, nothing
// maps to several characters ("ß" and "SS" are two names), and a surrogate
// pair is two code units that stay as they are. Portable, so the installer
// builder on Linux refuses the same collisions the installer would meet.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// The upper-case form of one UTF-16 code unit (held in wchar_t, as base/text
// holds UTF-16); a value past 0xFFFF is returned unchanged.
wchar_t windowsUpperCase(wchar_t unit);

// The name with every code unit upper-cased: two names with the same key are
// one file to Windows.
std::wstring windowsCaseKey(std::wstring_view name);

bool sameWindowsName(std::wstring_view a, std::wstring_view b);

}  // namespace pelmora
