// The names an archive's entries give below the destination, compared the
// way Windows compares file names, so that two entries that would land on
// the same file are found before anything is written.
#pragma once

#include <map>
#include <string>

namespace pelmora {

class EntryNameSet {
public:
    // Adds an entry's path (components joined by "\") and every folder
    // leading to it. False when it names a file that an entry added before
    // also names, as a file or as a folder, or a folder where an entry named
    // a file; *earlier is then the other entry's path as it was added. Two
    // entries for one folder are fine: folders are shared.
    bool add(const std::wstring& relative, bool folder, std::wstring* earlier);

    // Whether any entry names this path (as a file or a folder).
    bool contains(const std::wstring& relative) const;

private:
    // Case-insensitive over Unicode, as the file system's upper-case table.
    struct Less {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    struct Named {
        std::wstring path;  // as the entry gave it
        bool folder = false;
    };
    bool addOne(const std::wstring& key, const std::wstring& path, bool folder, std::wstring* earlier);

    std::map<std::wstring, Named, Less> names_;
};

}  // namespace pelmora
