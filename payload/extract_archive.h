// Unpacks a ZIP archive from disk into a folder, entry by entry, telling the
// caller after each one through the archive unit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "payload/entry_file.h"

namespace pelmora {

class ZipReader;
class EntryNameSet;

// Creates `path` and every missing folder above it; false at the first folder
// that cannot be created. Drive roots and existing folders are passed over.
// Each folder it created is appended to `created`, when given.
bool createFolderPath(const std::wstring& path, std::vector<std::wstring>* created = nullptr);

// What an extraction tells its caller: once after each entry, in the
// archive's order, then once more when every entry is in place.
struct ExtractProgress {
    int entryIndex = 0;  // the entry just extracted; when done, the last one
    int entryCount = 0;
    std::wstring entryPath;        // where that entry went
    bool entryIsFile = false;      // that entry wrote a file, of this size and CRC-32:
    std::uint64_t entrySize = 0;   // its data was checked against both while it was written,
    std::uint32_t entryCrc = 0;    // so they are the file's without reading it back
    std::uint64_t bytesDone = 0;   // the data of the entries extracted so far
    std::uint64_t bytesTotal = 0;  // the data of all entries
    bool done = false;             // every entry is in place
};

// The percentage an event stands for: the entries before this one out of
// all of them, 100 once done.
int progressPercent(const ExtractProgress& event);

// The archive unit: holds the extraction state and the progress handler.
class ArchiveUnit {
public:
    using ProgressHandler = std::function<bool(const ExtractProgress& event)>;  // returns false to cancel

    void setProgressHandler(ProgressHandler handler);

    // 1 finished (or cancelled), 0 failed after the archive was found, -1 a
    // path is missing or the archive is absent.
    //
    // The destination (and folders above it) is made only once the archive
    // has opened, holds entries and names no file twice: a failure before
    // that leaves nothing behind. Two entries that name one Windows file
    // (names compared case-insensitively over Unicode, as the file system
    // does, trailing dots and spaces dropped) give 0 before anything is
    // written.
    //
    // Every entry name must stay inside destFolder: names with a ".."
    // component, absolute names, drive letters, any colon and reserved device
    // names end the extraction with 0 before anything is written for that
    // entry, and so do names whose path would be longer than Windows opens.
    // No folder or file below destFolder that the call makes or replaces may
    // be a link or be reached through one (destFolder itself is the caller's
    // choice): each existing folder on the way is checked, and each file, once
    // open, must lie inside destFolder's final path; a file replaced must be
    // the very file its path names. Otherwise the entry fails with 0 before
    // anything is written through the link.
    // Entries already extracted stay (createdPaths() lists the new ones).
    // Damaged, encrypted or unsupported entries also give 0 and leave no file
    // under their name. The archive may follow other data (a program stub);
    // one without entries gives 0.
    //
    // A file already at an entry's path is never written over: it is moved
    // aside in its folder (content, attributes and times kept) and the new
    // file made in its place; a file held open elsewhere cannot be moved and
    // fails the entry untouched. When the call fails, every file it replaced
    // is put back before it returns, so that removing createdPaths() leaves
    // the destination as it was. When it succeeds, the old files are deleted
    // before it returns, unless setKeepReplacedFiles(true): they then stay
    // aside, listed in replacedFiles(), until commitReplaced() or
    // restoreReplaced(), so that a caller with steps of its own after the
    // extraction can still undo all of it. A call started while old files
    // are still kept commits them first.
    //
    // Two worker threads read and inflate while this thread writes (see
    // entry_pipeline.h); files, folders and the progress handler are all
    // handled on the calling thread, and no thread outlives the call.
    int extractArchive(const std::wstring& archivePath, const std::wstring& destFolder);

    // A file or folder that did not exist before the last call and that it
    // created (or began to create), oldest first. Removing them newest first
    // undoes the call without touching anything that was there before it.
    struct CreatedPath {
        std::wstring path;
        bool folder = false;
    };
    const std::vector<CreatedPath>& createdPaths() const { return created_; }
    // The file or folder that could not be created or written when the last
    // call failed there; empty otherwise.
    const std::wstring& failedPath() const { return failedPath_; }
    // Why the last call did not return 1, for people; empty after success.
    // Names the system's reason (its error text) when there is one.
    const std::wstring& lastError() const { return lastError_; }
    // The system's error code behind lastError(), carried from the thread
    // where it happened (a worker's read or this thread's write); 0 when the
    // failure had none (damaged data, a refused name). A call that does not
    // return 1 also leaves it as this thread's last error (GetLastError).
    DWORD lastSystemError() const { return systemError_; }

    // Off by default; see extractArchive.
    void setKeepReplacedFiles(bool keep) { keepReplaced_ = keep; }
    // Files the last call replaced whose old content is still kept aside.
    const std::vector<SetAsideFile>& replacedFiles() const { return replaced_; }
    // Deletes the old content: the replacements are final. False when a
    // backup cannot be deleted; it stays listed (the new file is in place).
    bool commitReplaced();
    // Puts the old files back in place of the new ones, newest first. False
    // when one cannot be; it stays listed.
    bool restoreReplaced();

private:
    int fail(std::wstring message, DWORD error = 0);
    int failAt(const std::wstring& path, std::wstring message, DWORD error = 0);
    int openAndExtract(const std::wstring& archivePath, const std::wstring& destFolder);
    bool checkNames(const ZipReader& reader, std::size_t destinationLength, EntryNameSet* names);
    bool createDestination(const std::wstring& destFolder);
    int extractEntries(ZipReader& reader, const std::wstring& destFolder, const EntryNameSet& names);
    void reportProgress(const ExtractProgress& event);

    ProgressHandler progressHandler_;
    bool cancelled_ = false;
    std::wstring lastError_;
    std::vector<CreatedPath> created_;
    std::wstring failedPath_;
    DWORD systemError_ = 0;
    bool keepReplaced_ = false;
    std::vector<SetAsideFile> replaced_;
};

}  // namespace pelmora
