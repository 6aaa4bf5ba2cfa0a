// A control's face kept between paints. Most repaints of a skinned control
// (a hover in and out, a window paint, a progress step to a position already
// shown) draw exactly what was drawn before; the GDI+ painters cost tens of
// native paints under Wine, a copy of a kept face costs about one. A face is
// kept for what the painter was given (the key: state, text, colours,
// pictures, values) at one size, on the picture that lay under the control
// then; before a kept face is used the picture is taken again and compared
// pixel for pixel, so a face can never outlive the picture it was drawn on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "base/dpi_scale.h"
#include "base/win32_util.h"
#include "gfx/gdip_types.h"

namespace pelmora {

// Everything a painter's output depends on besides the size and the picture
// under the control, as one comparable value.
class FaceKey {
public:
    FaceKey& add(std::uint64_t value) {
        parts_.push_back(value);
        return *this;
    }
    FaceKey& add(std::wstring_view text);
    FaceKey& add(const RECT& r) {
        return add(static_cast<std::uint64_t>(r.left))
            .add(static_cast<std::uint64_t>(r.top))
            .add(static_cast<std::uint64_t>(r.right))
            .add(static_cast<std::uint64_t>(r.bottom));
    }
    FaceKey& add(const RectI& r) { return add(RECT{r.x, r.y, r.x + r.width, r.y + r.height}); }
    // Picture bytes, by content: a buffer refilled in place still changes the key.
    FaceKey& addBytes(const ByteBuffer& bytes);
    // The DPI the face is drawn at: the same size can hold a face of another
    // scale (a window moved to a screen of another DPI keeps its controls'
    // sizes only by chance), which must never be handed out for this one.
    FaceKey& atDpi(UINT dpi) {
        dpi_ = dpi;
        return *this;
    }
    bool operator==(const FaceKey& other) const { return dpi_ == other.dpi_ && parts_ == other.parts_; }
    bool operator!=(const FaceKey& other) const { return !(*this == other); }

private:
    std::vector<std::uint64_t> parts_;
    UINT dpi_ = kBaseDpi;
};

// Draws the face onto `dc`, which holds the picture under the control (r's size).
using FaceDrawing = std::function<void(HDC dc)>;

class CachedFace {
public:
    CachedFace();
    ~CachedFace();
    CachedFace(CachedFace&&) noexcept;
    CachedFace& operator=(CachedFace&&) noexcept;
    CachedFace(const CachedFace&) = delete;
    CachedFace& operator=(const CachedFace&) = delete;

    // A DC holding the face for `key` on the picture under `control` at r
    // (what prepareControlBackground would give), valid until the next call:
    // a kept face when the size and the picture are unchanged, else `draw` on a
    // fresh copy of the picture, then kept. Null when the control lies on no
    // picture; nothing is drawn then.
    HDC face(HWND control, const RECT& r, const FaceKey& key, const FaceDrawing& draw);

    // True when the last face() call handed out a kept face without drawing.
    bool reused() const { return reused_; }
    // True when the face the last face() call handed out has a pixel of
    // `colour` (alpha aside); false when it handed out none.
    bool faceHolds(COLORREF colour) const;

    // Forgets every face and the picture (their bitmaps go at once).
    void clear();
    // How many faces are kept (at most kMaxFaces).
    int keptFaces() const;

    // Enough for every state a control goes through under the mouse.
    static constexpr int kMaxFaces = 6;

private:
    struct Surface;
    struct Face {
        FaceKey key;
        int slot = 0;  // its rows in the strip: slot * height
    };
    bool keepInStrip(int slot);

    SizeI size_{};
    std::unique_ptr<Surface> picture_;  // the picture the kept faces were drawn on
    std::unique_ptr<Surface> taken_;    // the picture taken for this paint; then the face handed out
    // Every kept face, one under the other in one bitmap, so the number of GDI
    // objects a control holds does not grow with the looks it goes through.
    std::unique_ptr<Surface> strip_;
    int stripSlots_ = 0;
    std::vector<Face> faces_;  // most recently used first
    bool reused_ = false;
};

}  // namespace pelmora
