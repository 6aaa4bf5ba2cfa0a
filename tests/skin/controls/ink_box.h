// Where a painter put its ink: the bounding box of the pixels a predicate
// picks out, for the tests of text and image placement.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

#include "tests/skin/controls/painter_test_support.h"

namespace pelmora::test {

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
    bool empty() const { return count == 0; }
    int width() const { return empty() ? 0 : right - left + 1; }
    int height() const { return empty() ? 0 : bottom - top + 1; }
};

inline InkBox inkBox(Canvas& canvas, const std::function<bool(std::uint32_t)>& isInk, int x0 = 0, int y0 = 0,
                     int x1 = -1, int y1 = -1) {
    if (x1 < 0) x1 = canvas.width();
    if (y1 < 0) y1 = canvas.height();
    InkBox ink;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (isInk(canvas.rgb(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

// Pixels that differ between two canvases of the same size.
inline int differingPixels(Canvas& a, Canvas& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.rgb(x, y) != b.rgb(x, y);
    return count;
}

}  // namespace pelmora::test
