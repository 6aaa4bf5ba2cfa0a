#include "gfx/gdip_font.h"

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

// ---- GdipFontFamily

bool GdipFontFamily::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteFontFamily(native()));
}

bool GdipFontFamily::createFromName(std::wstring_view faceName) {
    gdip_detail::WideText name(faceName);
    GpFontFamily* made = nullptr;
    return adopt(gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &made), made);
}

std::wstring GdipFontFamily::name() {
    WCHAR buffer[LF_FACESIZE] = {};
    if (!record(gp::GdipGetFamilyName(native(), buffer, LANG_NEUTRAL))) return {};
    buffer[LF_FACESIZE - 1] = 0;
    return buffer;
}

// ---- GdipFont

bool GdipFont::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteFont(native()));
}

bool GdipFont::createDefault() {
    LOGFONTW logfont{};
    if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logfont, &logfont)) return false;
    const WindowDc screen(nullptr);
    GpFont* made = nullptr;
    return adopt(gp::GdipCreateFontFromLogfontW(screen.get(), &logfont, &made), made);
}

bool GdipFont::createByName(std::wstring_view faceName, float size, int style, Gdiplus::Unit unit) {
    GdipFontFamily family;
    if (!family.createFromName(faceName)) {
        // No font either, and the status stays the one that said why.
        Gdiplus::Status why = gdipLastStatus();
        destroy();
        record(why);
        return false;
    }
    GpFont* made = nullptr;
    bool ok = adopt(gp::GdipCreateFont(family.native(), size, style, unit, &made), made);
    Gdiplus::Status fontStatus = gdipLastStatus();
    family.destroy();
    record(fontStatus);
    return ok;
}

bool GdipFont::fromHfont(HDC dc, HFONT font) {
    LOGFONTW logfont{};
    GpFont* made = nullptr;
    if (font && ::GetObjectW(font, sizeof logfont, &logfont))
        return adopt(gp::GdipCreateFontFromLogfontW(dc, &logfont, &made), made);
    return adopt(gp::GdipCreateFontFromDC(dc, &made), made);
}

bool GdipFont::family(GdipFontFamily& out) const {
    GpFontFamily* made = nullptr;
    GpStatus s = gp::GdipGetFamily(native(), &made);
    return adoptInto(out, s, made);
}

int GdipFont::style() {
    INT value = 0;
    return record(gp::GdipGetFontStyle(native(), &value)) ? value : 0;
}
float GdipFont::size() {
    REAL value = 0;
    return record(gp::GdipGetFontSize(native(), &value)) ? value : 0;
}

}  // namespace pelmora
