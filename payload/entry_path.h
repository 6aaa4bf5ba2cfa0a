// Turns an entry name from an archive into a path relative to the
// destination folder that cannot leave it and names an ordinary file.
//
// Works on the decoded name, never on code-page bytes: in code page 936 a
// trail byte can be 0x5C, so only after decoding is a backslash a separator.
#pragma once

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
};
const char* pathVerdictName(PathVerdict verdict);

struct EntryPath {
    std::wstring relative;  // components joined by "\", no leading or trailing separator
    bool endsInSeparator = false;
};

// "/" and "\" both separate components; empty and "." components are
// dropped. A trailing separator marks a folder name; a folder may come out
// empty (the destination itself), a file may not.
PathVerdict safeRelativePath(std::wstring_view name, EntryPath* path);

// True for a component that Windows opens as a device whatever follows it:
// any case, with an extension, with trailing dots or spaces.
bool isReservedDeviceName(std::wstring_view component);

}  // namespace pelmora::zip
