// GdipFont, GdipFontFamily and GdipFontCollection.
//
// Face names are UTF-16 first; each method that takes a name has a twin that
// takes code-page-936 bytes and converts them explicitly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipGraphics;
class GdipFontFamily;

// A font collection. Empty (handle 0) it stands for the installed fonts, which
// is how the painters use it; GDI+ owns the installed collection, so there is
// nothing to release.
class GdipFontCollection : public GdipObject {
public:
    GdipFontCollection() = default;
    GdipFontCollection(GdipFontCollection&& other) noexcept = default;
    GpFontCollection* native() const noexcept { return static_cast<GpFontCollection*>(handle()); }

    bool destroy() override;
    int familyCount();
    // Appends one new family wrapper per family of the collection.
    bool families(std::vector<GdipFontFamily>& out);

private:
    GpFontCollection* collection();
};

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
    // collection: null or empty for the installed fonts.
    bool createFromName(std::wstring_view faceName, const GdipFontCollection* collection = nullptr);
    bool createFromName(std::string_view gbkFaceName, const GdipFontCollection* collection = nullptr);
    bool genericSansSerif();
    bool genericSerif();
    bool genericMonospace();
    std::wstring name();
    std::string nameGbk();
    bool isStyleAvailable(int style);
    int emHeight(int style);
    int lineSpacing(int style);
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
    bool create(const GdipFontFamily& family, float size, int style = Gdiplus::FontStyleRegular,
                Gdiplus::Unit unit = Gdiplus::UnitWorld);
    // The stock GUI font (DEFAULT_GUI_FONT) as a GDI+ font.
    bool createDefault();
    // Through a temporary family of the installed fonts; false, and the font
    // left empty, when no such face exists. Painters pass UnitPixel.
    bool createByName(std::wstring_view faceName, float size, int style = Gdiplus::FontStyleRegular,
                      Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool createByName(std::string_view gbkFaceName, float size, int style = Gdiplus::FontStyleRegular,
                      Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool fromDc(HDC dc);
    // The GDI font's LOGFONT on dc; the DC's own font when there is no handle
    // or it cannot be read.
    bool fromHfont(HDC dc, HFONT font);
    bool fromLogfont(HDC dc, const LOGFONTW& logfont);
    bool clone(GdipFont& out) const;
    bool family(GdipFontFamily& out) const;
    int style();
    float size();
    Gdiplus::Unit unit();
    float height(const GdipGraphics& graphics);
};

}  // namespace pelmora
