#include "payload/extract_archive.h"

#include <windows.h>

#include <memory>
#include <set>

#include "base/unique_resource.h"
#include "payload/entry_file.h"
#include "payload/entry_names.h"
#include "payload/entry_path.h"
#include "payload/entry_pipeline.h"
#include "payload/link_check.h"
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

std::wstring systemText(DWORD error) {
    wchar_t message[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, message,
                               512, nullptr);
    while (n > 0 && (message[n - 1] == L'\r' || message[n - 1] == L'\n' || message[n - 1] == L' ')) --n;
    std::wstring text = L"error " + std::to_wstring(error);
    if (n > 0) text += L": " + std::wstring(message, n);
    return text;
}

// Makes folders below the destination, each at most once a call: path look-ups
// are the dearest part of extracting many small files. A folder that is
// already there must not be a link: folders are made and files written
// through it, and the check before each is what keeps them inside.
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
            } else {
                const DWORD error = ::GetLastError();
                const DWORD a = ::GetFileAttributesW(folder.c_str());
                if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return stop(folder, error, false);
                if (a & FILE_ATTRIBUTE_REPARSE_POINT) return stop(folder, 0, true);
            }
            known_.insert(prefix);
        }
        return true;
    }

    const std::wstring& failed() const { return failed_; }
    DWORD error() const { return error_; }
    bool link() const { return link_; }

private:
    bool stop(const std::wstring& folder, DWORD error, bool link) {
        failed_ = folder;
        error_ = error;
        link_ = link;
        return false;
    }

    std::wstring dest_;
    std::vector<ArchiveUnit::CreatedPath>* created_;
    std::set<std::wstring> known_;
    std::wstring failed_;
    DWORD error_ = 0;
    bool link_ = false;
};

// Where an entry's file goes and what may be done there.
struct FileTarget {
    std::wstring path;       // destination and relative path joined
    std::wstring relative;   // below the destination
    std::wstring destFinal;  // the destination's final path
    const EntryNameSet* names = nullptr;
};

struct WriteFailure {
    std::wstring what;
    DWORD error = 0;
};

// Writes a file entry's blocks, starting with its first, to target. A
// read-only or hidden file from an earlier install does not block the
// replacement, and the archive's own read-only and hidden bits are not kept
// either: the file gets normal attributes, set on its handle together with
// its times. A file whose data fails part-way, on either side, is deleted
// again, and the file it replaced is back. A file the call made (not one it
// replaced) is noted in `created` as soon as it is known to lie inside the
// destination, so one left behind by a failure is still known to be this
// call's; what is not known to be new is never removed. A file it replaced
// is added to `replaced` once the new one is complete.
bool writeEntryFile(EntryPipeline& pipeline, const EntryBlock* block, const FileTarget& target,
                    std::vector<ArchiveUnit::CreatedPath>* created, std::vector<SetAsideFile>* replaced,
                    WriteFailure* failure) {
    // The step lives in the first block, which goes back to the pool once
    // the next block is taken.
    const FILETIME creation = block->step.creationTime;
    const FILETIME access = block->step.accessTime;
    const FILETIME write = block->step.writeTime;
    const std::size_t cut = target.relative.rfind(L'\\');
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : target.relative.substr(0, cut + 1);
    EntryFile::Rules rules;
    // Under Wine a link to a file is not marked as one, and renaming it
    // moves the file it points to: so the file found there must be the very
    // file the path names, in the destination as the system resolves it.
    const std::wstring expected = target.destFinal + L"\\" + windowsNamed(target.relative);
    rules.mayReplace = [&](HANDLE existing) { return samePathName(finalPathOf(existing), expected); };
    rules.nameTaken = [&](const std::wstring& name) { return target.names->contains(folder + name); };
    EntryFile file;
    if (!file.create(target.path, FILE_ATTRIBUTE_NORMAL, &rules)) {
        *failure = {entryFileFailureText(file.failure()), file.error()};
        return false;
    }
    // Made through a link put in place since the folders were checked: it
    // goes again before anything is written to it.
    if (!liesInside(target.destFinal, finalPathOf(file.handle()))) {
        *failure = {L"the file opened lies outside the destination (a link on the way)", 0};
        return false;
    }
    if (file.isNew()) created->push_back({target.path, false});
    for (;;) {
        if (block->size > 0 && !file.write(block->data, block->size)) {
            *failure = {entryFileFailureText(file.failure()), file.error()};
            return false;
        }
        if (block->last) break;
        block = pipeline.next();
        if (!block) {
            *failure = {resultText(ZipResult::CopyFailed), 0};
            return false;
        }
    }
    if (block->result != ZipResult::Ok) {
        *failure = {resultText(block->result), block->error};
        return false;
    }
    file.finish(creation, access, write, true);
    SetAsideFile aside = file.takeSetAside();
    if (!aside.backup.empty()) replaced->push_back(std::move(aside));
    return true;
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
        } else {
            // The look-up below must not take the place of the reason.
            const DWORD error = ::GetLastError();
            if (!folderExists(prefix)) {
                ::SetLastError(error);
                return false;
            }
        }
    }
    return true;
}

void ArchiveUnit::setProgressHandler(ProgressHandler handler) {
    progressHandler_ = std::move(handler);
}

int ArchiveUnit::fail(std::wstring message, DWORD error) {
    systemError_ = error;
    lastError_ = std::move(message);
    if (error) lastError_ += L": " + systemText(error);
    return 0;
}

int ArchiveUnit::failAt(const std::wstring& path, std::wstring message, DWORD error) {
    failedPath_ = path;
    return fail(std::move(message), error);
}

int progressPercent(const ExtractProgress& event) {
    if (event.done || event.entryCount <= 0) return 100;
    return static_cast<int>(static_cast<double>(event.entryIndex) / event.entryCount * 100.0);
}

void ArchiveUnit::reportProgress(const ExtractProgress& event) {
    if (progressHandler_ && !progressHandler_(event)) cancelled_ = true;
}

bool ArchiveUnit::commitReplaced() {
    std::vector<SetAsideFile> left;
    for (SetAsideFile& file : replaced_) {
        if (!dropSetAside(file)) left.push_back(std::move(file));
    }
    replaced_ = std::move(left);
    return replaced_.empty();
}

bool ArchiveUnit::restoreReplaced() {
    std::vector<SetAsideFile> left;
    for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
        if (!restoreSetAside(*it)) left.insert(left.begin(), std::move(*it));
    }
    replaced_ = std::move(left);
    return replaced_.empty();
}

int ArchiveUnit::extractArchive(const std::wstring& archivePath, const std::wstring& destFolder) {
    commitReplaced();
    cancelled_ = false;
    lastError_.clear();
    created_.clear();
    failedPath_.clear();
    systemError_ = 0;
    int result = 0;
    if (archivePath.empty() || destFolder.empty()) {
        lastError_ = L"archive or destination not given";
        result = -1;
    } else if (!pathExists(archivePath)) {
        systemError_ = ::GetLastError();
        lastError_ = L"archive not found: " + systemText(systemError_);
        result = -1;
    } else {
        result = openAndExtract(archivePath, destFolder);
    }
    if (result == 0) {
        // Nothing this call replaced may stay replaced by a call that failed.
        if (!restoreReplaced()) {
            lastError_ +=
                L"; cannot put back the old " + replaced_.front().path + L", kept as " + replaced_.front().backup;
        }
    } else if (result == 1 && !keepReplaced_) {
        commitReplaced();
    }
    cancelled_ = false;
    // The caller's last error is the failure's own, not whatever this thread
    // happened to do last (the reason may have arisen on a worker).
    if (result != 1) ::SetLastError(systemError_);
    return result;
}

// The archive is found from its end, so a program stub in front of it is
// passed over; each entry's local header is then checked where the directory
// says it is. Nothing is made before the archive is known to be extractable
// as a whole.
int ArchiveUnit::openAndExtract(const std::wstring& archivePath, const std::wstring& destFolder) {
    if (folderExists(archivePath)) return fail(L"cannot open archive: it is a folder");
    ZipResult error = ZipResult::Ok;
    std::unique_ptr<ZipReader> reader = ZipReader::open(archivePath, &error);
    if (!reader) {
        return fail(L"cannot open archive: " + resultText(error),
                    error == ZipResult::CannotCreate ? ::GetLastError() : 0);
    }
    if (reader->entryCount() == 0) return fail(L"the archive holds no entries");
    EntryNameSet names;
    if (!checkNames(*reader, fullPathLength(destFolder), &names)) return 0;
    if (!folderExists(destFolder) && !createDestination(destFolder)) {
        const DWORD made = ::GetLastError();
        return failAt(destFolder, L"destination folder cannot be created", made);
    }
    return extractEntries(*reader, destFolder, names);
}

// Two entries naming one file would be written one over the other, the second
// replacing what the first made: refused before anything is written.
bool ArchiveUnit::checkNames(const ZipReader& reader, std::size_t destinationLength, EntryNameSet* names) {
    for (int i = 0; i < reader.entryCount(); ++i) {
        zip::EntryPath path;
        // Unsafe names, and names too long to open, are refused at their
        // turn, as before; the length check also keeps this linear.
        if (zip::safeRelativePath(reader.entryName(i), &path) != zip::PathVerdict::Safe) continue;
        const bool folder = reader.entryIsFolder(i) || path.endsInSeparator;
        if (zip::checkPathLength(destinationLength, path, folder) != zip::PathVerdict::Safe) continue;
        std::wstring earlier;
        if (!names->add(path.relative, folder, &earlier)) {
            fail(L"entries \"" + earlier + L"\" and \"" + path.relative + L"\" name the same file on Windows");
            return false;
        }
    }
    return true;
}

bool ArchiveUnit::createDestination(const std::wstring& destFolder) {
    std::vector<std::wstring> folders;
    const bool made = createFolderPath(destFolder, &folders);
    const DWORD error = ::GetLastError();
    for (std::wstring& folder : folders) created_.push_back({std::move(folder), true});
    ::SetLastError(error);
    return made;
}

int ArchiveUnit::extractEntries(ZipReader& reader, const std::wstring& destFolder, const EntryNameSet& names) {
    // Taken before the pipeline takes the reader. Each size is the one the
    // entry's data is checked against, so it is what the entry writes.
    ExtractProgress progress;
    progress.entryCount = reader.entryCount();
    std::vector<std::uint64_t> sizes;
    std::vector<std::uint32_t> crcs;
    for (int i = 0; i < progress.entryCount; ++i) {
        sizes.push_back(reader.entryIsFolder(i) ? 0 : reader.entrySize(i));
        crcs.push_back(reader.entryCrc(i));
        progress.bytesTotal += sizes.back();
    }
    const int total = progress.entryCount;
    const std::wstring destFinal = finalFolderPath(destFolder);
    if (destFinal.empty()) return failAt(destFolder, L"cannot open the destination folder", ::GetLastError());
    FolderMaker folders(destFolder, &created_);
    // The reader belongs to the pipeline's worker until the pipeline ends.
    EntryPipeline pipeline(reader, fullPathLength(destFolder));
    for (int i = 0; i < total; ++i) {
        const EntryBlock* block = pipeline.next();
        if (!block) return fail(L"entry " + std::to_wstring(i) + L": reading the archive stopped");
        const EntryStep& step = block->step;
        if (step.kind == EntryKind::Unreadable) {
            return fail(L"entry " + std::to_wstring(i) + L": " + resultText(step.result), step.error);
        }
        if (step.kind == EntryKind::Refused) {
            return fail(L"refused entry name \"" + step.name + L"\": " + verdictText(step.verdict));
        }
        const std::wstring target = joinPath(destFolder, step.relative);
        if (step.kind == EntryKind::Folder) {
            if (!folders.make(step.relative)) {
                return failAt(folders.failed(),
                              folders.link() ? L"folder " + folders.failed() + L" is a link: nothing is made through it"
                                             : L"cannot create folder " + target,
                              folders.error());
            }
        } else {
            if (step.kind == EntryKind::Unsupported) return failAt(target, target + L": " + resultText(step.result));
            // Archives need not list folders, nor list them before their
            // contents: missing parents are made here, inside the destination.
            const std::size_t cut = step.relative.rfind(L'\\');
            if (cut != std::wstring::npos && !folders.make(step.relative.substr(0, cut))) {
                return failAt(folders.failed(),
                              folders.link() ? L"folder " + folders.failed() + L" is a link: nothing is made through it"
                                             : L"cannot create folder for " + target,
                              folders.error());
            }
            const FileTarget file{target, step.relative, destFinal, &names};
            WriteFailure failure;
            if (!writeEntryFile(pipeline, block, file, &created_, &replaced_, &failure)) {
                return failAt(target, target + L": " + failure.what, failure.error);
            }
        }
        progress.entryIndex = i;
        progress.entryPath = target;
        progress.entryIsFile = step.kind == EntryKind::File;
        progress.entrySize = sizes[static_cast<std::size_t>(i)];
        progress.entryCrc = progress.entryIsFile ? crcs[static_cast<std::size_t>(i)] : 0;
        progress.bytesDone += sizes[static_cast<std::size_t>(i)];
        reportProgress(progress);
        if (cancelled_) return 1;
    }
    progress.done = true;
    reportProgress(progress);
    return 1;
}

}  // namespace pelmora
