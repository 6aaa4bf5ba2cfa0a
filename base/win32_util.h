// Small Win32 helpers that several folders need, kept in one place instead of
// being copied into each: the byte-buffer type, a window's text and class,
// and its client rectangle. All text is UTF-16 through the wide functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelmora {

// Bytes as they come from or go to the system: images, archives, file contents.
using ByteBuffer = std::vector<std::uint8_t>;

// The window's text; empty when it has none or the window is gone.
std::wstring windowText(HWND window);

// The window's class name (at most the 256 characters a class name can have).
std::wstring windowClassName(HWND window);

// True when the window's class is `name`, compared without regard to case as
// the system compares class names.
bool hasWindowClass(HWND window, const wchar_t* name);

// The window's style bits (GWL_STYLE); 0 for a window that is gone.
DWORD windowStyle(HWND window);

// The client rectangle, left and top 0; all 0 for a window that is gone.
RECT clientRect(HWND window);

}  // namespace pelmora
