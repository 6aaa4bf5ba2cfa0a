// The product's entry among the installed programs: the key Windows reads
// its list of installed programs from, one per product id, under
// HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall.
//
// Each build writes to the registry view of its own kind: the 32-bit
// installer to the 32-bit view (WOW6432Node on 64-bit Windows), where
// Windows looks for a 32-bit program's entry, and the 64-bit installer to the
// 64-bit view. The uninstaller, the same program, removes it from the same
// view.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace pelmora {

// KEY_WOW64_32KEY in the 32-bit build, KEY_WOW64_64KEY in the 64-bit one.
REGSAM ownRegistryView();
// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<id>"
std::wstring uninstallKeyPath(const std::wstring& productId);

struct UninstallEntry {
    std::wstring displayName, displayVersion, publisher;
    std::wstring displayIcon;      // the installed program
    std::wstring installLocation;  // the product folder
    std::wstring uninstaller;      // uninstall.exe's full path
    std::uint32_t estimatedSizeKiB = 0;
    std::wstring installDate;  // yyyymmdd
};

// Creates or replaces the entry's values. False (with the system's error
// code set) when the key cannot be written.
bool writeUninstallEntry(const std::wstring& productId, const UninstallEntry& entry);
// Removes the entry; true when it is gone, also when there was none.
bool removeUninstallEntry(const std::wstring& productId);
// InstallLocation and DisplayVersion of an existing entry; false when there is none.
bool readInstalledProduct(const std::wstring& productId, std::wstring* location, std::wstring* version);

// Today, local time, as yyyymmdd.
std::wstring todayText();

}  // namespace pelmora
