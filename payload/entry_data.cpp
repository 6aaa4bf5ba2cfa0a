#include "payload/entry_data.h"

#include <zlib.h>

#include <algorithm>

namespace pelmora::zip {
namespace {

class InflateStream {
public:
    InflateStream() { ok_ = ::inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~InflateStream() {
        if (ok_) ::inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    bool ok() const { return ok_; }
    z_stream* get() { return &stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

ZipResult copyStored(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    if (entry.compressedSize != entry.uncompressedSize) return ZipResult::DataMismatch;
    std::uint8_t buffer[kOutputChunk];
    std::uint32_t left = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    while (left > 0) {
        const std::size_t n = std::min<std::size_t>(sizeof buffer, left);
        if (!source.readAt(offset, buffer, n)) return ZipResult::CopyFailed;
        crc = ::crc32(crc, buffer, static_cast<uInt>(n));
        if (!sink.write(buffer, n)) return ZipResult::CopyFailed;
        offset += n;
        left -= static_cast<std::uint32_t>(n);
    }
    return crc == entry.crc ? ZipResult::Ok : ZipResult::DataMismatch;
}

ZipResult copyDeflated(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    InflateStream inflater;
    if (!inflater.ok()) return ZipResult::CopyFailed;
    z_stream* zs = inflater.get();
    std::uint8_t input[kInputChunk];
    std::uint8_t output[kOutputChunk];
    std::uint32_t inputLeft = entry.compressedSize;
    std::uint32_t outputLeft = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    for (;;) {
        if (zs->avail_in == 0 && inputLeft > 0) {
            const std::size_t n = std::min<std::size_t>(sizeof input, inputLeft);
            if (!source.readAt(offset, input, n)) return ZipResult::CopyFailed;
            offset += n;
            inputLeft -= static_cast<std::uint32_t>(n);
            zs->next_in = input;
            zs->avail_in = static_cast<uInt>(n);
        }
        // Once the declared size is reached, one spare byte of room shows
        // whether the stream would go on: inflation never writes past the size.
        std::uint8_t spare = 0;
        const bool full = outputLeft == 0;
        const uInt room = full ? 1 : static_cast<uInt>(std::min<std::size_t>(sizeof output, outputLeft));
        zs->next_out = full ? &spare : output;
        zs->avail_out = room;
        const int rc = ::inflate(zs, Z_NO_FLUSH);
        const uInt produced = room - zs->avail_out;
        if (full && produced) return ZipResult::DataMismatch;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return ZipResult::CopyFailed;
        if (produced) {
            crc = ::crc32(crc, output, produced);
            if (!sink.write(output, produced)) return ZipResult::CopyFailed;
            outputLeft -= produced;
        }
        if (rc == Z_STREAM_END) break;
        // No progress possible: the declared compressed data ended inside the stream.
        if (rc == Z_BUF_ERROR && zs->avail_in == 0 && inputLeft == 0) return ZipResult::DataMismatch;
    }
    if (outputLeft != 0 || zs->avail_in != 0 || inputLeft != 0) return ZipResult::DataMismatch;
    return crc == entry.crc ? ZipResult::Ok : ZipResult::DataMismatch;
}

}  // namespace

ZipResult checkSupported(const CentralEntry& entry) {
    if (entry.flags & (kFlagEncrypted | kFlagStrongEncryption)) return ZipResult::Unsupported;
    if (entry.method != kMethodStored && entry.method != kMethodDeflated) return ZipResult::Unsupported;
    if (entry.needsZip64()) return ZipResult::Unsupported;
    return ZipResult::Ok;
}

ZipResult copyEntryData(ByteSource& source, const CentralEntry& entry, std::uint64_t dataOffset, ChunkSink& sink) {
    const ZipResult supported = checkSupported(entry);
    if (supported != ZipResult::Ok) return supported;
    return entry.method == kMethodStored ? copyStored(source, entry, dataOffset, sink)
                                         : copyDeflated(source, entry, dataOffset, sink);
}

}  // namespace pelmora::zip
