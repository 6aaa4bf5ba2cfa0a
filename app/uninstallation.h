// Taking a recorded installation away again: exactly the files and folders
// its record lists, the desktop shortcut, the entry among the installed
// programs and the record; the uninstaller itself goes last, once it has
// ended (self_removal.h).
//
// What the record names is only ever looked for below the product folder,
// and never through a link: a file whose folder has become a link since the
// installation is not the product's any more and stays where the link leads;
// a link standing where a recorded file or folder was is removed itself.
// A file that was changed since the installation is still the product's and
// goes; anything the record does not name stays, and so does every folder
// that still holds something.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/install_log.h"
#include "payload/install_record.h"

namespace pelmora {

struct UninstallOutcome {
    std::vector<std::wstring> stayed;       // recorded files that could not be removed (full paths)
    std::vector<std::wstring> keptFolders;  // folders that still hold what is not the product's
    bool productFolderEmpty = false;        // only the uninstaller is left in it
    bool complete() const { return stayed.empty(); }
};

class Uninstallation {
public:
    Uninstallation(std::wstring productFolder, record::InstallRecord record, InstallLog& log);

    const std::wstring& productFolder() const { return folder_; }
    const record::InstallRecord& record() const { return record_; }

    // The first recorded file that a running program holds open; empty when
    // none is. Worth asking again once the program has been closed.
    std::wstring fileInUse() const;

    // Removes the recorded files, then the recorded folders that are empty,
    // the shortcut, the entry (when it still names this folder) and the
    // record. When a file stays, the entry stays too and the record is
    // rewritten to list what is still there, so that a later run can finish.
    // `fileDone` runs after each recorded file, removed or not.
    UninstallOutcome remove(const std::function<void()>& fileDone = {});

private:
    bool viaLink(const std::wstring& relative) const;
    bool removeRecordedFile(const record::RecordedFile& f, const std::wstring& finalFolder);
    void removeShortcut();
    void removeEntry();

    std::wstring folder_;
    record::InstallRecord record_;
    InstallLog& log_;
};

// The folder a program lies in, without the trailing backslash.
std::wstring folderOf(const std::wstring& path);

}  // namespace pelmora
