// Streams one entry's data out of the archive: stored data is copied,
// deflated data inflated, in fixed chunks, with the sizes and the CRC-32 of
// the central record checked on the way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "payload/zip_format.h"

namespace pelmora::zip {

// Data is inflated (and its CRC-32 taken) in 16 KiB chunks, one after the
// other into an output buffer that is handed on when full: one write per
// several chunks is measurably faster than one per chunk, and the chunk is
// still warm in the cache when its CRC is taken. The buffer is 64 KiB of the
// copy's own, or memory the sink lends. Memory use is fixed: it never depends
// on the size of an entry.
constexpr std::size_t kOutputChunk = 16384;
constexpr std::size_t kOutputBuffer = 4 * kOutputChunk;
constexpr std::size_t kInputChunk = 65536;

class ChunkSink {
public:
    struct Span {
        std::uint8_t* data = nullptr;
        std::size_t size = 0;
    };

    virtual ~ChunkSink() = default;
    // Hands on the next `size` bytes; false stops the copy. At most
    // kOutputBuffer bytes at a time unless the sink lends its memory.
    virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
    // A sink that keeps what it is handed lends its own memory here, so the
    // data is produced straight into it instead of being copied there: the
    // next write then hands on the start of that span. An empty span (the
    // default) lends nothing, and the copy uses its own buffer.
    virtual Span lend() { return {}; }
};

// Ok when the reader can copy the entry's data; Unsupported for encryption,
// methods other than stored and deflated, and sizes deferred to a 64-bit
// record that is missing.
ZipResult checkSupported(const CentralEntry& entry);

// Hands the entry's data to sink. Never hands on more than the declared
// uncompressed size, nor reads past the declared compressed size. Errors:
// CopyFailed (read or inflate error, sink refused), DataMismatch (the data
// ends early, runs long, or has another CRC-32).
ZipResult copyEntryData(ByteSource& source, const CentralEntry& entry, std::uint64_t dataOffset, ChunkSink& sink);

}  // namespace pelmora::zip
