// Decodes a PNG held in memory into a 32-bit top-down DIB section, for the
// form window's own background picture.
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/unique_resource.h"

namespace pelmora {

// An empty bitmap when the bytes cannot be decoded.
GdiBitmap decodePicture(const void* data, std::size_t size);

}  // namespace pelmora
