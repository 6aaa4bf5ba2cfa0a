// An installation of this product made earlier, as the installer finds it
// before its window opens: the entry among the installed programs names the
// product folder and version, and the install record there must still be
// intact (an entry whose folder was deleted by hand is no installation). The
// window then starts at that folder, says which version is there and what
// replaces it, and asks before an older version replaces a newer one.
#pragma once

#include <string>

namespace pelmora {

struct EarlierInstallation {
    std::wstring productFolder;  // empty: none found
    std::wstring installDir;     // the folder the product folder lies in
    std::wstring version;
    bool found() const { return !productFolder.empty(); }
};

EarlierInstallation findEarlierInstallation();

// Compares versions piece by piece ("7.0.10" after "7.0.9"): numbers as
// numbers, other pieces as text; a missing piece counts as 0. Negative when a
// is older than b, 0 when they are the same, positive when a is newer.
int compareVersions(const std::wstring& a, const std::wstring& b);

// The window's line: "已安装版本 X，将更新为 Y", or the reinstall line when the
// versions are the same.
std::wstring earlierInstallationLine(const std::wstring& installed, const std::wstring& offered);

}  // namespace pelmora
