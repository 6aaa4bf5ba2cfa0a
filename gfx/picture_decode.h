// Decoding the engine's pictures into GDI+ bitmaps.
#pragma once

#include <cstddef>

#include "gfx/gdip_image.h"

namespace pelmora {

// Decodes PNG bytes into `target` with the engine's own decoder when the
// picture is of a kind it reads, so the window's first paint does not wait
// for the imaging components to load; any other picture, and any bytes the
// decoder refuses, go through GDI+ and get its verdict. The pixels, pixel
// format and resolution are those GDI+ would give.
bool decodePicture(GdipBitmap& target, const void* bytes, std::size_t size);

}  // namespace pelmora
