#include "gfx/gdip_memory_stream.h"

#include <cstring>
#include <utility>

namespace pelmora {

namespace {
long liveBlockCount = 0;
long liveStreamCount = 0;
}  // namespace

long GdipMemoryStream::liveBlocks() {
    return liveBlockCount;
}
long GdipMemoryStream::liveStreams() {
    return liveStreamCount;
}

GdipMemoryStream::GdipMemoryStream(GdipMemoryStream&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)), stream_(std::exchange(other.stream_, nullptr)) {}

GdipMemoryStream& GdipMemoryStream::operator=(GdipMemoryStream&& other) noexcept {
    if (this != &other) {
        release();
        block_ = std::exchange(other.block_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
    }
    return *this;
}

IStream* GdipMemoryStream::fill(const void* bytes, std::size_t size) {
    release();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    ++liveBlockCount;
    block_ = block;
    if (size) {
        void* data = ::GlobalLock(block);
        if (!data) {
            release();
            return nullptr;
        }
        std::memcpy(data, bytes, size);
        ::GlobalUnlock(block);
    }
    // FALSE: releasing the stream must not free the block; release() does,
    // after the stream is gone.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, FALSE, &stream)) || !stream) {
        release();
        return nullptr;
    }
    ++liveStreamCount;
    stream_ = stream;
    return stream;
}

void GdipMemoryStream::release() {
    HGLOBAL block = block_;
    if (stream_) {
        // A stream that was written to may have moved its block.
        HGLOBAL current = nullptr;
        if (SUCCEEDED(::GetHGlobalFromStream(stream_, &current)) && current) block = current;
        stream_->Release();
        stream_ = nullptr;
        --liveStreamCount;
    }
    if (block) {
        ::GlobalFree(block);
        --liveBlockCount;
    }
    block_ = nullptr;
}

Bytes GdipMemoryStream::bytes() const {
    HGLOBAL block = block_;
    std::size_t size = block ? ::GlobalSize(block) : 0;
    if (stream_) {
        HGLOBAL current = nullptr;
        if (SUCCEEDED(::GetHGlobalFromStream(stream_, &current)) && current) block = current;
        size = block ? ::GlobalSize(block) : 0;
        // The block may be larger than what was written; the stream knows.
        STATSTG stat{};
        if (SUCCEEDED(stream_->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart < size)
            size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    }
    if (!block || size == 0) return {};
    const void* data = ::GlobalLock(block);
    if (!data) return {};
    Bytes out(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
    ::GlobalUnlock(block);
    return out;
}

}  // namespace pelmora
