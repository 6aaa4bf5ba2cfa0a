// A file opened for reading, read at offsets: the one way the readers of the
// installer's file, an archive or a picture get at bytes on disk.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/unique_resource.h"

namespace pelmora {

// What others may do with the file while it is open here. Reading is always
// shared; the choice is whether the file may be renamed or deleted meanwhile.
enum class FileSharing {
    Read,           // nobody writes, renames or deletes it while it is read
    ReadAndDelete,  // others may rename or delete it; writing is still kept out
};

class FileSource {
public:
    FileSource() = default;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    FileSource(FileSource&&) = default;
    FileSource& operator=(FileSource&&) = default;

    // Opens an existing file for reading, hinting that it is read front to
    // back, and takes its size. False with error() (and the thread's last
    // error) set to the system's reason.
    bool open(const std::wstring& path, FileSharing sharing);
    bool isOpen() const { return static_cast<bool>(file_); }

    std::uint64_t size() const { return size_; }  // as at open

    // Reads exactly `n` bytes at `offset`. False when they lie past the size
    // taken at open or the file gives fewer (ERROR_HANDLE_EOF), or with the
    // system's reason. The file pointer is moved only when a read does not
    // continue the previous one, so reading front to back never seeks.
    bool readAt(std::uint64_t offset, void* out, std::size_t n);

    // The system's reason for the last failure; 0 when there was none.
    DWORD error() const { return error_; }

private:
    bool fail(DWORD error);

    UniqueFile file_;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    DWORD error_ = 0;
};

// The whole of a file of at most `maxSize` bytes. False (with the thread's
// last error set) when it cannot be opened or read, or is larger
// (ERROR_FILE_TOO_LARGE).
bool readWholeFile(const std::wstring& path, FileSharing sharing, std::size_t maxSize, std::string* bytes);

}  // namespace pelmora
