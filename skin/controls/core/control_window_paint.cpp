#include "skin/controls/core/control_window_paint.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora {
namespace {

// The background under the whole window with the control drawn on it; the
// graphics is gone (and flushed) before anyone copies from the DC.
bool drawOnBackground(const ControlBackground& background, SizeI size, const ControlDrawing& draw) {
    if (!background) return false;
    GdipGraphics graphics;
    if (!graphics.fromHdc(background.dc())) return false;
    draw(graphics, size);
    graphics.flush(Gdiplus::FlushIntentionSync);
    return true;
}

// The control's face through `kept`, for `key` with the settings every painter reads.
HDC keptFace(HWND control, SizeI size, CachedFace& kept, FaceKey& key, const ControlDrawing& draw) {
    const ControlSettings& settings = controlSettings();
    key.add(settings.accentColour)
        .add(settings.translucentBackgrounds)
        .add(static_cast<std::uint64_t>(settings.backgroundAlpha))
        .add(settings.trackBarFrameEnabled);
    return kept.face(control, RECT{0, 0, size.width, size.height}, key, [&](HDC dc) {
        GdipGraphics graphics;
        if (!graphics.fromHdc(dc)) return;
        draw(graphics, size);
        graphics.flush(Gdiplus::FlushIntentionSync);
    });
}

// The finished surface onto the screen (or the client DC), as paintControlWindow puts it.
bool copyToTarget(HWND control, ControlTarget target, SizeI size, HDC surface) {
    if (target.clientDc) {
        const RectI client = clientAreaInWindow(control);
        return ::BitBlt(target.clientDc, -client.x, -client.y, size.width, size.height, surface, 0, 0, SRCCOPY) != 0;
    }
    const NonClientDc screen(control);
    return ::BitBlt(screen.get(), 0, 0, size.width, size.height, surface, 0, 0, SRCCOPY) != 0;
}

}  // namespace

SizeI windowSizeOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool paintControlWindow(HWND control, ControlTarget target, const ControlDrawing& draw) {
    const SizeI size = windowSizeOf(control);
    if (size.width <= 0 || size.height <= 0) return false;
    const ControlBackground background(control, RECT{0, 0, size.width, size.height});
    if (!drawOnBackground(background, size, draw)) return false;
    return copyToTarget(control, target, size, background.dc());
}

bool paintControlWindow(HWND control, ControlTarget target, CachedFace& kept, FaceKey key, const ControlDrawing& draw) {
    const SizeI size = windowSizeOf(control);
    if (size.width <= 0 || size.height <= 0) return false;
    const HDC face = keptFace(control, size, kept, key, draw);
    return face && copyToTarget(control, target, size, face);
}

bool paintControlWindowKeyed(HWND control, COLORREF key, const ControlDrawing& draw) {
    const SizeI size = windowSizeOf(control);
    if (size.width <= 0 || size.height <= 0) return false;
    const ControlBackground background(control, RECT{0, 0, size.width, size.height});
    if (!drawOnBackground(background, size, draw)) return false;
    const NonClientDc screen(control);
    return ::TransparentBlt(screen.get(), 0, 0, size.width, size.height, background.dc(), 0, 0, size.width, size.height,
                            key) != 0;
}

bool paintControlWindowKeyed(HWND control, COLORREF key, CachedFace& kept, FaceKey faceKey,
                             const ControlDrawing& draw) {
    const SizeI size = windowSizeOf(control);
    if (size.width <= 0 || size.height <= 0) return false;
    const HDC face = keptFace(control, size, kept, faceKey, draw);
    if (!face) return false;
    const NonClientDc screen(control);
    // TransparentBlt onto the screen reads the screen back (hundreds of
    // microseconds under Wine); a face without the key colour is the same copy.
    if (!kept.faceHolds(key)) return ::BitBlt(screen.get(), 0, 0, size.width, size.height, face, 0, 0, SRCCOPY) != 0;
    return ::TransparentBlt(screen.get(), 0, 0, size.width, size.height, face, 0, 0, size.width, size.height, key) != 0;
}

std::vector<RECT> scrollBarRects(HWND control) {
    std::vector<RECT> rects;
    const DWORD style = windowStyle(control);
    for (auto [bit, object] : {std::pair{WS_VSCROLL, OBJID_VSCROLL}, std::pair{WS_HSCROLL, OBJID_HSCROLL}}) {
        if (!(style & bit)) continue;
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        if (::GetScrollBarInfo(control, object, &info) && !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
            rects.push_back(info.rcScrollBar);
    }
    return rects;
}

LRESULT paintNativeScrollBars(HWND control) {
    const std::vector<RECT> bars = scrollBarRects(control);
    if (bars.empty()) return 0;
    GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
    for (const RECT& bar : bars) {
        GdiRegion part(::CreateRectRgnIndirect(&bar));
        ::CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    }
    return ::DefWindowProcW(control, WM_NCPAINT, reinterpret_cast<WPARAM>(region.get()), 0);
}

}  // namespace pelmora
