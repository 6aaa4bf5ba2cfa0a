#include "payload/embedded_data.h"

#include <windows.h>
#include <zlib.h>

#include <string>

#include "base/file_source.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "payload_checksum.h"

extern "C" {
extern const std::uint8_t pelmora_payload_zip[], pelmora_payload_zip_end[];
extern const std::uint8_t pelmora_background_png[], pelmora_background_png_end[];
extern const std::uint8_t pelmora_icon_png[], pelmora_icon_png_end[];
}

namespace pelmora {
namespace {

ByteView view(const std::uint8_t* begin, const std::uint8_t* end) {
    return {begin, static_cast<std::size_t>(end - begin)};
}

constexpr DWORD kReadChunk = 256 * 1024;

// CRC-32 of the bytes where they are mapped. Every page is touched and stays
// in the working set until the system trims it.
std::uint32_t crcInPlace(ByteView bytes) {
    // zlib's crc32 takes a 32-bit length; the archive fits comfortably.
    const uLong crc = ::crc32(::crc32(0L, Z_NULL, 0), bytes.data, static_cast<uInt>(bytes.size));
    return static_cast<std::uint32_t>(crc);
}

// CRC-32 of the same bytes read from the module's file in chunks: the page
// cache holds them, the process only one chunk at a time.
bool crcFromFile(ByteView bytes, std::uint32_t* crc) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(bytes.data), &module)) {
        return false;
    }
    std::uint64_t offset = 0;
    if (!imageFileOffset(module, bytes.data, bytes.size, &offset)) return false;
    const std::wstring path = modulePath(module);
    if (path.empty()) return false;

    // The program's own file: whoever started it may rename or delete it
    // while it runs, and reading it must not stand in their way.
    FileSource file;
    if (!file.open(path, FileSharing::ReadAndDelete)) return false;
    // Its own pages, given back whole when done: a heap block could stay committed.
    UniqueVirtualMemory buffer(::VirtualAlloc(nullptr, kReadChunk, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!buffer) return false;
    auto* chunk = static_cast<Bytef*>(buffer.get());
    uLong sum = ::crc32(0L, Z_NULL, 0);
    for (std::size_t done = 0; done < bytes.size;) {
        const DWORD want = bytes.size - done < kReadChunk ? static_cast<DWORD>(bytes.size - done) : kReadChunk;
        if (!file.readAt(offset + done, chunk, want)) return false;
        sum = ::crc32(sum, chunk, want);
        done += want;
    }
    *crc = static_cast<std::uint32_t>(sum);
    return true;
}

}  // namespace

ByteView payloadArchive() {
    return view(pelmora_payload_zip, pelmora_payload_zip_end);
}
ByteView backgroundPng() {
    return view(pelmora_background_png, pelmora_background_png_end);
}
ByteView iconPng() {
    return view(pelmora_icon_png, pelmora_icon_png_end);
}

std::uint32_t payloadArchiveExpectedCrc() {
    return kPayloadArchiveCrc32;
}

bool imageFileOffset(const void* moduleBase, const void* address, std::size_t size, std::uint64_t* offset) {
    const auto* base = static_cast<const std::uint8_t*>(moduleBase);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const auto* at = static_cast<const std::uint8_t*>(address);
    if (at < base) return false;
    const std::uintptr_t rva = static_cast<std::uintptr_t>(at - base);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        // Only bytes that come from the file: a section's tail past its raw
        // data is zero-filled memory.
        const std::uintptr_t start = section->VirtualAddress;
        if (rva < start || rva - start > section->SizeOfRawData || size > section->SizeOfRawData - (rva - start)) {
            continue;
        }
        *offset = static_cast<std::uint64_t>(section->PointerToRawData) + (rva - start);
        return true;
    }
    return false;
}

// Read from the file rather than the mapped image: the image's 19 MB would
// otherwise stay in the working set for as long as the installer runs idle.
// Where the file cannot be read the mapped bytes are checked instead; both
// hold the same bytes, so the answer is the same.
bool payloadArchiveIntact() {
    const ByteView archive = payloadArchive();
    if (archive.size != kPayloadArchiveSize) return false;
    std::uint32_t crc = 0;
    if (!crcFromFile(archive, &crc)) crc = crcInPlace(archive);
    return crc == kPayloadArchiveCrc32;
}

}  // namespace pelmora
