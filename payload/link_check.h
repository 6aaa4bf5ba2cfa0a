// Links below a folder: what keeps writes inside the folder they were meant
// for. A link (a reparse point: symbolic link, junction, mount point) planted
// below a product folder would carry an installer running as administrator
// anywhere the link points.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// Whether the file or folder at path is a link itself (FILE_ATTRIBUTE_REPARSE_POINT);
// false when nothing is there.
bool isLink(const std::wstring& path);

// The first existing file or folder, walking down from folder along relative
// (components joined by "\" or "/"), that is a link; empty when none is. The
// folder itself is not looked at: it is the caller's choice. The walk ends at
// the first component that does not exist, since nothing below it can.
// Use it before writing anything: "no link between the folder and each path
// the installation will create or replace".
std::wstring firstLinkBelow(const std::wstring& folder, const std::wstring& relative);

// GetFinalPathNameByHandleW of an open handle (links resolved, "\\?\" form);
// empty when the system cannot say.
std::wstring finalPathOf(HANDLE handle);

// The final path of an existing folder; empty when it cannot be opened.
std::wstring finalFolderPath(const std::wstring& folder);

// Compares two paths as the file system compares names: whole, case-insensitive
// over Unicode (the system's upper-case table).
bool samePathName(const std::wstring& a, const std::wstring& b);

// Whether path (a final path) lies strictly inside folder (a final path).
bool liesInside(const std::wstring& folder, const std::wstring& path);

// The path Windows makes of `relative` (components joined by "\"): trailing
// dots and spaces are dropped from every component, as the system drops them
// when it opens a path.
std::wstring windowsNamed(const std::wstring& relative);

}  // namespace pelmora
