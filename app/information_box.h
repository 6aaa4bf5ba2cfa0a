// The software-information message box, dressed by the skin engine through
// its "skin the next message box" hook.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// Shows a plain OK box owned by `owner`; returns the box's result minus 1
// (0 after OK). No hook outlives the box.
int showInformationBox(HWND owner, const std::wstring& text, const std::wstring& caption);

}  // namespace pelmora
