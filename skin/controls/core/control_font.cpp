#include "skin/controls/core/control_font.h"

#include "gfx/gdip_font.h"

namespace pelmora {

ControlFont readControlFont(HWND control) {
    ControlFont result;
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = ::GetDC(control);
    if (!dc) return result;
    {
        GdipFont gpFont;
        if (gpFont.fromHfont(dc, font)) {
            result.size = static_cast<int>(gpFont.size());
            result.style = gpFont.style();
            GdipFontFamily family;
            if (gpFont.family(family)) result.face = family.name();
        }
    }
    ::ReleaseDC(control, dc);
    return result;
}

}  // namespace pelmora
