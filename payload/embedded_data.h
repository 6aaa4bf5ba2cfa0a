// Read-only data linked into the program image: the payload archive and the
// two installer images. The bytes are read in place, never copied to the heap.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelmora {

struct ByteView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

ByteView payloadArchive();  // the ZIP archive the installer writes and extracts
ByteView backgroundPng();   // 500 x 300 window background
ByteView iconPng();         // 128 x 128 window icon

// CRC-32 of the archive as generated at build time, and the check against
// it. The check reads the archive from the program's file, so the mapped
// image's pages are not brought in for it.
std::uint32_t payloadArchiveExpectedCrc();
bool payloadArchiveIntact();

// Where `size` bytes at `address`, inside the module loaded at moduleBase,
// are stored in the module's file, from its section headers. False when they
// do not lie within one section's data from the file.
bool imageFileOffset(const void* moduleBase, const void* address, std::size_t size, std::uint64_t* offset);

}  // namespace pelmora
