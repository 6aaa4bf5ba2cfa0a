#include "app/uninstallation.h"

#include <windows.h>

#include "app/install_record_file.h"
#include "app/uninstall_entry.h"
#include "base/unique_resource.h"
#include "payload/link_check.h"
#include "services/file_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Where a path leads once every link on it is followed; empty when it cannot
// be opened.
std::wstring finalPathOfPath(const std::wstring& path, DWORD flags) {
    UniqueFile handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    return handle ? finalPathOf(handle.get()) : std::wstring();
}

// A link is removed as the link, through a handle to the link itself: and
// only when that handle really names a path inside the product folder. A
// system that opens what the link points to instead (Wine shows a host's
// link to a file as a plain file and deletes through it) leaves the link
// where it is rather than delete what it points to.
bool removeLink(const std::wstring& path, const std::wstring& finalFolder) {
    UniqueFile handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle || !liesInside(finalFolder, finalPathOf(handle.get()))) return false;
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(handle.get(), FileDispositionInfo, &dispose, sizeof dispose) != 0;
}

bool holdsOnlyUninstaller(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool onlyUninstaller = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (::CompareStringOrdinal(name.c_str(), -1, record::kUninstallerFileName, -1, TRUE) != CSTR_EQUAL)
            onlyUninstaller = false;
    } while (onlyUninstaller && ::FindNextFileW(find, &found));
    ::FindClose(find);
    return onlyUninstaller;
}

}  // namespace

std::wstring folderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

Uninstallation::Uninstallation(std::wstring productFolder, record::InstallRecord record, InstallLog& log)
    : folder_(std::move(productFolder)), record_(std::move(record)), log_(log) {}

// Whether a folder on the way to `relative` (not the path itself) is a link.
bool Uninstallation::viaLink(const std::wstring& relative) const {
    const std::wstring parent = folderOf(relative);
    return !parent.empty() && !firstLinkBelow(folder_, parent).empty();
}

std::wstring Uninstallation::fileInUse() const {
    for (const record::RecordedFile& f : record_.files) {
        if (viaLink(f.path)) continue;
        const std::wstring path = folder_ + L"\\" + f.path;
        if (!isLink(path) && pelmora::fileInUse(path)) {
            log_.write(L"file in use by another program: " + path);
            return path;
        }
    }
    log_.write(L"files in use: none");
    return {};
}

// False when the file is still there: not when a link is left in its place
// rather than followed (nothing of the product's is left then).
bool Uninstallation::removeRecordedFile(const record::RecordedFile& f, const std::wstring& finalFolder) {
    const std::wstring path = folder_ + L"\\" + f.path;
    if (viaLink(f.path)) {
        log_.write(L"not followed through a link: " + path);
        return true;
    }
    // A file that leads out of the folder is a link planted since.
    const std::wstring target = finalPathOfPath(path, 0);
    const bool link = isLink(path) || (!target.empty() && !liesInside(finalFolder, target));
    if (link) {
        if (removeLink(path, finalFolder)) {
            log_.write(L"removed the link " + path + L" (not what it points to)");
        } else {
            log_.write(L"link kept, it cannot be removed without following it: " + path);
        }
        return true;
    }
    if (removeFile(path)) {
        log_.write(L"removed " + path);
        return true;
    }
    log_.writeFailure(L"cannot remove " + path, ::GetLastError());
    return false;
}

UninstallOutcome Uninstallation::remove(const std::function<void()>& fileDone) {
    UninstallOutcome outcome;
    record::InstallRecord left = record_;
    left.files.clear();
    left.folders.clear();
    const std::wstring finalFolder = finalPathOfPath(folder_, 0);
    for (const record::RecordedFile& f : record_.files) {
        if (!removeRecordedFile(f, finalFolder)) {
            outcome.stayed.push_back(folder_ + L"\\" + f.path);
            left.files.push_back(f);
        }
        if (fileDone) fileDone();
    }
    // Deepest first: the record lists parents before what they hold.
    for (auto it = record_.folders.rbegin(); it != record_.folders.rend(); ++it) {
        const std::wstring path = folder_ + L"\\" + *it;
        if (viaLink(*it) || !exists(path)) continue;
        if (isLink(path)) {
            if (removeLink(path, finalFolder)) {
                log_.write(L"removed the link " + path + L" (not what it points to)");
            } else {
                log_.write(L"link kept, it cannot be removed without following it: " + path);
            }
            continue;
        }
        if (removeEmptyFolder(path) && !exists(path)) {
            log_.write(L"removed folder " + path);
            continue;
        }
        log_.write(L"folder kept, it holds what is not the product's: " + path);
        outcome.keptFolders.push_back(path);
        left.folders.insert(left.folders.begin(), *it);
    }
    if (!outcome.complete()) {
        // The record keeps describing what is still there; the entry and
        // the uninstaller stay, so the uninstallation can be run again.
        if (!writeRecordFile(folder_, left)) log_.writeFailure(L"cannot rewrite the install record", ::GetLastError());
        log_.write(L"uninstallation incomplete: " + std::to_wstring(outcome.stayed.size()) + L" files stayed");
        return outcome;
    }
    removeShortcut();
    removeEntry();
    if (removeFile(recordPath(folder_))) {
        log_.write(L"removed the install record");
    } else {
        log_.writeFailure(L"cannot remove the install record", ::GetLastError());
    }
    outcome.productFolderEmpty = holdsOnlyUninstaller(folder_);
    if (!outcome.productFolderEmpty) {
        log_.write(L"product folder kept, it holds what is not the product's: " + folder_);
        outcome.keptFolders.push_back(folder_);
    }
    return outcome;
}

void Uninstallation::removeShortcut() {
    if (record_.shortcut.empty()) return;
    const std::wstring link = specialFolderPath(3) + record_.shortcut;
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    // Only the shortcut file itself: nothing of that name that is a folder.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        log_.write(L"shortcut kept, a folder stands there: " + link);
        return;
    }
    // A link there is not the shortcut that was made.
    const std::wstring target = finalPathOfPath(link, 0);
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !liesInside(finalPathOfPath(folderOf(link), 0), target)) {
        log_.write(L"shortcut kept, a link stands there: " + link);
        return;
    }
    if (removeFile(link)) {
        log_.write(L"removed shortcut " + link);
    } else {
        log_.writeFailure(L"cannot remove shortcut " + link, ::GetLastError());
    }
}

void Uninstallation::removeEntry() {
    if (!record_.entry) return;
    // Another installation of the product elsewhere may have taken the
    // entry over since: then it is theirs.
    std::wstring location, version;
    if (!readInstalledProduct(record_.productId, &location, &version)) return;
    if (::CompareStringOrdinal(location.c_str(), -1, folder_.c_str(), -1, TRUE) != CSTR_EQUAL) {
        log_.write(L"the entry names another installation (" + location + L"), kept");
        return;
    }
    if (removeUninstallEntry(record_.productId)) {
        log_.write(L"removed the entry " + uninstallKeyPath(record_.productId));
    } else {
        log_.writeFailure(L"cannot remove the entry " + uninstallKeyPath(record_.productId), ::GetLastError());
    }
}

}  // namespace pelmora
