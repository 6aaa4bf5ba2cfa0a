// The software-information message box and the thread-local CBT hook that
// lets the skin engine dress it.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// The process-wide CBT hook handle; 0 when none was ever installed. The
// hook is removed once the box it was installed for has been activated.
extern HHOOK cbtHook;

// Installs the hook for the current thread (a previous handle is overwritten).
void installMessageBoxHook();
bool messageBoxHookInstalled();

// Shows a plain OK box owned by `owner`; returns the box's result minus 1
// (0 after OK).
int showInformationBox(HWND owner, const std::wstring& text, const std::wstring& caption);

}  // namespace pelmora
