// Statics: text, bitmap and icon statics are drawn by the engine over the
// window's picture (text blended onto it, images where the style puts them);
// every other static paints natively into a surface that already holds the
// picture, which is then copied to the screen in one piece.
#include <string>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/static_paint.h"

namespace pelmora {
namespace {

COLORREF textColourOf(HWND control) {
    return static_cast<COLORREF>(keptPropValue(control, kPropTextColour));
}

void drawText(HDC target, SizeI size, const StaticSkinRecord& record, DWORD style) {
    GdipGraphics graphics;
    if (!graphics.fromHdc(target)) return;
    StaticTextPaint paint;
    paint.size = size;
    paint.text = record.text;
    paint.font = record.font;
    paint.textColour = textColourOf(record.window);
    paint.layout = staticTextLayoutOf(style);
    paint.dpi = controlDpi(record.window);
    paintTextStatic(graphics, paint);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

// A text static's face for everything its text is drawn with, kept in its
// record: labels repaint with every window paint, mostly unchanged. Null when
// the static lies on no picture.
HDC keptTextFace(StaticSkinRecord& record, const RECT& rc, DWORD style) {
    FaceKey key;
    key.add(record.text)
        .add(record.font.face)
        .add(static_cast<std::uint64_t>(record.font.size))
        .add(static_cast<std::uint64_t>(record.font.style))
        .add(textColourOf(record.window))
        .add(style);
    return record.face.face(record.window, rc, key, [&](HDC dc) {
        drawText(dc, SizeI{rc.right, rc.bottom}, record, style);
    });
}

// One paint of the static's client area onto `target`, which the caller
// validates (a paint DC, or a DC handed in with WM_PRINTCLIENT).
void paintStatic(HWND control, StaticSkinRecord* record, HDC target, LPARAM lParam) {
    const RECT rc = clientRect(control);
    const SizeI size{rc.right, rc.bottom};
    if (size.width <= 0 || size.height <= 0) return;
    const DWORD style = windowStyle(control);
    if (record && record->kind == StaticKind::Text) {
        if (const HDC face = keptTextFace(*record, rc, style)) {
            ::BitBlt(target, 0, 0, size.width, size.height, face, 0, 0, SRCCOPY);
        } else {
            callPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(target), lParam);
        }
        return;
    }
    const ControlBackground background(control, rc);
    if (!background) {
        callPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(target), lParam);
        return;
    }
    const StaticImagePlacement placement = staticImagePlacementOf(style);
    switch (record ? record->kind : staticKindOf(style)) {
        case StaticKind::Text:
            if (record) drawText(background.dc(), size, *record, style);
            break;
        case StaticKind::Bitmap:
            paintBitmapStatic(background.dc(), size,
                              reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                              placement);
            break;
        case StaticKind::Icon:
            paintIconStatic(background.dc(), size, reinterpret_cast<HICON>(::SendMessageW(control, STM_GETICON, 0, 0)),
                            placement);
            break;
        case StaticKind::Other:
            // Frames, rectangles and the like draw into the DC they are given.
            callPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(background.dc()), lParam);
            break;
    }
    ::BitBlt(target, 0, 0, size.width, size.height, background.dc(), 0, 0, SRCCOPY);
}

}  // namespace

LRESULT CALLBACK staticSkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    StaticSkinRecord* record = locate<StaticSkinRecord>(control).record;
    switch (message) {
        case WM_DESTROY:
            releaseControlColours(control);
            break;
        case WM_MOVE:
            ::InvalidateRect(control, nullptr, TRUE);
            break;
        case WM_ERASEBKGND: {
            // The paint lays the picture under the whole static.
            const auto dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, textColourOf(control));
            return 1;
        }
        case WM_SETTEXT: {
            const LRESULT result = callPreviousProc(control, message, wParam, lParam);
            if (record) record->text = windowText(control);
            ::InvalidateRect(control, nullptr, TRUE);
            return result;
        }
        case WM_PAINT: {
            const PaintScope paint(control);
            paintStatic(control, record, paint.dc(), lParam);
            return 0;
        }
    }
    return callPreviousProc(control, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kStaticClass(ControlProcedure::Static, staticSkinProc);

}  // namespace pelmora
