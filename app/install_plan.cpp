#include "app/install_plan.h"

#include <windows.h>

#include <map>

#include "app/installer_app.h"
#include "app/package_contents.h"
#include "base/text.h"
#include "payload/constants.h"
#include "payload/entry_path.h"
#include "payload/link_check.h"
#include "payload/zip_format.h"
#include "services/file_services.h"

namespace pelmora {
namespace {

class Plan {
public:
    // A path planned again keeps its place; it gets the size it is given
    // now when that is larger (the program is planned before its entry is read).
    void add(std::wstring path, bool folder, std::uint64_t size = 0) {
        const auto [at, added] = index_.emplace(path, paths_.size());
        if (added) {
            paths_.push_back({std::move(path), folder, size});
        } else if (paths_[at->second].size < size) {
            paths_[at->second].size = size;
        }
    }
    std::vector<PlannedPath> take() { return std::move(paths_); }

private:
    std::vector<PlannedPath> paths_;
    std::map<std::wstring, std::size_t> index_;
};

// Entry names as the extractor turns them into paths below the product folder.
void addEntries(Plan& plan, const std::wstring& productFolder, zip::ByteSource& source) {
    zip::EndRecord end;
    std::vector<zip::CentralEntry> entries;
    if (zip::findEndRecord(source, &end) != zip::ZipResult::Ok ||
        zip::readCentralDirectory(source, end, &entries) != zip::ZipResult::Ok)
        return;
    for (const zip::CentralEntry& entry : entries) {
        const std::wstring name = entry.utf8Name() ? wideFromUtf8(entry.name) : wideFromGbk(entry.name);
        zip::EntryPath path;
        // A refused name is never written; the extraction says so when it meets it.
        if (zip::safeRelativePath(name, &path) != zip::PathVerdict::Safe) continue;
        const bool folder =
            path.endsInSeparator || zip::isDirectoryAttributes(zip::attributesFromExternal(entry.externalAttributes));
        for (std::size_t cut = path.relative.find(L'\\'); cut != std::wstring::npos;
             cut = path.relative.find(L'\\', cut + 1))
            plan.add(productFolder + L"\\" + path.relative.substr(0, cut), true);
        if (!path.relative.empty())
            plan.add(productFolder + L"\\" + path.relative, folder, folder ? 0 : entry.uncompressedSize);
    }
}

}  // namespace

std::vector<PlannedPath> plannedPaths(const std::wstring& installDir, zip::ByteSource& archive) {
    const PackageContents& package = ownPackage();
    Plan plan;
    const std::wstring productFolder = installPath(installDir, package.folderSuffix().c_str());
    plan.add(productFolder, true);
    plan.add(installPath(installDir, package.archiveSuffix().c_str()), false, archive.size());
    plan.add(installPath(installDir, package.programSuffix().c_str()), false);
    addEntries(plan, productFolder, archive);
    return plan.take();
}

std::vector<PlannedPath> plannedPaths(const std::wstring& installDir, const void* archive, std::size_t size) {
    zip::MemorySource source(archive, size);
    return plannedPaths(installDir, source);
}

const PlannedPath* firstTooLongPath(const std::vector<PlannedPath>& plan) {
    for (const PlannedPath& p : plan) {
        if (p.path.size() > (p.folder ? kMaxFolderPathLength : kMaxFilePathLength)) return &p;
    }
    return nullptr;
}

const PlannedPath* firstLink(const std::vector<PlannedPath>& plan) {
    for (const PlannedPath& p : plan) {
        if (isLink(p.path)) return &p;
    }
    return nullptr;
}

// An 8.3 name is another spelling of the same file: the part that exists
// gets its long names.
std::wstring comparablePath(const std::wstring& path) {
    std::wstring full = path;
    if (const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr)) {
        full.assign(n, L'\0');
        const DWORD written = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
        full.resize(written < n ? written : 0);
        if (full.empty()) full = path;
    }
    // The longest part that exists gets its long names; the rest stays as written.
    for (std::size_t cut = full.size(); cut != std::wstring::npos && cut > 0; cut = full.rfind(L'\\', cut - 1)) {
        const std::wstring head = full.substr(0, cut);
        const DWORD n = ::GetLongPathNameW(head.c_str(), nullptr, 0);
        if (n == 0) continue;
        std::wstring longHead(n, L'\0');
        const DWORD written = ::GetLongPathNameW(head.c_str(), longHead.data(), n);
        if (written == 0 || written >= n) break;
        longHead.resize(written);
        return longHead + full.substr(cut);
    }
    return full;
}

const PlannedPath* findPlanned(const std::vector<PlannedPath>& plan, const std::wstring& path) {
    const std::wstring wanted = comparablePath(path);
    for (const PlannedPath& p : plan) {
        const std::wstring planned = comparablePath(p.path);
        if (::CompareStringOrdinal(planned.c_str(), static_cast<int>(planned.size()), wanted.c_str(),
                                   static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL)
            return &p;
    }
    return nullptr;
}

std::wstring firstFileInUse(const std::vector<PlannedPath>& plan) {
    for (const PlannedPath& p : plan) {
        if (!p.folder && fileInUse(p.path)) return p.path;
    }
    return {};
}

}  // namespace pelmora
