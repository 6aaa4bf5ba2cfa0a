// Control back buffers: a memory DC per paint in progress, holding a 32-bit
// bitmap that starts fully transparent black. Each one is listed from creation
// to release, so a painter that hands back its DC gets the DC, the bitmap and
// whatever the DC held before all released together.
#pragma once

#include <windows.h>

#include <vector>

#include "base/unique_resource.h"

namespace pelmora {

struct BackBufferEntry {
    HDC memoryDc = nullptr;            // key
    HBITMAP bitmap = nullptr;          // selected into memoryDc
    HGDIOBJ previousObject = nullptr;  // what memoryDc held before; put back at release
};

// The buffers of the paints in progress (normally none or one).
const std::vector<BackBufferEntry>& backBuffers();

// Adds an entry, or updates the one whose memory DC is the same.
void registerBackBuffer(HDC memoryDc, HBITMAP bitmap, HGDIOBJ previousObject);

// A new listed memory DC with a width x height 32-bit bitmap of zero pixels.
// A size GDI+ cannot make (0 x 0) still gives a listed DC, without a usable bitmap.
HDC createBackBuffer(int width, int height);

// Puts the previous object back, deletes the bitmap and the DC and forgets the
// entry; false for 0 or a DC that is not listed (a second release touches nothing).
bool releaseControlBackground(HDC memoryDc);

struct BackBufferTraits {
    static HDC invalid() noexcept { return nullptr; }
    static bool valid(HDC dc) noexcept { return dc != nullptr; }
    static void close(HDC dc) noexcept { releaseControlBackground(dc); }
};

// Owns one listed back buffer and hands it back when it goes, so a painter
// acquires its buffers at the top and has nothing to release on any branch.
// Constructed from a size it makes a fresh buffer; constructed from a DC it
// adopts one that a preparing function handed out.
class BackBuffer : public UniqueResource<HDC, BackBufferTraits> {
public:
    using UniqueResource::UniqueResource;
    BackBuffer(int width, int height) : UniqueResource(createBackBuffer(width, height)) {}
    HDC dc() const noexcept { return get(); }
};

}  // namespace pelmora
