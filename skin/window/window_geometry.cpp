#include "skin/window/window_geometry.h"

namespace pelmora {

int captionStripWidth(const std::vector<CaptionButtonKind>& kinds) {
    if (kinds.empty()) return 0;
    int width = 0;
    for (CaptionButtonKind kind : kinds) width += captionButtonWidth(kind);
    return width + static_cast<int>(kinds.size()) - 1 + 3;
}

int captionStripLeft(int clientWidth, int stripWidth) {
    return clientWidth - stripWidth + 1;
}

std::vector<RectF> captionButtonRects(int stripLeft, int stripTop, const std::vector<CaptionButtonKind>& kinds) {
    std::vector<RectF> rects;
    const float x0 = static_cast<float>(stripLeft + 2);
    const float y0 = static_cast<float>(stripTop + 1);
    for (size_t i = 0; i < kinds.size(); ++i) {
        const float width = kinds[i] == CaptionButtonKind::Close ? 40.0f : 26.0f;
        rects.push_back({x0 + static_cast<float>(i * kCaptionButtonPitch), y0, width, kCaptionButtonHeight});
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
    return x >= strip.left - 2 && x <= strip.left + strip.width && y <= strip.height && y >= 0;
}

bool inPressStrip(const StripRect& strip, int x, int y) {
    return x >= strip.left && x <= strip.left + strip.width && y <= strip.height && y >= 3;
}

RECT titleRect(int clientWidth, int stripWidth, int border) {
    const int x = border + 6, y = border + 5;
    const int width = clientWidth - stripWidth - 10 - 2 * border;
    return {x, y, x + width, y + 32};
}

std::optional<EdgeHit> resizeEdgeAt(int x, int y, int r, int h, int b) {
    if (x <= b && y >= 11 && y < h - 10) return EdgeHit{ResizeEdge::Left, 1, IDC_SIZEWE};
    if (x >= r - b && y >= 11 && y < h - 10) return EdgeHit{ResizeEdge::Right, 2, IDC_SIZEWE};
    if (y <= b && x >= 11 && x < r - 10) return EdgeHit{ResizeEdge::Top, 3, IDC_SIZENS};
    if (y >= h - b && x >= 11 && x < r - 10) return EdgeHit{ResizeEdge::Bottom, 6, IDC_SIZENS};
    if (x <= 10 && y <= 10) return EdgeHit{ResizeEdge::TopLeft, 4, IDC_SIZENWSE};
    if (x >= r - 10 && y <= 10) return EdgeHit{ResizeEdge::TopRight, 5, IDC_SIZENESW};
    if (x <= 10 && y >= h - 10) return EdgeHit{ResizeEdge::BottomLeft, 7, IDC_SIZENESW};
    if (x >= r - 10 && y >= h - 10) return EdgeHit{ResizeEdge::BottomRight, 8, IDC_SIZENWSE};
    return std::nullopt;
}

PressDecision decidePress(const PressContext& c, int x, int y) {
    if (inPressStrip(c.strip, x, y) || !c.captionActive) return {};
    const bool inCaption = y <= c.captionHeight;
    // A fixed-size window drags from anywhere in its caption band, borders included.
    if (!c.resizable && inCaption) return {PressAction::CaptionDrag, std::nullopt};
    if (auto edge = resizeEdgeAt(x, y, c.clientRight, c.clientBottom, c.border)) return {PressAction::Resize, edge};
    if (inCaption) return {PressAction::CaptionDrag, std::nullopt};
    return {};
}

RECT statusBarRect(int clientWidth, int clientHeight, int border, int height) {
    const int top = clientHeight - border - height - 1;
    return {border, top, border + clientWidth - 2 * border, top + height};
}

std::vector<RECT> statusItemRects(const RECT& bar, const std::vector<int>& widths) {
    std::vector<RECT> rects;
    int x = bar.left;
    for (int width : widths) {
        const int right = width < 0 ? bar.right : x + width;
        rects.push_back({x, bar.top, right, bar.bottom});
        x = right;
    }
    return rects;
}

}  // namespace pelmora
