#include "payload/zip_reader.h"

#include "base/text.h"
#include "payload/entry_data.h"
#include "payload/entry_file.h"

namespace pelmora {
namespace {

FILETIME fileTimeFromTicks(std::uint64_t ticks) {
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(ticks);
    t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return t;
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isRelativePath(const std::wstring& path) {
    if (path.empty() || isSeparator(path[0])) return false;
    return !(path.size() >= 2 && path[1] == L':');
}

// Creates the folders leading to a relative target, below `base`.
bool createFolderPart(const std::wstring& base, const std::wstring& relative) {
    if (relative.find(L"..\\") != std::wstring::npos || relative.find(L"../") != std::wstring::npos) return false;
    for (std::size_t i = 0; i < relative.size(); ++i) {
        if (!isSeparator(relative[i])) continue;
        const std::wstring folder = base + L"\\" + relative.substr(0, i);
        if (::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

class FileSink final : public zip::ChunkSink {
public:
    explicit FileSink(EntryFile& file) : file_(file) {}
    bool write(const std::uint8_t* data, std::size_t size) override { return file_.write(data, size); }

private:
    EntryFile& file_;
};

}  // namespace

// The archive file as the ZIP code reads it. Extraction reads the archive
// front to back, so after the central directory there is hardly ever a seek.
// (Reads with an OVERLAPPED offset instead measured a tenth slower under Wine.)
class ZipReader::ArchiveSource final : public zip::ByteSource {
public:
    explicit ArchiveSource(FileSource file) : file_(std::move(file)) {}
    std::uint64_t size() const override { return file_.size(); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override { return file_.readAt(offset, out, n); }

private:
    FileSource file_;
};

ZipReader::ZipReader(FileSource file, std::wstring path, std::wstring openFolder)
    : source_(std::make_unique<ArchiveSource>(std::move(file))),
      path_(std::move(path)),
      openFolder_(std::move(openFolder)) {}

namespace {

// Nobody may rename, delete or write the archive while it is read: a worker
// opens it again by name and must find the very same file.
bool openArchiveFile(const std::wstring& path, FileSource* file) {
    return file->open(path, FileSharing::Read);
}

// The full path, so the file can be opened again after the current folder changed.
std::wstring fullPathOf(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD n =
        full.empty() ? 0 : ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    return full;
}

}  // namespace

ZipReader::~ZipReader() = default;

std::unique_ptr<ZipReader> ZipReader::open(const std::wstring& path, ZipResult* error) {
    FileSource file;
    if (!openArchiveFile(path, &file)) {
        *error = ZipResult::CannotCreate;
        return nullptr;
    }
    wchar_t folder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    std::unique_ptr<ZipReader> reader(new ZipReader(std::move(file), fullPathOf(path), folder));
    *error = zip::findEndRecord(*reader->source_, &reader->end_);
    if (*error == ZipResult::Ok) *error = zip::readCentralDirectory(*reader->source_, reader->end_, &reader->entries_);
    if (*error != ZipResult::Ok) return nullptr;
    return reader;
}

ZipResult ZipReader::readEntry(zip::ByteSource& source, int index, ZipEntryInfo* info,
                               std::uint64_t* dataOffset) const {
    if (index < 0 || index >= entryCount()) return ZipResult::BadArgument;
    const zip::CentralEntry& e = entries_[static_cast<std::size_t>(index)];
    zip::LocalEntry local;
    const ZipResult r = zip::readLocalEntry(source, e, end_.directoryOffset, &local);
    if (r != ZipResult::Ok) return r;
    info->index = index;
    info->name = e.name;
    info->wideName = e.utf8Name() ? wideFromUtf8(e.name) : wideFromGbk(e.name);
    info->attributes = zip::attributesFromExternal(e.externalAttributes);
    info->creationTime = fileTimeFromTicks(local.times.creation);
    info->accessTime = fileTimeFromTicks(local.times.access);
    info->writeTime = fileTimeFromTicks(local.times.write);
    info->compressedSize = e.compressedSize;
    info->uncompressedSize = e.uncompressedSize;
    *dataOffset = local.dataOffset;
    return ZipResult::Ok;
}

ZipResult ZipReader::locate(int index) {
    if (cachedIndex_ == index) return ZipResult::Ok;
    ZipEntryInfo info;
    std::uint64_t dataOffset = 0;
    const ZipResult r = readEntry(*source_, index, &info, &dataOffset);
    if (r != ZipResult::Ok) return r;
    cached_ = std::move(info);
    cachedDataOffset_ = dataOffset;
    cachedIndex_ = index;
    return ZipResult::Ok;
}

ZipResult ZipReader::getEntry(int index, ZipEntryInfo* info) {
    if (!info || index < -1 || index >= entryCount()) return ZipResult::BadArgument;
    if (index == -1) {
        *info = ZipEntryInfo{};
        info->index = entryCount();
        return ZipResult::Ok;
    }
    const ZipResult r = locate(index);
    if (r == ZipResult::Ok) *info = cached_;
    return r;
}

std::wstring ZipReader::entryName(int index) const {
    if (index < 0 || index >= entryCount()) return {};
    const zip::CentralEntry& e = entries_[static_cast<std::size_t>(index)];
    return e.utf8Name() ? wideFromUtf8(e.name) : wideFromGbk(e.name);
}

std::uint64_t ZipReader::entrySize(int index) const {
    if (index < 0 || index >= entryCount()) return 0;
    return entries_[static_cast<std::size_t>(index)].uncompressedSize;
}

std::uint32_t ZipReader::entryCrc(int index) const {
    if (index < 0 || index >= entryCount()) return 0;
    return entries_[static_cast<std::size_t>(index)].crc;
}

bool ZipReader::entryIsFolder(int index) const {
    if (index < 0 || index >= entryCount()) return false;
    return zip::isDirectoryAttributes(
        zip::attributesFromExternal(entries_[static_cast<std::size_t>(index)].externalAttributes));
}

ZipResult ZipReader::checkSupported(int index) const {
    if (index < 0 || index >= entryCount()) return ZipResult::BadArgument;
    return zip::checkSupported(entries_[static_cast<std::size_t>(index)]);
}

std::unique_ptr<zip::ByteSource> ZipReader::openSource() const {
    FileSource file;
    // The same file as at open, not one put in its place since.
    if (!openArchiveFile(path_, &file) || file.size() != source_->size()) return nullptr;
    return std::make_unique<ArchiveSource>(std::move(file));
}

ZipResult ZipReader::copyEntryData(zip::ByteSource& source, int index, std::uint64_t dataOffset,
                                   zip::ChunkSink& sink) const {
    if (index < 0 || index >= entryCount()) return ZipResult::BadArgument;
    return zip::copyEntryData(source, entries_[static_cast<std::size_t>(index)], dataOffset, sink);
}

ZipResult ZipReader::extractEntryToFile(int index, const std::wstring& target, CreateAs createAs) {
    if (index < 0 || index >= entryCount() || target.empty()) return ZipResult::BadArgument;
    const ZipResult located = locate(index);
    if (located != ZipResult::Ok) return located;
    if (cached_.isDirectory()) return ZipResult::Ok;
    // Refused before anything is created, so no empty file is left behind.
    const ZipResult supported = zip::checkSupported(entries_[static_cast<std::size_t>(index)]);
    if (supported != ZipResult::Ok) return supported;

    std::wstring path = target;
    if (isRelativePath(target)) {
        if (!createFolderPart(openFolder_, target)) return ZipResult::CannotCreate;
        path = openFolder_ + L"\\" + target;
    }
    // FILE_ATTRIBUTE_NORMAL is only valid alone.
    DWORD attributes = cached_.attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
    if (attributes != FILE_ATTRIBUTE_NORMAL) attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
    if (createAs == CreateAs::Normal) attributes = FILE_ATTRIBUTE_NORMAL;
    EntryFile file;
    if (!file.create(path, attributes)) return ZipResult::CannotCreate;

    FileSink sink(file);
    const ZipResult copied = copyEntryData(*source_, index, cachedDataOffset_, sink);
    if (copied != ZipResult::Ok) return copied;  // the file goes with `file`
    file.finish(cached_.creationTime, cached_.accessTime, cached_.writeTime, createAs == CreateAs::Normal);
    // One entry on its own is final once written: the file it replaced goes.
    dropSetAside(file.takeSetAside());
    return ZipResult::Ok;
}

ZipResult zipGetEntry(ZipReader* reader, int index, ZipEntryInfo* info) {
    return reader ? reader->getEntry(index, info) : ZipResult::NotReader;
}

}  // namespace pelmora
