// The file an entry's data is written to: created new where nothing is yet,
// replaced otherwise, and deleted again when the data fails part-way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/unique_resource.h"

namespace pelmora {

class EntryFile {
public:
    EntryFile() = default;
    EntryFile(const EntryFile&) = delete;
    EntryFile& operator=(const EntryFile&) = delete;

    // Opens path for writing with the given creation attributes. An existing
    // file is replaced, even a read-only or hidden one. False when the file
    // cannot be created; GetLastError says why.
    bool create(const std::wstring& path, DWORD attributes);
    // Whether create made the file rather than replacing one.
    bool isNew() const { return isNew_; }

    bool write(const std::uint8_t* data, std::size_t size);

    // Sets the times (zero leaves one as it is) and, with normalAttributes,
    // FILE_ATTRIBUTE_NORMAL in one call on the handle, then closes the file.
    void finish(const FILETIME& creation, const FILETIME& access, const FILETIME& write, bool normalAttributes);
    // Closes and deletes the file: data that failed must not pass for the
    // file it claims to be.
    void discard();

    // A file still open here was never finished: it goes, as with discard.
    ~EntryFile() { discard(); }

private:
    UniqueFile file_;
    std::wstring path_;
    bool isNew_ = false;
};

}  // namespace pelmora
