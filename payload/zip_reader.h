// Reads a ZIP archive from disk: entries addressed by index, in the order of
// the central directory, each extracted to a file of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_source.h"
#include "base/unique_resource.h"
#include "payload/entry_data.h"
#include "payload/zip_format.h"

namespace pelmora {

using zip::ZipResult;

struct ZipEntryInfo {
    int index = 0;                 // for index -1: the number of entries
    std::string name;              // as stored (code-page bytes, or UTF-8 when flagged)
    std::wstring wideName;         // decoded: UTF-8 when flagged, otherwise code page 936
    std::uint32_t attributes = 0;  // Windows file attributes
    FILETIME accessTime{};         // all zero when the archive gives no valid time
    FILETIME creationTime{};
    FILETIME writeTime{};
    std::uint64_t compressedSize = 0;
    std::uint64_t uncompressedSize = 0;
    bool isDirectory() const { return zip::isDirectoryAttributes(attributes); }
};

class ZipReader {
public:
    // Opens the archive and reads its central directory. On failure returns
    // null and sets *error (CannotCreate, NotAnArchive, Unsupported).
    static std::unique_ptr<ZipReader> open(const std::wstring& path, ZipResult* error);

    int entryCount() const { return static_cast<int>(entries_.size()); }

    // BadArgument below -1 or past the last entry; LocalHeaderMismatch and
    // BadExtraField when the entry's local header does not hold up.
    ZipResult getEntry(int index, ZipEntryInfo* info);

    // With the entry's attributes, or normal ones: created plain and set to
    // FILE_ATTRIBUTE_NORMAL again with the times, on the handle.
    enum class CreateAs { EntryAttributes, Normal };

    // Creates (or replaces, even when read-only) target with the entry's
    // data, attributes and times. A relative target is taken from the folder
    // that was current when the archive was opened, and its missing folders
    // are created. A file that fails part-way is deleted again, and a file it
    // was replacing is back as it was. Directory entries create nothing.
    ZipResult extractEntryToFile(int index, const std::wstring& target, CreateAs createAs = CreateAs::EntryAttributes);

    // The entry's decoded name and whether its attributes mark a folder, as
    // the central directory gives them (no read); the local header must
    // repeat the name before the entry is extracted.
    std::wstring entryName(int index) const;
    bool entryIsFolder(int index) const;
    // The entry's size once extracted, as the central directory gives it;
    // extraction checks the data against it. 0 past the last entry.
    std::uint64_t entrySize(int index) const;
    // The entry's CRC-32 as the central directory gives it, which extraction
    // also checks the data against; 0 past the last entry.
    std::uint32_t entryCrc(int index) const;

    // Whether the entry's data can be copied at all (Unsupported for
    // encryption, other methods, 64-bit sizes).
    ZipResult checkSupported(int index) const;

    // Another handle on the archive file, for a thread of its own: reads
    // through the reader's own handle move its file pointer, so no two
    // threads may share it. Null when the file cannot be opened again.
    std::unique_ptr<zip::ByteSource> openSource() const;
    // getEntry through such a source, caching nothing; *dataOffset: where
    // the entry's data starts.
    ZipResult readEntry(zip::ByteSource& source, int index, ZipEntryInfo* info, std::uint64_t* dataOffset) const;
    // Hands the entry's data, read through source from dataOffset, to sink,
    // checked as extractEntryToFile checks it (Unsupported before anything
    // is handed on).
    ZipResult copyEntryData(zip::ByteSource& source, int index, std::uint64_t dataOffset, zip::ChunkSink& sink) const;

    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

private:
    class ArchiveSource;
    ZipReader(FileSource file, std::wstring path, std::wstring openFolder);
    ZipResult locate(int index);

    std::unique_ptr<ArchiveSource> source_;
    zip::EndRecord end_;
    std::vector<zip::CentralEntry> entries_;
    std::wstring path_;  // full path of the archive
    std::wstring openFolder_;
    int cachedIndex_ = -2;
    ZipEntryInfo cached_;
    std::uint64_t cachedDataOffset_ = 0;
};

// Handle-style entry points: a null reader is NotReader.
ZipResult zipGetEntry(ZipReader* reader, int index, ZipEntryInfo* info);

}  // namespace pelmora
