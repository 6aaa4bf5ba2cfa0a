// Helpers shared by the wrapper implementations; not part of the layer's
// interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
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
// The product's texts are code page 936 whatever the machine's ANSI code page
// is, so the conversion is explicit.
inline WideText fromGbk(std::string_view gbk) {
    return WideText(wideFromGbk(gbk.substr(0, gbk.find('\0'))));
}

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

// Packs a list of points into one contiguous buffer of (x, y) pairs for GDI+,
// and copies what GDI+ left there back into the caller's list.
template <typename Gp, typename Ours>
class PackedPoints {
public:
    explicit PackedPoints(std::vector<Ours>& points) : points_(points) {
        packed_.reserve(points.size());
        for (const Ours& p : points) packed_.emplace_back(p.x, p.y);
    }
    ~PackedPoints() {
        for (std::size_t i = 0; i < points_.size(); ++i) points_[i] = {packed_[i].X, packed_[i].Y};
    }
    Gp* data() { return packed_.empty() ? nullptr : packed_.data(); }
    INT count() const { return static_cast<INT>(packed_.size()); }

private:
    std::vector<Ours>& points_;
    std::vector<Gp> packed_;
};

// An operation about a centre point: translate the centre to the origin,
// operate, translate back, each composed on the side the order names. The
// result is that of the last call.
template <typename Translate, typename Operate>
bool transformAt(Translate translate, Operate operate, PointF centre, Gdiplus::MatrixOrder order) {
    if (order == Gdiplus::MatrixOrderAppend) {
        record(translate(-centre.x, -centre.y, order));
        record(operate(order));
        return record(translate(centre.x, centre.y, order));
    }
    record(translate(centre.x, centre.y, order));
    record(operate(order));
    return record(translate(-centre.x, -centre.y, order));
}

// Braced text form of a GUID, e.g. "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}".
std::wstring guidText(const GUID& guid);
// The GUID of a braced text; all zero when the text is no GUID.
GUID guidFromText(std::wstring_view text);

}  // namespace pelmora::gdip_detail
