#include "gfx/back_buffer.h"

#include <algorithm>

#include "gfx/gdip_image.h"

namespace pelmora {
namespace {

std::vector<BackBufferEntry>& entries() {
    static std::vector<BackBufferEntry> list;
    return list;
}

// The bitmap goes through GDI+ so that it is a 32-bit ARGB DIB section whose
// pixels start as 0 (transparent black), the same surface GDI+ paints into.
HBITMAP createZeroBitmap(int width, int height) {
    GdipBitmap bitmap;
    if (!bitmap.create(width, height, PixelFormat32bppARGB)) return nullptr;
    return bitmap.toHbitmap(0).release();
}

}  // namespace

const std::vector<BackBufferEntry>& backBuffers() {
    return entries();
}

void registerBackBuffer(HDC memoryDc, HBITMAP bitmap, HGDIOBJ previousObject) {
    auto& list = entries();
    auto found =
        std::find_if(list.begin(), list.end(), [&](const BackBufferEntry& e) { return e.memoryDc == memoryDc; });
    if (found != list.end()) {
        found->bitmap = bitmap;
        found->previousObject = previousObject;
        return;
    }
    list.push_back({memoryDc, bitmap, previousObject});
}

HDC createBackBuffer(int width, int height) {
    GdiBitmap bitmap(createZeroBitmap(width, height));
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return nullptr;
    HGDIOBJ previous = bitmap ? ::SelectObject(dc.get(), bitmap.get()) : nullptr;
    // From here the list owns both, until releaseControlBackground.
    registerBackBuffer(dc.get(), bitmap.release(), previous);
    return dc.release();
}

bool releaseControlBackground(HDC memoryDc) {
    if (!memoryDc) return false;
    auto& list = entries();
    auto found =
        std::find_if(list.begin(), list.end(), [&](const BackBufferEntry& e) { return e.memoryDc == memoryDc; });
    if (found == list.end()) return false;
    // Selecting the previous object back hands out the bitmap that was in the
    // DC, which is the one to delete (a painter may have swapped it).
    HGDIOBJ selected = found->previousObject ? ::SelectObject(memoryDc, found->previousObject) : nullptr;
    if (selected && selected != HGDI_ERROR)
        ::DeleteObject(selected);
    else if (found->bitmap)
        ::DeleteObject(found->bitmap);
    ::DeleteDC(memoryDc);
    list.erase(found);
    return true;
}

}  // namespace pelmora
