#include "app/installation.h"

#include <windows.h>

#include "app/disk_space.h"
#include "app/installer_app.h"
#include "app/package_contents.h"
#include "payload/constants.h"
#include "services/file_services.h"
#include "services/process_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

std::wstring bytesText(std::uint64_t bytes) { return std::to_wstring(bytes) + L" bytes"; }

}  // namespace

Installation::Installation(std::wstring installDir, InstallLog& log) : installDir_(std::move(installDir)), log_(log) {
    const PackageContents& package = ownPackage();
    FileByteSource file;
    // Without its file the plan still names the product folder, archive and
    // program; writing the archive then says what is wrong.
    if (!file.open(package.path())) {
        zip::MemorySource nothing(nullptr, 0);
        plan_ = plannedPaths(installDir_, nothing);
        return;
    }
    RangeByteSource payload(file, package.payloadOffset(), package.payloadSize());
    plan_ = plannedPaths(installDir_, payload);
}

std::wstring Installation::productFolder() const {
    return installPath(installDir_, ownPackage().folderSuffix().c_str());
}
std::wstring Installation::archivePath() const {
    return installPath(installDir_, ownPackage().archiveSuffix().c_str());
}
std::wstring Installation::programPath() const {
    return installPath(installDir_, ownPackage().programSuffix().c_str());
}

FolderCheck Installation::checkFolder() {
    FolderCheck check;
    log_.write(L"installation folder: " + installDir_);
    if (const PlannedPath* tooLong = firstTooLongPath(plan_)) {
        const std::size_t limit = tooLong->folder ? kMaxFolderPathLength : kMaxFilePathLength;
        log_.write(L"path too long: " + tooLong->path + L" (" + std::to_wstring(tooLong->path.size()) +
                   L" characters; Windows takes " + std::to_wstring(limit) + L")");
        check.verdict = FolderVerdict::PathTooLong;
        check.tooLongPath = tooLong->path;
        return check;
    }
    log_.write(L"path lengths: all " + std::to_wstring(plan_.size()) + L" paths within the Windows limits");

    check.needed = spaceNeeded(plan_);
    const std::optional<std::uint64_t> free = freeSpaceOf(installDir_);
    if (!free) {
        // Not a reason to stop: writing the archive says whether the folder takes anything.
        log_.write(L"free space: unknown (" + systemErrorText(::GetLastError()) + L"), needed " +
                   bytesText(check.needed));
        return check;
    }
    check.free = *free;
    log_.write(L"free space: " + bytesText(check.free) + L", needed " + bytesText(check.needed));
    if (!enoughSpace(free, check.needed)) {
        log_.write(L"not enough space on the volume of " + installDir_);
        check.verdict = FolderVerdict::NotEnoughSpace;
    }
    return check;
}

std::wstring Installation::fileInUse() {
    std::wstring busy = firstFileInUse(plan_);
    log_.write(busy.empty() ? std::wstring(L"files in use: none") : L"file in use by another program: " + busy);
    return busy;
}

bool Installation::writeArchive() {
    if (installDir_.empty()) {
        log_.write(L"no installation folder given");
        return false;
    }
    const std::wstring folder = productFolder();
    const std::wstring archive = archivePath();
    createdProductFolder_ = createFolder(folder);
    const DWORD folderError = createdProductFolder_ ? 0 : ::GetLastError();
    if (createdProductFolder_) {
        log_.write(L"created folder " + folder);
    } else if (folderError == ERROR_ALREADY_EXISTS) {
        log_.write(L"folder exists: " + folder);
    } else {
        // Not the end yet: writing the archive next to it says whether the
        // installation folder can take anything at all.
        log_.writeFailure(L"cannot create folder " + folder, folderError);
    }
    // A read-only archive left by an earlier run cannot be replaced as it is.
    ::SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    const PackageContents& package = ownPackage();
    if (package.writePayload(archive)) {
        log_.write(L"wrote archive " + archive + L": " + bytesText(package.payloadSize()));
        return true;
    }
    log_.writeFailure(L"cannot write archive " + archive, ::GetLastError());
    // Leave nothing behind: no partial archive, no folder made for it.
    deleteFile(archive);
    if (createdProductFolder_) ::RemoveDirectoryW(folder.c_str());
    return false;
}

bool Installation::extract() {
    extractedEntries_ = 0;
    lastLoggedEntry_.clear();
    archiveUnit_.setProgressHandler([this](int) {
        logExtractedEntry();
        return true;
    });
    // Cleared first, so that an error the extraction did not set is never
    // reported as its own.
    ::SetLastError(0);
    const int result = archiveUnit_.extractArchive(archivePath(), productFolder());
    const DWORD error = ::GetLastError();
    archiveUnit_.setProgressHandler(nullptr);
    if (result == 1) {
        std::uint64_t bytes = 0;
        for (const PlannedPath& p : plan_) {
            if (!p.folder && p.path != archivePath()) bytes += p.size;
        }
        log_.write(L"extracted " + std::to_wstring(extractedEntries_) + L" entries (" + bytesText(bytes) + L") into " +
                   productFolder());
        return true;
    }
    log_.writeFailure(L"extraction failed at " + failedPath() + L" (" + archiveUnit_.lastError() + L")", error);
    return false;
}

void Installation::logExtractedEntry() {
    const std::wstring& name = archiveUnit_.currentFileName();
    // The extractor reports the last entry twice: once for itself, once at 100 %.
    if (name.empty() || name == lastLoggedEntry_) return;
    lastLoggedEntry_ = name;
    ++extractedEntries_;
    for (const PlannedPath& p : plan_) {
        if (p.path != name) continue;
        log_.write(p.folder ? L"extracted folder " + name : L"extracted " + name + L" (" + bytesText(p.size) + L")");
        return;
    }
    log_.write(L"extracted " + name);
}

std::wstring Installation::failedPath() const {
    const std::wstring& failed = archiveUnit_.failedPath();
    return failed.empty() ? productFolder() : failed;
}

// Newest first, so every folder is empty by the time its turn comes; a folder
// that still holds something (a file that was there before) stays.
std::wstring Installation::undo() {
    std::wstring leftover;
    const auto note = [&](const std::wstring& path, bool removed) {
        if (removed) return;
        log_.writeFailure(L"cannot remove " + path, ::GetLastError());
        if (leftover.empty()) leftover = path;
    };
    const auto& created = archiveUnit_.createdPaths();
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        note(it->path, it->folder ? removeEmptyFolder(it->path) : removeFile(it->path));
    note(archivePath(), removeFile(archivePath()));
    if (createdProductFolder_) note(productFolder(), removeEmptyFolder(productFolder()));
    log_.write(leftover.empty() ? std::wstring(L"removed everything this run created")
                                : L"some of what this run created is still there, first " + leftover);
    return leftover;
}

bool Installation::finish(bool shortcut) {
    const std::wstring link = specialFolderPath(3) + ownPackage().shortcutName();
    if (!shortcut) {
        log_.write(L"no desktop shortcut (/NOSHORTCUT)");
    } else {
        ::SetLastError(0);
        if (createShortcut(link, programPath())) {
            log_.write(L"created shortcut " + shortcutFileName(link) + L" to " + programPath());
        } else {
            log_.writeFailure(L"cannot create shortcut " + shortcutFileName(link), ::GetLastError());
        }
    }
    const std::wstring archive = archivePath();
    if (removeFile(archive)) {
        log_.write(L"deleted archive " + archive);
        return true;
    }
    log_.writeFailure(L"cannot delete archive " + archive, ::GetLastError());
    return false;
}

bool Installation::launch() {
    // Quoted, so a file at a shorter prefix of the path is never started instead.
    if (runProgram(quotedCommandLine(programPath()))) {
        log_.write(L"started " + programPath());
        return true;
    }
    log_.writeFailure(L"cannot start " + programPath(), ::GetLastError());
    return false;
}

}  // namespace pelmora
