// The last step of an installation: what makes it one that can be taken away
// again. The uninstaller goes into the product folder, files an earlier
// version left and this one no longer has are removed, the entry among the
// installed programs is written, and the record of everything is written
// last, so that a record always describes a finished installation.
#include <windows.h>

#include <algorithm>
#include <set>

#include "app/install_record_file.h"
#include "app/installation.h"
#include "app/package_contents.h"
#include "app/uninstall_entry.h"
#include "base/text.h"
#include "payload/link_check.h"
#include "payload/package_texts.h"
#include "services/file_services.h"
#include "services/shell_services.h"

namespace pelmora {
namespace {

std::wstring upper(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

std::wstring ownProductId() {
    std::wstring fallback = ownPackage().text(package::kKeyProductName, L"Pelmora☆Corvane");
    std::replace(fallback.begin(), fallback.end(), L'\\', L'_');
    return ownPackage().text(package::kKeyProductId, fallback.c_str());
}

bool ownProductMakesEntry() {
    return ownPackage().text(package::kKeyUninstallEntry, L"yes") != L"no";
}

std::wstring Installation::relativeToProduct(const std::wstring& path) const {
    const std::wstring folder = productFolder() + L"\\";
    if (path.size() <= folder.size() || upper(path.substr(0, folder.size())) != upper(folder)) return {};
    return path.substr(folder.size());
}

record::InstallRecord Installation::recordOfPlan(bool shortcutMade) const {
    const PackageContents& package = ownPackage();
    record::InstallRecord r;
    r.productId = ownProductId();
    r.name = package.text(package::kKeyProductName, L"");
    r.version = package.text(package::kKeyProductVersion, L"");
    r.publisher = package.text(package::kKeyProductPublisher, L"");
    r.entry = ownProductMakesEntry();
    if (shortcutMade) {
        const std::wstring link = shortcutFileName(ownPackage().shortcutName());
        r.shortcut = link.substr(link.find_last_of(L'\\') + 1);
    }
    for (const PlannedPath& p : plan_) {
        const std::wstring relative = relativeToProduct(p.path);
        if (relative.empty()) continue;  // the product folder, the archive beside it
        if (p.folder) {
            r.folders.push_back(relative);
            continue;
        }
        record::RecordedFile file{relative, 0, 0};
        // What extraction wrote is known without reading it back.
        const auto known = written_.find(upperCase(p.path));
        if (known != written_.end()) {
            file.size = known->second.first;
            file.crc = known->second.second;
        } else if (!fileChecksum(p.path, &file.size, &file.crc))
            log_.writeFailure(L"cannot read back " + p.path, ::GetLastError());
        r.files.push_back(std::move(file));
    }
    // Parents before what they hold: the uninstaller walks the list backwards.
    std::sort(r.folders.begin(), r.folders.end());
    for (const char* key : {"uninstallCaption", "uninstallAsk", "uninstall", "cancel", "uninstalling", "uninstallDone",
                            "uninstallFolderKept", "uninstallFileInUse", "uninstallIncomplete", "errorCaption"})
        r.texts[key] = package.windowText(key);
    return r;
}

// Files an earlier recorded installation here listed that this one does not
// install again: what finishing will remove. Never a file reached through a
// link.
std::vector<std::wstring> Installation::filesLeftFromEarlier() const {
    std::vector<std::wstring> left;
    record::InstallRecord earlier;
    const std::wstring folder = productFolder();
    if (readRecordFile(folder, &earlier) != RecordFileState::Ok) return left;
    for (const record::RecordedFile& f : earlier.files) {
        const std::wstring path = folder + L"\\" + f.path;
        const std::size_t cut = f.path.find_last_of(L'\\');
        if (cut != std::wstring::npos && !firstLinkBelow(folder, f.path.substr(0, cut)).empty()) continue;
        if (!writes(path)) left.push_back(path);
    }
    return left;
}

std::wstring Installation::fileLeftFromEarlierInUse() const {
    for (const std::wstring& path : filesLeftFromEarlier())
        if (!isLink(path) && pelmora::fileInUse(path)) return path;
    return {};
}

// What an earlier installation listed that this one does not install again:
// its files go, then its folders that are empty afterwards. Nothing is
// followed through a link; a link where a recorded file or folder was is
// removed itself. A file that cannot go all the same (taken by a program
// after the check before installing) stays in the new record, and so do the
// earlier folders still there: the record lists what is there, so that the
// uninstaller takes it away later.
void Installation::removeLeftFromEarlier(const record::InstallRecord& earlier, record::InstallRecord* now) {
    std::set<std::wstring> kept;
    for (const record::RecordedFile& f : now->files) kept.insert(upper(f.path));
    for (const std::wstring& folder : now->folders) kept.insert(upper(folder));
    const std::wstring folder = productFolder();
    const auto viaLink = [&](const std::wstring& relative) {
        const std::size_t cut = relative.find_last_of(L'\\');
        return cut != std::wstring::npos && !firstLinkBelow(folder, relative.substr(0, cut)).empty();
    };
    for (const record::RecordedFile& f : earlier.files) {
        if (kept.count(upper(f.path)) || viaLink(f.path)) continue;
        const std::wstring path = folder + L"\\" + f.path;
        if (removeFile(path)) {
            log_.write(L"removed " + path + L" (not in this version)");
            continue;
        }
        log_.writeFailure(L"cannot remove " + path + L", it stays in the record", ::GetLastError());
        now->files.push_back(f);
    }
    for (auto it = earlier.folders.rbegin(); it != earlier.folders.rend(); ++it) {
        if (kept.count(upper(*it)) || viaLink(*it)) continue;
        const std::wstring path = folder + L"\\" + *it;
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        if (removeEmptyFolder(path) && ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            log_.write(L"removed folder " + path + L" (not in this version)");
        } else {
            now->folders.push_back(*it);
        }
    }
    std::sort(now->folders.begin(), now->folders.end());
}

bool Installation::recordInstallation(bool shortcutMade) {
    const PackageContents& package = ownPackage();
    const std::wstring folder = productFolder();
    const std::wstring uninstaller = uninstallerPath(folder);
    bool complete = true;
    // The stub alone: the program image without the package behind it.
    if (replaceFileWithStart(uninstaller, package.path(), package.imageSize())) {
        log_.write(L"wrote uninstaller " + uninstaller);
    } else {
        log_.writeFailure(L"cannot write uninstaller " + uninstaller, ::GetLastError());
        complete = false;
    }
    record::InstallRecord now = recordOfPlan(shortcutMade);
    record::InstallRecord earlier;
    if (readRecordFile(folder, &earlier) == RecordFileState::Ok) {
        log_.write(L"an earlier installation is recorded: version " + earlier.version);
        removeLeftFromEarlier(earlier, &now);
    }
    if (now.entry) {
        UninstallEntry entry;
        entry.displayName = now.name;
        entry.displayVersion = now.version;
        entry.publisher = now.publisher;
        entry.displayIcon = programPath();
        entry.installLocation = folder;
        entry.uninstaller = uninstaller;
        std::uint64_t bytes = package.imageSize();
        for (const record::RecordedFile& f : now.files) bytes += f.size;
        entry.estimatedSizeKiB =
            static_cast<std::uint32_t>(std::min<std::uint64_t>((bytes + 1023) / 1024, 0xFFFFFFFFu));
        entry.installDate = todayText();
        if (writeUninstallEntry(now.productId, entry)) {
            log_.write(L"wrote the entry " + uninstallKeyPath(now.productId));
        } else {
            log_.writeFailure(L"cannot write the entry " + uninstallKeyPath(now.productId), ::GetLastError());
            complete = false;
        }
    } else if (!earlier.productId.empty() && earlier.entry) {
        removeUninstallEntry(earlier.productId);
    }
    if (writeRecordFile(folder, now)) {
        log_.write(L"wrote the install record " + recordPath(folder) + L": " + std::to_wstring(now.files.size()) +
                   L" files, " + std::to_wstring(now.folders.size()) + L" folders");
    } else {
        log_.writeFailure(L"cannot write the install record " + recordPath(folder), ::GetLastError());
        complete = false;
    }
    return complete;
}

}  // namespace pelmora
