#include "app/installation.h"

#include <windows.h>

#include <cwchar>

#include "app/disk_space.h"
#include "app/installer_app.h"
#include "app/package_contents.h"
#include "payload/constants.h"
#include "services/file_services.h"
#include "services/process_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

std::wstring bytesText(std::uint64_t bytes) {
    return std::to_wstring(bytes) + L" bytes";
}

// Names tried for the archive when its planned one is taken: a number before
// the extension ("Pelmora-2.zip"), up to this one.
constexpr int kLastArchiveNumber = 99;

std::wstring numberedName(const std::wstring& path, int number) {
    const std::size_t slash = path.find_last_of(L'\\');
    std::size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) dot = path.size();
    return path.substr(0, dot) + L"-" + std::to_wstring(number) + path.substr(dot);
}

// The mutex that stands for installing into `productFolder`: one name for
// every spelling of the folder (case, short names, "..", slashes), short
// enough for any path, free of the backslashes a name may not hold.
std::wstring claimName(const std::wstring& productFolder) {
    std::wstring folder = comparablePath(productFolder);
    if (!folder.empty()) ::CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : folder) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return std::wstring(L"PelmoraSetup.") + hex;
}

}  // namespace

Installation::~Installation() {
    if (claim_) ::ReleaseMutex(claim_.get());
}

bool Installation::claimFolder() {
    if (claim_) return true;
    const std::wstring name = claimName(productFolder());
    // Global, so that an installation from another session (a deployment
    // service, another user) counts as well; without the right to make a
    // global object, this session's own still keeps two of its runs apart.
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str()));
    if (!mutex) mutex.reset(::CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str()));
    if (!mutex) {
        log_.writeFailure(L"cannot claim " + productFolder() + L" for this installation", ::GetLastError());
        return true;
    }
    // Abandoned: an installer ended without letting go; the folder is free.
    const DWORD wait = ::WaitForSingleObject(mutex.get(), 0);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        log_.write(L"another installation into " + productFolder() + L" is running");
        return false;
    }
    claim_ = std::move(mutex);
    return true;
}

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
    return archive_.empty() ? installPath(installDir_, ownPackage().archiveSuffix().c_str()) : archive_;
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
        check.path = tooLong->path;
        return check;
    }
    log_.write(L"path lengths: all " + std::to_wstring(plan_.size()) + L" paths within the Windows limits");
    if (const PlannedPath* link = firstLink(plan_)) {
        log_.write(L"link below the installation folder: " + link->path);
        check.verdict = FolderVerdict::LinkInTheWay;
        check.path = link->path;
        return check;
    }
    log_.write(L"links: none below the installation folder");
    const DWORD product = ::GetFileAttributesW(productFolder().c_str());
    if (product != INVALID_FILE_ATTRIBUTES && !(product & FILE_ATTRIBUTE_DIRECTORY)) {
        log_.write(L"a file stands where the product folder goes: " + productFolder());
        check.verdict = FolderVerdict::FileInTheWay;
        check.path = productFolder();
        return check;
    }

    check.needed = spaceNeeded(plan_, ownPackage().imageSize());
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
        // A folder that takes nothing is that first, however small its drive.
        if (!folderTakesFiles()) {
            check.verdict = FolderVerdict::NotWritable;
            return check;
        }
        log_.write(L"not enough space on the volume of " + installDir_);
        check.verdict = FolderVerdict::NotEnoughSpace;
    }
    return check;
}

// A new empty file, removed by the system as its handle closes, says whether
// the folder takes anything: a read-only drive, a folder without the right to
// write. A name that happens to be taken says nothing, and counts as yes.
bool Installation::folderTakesFiles() {
    const std::wstring probe =
        installPath(installDir_, (L"\\~pelmora-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp").c_str());
    UniqueFile file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                  nullptr));
    const DWORD error = file ? 0 : ::GetLastError();
    if (file || error == ERROR_FILE_EXISTS) return true;
    log_.writeFailure(L"installation folder not writable: " + installDir_, error);
    return false;
}

std::wstring Installation::fileInUse() {
    // The archive's planned name is never replaced (see writeArchive): a file
    // of that name open elsewhere is in nobody's way.
    std::vector<PlannedPath> replaced;
    const std::wstring plannedArchive = archivePath();
    for (const PlannedPath& p : plan_)
        if (p.path != plannedArchive) replaced.push_back(p);
    std::wstring busy = firstFileInUse(replaced);
    if (busy.empty()) busy = fileLeftFromEarlierInUse();
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
    // A new file of this run's, never one of that name already there (the
    // user's own, an earlier run's, a link to something else): only what
    // this run created may be deleted again.
    const PackageContents& package = ownPackage();
    std::wstring name = archive;
    for (int number = 2;; ++number) {
        if (package.writePayload(name)) {
            archive_ = name;
            log_.write(L"wrote archive " + archive_ + L": " + bytesText(package.payloadSize()));
            return true;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || number > kLastArchiveNumber) {
            log_.writeFailure(L"cannot write archive " + name, error);
            break;
        }
        log_.write(L"name taken, left as it is: " + name);
        name = numberedName(archive, number);
    }
    // Leave nothing behind: writePayload removed a partial archive; no folder made for it.
    if (createdProductFolder_) ::RemoveDirectoryW(folder.c_str());
    return false;
}

bool Installation::extract() {
    extractedEntries_ = 0;
    written_.clear();
    archiveUnit_.setProgressHandler([this](const ExtractProgress& event) {
        if (!event.done) logExtractedEntry(event.entryPath);
        if (!event.done && event.entryIsFile) keepWrittenFile(event);
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
        const std::wstring plannedArchive = installPath(installDir_, ownPackage().archiveSuffix().c_str());
        for (const PlannedPath& p : plan_) {
            if (!p.folder && p.path != plannedArchive) bytes += p.size;
        }
        log_.write(L"extracted " + std::to_wstring(extractedEntries_) + L" entries (" + bytesText(bytes) + L") into " +
                   productFolder());
        return true;
    }
    log_.writeFailure(L"extraction failed at " + failedPath() + L" (" + archiveUnit_.lastError() + L")", error);
    return false;
}

void Installation::logExtractedEntry(const std::wstring& name) {
    ++extractedEntries_;
    for (const PlannedPath& p : plan_) {
        if (p.path != name) continue;
        log_.write(p.folder ? L"extracted folder " + name : L"extracted " + name + L" (" + bytesText(p.size) + L")");
        return;
    }
    log_.write(L"extracted " + name);
}

void Installation::keepWrittenFile(const ExtractProgress& event) {
    written_[upperCase(event.entryPath)] = {event.entrySize, event.entryCrc};
}

std::wstring upperCase(std::wstring path) {
    if (!path.empty()) ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
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
    if (!archive_.empty()) note(archive_, removeFile(archive_));
    if (createdProductFolder_) note(productFolder(), removeEmptyFolder(productFolder()));
    log_.write(leftover.empty() ? std::wstring(L"removed everything this run created")
                                : L"some of what this run created is still there, first " + leftover);
    return leftover;
}

bool Installation::finish(bool shortcut) {
    const std::wstring link = specialFolderPath(3) + ownPackage().shortcutName();
    bool shortcutMade = false;
    if (!shortcut) {
        log_.write(L"no desktop shortcut (/NOSHORTCUT)");
    } else {
        ::SetLastError(0);
        shortcutMade = createShortcut(link, programPath());
        if (shortcutMade) {
            log_.write(L"created shortcut " + shortcutFileName(link) + L" to " + programPath());
        } else {
            log_.writeFailure(L"cannot create shortcut " + shortcutFileName(link), ::GetLastError());
        }
    }
    bool archiveGone = true;
    if (!archive_.empty()) {
        archiveGone = removeFile(archive_);
        if (archiveGone) {
            log_.write(L"deleted archive " + archive_);
        } else {
            log_.writeFailure(L"cannot delete archive " + archive_, ::GetLastError());
        }
    }
    recordInstallation(shortcutMade);
    return archiveGone;
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
