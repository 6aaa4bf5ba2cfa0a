// Helpers shared by the wrapper implementations; not part of the layer's
// interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora::gdip_detail {

// Text as GDI+ takes it: zero-terminated UTF-16, cut at the first NUL the way
// a C string would be, with its length. A null view becomes the empty text.
struct WideText {
    std::wstring text;
    WideText(std::wstring_view wide) : text(wide.substr(0, wide.find(L'\0'))) {}
    const wchar_t* c_str() const { return text.c_str(); }
    INT length() const { return static_cast<INT>(text.size()); }
};

inline Gdiplus::RectF toGp(const RectF& r) {
    return Gdiplus::RectF(r.x, r.y, r.width, r.height);
}
inline Gdiplus::Rect toGp(const RectI& r) {
    return Gdiplus::Rect(r.x, r.y, r.width, r.height);
}
inline RectF fromGp(const Gdiplus::RectF& r) {
    return {r.X, r.Y, r.Width, r.Height};
}
inline RectI fromGp(const Gdiplus::Rect& r) {
    return {r.X, r.Y, r.Width, r.Height};
}

}  // namespace pelmora::gdip_detail
