// Shell services: the folder dialog, special folders and shortcuts.
#pragma once

#include <optional>
#include <string>

namespace pelmora {

// Shows the system folder dialog owned by the thread's active window, with
// every top-level window of the program disabled meanwhile. Returns the chosen
// folder, or empty when the dialog was cancelled or the choice has no
// file-system path.
std::wstring browseForFolder(const std::wstring& title, bool includeFiles = false);

// Special folders by kind 1-11 (documents, favourites, desktop, fonts, start
// menu, programs, start-up, application data, Windows, system, temporary),
// always ending in a backslash; empty on failure or for any other kind.
std::wstring specialFolderPath(int kind);

// The file a shortcut is saved as: the link path itself when its last
// component contains a dot, else the link path + ".lnk".
std::wstring shortcutFileName(const std::wstring& linkPath);

// Creates (or replaces) a shortcut to `target` with show command SW_SHOW.
bool createShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::optional<std::wstring>& description = std::nullopt,
                    const std::optional<std::wstring>& arguments = std::nullopt,
                    const std::optional<std::wstring>& workingFolder = std::nullopt);

}  // namespace pelmora
