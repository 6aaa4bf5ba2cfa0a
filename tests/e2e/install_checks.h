// What the end-to-end tests of an installation check and use: the installed
// tree, the desktop shortcut, the installed program, the installer's boxes.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "base/unique_resource.h"
#include "tests/e2e/driver.h"
#include "tests/support/host_link.h"

namespace pelmora::e2e {

using testing::HostLink;

// Control ids: the unit's place in the form + 1.
enum Unit {
    kFinishButton = 2,
    kStatusLabel = 7,
    kPercentLabel = 8,
    kTermsLink = 10,
    kAgreeCheck = 11,
    kProgress = 13,
    kInstallButton = 15,
    kPathEdit = 16,
    kBrowseButton = 17,
};

inline constexpr wchar_t kProductTitle[] = L"Pelmora☆Corvane 7.0.0.1";

std::wstring desktopShortcut();  // where the installer puts its shortcut
// The target of a shortcut, read from its item list (see the Wine notes on
// stored paths); "" when there is no shortcut.
std::wstring shortcutTarget(const std::wstring& link);
// build/screenshots/<name>-<locale>.bmp
std::wstring screenshotPath(const wchar_t* name);

// Every file and folder under `root`, relative, with its bytes ("/" for folders).
void collectTree(const std::wstring& root, const std::wstring& rel, std::map<std::wstring, std::string>* out,
                 std::map<std::wstring, DWORD>* attributes);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);
// What `folder` holds, for comparing: every file and folder under it,
// relative, with its bytes when they are few (a test's own marker texts) or
// their count ("<n bytes>"), and "/" for folders.
std::map<std::wstring, std::string> listing(const std::wstring& folder);

// A copy of the installer with one byte of its archive's central directory
// changed, as a damaged download would have it.
bool writeDamagedCopy(const std::wstring& path);

// Takes the uninstaller and the install record, which every finished
// installation puts into its product folder, out of a tree of that folder.
void takeUninstallData(std::map<std::wstring, std::string>* tree);

// The whole payload, byte for byte, with plain attributes, under productFolder.
void expectPayloadInstalledAt(const std::wstring& productFolder);

// The installed program, started from where an earlier installation put it.
class RunningProgram {
public:
    explicit RunningProgram(const std::wstring& path);
    ~RunningProgram();
    HWND window() const { return window_; }
    // Closes its window and waits for the process to end.
    bool close();

private:
    UniqueHandle process_;
    HWND window_ = nullptr;
};

// The box with that caption, once it shows.
HWND waitForBox(const Installer& installer, const wchar_t* caption);
// True once the box is dressed by the skin engine: layered, cut to a rounded
// region, and faded in to alpha 250 (checked before the box is answered).
bool boxSkinnedAndFadedIn(HWND box, DWORD timeoutMs = 10000);
// Answers the box with that caption; returns its text ("<none>" when no such box showed).
std::wstring acknowledgeBox(Installer& installer, const wchar_t* caption, DWORD timeoutMs = 10000);

}  // namespace pelmora::e2e
