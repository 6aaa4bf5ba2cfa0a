// The gallery's pictures, drawn at build time by tools/make_gallery_art.py and
// linked into the program. Each call returns a copy the caller owns, as the
// skin object's operations take their images.
#pragma once

#include "base/win32_util.h"

namespace pelmora::gallery {

ByteBuffer backgroundPicture();  // 760 x 600 window background
ByteBuffer buttonPicture();      // 48 x 48, for the image button
ByteBuffer captionGlyph();       // 26 x 18, for the custom caption button

enum class PlateState { Normal, Hover, Pressed, Disabled };
ByteBuffer statePlate(PlateState state);  // 96 x 28, one per state of the four-image button

}  // namespace pelmora::gallery
