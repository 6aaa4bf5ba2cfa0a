#include "payload/extract_archive.h"

#include <windows.h>

#include <memory>
#include <set>

#include "base/unique_resource.h"
#include "payload/entry_file.h"
#include "payload/entry_path.h"
#include "payload/entry_pipeline.h"
#include "payload/zip_reader.h"

namespace pelmora {
namespace {

bool folderExists(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool pathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Index of the first character that may name a folder to create: after the
// drive ("C:\") or after "\\server\share\".
std::size_t firstCreatablePosition(const std::wstring& path) {
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        std::size_t separators = 0;
        for (std::size_t i = 2; i < path.size(); ++i) {
            if (path[i] == L'\\' && ++separators == 2) return i + 1;
        }
        return path.size();
    }
    return 0;
}

// Length of the folder's full path without a trailing separator: a relative
// destination is measured from the current folder, as Windows will count it.
std::size_t fullPathLength(const std::wstring& folder) {
    std::wstring full(::GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        full.empty() ? 0 : ::GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return folder.size();
    full.resize(length);
    while (full.size() > 1 && full.back() == L'\\') full.pop_back();
    return full.size();
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& relative) {
    if (!folder.empty() && folder.back() == L'\\') return folder + relative;
    return folder + L"\\" + relative;
}

std::wstring resultText(ZipResult r) {
    const char* name = zip::zipResultName(r);
    return std::wstring(name, name + std::char_traits<char>::length(name));
}

std::wstring verdictText(zip::PathVerdict v) {
    const char* name = zip::pathVerdictName(v);
    return std::wstring(name, name + std::char_traits<char>::length(name));
}

// Makes folders below the destination, each at most once a call: path look-ups
// are the dearest part of extracting many small files.
class FolderMaker {
public:
    FolderMaker(std::wstring dest, std::vector<ArchiveUnit::CreatedPath>* created)
        : dest_(std::move(dest)), created_(created) {}

    // relative: components joined by "\"; empty is the destination itself.
    bool make(const std::wstring& relative) {
        for (std::size_t k = 0; k <= relative.size(); ++k) {
            if (k < relative.size() && relative[k] != L'\\') continue;
            const std::wstring prefix = relative.substr(0, k);
            if (prefix.empty() || known_.count(prefix)) continue;
            const std::wstring folder = joinPath(dest_, prefix);
            if (::CreateDirectoryW(folder.c_str(), nullptr)) {
                created_->push_back({folder, true});
            } else if (!folderExists(folder)) {
                failed_ = folder;
                return false;
            }
            known_.insert(prefix);
        }
        return true;
    }

    const std::wstring& failed() const { return failed_; }

private:
    std::wstring dest_;
    std::vector<ArchiveUnit::CreatedPath>* created_;
    std::set<std::wstring> known_;
    std::wstring failed_;
};

// Writes a file entry's blocks, starting with its first, to target. A
// read-only or hidden file from an earlier install does not block the
// replacement, and the archive's own read-only and hidden bits are not kept
// either: the file gets normal attributes, set on its handle together with
// its times. A file whose data fails part-way, on either side, is deleted
// again. A file the call made (not one it replaced) is noted in `created` as
// soon as it exists, so one left behind by a failure is still known to be
// this call's; what is not known to be new is never removed.
ZipResult writeEntryFile(EntryPipeline& pipeline, const EntryBlock* block, const std::wstring& target,
                         std::vector<ArchiveUnit::CreatedPath>* created) {
    // The step lives in the first block, which goes back to the pool once
    // the next block is taken.
    const FILETIME creation = block->step.creationTime;
    const FILETIME access = block->step.accessTime;
    const FILETIME write = block->step.writeTime;
    EntryFile file;
    if (!file.create(target, FILE_ATTRIBUTE_NORMAL)) return ZipResult::CannotCreate;
    if (file.isNew()) created->push_back({target, false});
    for (;;) {
        if (block->size > 0 && !file.write(block->data, block->size)) return ZipResult::CopyFailed;
        if (block->last) break;
        block = pipeline.next();
        if (!block) return ZipResult::CopyFailed;
    }
    if (block->result != ZipResult::Ok) return block->result;
    file.finish(creation, access, write, true);
    return ZipResult::Ok;
}

}  // namespace

bool createFolderPath(const std::wstring& path, std::vector<std::wstring>* created) {
    if (path.empty()) return false;
    std::wstring full = path;
    for (wchar_t& c : full) {
        if (c == L'/') c = L'\\';
    }
    if (full.back() != L'\\') full += L'\\';
    for (std::size_t k = firstCreatablePosition(full); k < full.size(); ++k) {
        if (full[k] != L'\\') continue;
        const std::wstring prefix = full.substr(0, k + 1);
        if (k == 0 || (k == 2 && full[1] == L':') || folderExists(prefix)) continue;
        if (::CreateDirectoryW(prefix.c_str(), nullptr)) {
            if (created) created->push_back(prefix.substr(0, k));
        } else if (!folderExists(prefix)) {
            return false;
        }
    }
    return true;
}

void ArchiveUnit::setProgressHandler(ProgressHandler handler) {
    progressHandler_ = std::move(handler);
}

int ArchiveUnit::fail(std::wstring message) {
    lastError_ = std::move(message);
    return 0;
}

int ArchiveUnit::failAt(const std::wstring& path, std::wstring message) {
    failedPath_ = path;
    return fail(std::move(message));
}

void ArchiveUnit::reportProgress() {
    if (!progressHandler_) return;
    const int percent = total_ > 0 ? static_cast<int>(static_cast<double>(current_) / total_ * 100.0) : 100;
    if (!progressHandler_(percent)) cancelled_ = true;
}

int ArchiveUnit::extractArchive(const std::wstring& archivePath, const std::wstring& destFolder) {
    total_ = current_ = 0;
    cancelled_ = false;
    lastError_.clear();
    created_.clear();
    failedPath_.clear();
    int result = 0;
    if (archivePath.empty() || destFolder.empty()) {
        lastError_ = L"archive or destination not given";
        result = -1;
    } else if (!pathExists(archivePath)) {
        lastError_ = L"archive not found";
        result = -1;
    } else if (!folderExists(destFolder) && !createDestination(destFolder)) {
        failedPath_ = destFolder;
        result = fail(L"destination folder cannot be created");
    } else {
        // The archive is found from its end, so a program stub in front of it
        // is passed over; each entry's local header is then checked where the
        // directory says it is.
        ZipResult error = ZipResult::Ok;
        std::unique_ptr<ZipReader> reader = ZipReader::open(archivePath, &error);
        if (!reader) {
            result = fail(L"cannot open archive: " + resultText(error));
        } else if (reader->entryCount() == 0) {
            result = fail(L"the archive holds no entries");
        } else {
            result = extractEntries(*reader, destFolder);
        }
    }
    total_ = current_ = 0;
    cancelled_ = false;
    return result;
}

bool ArchiveUnit::createDestination(const std::wstring& destFolder) {
    std::vector<std::wstring> folders;
    const bool made = createFolderPath(destFolder, &folders);
    for (std::wstring& folder : folders) created_.push_back({std::move(folder), true});
    return made;
}

int ArchiveUnit::extractEntries(ZipReader& reader, const std::wstring& destFolder) {
    total_ = reader.entryCount();
    FolderMaker folders(destFolder, &created_);
    // The reader belongs to the pipeline's worker until the pipeline ends.
    EntryPipeline pipeline(reader, fullPathLength(destFolder));
    for (int i = 0; i < total_; ++i) {
        const EntryBlock* block = pipeline.next();
        if (!block) return fail(L"entry " + std::to_wstring(i) + L": reading the archive stopped");
        const EntryStep& step = block->step;
        if (step.kind == EntryKind::Unreadable) {
            return fail(L"entry " + std::to_wstring(i) + L": " + resultText(step.result));
        }
        if (step.kind == EntryKind::Refused) {
            return fail(L"refused entry name \"" + step.name + L"\": " + verdictText(step.verdict));
        }
        const std::wstring target = joinPath(destFolder, step.relative);
        if (step.kind == EntryKind::Folder) {
            if (!folders.make(step.relative)) return failAt(folders.failed(), L"cannot create folder " + target);
        } else {
            if (step.kind == EntryKind::Unsupported) return failAt(target, target + L": " + resultText(step.result));
            // Archives need not list folders, nor list them before their
            // contents: missing parents are made here, inside the destination.
            const std::size_t cut = step.relative.rfind(L'\\');
            if (cut != std::wstring::npos && !folders.make(step.relative.substr(0, cut))) {
                return failAt(folders.failed(), L"cannot create folder for " + target);
            }
            const ZipResult written = writeEntryFile(pipeline, block, target, &created_);
            if (written != ZipResult::Ok) return failAt(target, target + L": " + resultText(written));
        }
        current_ = i;
        currentFileName_ = target;
        reportProgress();
        if (cancelled_) return 1;
    }
    current_ = total_;
    reportProgress();
    return 1;
}

}  // namespace pelmora
