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

}  // namespace pelmora
