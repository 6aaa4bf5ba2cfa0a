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

// Where the copy puts its output: memory the sink lends, or a buffer of its
// own when the sink lends none. Full memory is handed on before more is
// taken, so the sink never sees a byte twice.
class Output {
public:
    explicit Output(ChunkSink& sink) : sink_(sink) {}

    // Room for the next bytes (at least one), after handing on what is
    // full; null when the sink refused it.
    std::uint8_t* room(std::size_t* size) {
        if (data_ && filled_ == capacity_ && !handOn()) return nullptr;
        if (!data_) take();
        *size = capacity_ - filled_;
        return data_ + filled_;
    }
    void produced(std::size_t n) { filled_ += n; }
    bool handOn() {
        const bool ok = filled_ == 0 || sink_.write(data_, filled_);
        data_ = nullptr;
        filled_ = 0;
        return ok;
    }

private:
    void take() {
        const ChunkSink::Span lent = sink_.lend();
        if (lent.data && lent.size) {
            data_ = lent.data;
            capacity_ = lent.size;
            return;
        }
        // Not cleared: every byte is written before it is handed on.
        if (!own_) own_.reset(new std::uint8_t[kOutputBuffer]);
        data_ = own_.get();
        capacity_ = kOutputBuffer;
    }

    ChunkSink& sink_;
    std::unique_ptr<std::uint8_t[]> own_;
    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t filled_ = 0;
};

ZipResult copyStored(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    if (entry.compressedSize != entry.uncompressedSize) return ZipResult::DataMismatch;
    Output output(sink);
    std::uint64_t left = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    while (left > 0) {
        std::size_t room = 0;
        std::uint8_t* const to = output.room(&room);
        if (!to) return ZipResult::CopyFailed;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
        if (!source.readAt(offset, to, n)) return ZipResult::CopyFailed;
        crc = ::crc32(crc, to, static_cast<uInt>(n));
        output.produced(n);
        offset += n;
        left -= n;
    }
    if (crc != entry.crc) return ZipResult::DataMismatch;
    return output.handOn() ? ZipResult::Ok : ZipResult::CopyFailed;
}

ZipResult copyDeflated(ByteSource& source, const CentralEntry& entry, std::uint64_t offset, ChunkSink& sink) {
    InflateStream inflater;
    if (!inflater.ok()) return ZipResult::CopyFailed;
    z_stream* zs = inflater.get();
    // Not cleared: only bytes read into it are inflated.
    const std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[kInputChunk]);
    Output output(sink);
    // 64-bit: entries may exceed 4 GiB either way.
    std::uint64_t inputLeft = entry.compressedSize;
    std::uint64_t outputLeft = entry.uncompressedSize;
    uLong crc = ::crc32(0, nullptr, 0);
    for (;;) {
        if (zs->avail_in == 0 && inputLeft > 0) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kInputChunk, inputLeft));
            if (!source.readAt(offset, input.get(), n)) return ZipResult::CopyFailed;
            offset += n;
            inputLeft -= n;
            zs->next_in = input.get();
            zs->avail_in = static_cast<uInt>(n);
        }
        // Once the declared size is reached, one spare byte of room shows
        // whether the stream would go on: inflation never writes past the size.
        std::uint8_t spare = 0;
        const bool full = outputLeft == 0;
        std::uint8_t* chunk = &spare;
        uInt room = 1;
        if (!full) {
            std::size_t free = 0;
            chunk = output.room(&free);
            if (!chunk) return ZipResult::CopyFailed;
            room = static_cast<uInt>(std::min<std::uint64_t>({kOutputChunk, free, outputLeft}));
        }
        zs->next_out = chunk;
        zs->avail_out = room;
        const int rc = ::inflate(zs, Z_NO_FLUSH);
        const uInt produced = room - zs->avail_out;
        if (full && produced) return ZipResult::DataMismatch;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return ZipResult::CopyFailed;
        if (produced) {
            crc = ::crc32(crc, chunk, produced);
            output.produced(produced);
            outputLeft -= produced;
        }
        if (rc == Z_STREAM_END) break;
        // No progress possible: the declared compressed data ended inside the stream.
        if (rc == Z_BUF_ERROR && zs->avail_in == 0 && inputLeft == 0) return ZipResult::DataMismatch;
    }
    if (outputLeft != 0 || zs->avail_in != 0 || inputLeft != 0) return ZipResult::DataMismatch;
    if (crc != entry.crc) return ZipResult::DataMismatch;
    return output.handOn() ? ZipResult::Ok : ZipResult::CopyFailed;
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
