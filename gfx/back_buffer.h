// Control back buffers: a memory DC per paint in progress, holding a 32-bit
// bitmap that starts fully transparent black. Each one is listed from creation
// to release, so a painter that hands back its DC gets the DC, the bitmap and
// whatever the DC held before all released together.
#pragma once

#include <windows.h>

#include <vector>

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

}  // namespace pelmora
