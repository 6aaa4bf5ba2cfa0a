#include "skin/window/window_geometry.h"

namespace pelmora {

int captionStripWidth(const std::vector<CaptionButtonKind>& kinds, UINT dpi) {
    if (kinds.empty()) return 0;
    int width = 0;
    for (CaptionButtonKind kind : kinds) width += captionButtonWidth(kind);
    return scaled(width + static_cast<int>(kinds.size()) - 1 + 3, dpi);
}

int captionStripLeft(int clientWidth, int stripWidth, UINT dpi) {
    return clientWidth - stripWidth + scaled(1, dpi);
}

// Each button's edges are scaled from their offsets in the strip at 96 DPI,
// so the one-pixel gaps stay gaps and no two buttons overlap at any scale.
std::vector<RectF> captionButtonRects(int stripLeft, int stripTop, const std::vector<CaptionButtonKind>& kinds,
                                      UINT dpi) {
    std::vector<RectF> rects;
    const float top = static_cast<float>(stripTop + scaled(1, dpi));
    const float height = static_cast<float>(scaled(1 + kCaptionButtonHeight, dpi) - scaled(1, dpi));
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int left96 = 2 + static_cast<int>(i) * kCaptionButtonPitch;
        const int width96 = kinds[i] == CaptionButtonKind::Close ? 40 : 26;
        const int left = scaled(left96, dpi), right = scaled(left96 + width96, dpi);
        rects.push_back({static_cast<float>(stripLeft + left), top, static_cast<float>(right - left), height});
    }
    return rects;
}

int hitTestCaptionRects(const StripRect& strip, const std::vector<RectF>& rects, int x, int y) {
    if (x < strip.left || y < strip.top || y > strip.top + strip.height) return 0;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    for (size_t i = 0; i < rects.size(); ++i) {
        const RectF& r = rects[i];
        if (r.x < fx && fx < r.x + r.width && r.y < fy && fy < r.y + r.height) return static_cast<int>(i) + 1;
    }
    return 0;
}

bool inHoverStrip(const StripRect& strip, int x, int y) {
    return x >= strip.left - scaled(2, strip.dpi) && x <= strip.left + strip.width && y <= strip.height && y >= 0;
}

bool inPressStrip(const StripRect& strip, int x, int y) {
    return x >= strip.left && x <= strip.left + strip.width && y <= strip.height && y >= scaled(3, strip.dpi);
}

RECT titleRect(int clientWidth, int stripWidth, int border, UINT dpi) {
    const int x = border + scaled(6, dpi), y = border + scaled(5, dpi);
    const int width = clientWidth - stripWidth - scaled(10, dpi) - 2 * border;
    return {x, y, x + width, y + scaled(32, dpi)};
}

std::optional<EdgeHit> resizeEdgeAt(int x, int y, int r, int h, int b, UINT dpi) {
    const int corner = scaled(10, dpi), start = corner + 1;
    if (x <= b && y >= start && y < h - corner) return EdgeHit{ResizeEdge::Left, 1, IDC_SIZEWE};
    if (x >= r - b && y >= start && y < h - corner) return EdgeHit{ResizeEdge::Right, 2, IDC_SIZEWE};
    if (y <= b && x >= start && x < r - corner) return EdgeHit{ResizeEdge::Top, 3, IDC_SIZENS};
    if (y >= h - b && x >= start && x < r - corner) return EdgeHit{ResizeEdge::Bottom, 6, IDC_SIZENS};
    if (x <= corner && y <= corner) return EdgeHit{ResizeEdge::TopLeft, 4, IDC_SIZENWSE};
    if (x >= r - corner && y <= corner) return EdgeHit{ResizeEdge::TopRight, 5, IDC_SIZENESW};
    if (x <= corner && y >= h - corner) return EdgeHit{ResizeEdge::BottomLeft, 7, IDC_SIZENESW};
    if (x >= r - corner && y >= h - corner) return EdgeHit{ResizeEdge::BottomRight, 8, IDC_SIZENWSE};
    return std::nullopt;
}

PressDecision decidePress(const PressContext& c, int x, int y) {
    if (inPressStrip(c.strip, x, y) || !c.captionActive) return {};
    const bool inCaption = y <= c.captionHeight;
    // A fixed-size window drags from anywhere in its caption band, borders included.
    if (!c.resizable && inCaption) return {PressAction::CaptionDrag, std::nullopt};
    if (auto edge = resizeEdgeAt(x, y, c.clientRight, c.clientBottom, c.border, c.dpi))
        return {PressAction::Resize, edge};
    if (inCaption) return {PressAction::CaptionDrag, std::nullopt};
    return {};
}

RECT statusBarRect(int clientWidth, int clientHeight, int border, int height, UINT dpi) {
    border = scaled(border, dpi);
    height = scaled(height, dpi);
    const int top = clientHeight - border - height - scaled(1, dpi);
    return {border, top, border + clientWidth - 2 * border, top + height};
}

std::vector<RECT> statusItemRects(const RECT& bar, const std::vector<int>& widths, UINT dpi) {
    std::vector<RECT> rects;
    int x = bar.left;
    for (int width : widths) {
        const int right = width < 0 ? bar.right : x + scaled(width, dpi);
        rects.push_back({x, bar.top, right, bar.bottom});
        x = right;
    }
    return rects;
}

}  // namespace pelmora
