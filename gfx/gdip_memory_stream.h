// GdipMemoryStream: an IStream over a movable global memory block holding a
// copy of some bytes, which is how images are loaded from memory and saved to
// it. The stream is made so that releasing it leaves the block alone; the
// wrapper frees both, stream first.
#pragma once

#include <cstddef>

#include "gfx/gdip_types.h"

namespace pelmora {

class GdipMemoryStream {
public:
    GdipMemoryStream() = default;
    ~GdipMemoryStream() { release(); }
    GdipMemoryStream(const GdipMemoryStream&) = delete;
    GdipMemoryStream& operator=(const GdipMemoryStream&) = delete;
    GdipMemoryStream(GdipMemoryStream&& other) noexcept;
    GdipMemoryStream& operator=(GdipMemoryStream&& other) noexcept;

    // Releases what it holds, then copies size bytes into a new block and
    // makes a stream over it. Zero bytes give a zero-length block whose
    // stream grows as it is written. Null on failure.
    IStream* fill(const void* bytes, std::size_t size);
    // Stream, then block; safe to call when empty.
    void release();
    // A copy of the stream's bytes.
    Bytes bytes() const;

    // Blocks and streams made by fill and not yet released, in the
    // whole process: what leak tests compare before and after.
    static long liveBlocks();
    static long liveStreams();

private:
    HGLOBAL block_ = nullptr;
    IStream* stream_ = nullptr;
};

}  // namespace pelmora
