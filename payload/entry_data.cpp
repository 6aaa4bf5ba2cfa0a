#include "payload/entry_data.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

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

// The two buffers, allocated once per entry without being cleared.
struct Buffers {
    Buffers() : storage(new std::uint8_t[kInputChunk + kOutputBuffer]) {}
    std::uint8_t* input() { return storage.get(); }
    std::uint8_t* output() { return storage.get() + kInputChunk; }
    std::unique_ptr<std::uint8_t[]> storage;
};

ZipResult copyStored(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    if (entry.compressedSize != entry.uncompressedSize) return ZipResult::DataMismatch;
    Buffers buffers;
    std::uint64_t left = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    while (left > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kOutputBuffer, left));
        if (!source.readAt(offset, buffers.output(), n)) return ZipResult::CopyFailed;
        crc = ::crc32(crc, buffers.output(), static_cast<uInt>(n));
        if (!sink.write(buffers.output(), n)) return ZipResult::CopyFailed;
        offset += n;
        left -= n;
    }
    return crc == entry.crc ? ZipResult::Ok : ZipResult::DataMismatch;
}

ZipResult copyDeflated(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    InflateStream inflater;
    if (!inflater.ok()) return ZipResult::CopyFailed;
    z_stream* zs = inflater.get();
    Buffers buffers;
    std::uint8_t* const output = buffers.output();
    std::size_t filled = 0;  // bytes of output not yet handed on
    // 64-bit: entries may exceed 4 GiB either way.
    std::uint64_t inputLeft = entry.compressedSize;
    std::uint64_t outputLeft = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    for (;;) {
        if (zs->avail_in == 0 && inputLeft > 0) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kInputChunk, inputLeft));
            if (!source.readAt(offset, buffers.input(), n)) return ZipResult::CopyFailed;
            offset += n;
            inputLeft -= n;
            zs->next_in = buffers.input();
            zs->avail_in = static_cast<uInt>(n);
        }
        if (filled == kOutputBuffer) {
            if (!sink.write(output, filled)) return ZipResult::CopyFailed;
            filled = 0;
        }
        // Once the declared size is reached, one spare byte of room shows
        // whether the stream would go on: inflation never writes past the size.
        std::uint8_t spare = 0;
        const bool full = outputLeft == 0;
        const uInt room =
            full ? 1 : static_cast<uInt>(std::min<std::uint64_t>({kOutputChunk, kOutputBuffer - filled, outputLeft}));
        std::uint8_t* const chunk = output + filled;
        zs->next_out = full ? &spare : chunk;
        zs->avail_out = room;
        const int rc = ::inflate(zs, Z_NO_FLUSH);
        const uInt produced = room - zs->avail_out;
        if (full && produced) return ZipResult::DataMismatch;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return ZipResult::CopyFailed;
        if (produced) {
            crc = ::crc32(crc, chunk, produced);
            filled += produced;
            outputLeft -= produced;
        }
        if (rc == Z_STREAM_END) break;
        // No progress possible: the declared compressed data ended inside the stream.
        if (rc == Z_BUF_ERROR && zs->avail_in == 0 && inputLeft == 0) return ZipResult::DataMismatch;
    }
    if (outputLeft != 0 || zs->avail_in != 0 || inputLeft != 0) return ZipResult::DataMismatch;
    if (crc != entry.crc) return ZipResult::DataMismatch;
    return filled == 0 || sink.write(output, filled) ? ZipResult::Ok : ZipResult::CopyFailed;
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
