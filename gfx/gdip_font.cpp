#include "gfx/gdip_font.h"

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

// ---- GdipFontCollection

bool GdipFontCollection::destroy() {
    // GDI+ owns the collections it hands out; forgetting the handle is all.
    if (!handle()) return false;
    setHandle(nullptr);
    return true;
}

GpFontCollection* GdipFontCollection::collection() {
    if (native()) return native();
    GpFontCollection* installed = nullptr;
    record(gp::GdipNewInstalledFontCollection(&installed));
    return installed;
}

int GdipFontCollection::familyCount() {
    INT count = 0;
    GpFontCollection* c = collection();
    return c && record(gp::GdipGetFontCollectionFamilyCount(c, &count)) ? count : 0;
}

bool GdipFontCollection::families(std::vector<GdipFontFamily>& out) {
    GpFontCollection* c = collection();
    INT count = 0;
    if (!c || !record(gp::GdipGetFontCollectionFamilyCount(c, &count))) return false;
    std::vector<GpFontFamily*> list(count);
    INT found = 0;
    if (!record(gp::GdipGetFontCollectionFamilyList(c, count, list.data(), &found))) return false;
    // The list holds the collection's own families; each wrapper gets a clone
    // so that destroying it leaves the collection intact.
    for (INT i = 0; i < found; ++i) {
        GpFontFamily* clone = nullptr;
        GpStatus s = gp::GdipCloneFontFamily(list[i], &clone);
        GdipFontFamily family;
        if (!adoptInto(family, s, clone)) return false;
        out.push_back(std::move(family));
    }
    return true;
}

// ---- GdipFontFamily

bool GdipFontFamily::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteFontFamily(native()));
}

bool GdipFontFamily::createFromName(std::wstring_view faceName, const GdipFontCollection* collection) {
    gdip_detail::WideText name(faceName);
    GpFontFamily* made = nullptr;
    return adopt(gp::GdipCreateFontFamilyFromName(name.c_str(), collection ? collection->native() : nullptr, &made),
                 made);
}
bool GdipFontFamily::createFromName(std::string_view gbkFaceName, const GdipFontCollection* collection) {
    return createFromName(gdip_detail::fromGbk(gbkFaceName).text, collection);
}

bool GdipFontFamily::genericSansSerif() {
    GpFontFamily* made = nullptr;
    return adopt(gp::GdipGetGenericFontFamilySansSerif(&made), made);
}
bool GdipFontFamily::genericSerif() {
    GpFontFamily* made = nullptr;
    return adopt(gp::GdipGetGenericFontFamilySerif(&made), made);
}
bool GdipFontFamily::genericMonospace() {
    GpFontFamily* made = nullptr;
    return adopt(gp::GdipGetGenericFontFamilyMonospace(&made), made);
}

std::wstring GdipFontFamily::name() {
    WCHAR buffer[LF_FACESIZE] = {};
    if (!record(gp::GdipGetFamilyName(native(), buffer, LANG_NEUTRAL))) return {};
    buffer[LF_FACESIZE - 1] = 0;
    return buffer;
}
std::string GdipFontFamily::nameGbk() {
    return gbkFromWide(name());
}

bool GdipFontFamily::isStyleAvailable(int style) {
    BOOL available = FALSE;
    return record(gp::GdipIsStyleAvailable(native(), style, &available)) && available;
}
int GdipFontFamily::emHeight(int style) {
    UINT16 value = 0;
    return record(gp::GdipGetEmHeight(native(), style, &value)) ? value : 0;
}
int GdipFontFamily::lineSpacing(int style) {
    UINT16 value = 0;
    return record(gp::GdipGetLineSpacing(native(), style, &value)) ? value : 0;
}

// ---- GdipFont

bool GdipFont::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteFont(native()));
}

bool GdipFont::create(const GdipFontFamily& family, float size, int style, Gdiplus::Unit unit) {
    GpFont* made = nullptr;
    return adopt(gp::GdipCreateFont(family.native(), size, style, unit, &made), made);
}

bool GdipFont::createDefault() {
    LOGFONTW logfont{};
    if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logfont, &logfont)) return false;
    const WindowDc screen(nullptr);
    return fromLogfont(screen.get(), logfont);
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
    bool ok = create(family, size, style, unit);
    Gdiplus::Status fontStatus = gdipLastStatus();
    family.destroy();
    record(fontStatus);
    return ok;
}
bool GdipFont::createByName(std::string_view gbkFaceName, float size, int style, Gdiplus::Unit unit) {
    return createByName(gdip_detail::fromGbk(gbkFaceName).text, size, style, unit);
}

bool GdipFont::fromDc(HDC dc) {
    GpFont* made = nullptr;
    return adopt(gp::GdipCreateFontFromDC(dc, &made), made);
}

bool GdipFont::fromHfont(HDC dc, HFONT font) {
    LOGFONTW logfont{};
    if (font && ::GetObjectW(font, sizeof logfont, &logfont)) return fromLogfont(dc, logfont);
    return fromDc(dc);
}

bool GdipFont::fromLogfont(HDC dc, const LOGFONTW& logfont) {
    GpFont* made = nullptr;
    LOGFONTW copy = logfont;
    return adopt(gp::GdipCreateFontFromLogfontW(dc, &copy, &made), made);
}

bool GdipFont::clone(GdipFont& out) const {
    GpFont* made = nullptr;
    GpStatus s = gp::GdipCloneFont(native(), &made);
    return adoptInto(out, s, made);
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
Gdiplus::Unit GdipFont::unit() {
    Gdiplus::Unit value{};
    return record(gp::GdipGetFontUnit(native(), &value)) ? value : Gdiplus::Unit{};
}
float GdipFont::height(const GdipGraphics& graphics) {
    REAL value = 0;
    return record(gp::GdipGetFontHeight(native(), graphics.native(), &value)) ? value : 0;
}

}  // namespace pelmora
