// Read-only text values from the registry.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// The text of a REG_SZ value as stored, a REG_EXPAND_SZ value with its
// environment references expanded; empty for a missing key or value, any other
// type, or a read that fails.
std::wstring readRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* valueName);

}  // namespace pelmora
