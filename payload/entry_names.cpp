#include "payload/entry_names.h"

#include <windows.h>

#include "payload/link_check.h"

namespace pelmora {

// CompareStringOrdinal with bIgnoreCase maps both sides through the same
// upper-case table the file system uses for names (simple, one-to-one
// mappings: Ä and ä, Σ, σ and ς), unlike a locale's linguistic casing.
bool EntryNameSet::Less::operator()(const std::wstring& a, const std::wstring& b) const {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

bool EntryNameSet::addOne(const std::wstring& key, const std::wstring& path, bool folder, std::wstring* earlier) {
    const auto [it, added] = names_.emplace(key, Named{path, folder});
    if (added || (folder && it->second.folder)) return true;
    if (earlier) *earlier = it->second.path;
    return false;
}

bool EntryNameSet::add(const std::wstring& relative, bool folder, std::wstring* earlier) {
    // Trailing dots and spaces go as Windows drops them: "a." is the file "a".
    const std::wstring key = windowsNamed(relative);
    for (std::size_t k = key.find(L'\\'); k != std::wstring::npos; k = key.find(L'\\', k + 1)) {
        if (!addOne(key.substr(0, k), key.substr(0, k), true, earlier)) {
            return false;
        }
    }
    return key.empty() || addOne(key, relative, folder, earlier);
}

bool EntryNameSet::contains(const std::wstring& relative) const {
    return names_.count(windowsNamed(relative)) != 0;
}

}  // namespace pelmora
