#include "gfx/drawing_helpers.h"

#include <algorithm>

#include "gfx/gdip_path.h"

namespace pelmora {

std::array<CornerArc, 4> roundedRectangleArcs(float x, float y, float width, float height, int radius) {
    const float r = static_cast<float>(std::clamp(radius, 1, 100));
    const float x1 = x + width;
    const float y1 = y + height;
    return {{
        {x1 - r, y, r, r, 270.0f},                                 // top right
        {x1 - r - 1.0f, y1 - r - 1.0f, r + 1.0f, r + 1.0f, 0.0f},  // bottom right, one pixel larger
        {x, y1 - r, r, r, 90.0f},                                  // bottom left
        {x, y, r, r, 180.0f},                                      // top left
    }};
}

bool addRoundedRectangle(GdipPath& path, float x, float y, float width, float height, int radius) {
    bool ok = true;
    for (const CornerArc& arc : roundedRectangleArcs(x, y, width, height, radius))
        ok = path.addArc(arc.x, arc.y, arc.width, arc.height, arc.startAngle, 90.0f) && ok;
    return path.closeFigure() && ok;
}

RECT rectRelativeTo(HWND a, HWND b) {
    RECT ra{}, rb{};
    ::GetWindowRect(a, &ra);
    ::GetWindowRect(b, &rb);
    return {rb.left - ra.left, rb.top - ra.top, rb.right - ra.left, rb.bottom - ra.top};
}

RECT rectInRootWindow(HWND window) {
    return rectRelativeTo(::GetAncestor(window, GA_ROOT), window);
}

bool isClickThrough(HWND window) {
    return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

void invalidateVisibleChildren(HWND window) {
    for (HWND child = ::FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = ::FindWindowExW(window, child, nullptr, nullptr))
        if (::IsWindowVisible(child)) ::InvalidateRect(child, nullptr, TRUE);
}

}  // namespace pelmora
