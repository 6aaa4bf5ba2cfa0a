// Small Win32 helpers that several folders need, kept in one place instead of
// being copied into each: the byte-buffer type, a window's text and class,
// its client rectangle, and functions looked up by name. All text is UTF-16
// through the wide functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace pelmora {

// Bytes as they come from or go to the system: images, archives, file contents.
using ByteBuffer = std::vector<std::uint8_t>;

// The window's text; empty when it has none or the window is gone.
std::wstring windowText(HWND window);

// The window's class name (at most the 256 characters a class name can have).
std::wstring windowClassName(HWND window);

// The full path of a module's file (this program's for null), however long;
// empty when the system cannot tell it.
std::wstring modulePath(HMODULE module = nullptr);

// True when the window's class is `name`, compared without regard to case as
// the system compares class names.
bool hasWindowClass(HWND window, const wchar_t* name);

// The window's style bits (GWL_STYLE); 0 for a window that is gone.
DWORD windowStyle(HWND window);

// The client rectangle, left and top 0; all 0 for a window that is gone.
RECT clientRect(HWND window);

// A function of an already loaded system module, looked up by name because
// the import libraries lack it or older systems do not have it; null when
// the module or the function is missing. Fn must be the function's exact
// pointer type, WINAPI included: no compiler can check a looked-up address,
// and on x86_64 a missing WINAPI changes nothing, while a 32-bit program
// calling a WINAPI function through a plain (cdecl) pointer pops its
// arguments twice and runs on with a corrupt stack. The cast goes through
// void (*)(), the type GCC accepts as any function's stand-in, so that
// -Wcast-function-type keeps watching every other cast of a procedure.
template <typename Fn>
Fn systemProc(const wchar_t* module, const char* name) {
    static_assert(std::is_pointer_v<Fn> && std::is_function_v<std::remove_pointer_t<Fn>>,
                  "systemProc returns a pointer to a function");
    const HMODULE handle = ::GetModuleHandleW(module);
    if (!handle) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name)));
}

}  // namespace pelmora
