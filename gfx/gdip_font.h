// GdipFont and GdipFontFamily. Face names are UTF-16; families are looked up
// among the installed fonts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipFontFamily : public GdipObject {
public:
    GdipFontFamily() = default;
    // Owners usually destroy a family as soon as the font is made; the
    // destructor makes sure a forgotten one is released all the same.
    ~GdipFontFamily() override { destroy(); }
    GdipFontFamily(GdipFontFamily&& other) noexcept = default;
    GdipFontFamily& operator=(GdipFontFamily&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpFontFamily* native() const noexcept { return static_cast<GpFontFamily*>(handle()); }

    bool destroy() override;
    bool createFromName(std::wstring_view faceName);
    std::wstring name();
};

class GdipFont : public GdipObject {
public:
    GdipFont() = default;
    ~GdipFont() override { destroy(); }
    GdipFont(GdipFont&& other) noexcept = default;
    GdipFont& operator=(GdipFont&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpFont* native() const noexcept { return static_cast<GpFont*>(handle()); }

    bool destroy() override;
    // The stock GUI font (DEFAULT_GUI_FONT) as a GDI+ font.
    bool createDefault();
    // Through a temporary family of the installed fonts; false, and the font
    // left empty, when no such face exists. Painters pass UnitPixel.
    bool createByName(std::wstring_view faceName, float size, int style = Gdiplus::FontStyleRegular,
                      Gdiplus::Unit unit = Gdiplus::UnitWorld);
    // The GDI font's LOGFONT on dc; the DC's own font when there is no handle
    // or it cannot be read.
    bool fromHfont(HDC dc, HFONT font);
    bool family(GdipFontFamily& out) const;
    int style();
    float size();
};

}  // namespace pelmora
