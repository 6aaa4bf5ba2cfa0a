// Value types and native declarations shared by the GDI+ wrapper classes.
//
// Only the flat interface (the Gdip* functions) is used; the C++ classes that
// the GDI+ header also declares are never touched. Coordinates are 32-bit
// floats or integers as GDI+ takes them; colours are ARGB (0xAARRGGBB).
#pragma once

// Order matters: the GDI+ header needs the COM and Windows types first.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <cstdint>
#include <vector>

#include "base/win32_util.h"

namespace pelmora {

namespace gp = Gdiplus::DllExports;

using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpLineGradient;
using Gdiplus::GpPath;
using Gdiplus::GpPathGradient;
using Gdiplus::GpPen;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;
using Gdiplus::REAL;

using Argb = std::uint32_t;  // 0xAARRGGBB

struct PointF {
    float x = 0;
    float y = 0;
};
struct PointI {
    int x = 0;
    int y = 0;
};
struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};
struct RectI {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
struct SizeI {
    int width = 0;
    int height = 0;
};

// Caller-visible bytes (an encoded image, a property value).
using Bytes = ByteBuffer;

}  // namespace pelmora
