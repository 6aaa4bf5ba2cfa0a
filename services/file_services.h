// File and folder services. Paths are UTF-16 and go to the wide functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace pelmora {

struct ByteSpan {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Creates or truncates `path` (no sharing) and writes every non-empty span in
// order. False for an empty path or any failure to open, write or close; a
// partly written file is left as it is (the caller decides what to do with it).
bool writeByteSetsToFile(const std::wstring& path, std::initializer_list<ByteSpan> sets);

bool createFolder(const std::wstring& path);  // one level; false if it exists
bool deleteFile(const std::wstring& path);

// Deletes a file even when it is read-only, hidden or system. True when the
// file is gone afterwards, including when there was none.
bool removeFile(const std::wstring& path);
// Removes a folder that is empty; one with anything in it stays. True when
// the folder is gone afterwards, including when there was none.
bool removeEmptyFolder(const std::wstring& path);

// True when the file exists and another handle keeps it from being opened for
// writing (a running program, a loaded library, a file open elsewhere). A
// missing or merely read-only file is not in use.
bool fileInUse(const std::wstring& path);

}  // namespace pelmora
