// Unpacks a ZIP archive from disk into a folder, entry by entry, reporting
// progress through the archive unit.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pelmora {

class ZipReader;

// Creates `path` and every missing folder above it; false at the first folder
// that cannot be created. Drive roots and existing folders are passed over.
// Each folder it created is appended to `created`, when given.
bool createFolderPath(const std::wstring& path, std::vector<std::wstring>* created = nullptr);

// The archive unit: holds the extraction state and the progress handler.
class ArchiveUnit {
public:
    using ProgressHandler = std::function<bool(int percent)>;  // returns false to cancel

    void setProgressHandler(ProgressHandler handler);

    // 1 finished (or cancelled), 0 failed after the archive was found, -1 a
    // path is missing or the archive is absent.
    //
    // Every entry name must stay inside destFolder: names with a ".."
    // component, absolute names, drive letters, any colon and reserved device
    // names end the extraction with 0 before anything is written for that
    // entry, and so do names whose path would be longer than Windows opens.
    // Entries already extracted stay. Damaged, encrypted or unsupported
    // entries also give 0 and leave no file under their name. The archive may
    // follow other data (a program stub); one without entries gives 0.
    //
    // Two worker threads read and inflate while this thread writes (see
    // entry_pipeline.h); files, folders and the progress handler are all
    // handled on the calling thread, and no thread outlives the call.
    int extractArchive(const std::wstring& archivePath, const std::wstring& destFolder);

    // Target path of the entry extracted last.
    const std::wstring& currentFileName() const { return currentFileName_; }

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
    const std::wstring& lastError() const { return lastError_; }

private:
    int fail(std::wstring message);
    int failAt(const std::wstring& path, std::wstring message);
    bool createDestination(const std::wstring& destFolder);
    int extractEntries(ZipReader& reader, const std::wstring& destFolder);
    void reportProgress();

    ProgressHandler progressHandler_;
    int total_ = 0;
    int current_ = 0;
    bool cancelled_ = false;
    std::wstring currentFileName_;
    std::wstring lastError_;
    std::vector<CreatedPath> created_;
    std::wstring failedPath_;
};

}  // namespace pelmora
