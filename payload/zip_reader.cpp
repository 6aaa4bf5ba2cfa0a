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

// Reads at offsets through the file pointer, moved only when a read does not
// continue the previous one: extraction reads the archive front to back, so
// after the central directory there is hardly ever a seek. (Reads with an
// OVERLAPPED offset instead measured a tenth slower under Wine.)
class ZipReader::FileSource final : public zip::ByteSource {
public:
    FileSource(UniqueFile file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override {
        if (offset > size_ || n > size_ - offset) return false;
        auto* bytes = static_cast<std::uint8_t*>(out);
        while (n > 0) {
            DWORD got = 0;
            if (offset != position_) {
                LARGE_INTEGER to;
                to.QuadPart = static_cast<LONGLONG>(offset);
                if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return false;
            }
            if (!::ReadFile(file_.get(), bytes, static_cast<DWORD>(n), &got, nullptr) || got == 0) {
                position_ = ~0ull;
                return false;
            }
            position_ = offset + got;
            bytes += got;
            offset += got;
            n -= got;
        }
        return true;
    }

private:
    UniqueFile file_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
};

ZipReader::ZipReader(UniqueFile file, std::uint64_t size, std::wstring openFolder)
    : source_(std::make_unique<FileSource>(std::move(file), size)), openFolder_(std::move(openFolder)) {}

ZipReader::~ZipReader() = default;

std::unique_ptr<ZipReader> ZipReader::open(const std::wstring& path, ZipResult* error) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        *error = ZipResult::CannotCreate;
        return nullptr;
    }
    wchar_t folder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    std::unique_ptr<ZipReader> reader(
        new ZipReader(std::move(file), static_cast<std::uint64_t>(size.QuadPart), folder));
    *error = zip::findEndRecord(*reader->source_, &reader->end_);
    if (*error == ZipResult::Ok) *error = zip::readCentralDirectory(*reader->source_, reader->end_, &reader->entries_);
    if (*error != ZipResult::Ok) return nullptr;
    return reader;
}

ZipResult ZipReader::locate(int index) {
    if (cachedIndex_ == index) return ZipResult::Ok;
    const zip::CentralEntry& e = entries_[static_cast<std::size_t>(index)];
    zip::LocalEntry local;
    const ZipResult r = zip::readLocalEntry(*source_, e, end_.directoryOffset, &local);
    if (r != ZipResult::Ok) return r;
    ZipEntryInfo info;
    info.index = index;
    info.name = e.name;
    info.wideName = e.utf8Name() ? wideFromUtf8(e.name) : wideFromGbk(e.name);
    info.attributes = zip::attributesFromExternal(e.externalAttributes);
    info.creationTime = fileTimeFromTicks(local.times.creation);
    info.accessTime = fileTimeFromTicks(local.times.access);
    info.writeTime = fileTimeFromTicks(local.times.write);
    info.compressedSize = e.compressedSize;
    info.uncompressedSize = e.uncompressedSize;
    cached_ = std::move(info);
    cachedLocal_ = local;
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

ZipResult ZipReader::checkSupported(int index) const {
    if (index < 0 || index >= entryCount()) return ZipResult::BadArgument;
    return zip::checkSupported(entries_[static_cast<std::size_t>(index)]);
}

ZipResult ZipReader::copyEntryData(int index, zip::ChunkSink& sink) {
    if (index < 0 || index >= entryCount()) return ZipResult::BadArgument;
    const ZipResult located = locate(index);
    if (located != ZipResult::Ok) return located;
    return zip::copyEntryData(*source_, entries_[static_cast<std::size_t>(index)], cachedLocal_.dataOffset, sink);
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
    const ZipResult copied = copyEntryData(index, sink);
    if (copied != ZipResult::Ok) return copied;  // the file goes with `file`
    file.finish(cached_.creationTime, cached_.accessTime, cached_.writeTime, createAs == CreateAs::Normal);
    return ZipResult::Ok;
}

ZipResult zipGetEntry(ZipReader* reader, int index, ZipEntryInfo* info) {
    return reader ? reader->getEntry(index, info) : ZipResult::NotReader;
}

ZipResult zipExtractEntryToFile(ZipReader* reader, int index, const std::wstring& target) {
    return reader ? reader->extractEntryToFile(index, target) : ZipResult::NotReader;
}

void zipClose(std::unique_ptr<ZipReader>& reader) {
    reader.reset();
}

}  // namespace pelmora
