// One installation into a folder, step by step, as the window and an
// unattended run both go through it: the checks made before anything is
// written, writing and extracting the archive, finishing (shortcut, archive
// removed), starting the installed program, and taking back a failed run.
// Every step records in the log what it did, or why it could not with the
// system's own error text. No step shows anything: what the user is told,
// and whether to ask again, is the caller's.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/install_log.h"
#include "app/install_plan.h"
#include "base/unique_resource.h"
#include "payload/extract_archive.h"
#include "payload/install_record.h"

namespace pelmora {

enum class FolderVerdict {
    Ready,
    PathTooLong,
    LinkInTheWay,  // a path of the installation is or passes through a link
    FileInTheWay,  // a file stands where the product folder goes
    NotWritable,   // the installation folder takes nothing (checked when space is short)
    NotEnoughSpace,
};

struct FolderCheck {
    FolderVerdict verdict = FolderVerdict::Ready;
    std::wstring path;  // the path too long, the link, the file in the way
    std::uint64_t needed = 0;
    std::uint64_t free = 0;
};

class Installation {
public:
    Installation(std::wstring installDir, InstallLog& log);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::wstring& installDir() const { return installDir_; }

    // Claims the product folder for this run, against a second installation
    // of the same product into the same folder (another process, or another
    // session) while this one lives. False when another holds it.
    bool claimFolder();

    // What no retry can change: every path within what Windows can create,
    // start and link to; no link below the installation folder (a link the
    // writes would follow could lead them anywhere), no file where the
    // product folder goes; then room enough on the volume, or, when there is
    // not, whether the folder takes anything at all.
    FolderCheck checkFolder();
    // The first file the installation would replace that a running program
    // holds open; empty when there is none. Worth asking again once the
    // program has been closed.
    // A file the installation would remove (one an earlier version here has
    // and this one no longer has) counts as well.
    std::wstring fileInUse();

    // Creates the product folder (an existing one is fine) and writes the
    // archive into the installation folder as a new file: under its planned
    // name when that is free, else under the first free name after it. False
    // when it cannot, with nothing of this run left behind.
    bool writeArchive();
    // Unpacks the archive into the product folder. On false, failedPath()
    // says where it stopped.
    bool extract();
    // What extraction could not write, or the product folder when that is
    // not known.
    std::wstring failedPath() const;
    // Removes what this run created, newest first; what was there before
    // stays. Returns the first path that could not be removed, or empty.
    std::wstring undo();
    // Creates the desktop shortcut unless told not to, deletes the archive
    // this run wrote, then records the installation (recordInstallation).
    // False when the archive is still there.
    bool finish(bool shortcut);
    // Puts the uninstaller into the product folder, removes what an earlier
    // recorded installation left that this one does not install, writes the
    // entry among the installed programs (unless the package says not to)
    // and, last, the install record. False when any of it failed (logged).
    bool recordInstallation(bool shortcutMade);
    // Starts the installed program.
    bool launch();

    std::wstring productFolder() const;
    // The archive this run wrote; before that, the name it is planned under.
    std::wstring archivePath() const;
    std::wstring programPath() const;

    // Whether the planned installation writes `path` (a file or folder it
    // creates or replaces, or the archive), however it is spelt.
    bool writes(const std::wstring& path) const { return findPlanned(plan_, path) != nullptr; }

private:
    // A path below the product folder made relative to it; empty otherwise.
    std::wstring relativeToProduct(const std::wstring& path) const;
    record::InstallRecord recordOfPlan(bool shortcutMade) const;
    std::vector<std::wstring> filesLeftFromEarlier() const;
    std::wstring fileLeftFromEarlierInUse() const;
    void removeLeftFromEarlier(const record::InstallRecord& earlier, record::InstallRecord* now);
    void logExtractedEntry(const std::wstring& name);
    void keepWrittenFile(const ExtractProgress& event);
    bool folderTakesFiles();

    std::wstring installDir_;
    InstallLog& log_;
    std::vector<PlannedPath> plan_;
    ArchiveUnit archiveUnit_;
    bool createdProductFolder_ = false;  // by this run, so it may go again
    std::wstring archive_;               // written by this run; empty: none
    UniqueHandle claim_;                 // the product folder's mutex, owned while set
    int extractedEntries_ = 0;
    // What each file extraction wrote holds: its size and CRC-32, by the
    // path's upper case (the last entry written to a file is what it holds).
    std::map<std::wstring, std::pair<std::uint64_t, std::uint32_t>> written_;
};

// A path in upper case: two paths naming one file on the volume read the same.
std::wstring upperCase(std::wstring path);

// The product's id (its entry's key name), and whether it makes an entry.
std::wstring ownProductId();
bool ownProductMakesEntry();

}  // namespace pelmora
