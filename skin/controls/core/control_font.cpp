#include "skin/controls/core/control_font.h"

#include "base/unique_resource.h"
#include "gfx/gdip_font.h"

namespace pelmora {

ControlFont readControlFont(HWND control) {
    ControlFont result;
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    const WindowDc dc(control);
    if (!dc.get()) return result;
    GdipFont gpFont;
    if (gpFont.fromHfont(dc.get(), font)) {
        result.size = static_cast<int>(gpFont.size());
        result.style = gpFont.style();
        GdipFontFamily family;
        if (gpFont.family(family)) result.face = family.name();
    }
    return result;
}

}  // namespace pelmora
