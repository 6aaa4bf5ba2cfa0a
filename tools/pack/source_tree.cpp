#include "tools/pack/source_tree.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"
#include "base/windows_case.h"
#include "payload/entry_data.h"
#include "payload/entry_path.h"
#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

constexpr std::size_t kReadChunk = 256 * 1024;

std::vector<std::string> components(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        const std::string part = name.substr(start, slash - start);
        if (!part.empty()) parts.push_back(part);
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return parts;
}

// Component by component, so a folder comes right before what it holds
// ("a/", "a/b", "a.txt"), the order a walk of the folders gives.
bool canonicalLess(const SourceEntry& a, const SourceEntry& b) {
    const auto x = components(a.name), y = components(b.name);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
}

class FileData final : public DataSource {
public:
    explicit FileData(NativePath path) : path_(std::move(path)) {}
    bool produce(const Consumer& consume) override {
        InputFile file;
        if (!file.open(path_)) return failed("cannot open ");
        std::vector<std::uint8_t> buffer(kReadChunk);
        for (;;) {
            std::size_t got = 0;
            if (!file.read(buffer.data(), buffer.size(), &got)) return failed("cannot read ");
            if (got == 0) return true;
            if (!consume(buffer.data(), got)) return false;
        }
    }
    std::string error() const override { return error_; }

private:
    bool failed(const char* what) {
        error_ = what + displayPath(path_);
        return false;
    }
    NativePath path_;
    std::string error_;
};

class ArchiveEntryData final : public DataSource {
    class Forward final : public zip::ChunkSink {
    public:
        explicit Forward(const Consumer& consume) : consume_(consume) {}
        bool write(const std::uint8_t* data, std::size_t size) override { return consume_(data, size); }

    private:
        const Consumer& consume_;
    };

public:
    ArchiveEntryData(NativePath archive, zip::CentralEntry entry, std::uint64_t dataOffset, std::string name)
        : archive_(std::move(archive)), entry_(std::move(entry)), dataOffset_(dataOffset), name_(std::move(name)) {}
    bool produce(const Consumer& consume) override {
        FileSource source;
        if (!source.open(archive_)) {
            error_ = "cannot open " + displayPath(archive_);
            return false;
        }
        Forward sink(consume);
        const zip::ZipResult r = zip::copyEntryData(source, entry_, dataOffset_, sink);
        if (r != zip::ZipResult::Ok)
            error_ = "the archive entry " + shownName(name_) + " cannot be read: " + zipResultName(r);
        return r == zip::ZipResult::Ok;
    }
    std::string error() const override { return error_; }

private:
    NativePath archive_;
    zip::CentralEntry entry_;
    std::uint64_t dataOffset_;
    std::string name_;
    std::string error_;
};

void walkFolder(const NativePath& folder, const std::string& prefix, SourceTree* tree,
                std::vector<std::string>* problems) {
    std::vector<NativePath> names;
    if (!listFolder(folder, &names)) {
        problems->push_back("cannot list the folder " + displayPath(folder));
        return;
    }
    std::vector<std::pair<std::string, NativePath>> children;
    for (const NativePath& n : names) {
        std::string utf8;
        if (!utf8FromPath(n, &utf8)) {
            problems->push_back("the name of " + displayPath(folder / n) + " cannot be encoded as Unicode");
            continue;
        }
        // Linux allows it in a name; Windows would make "a\b" folder a, file b.
        if (utf8.find('\\') != std::string::npos) {
            problems->push_back(displayPath(folder / n) +
                                " holds a backslash, which Windows takes for a folder separator");
            continue;
        }
        children.emplace_back(std::move(utf8), n);
    }
    std::sort(children.begin(), children.end());
    for (const auto& [name, native] : children) {
        const NativePath path = folder / native;
        FileKind kind = fileKind(path);
        if (kind == FileKind::Link) {
            kind = followedKind(path);
            if (kind == FileKind::Folder) {
                problems->push_back("a link to a folder is not followed: " + displayPath(path));
                continue;
            }
            if (kind == FileKind::Missing) {
                problems->push_back("the link leads nowhere: " + displayPath(path));
                continue;
            }
            if (kind == FileKind::LinkLoop) {
                problems->push_back("the link loops back on itself: " + displayPath(path));
                continue;
            }
        }
        if (kind == FileKind::Folder) {
            tree->entries.push_back({prefix + name + "/", true, 0, {}, -1});
            walkFolder(path, prefix + name + "/", tree, problems);
        } else if (kind == FileKind::File) {
            SourceEntry e{prefix + name, false, 0, path, -1};
            InputFile probe;
            if (!fileSize(path, &e.size) || !probe.open(path)) {
                problems->push_back("cannot read " + displayPath(path));
                continue;
            }
            tree->totalBytes += e.size;
            tree->entries.push_back(std::move(e));
        } else {
            problems->push_back("not a file or folder: " + displayPath(path));
        }
    }
}

bool scanArchive(const NativePath& archive, SourceTree* tree, std::vector<std::string>* problems) {
    FileSource source;
    if (!source.open(archive)) {
        problems->push_back("cannot read " + displayPath(archive));
        return false;
    }
    zip::EndRecord end;
    zip::ZipResult r = zip::findEndRecord(source, &end);
    if (r == zip::ZipResult::Ok) r = zip::readCentralDirectory(source, end, &tree->archiveEntries);
    if (r != zip::ZipResult::Ok) {
        problems->push_back("the source archive " + displayPath(archive) + " cannot be read: " + zipResultName(r));
        return false;
    }
    tree->archive = archive;
    std::map<std::string, std::size_t> seen;
    const std::size_t before = problems->size();
    auto addFolders = [&](const std::string& name) {
        for (std::size_t slash = name.find('/'); slash != std::string::npos && slash + 1 < name.size();
             slash = name.find('/', slash + 1)) {
            const std::string folder = name.substr(0, slash + 1);
            if (seen.count(folder)) continue;
            seen[folder] = tree->entries.size();
            tree->entries.push_back({folder, true, 0, {}, -1});
        }
    };
    for (std::size_t i = 0; i < tree->archiveEntries.size(); ++i) {
        const zip::CentralEntry& c = tree->archiveEntries[i];
        std::string utf8 = c.name;
        const bool decoded = c.utf8Name() ? isValidUtf8(c.name) : utf8FromGbk(c.name, &utf8);
        if (!decoded) {
            problems->push_back("entry " + std::to_string(i + 1) +
                                " of the source archive has a name that is "
                                "neither UTF-8 nor code page 936");
            continue;
        }
        const bool folder =
            !utf8.empty() && (utf8.back() == '/' || utf8.back() == '\\' ||
                              zip::isDirectoryAttributes(zip::attributesFromExternal(c.externalAttributes)));
        std::string name = normalRelativeName(utf8);
        if (name.empty()) {
            if (folder && (utf8 == "./" || utf8 == "/")) continue;  // the archive's own root
            problems->push_back("the source archive's entry \"" + shownName(utf8) +
                                "\" would land outside the product folder");
            continue;
        }
        if (folder) name += '/';
        addFolders(name);
        const auto [it, inserted] = seen.emplace(name, tree->entries.size());
        if (!inserted) {
            if (!folder || !tree->entries[it->second].folder) {
                problems->push_back("the source archive holds \"" + shownName(name) + "\" twice");
            }
            continue;
        }
        SourceEntry e{name, folder, folder ? 0 : c.uncompressedSize, {}, static_cast<int>(i)};
        if (!folder) {
            zip::LocalEntry local;
            r = zip::checkSupported(c);
            if (r == zip::ZipResult::Ok) r = zip::readLocalEntry(source, c, end.directoryOffset, &local);
            if (r != zip::ZipResult::Ok) {
                problems->push_back("the source archive's entry " + shownName(name) +
                                    " cannot be read: " + zipResultName(r));
                continue;
            }
            e.dataOffset = local.dataOffset;
            tree->totalBytes += e.size;
        }
        tree->entries.push_back(std::move(e));
    }
    std::stable_sort(tree->entries.begin(), tree->entries.end(), canonicalLess);
    return problems->size() == before;
}

}  // namespace

std::unique_ptr<DataSource> SourceTree::open(const SourceEntry& entry) const {
    if (entry.archiveIndex < 0) return std::make_unique<FileData>(entry.file);
    return std::make_unique<ArchiveEntryData>(archive, archiveEntries[static_cast<std::size_t>(entry.archiveIndex)],
                                              entry.dataOffset, entry.name);
}

const SourceEntry* SourceTree::find(const std::string& name) const {
    for (const SourceEntry& e : entries) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

bool scanSource(const NativePath& source, SourceTree* tree, std::vector<std::string>* problems) {
    *tree = SourceTree{};
    const std::size_t before = problems->size();
    const FileKind kind = followedKind(source);
    if (kind == FileKind::Missing) {
        problems->push_back("the source folder does not exist: " + displayPath(source));
    } else if (kind == FileKind::LinkLoop) {
        problems->push_back("the source is a link that loops back on itself: " + displayPath(source));
    } else if (kind == FileKind::File) {
        return scanArchive(source, tree, problems);
    } else if (kind != FileKind::Folder) {
        problems->push_back("the source is neither a folder nor a ZIP archive: " + displayPath(source));
    } else {
        walkFolder(source, "", tree, problems);
    }
    return problems->size() == before;
}

std::string normalRelativeName(const std::string& name) {
    std::string unified = name;
    std::replace(unified.begin(), unified.end(), '\\', '/');
    if (unified.empty() || unified.front() == '/') return {};
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = unified.find('/', start);
        const std::string part = unified.substr(start, slash - start);
        const bool last = slash == std::string::npos;
        if (part == "..") return {};
        if (part.empty() && !last) return {};
        if (!part.empty() && part != ".") out += (out.empty() ? "" : "/") + part;
        if (last) break;
        start = slash + 1;
    }
    return out;
}

void checkNames(const SourceTree& tree, std::size_t destinationLength, std::vector<std::string>* problems) {
    std::map<std::wstring, std::string> folded;  // by the name Windows compares, without a folder's "/"
    for (const SourceEntry& e : tree.entries) {
        std::wstring wide;
        if (!utf16FromUtf8(e.name, &wide)) {
            problems->push_back("the name " + shownName(e.name) + " cannot be encoded");
            continue;
        }
        zip::EntryPath path;
        zip::PathVerdict verdict = zip::safeRelativePath(wide, &path);
        if (verdict == zip::PathVerdict::Safe) verdict = zip::checkPathLength(destinationLength, path, e.folder);
        if (verdict != zip::PathVerdict::Safe) {
            problems->push_back("the installer would refuse the name \"" + shownName(e.name) +
                                "\": " + zip::pathVerdictName(verdict));
            continue;
        }
        for (const std::string& part : components(e.name)) {
            if (part.back() == '.' || part.back() == ' ') {
                problems->push_back("the name \"" + shownName(e.name) +
                                    "\" ends a part in a dot or space, which Windows drops");
                break;
            }
        }
        const std::wstring key = windowsCaseKey(e.folder ? wide.substr(0, wide.size() - 1) : wide);
        const auto [it, inserted] = folded.emplace(key, e.name);
        if (!inserted) {
            problems->push_back("\"" + shownName(it->second) + "\" and \"" + shownName(e.name) +
                                "\" differ only in case; Windows keeps one of them");
        }
    }
}

}  // namespace pelmora::pack
