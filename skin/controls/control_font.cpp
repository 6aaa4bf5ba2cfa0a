#include "skin/controls/control_font.h"

#include <gdiplus.h>

namespace pelmora {

// Local use of the flat interface until
// the wrapper layer's create calls keep the object they made (today they can hand back an empty wrapper).
ControlFont readControlFont(HWND control) {
    using namespace Gdiplus::DllExports;
    ControlFont result;
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = ::GetDC(control);
    if (!dc) return result;
    Gdiplus::GpFont* gpFont = nullptr;
    LOGFONTW logFont{};
    const bool fromHandle = font && ::GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont;
    const Gdiplus::Status made =
        fromHandle ? GdipCreateFontFromLogfontW(dc, &logFont, &gpFont) : GdipCreateFontFromDC(dc, &gpFont);
    if (made == Gdiplus::Ok && gpFont) {
        Gdiplus::REAL size = 0;
        INT style = 0;
        GdipGetFontSize(gpFont, &size);
        GdipGetFontStyle(gpFont, &style);
        result.size = static_cast<int>(size);
        result.style = style;
        Gdiplus::GpFontFamily* family = nullptr;
        if (GdipGetFamily(gpFont, &family) == Gdiplus::Ok && family) {
            WCHAR name[LF_FACESIZE] = {};
            if (GdipGetFamilyName(family, name, 0) == Gdiplus::Ok) result.face = name;
            GdipDeleteFontFamily(family);
        }
        GdipDeleteFont(gpFont);
    }
    ::ReleaseDC(control, dc);
    return result;
}

}  // namespace pelmora
