// Turns an entry name from an archive into a path relative to the
// destination folder that cannot leave it and names an ordinary file.
//
// Works on the decoded name, never on code-page bytes: in code page 936 a
// trail byte can be 0x5C, so only after decoding is a backslash a separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora::zip {

enum class PathVerdict {
    Safe,
    Empty,            // nothing left to name
    Absolute,         // leading "/" or "\"
    DriveOrStream,    // any ":" (drive letters, alternate data streams)
    ParentReference,  // a component made only of dots and spaces (".." and what Windows reads as such)
    DeviceName,       // CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$
    BadCharacter,     // control characters and < > " | ? *
    TooLong,          // a component, or the path below the destination, longer than Windows opens
};
const char* pathVerdictName(PathVerdict verdict);

struct EntryPath {
    std::wstring relative;  // components joined by "\", no leading or trailing separator
    bool endsInSeparator = false;
};

// "/" and "\" both separate components; empty and "." components are
// dropped. A trailing separator marks a folder name; a folder may come out
// empty (the destination itself), a file may not. A component longer than
// kMaxComponentLength is TooLong. Linear in the length of the name.
PathVerdict safeRelativePath(std::wstring_view name, EntryPath* path);

// The longest names Windows opens through plain paths. The installer makes no
// long-path opt-in (no "\\?\" prefixes, no longPathAware manifest entry, which
// would also need a machine-wide switch), so MAX_PATH (260, with the
// terminating null) bounds every path, and a folder must leave room in it for
// a separator and an 8.3 name (MAX_PATH - 12, with the null). Components are
// bounded by the file systems themselves (NTFS, FAT32 and exFAT alike).
constexpr std::size_t kMaxFilePathLength = 259;
constexpr std::size_t kMaxFolderPathLength = 247;
constexpr std::size_t kMaxComponentLength = 255;

// Whether the entry's path fits below a destination folder whose full path
// has folderLength characters (without a trailing separator): TooLong when
// the file or folder, or a folder leading to it, would be longer than Windows
// opens. The destination itself (an empty relative path) always fits.
PathVerdict checkPathLength(std::size_t folderLength, const EntryPath& path, bool isFolder);

// True for a component that Windows opens as a device whatever follows it:
// any case, with an extension, with trailing dots or spaces.
bool isReservedDeviceName(std::wstring_view component);

}  // namespace pelmora::zip
