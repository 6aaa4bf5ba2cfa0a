#include "payload/embedded_data.h"

#include <zlib.h>

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

}  // namespace

ByteView payloadArchive() { return view(pelmora_payload_zip, pelmora_payload_zip_end); }
ByteView backgroundPng() { return view(pelmora_background_png, pelmora_background_png_end); }
ByteView iconPng() { return view(pelmora_icon_png, pelmora_icon_png_end); }

std::uint32_t payloadArchiveExpectedCrc() { return kPayloadArchiveCrc32; }

bool payloadArchiveIntact() {
    const ByteView archive = payloadArchive();
    if (archive.size != kPayloadArchiveSize) return false;
    // zlib's crc32 takes a 32-bit length; the archive fits comfortably.
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, archive.data, static_cast<uInt>(archive.size));
    return static_cast<std::uint32_t>(crc) == kPayloadArchiveCrc32;
}

}  // namespace pelmora
