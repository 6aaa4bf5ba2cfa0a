// A memory DC together with the bitmap it shows, owned as one: the long-lived
// surfaces of a skinned window (its composed image and the snapshots taken of it).
#pragma once

#include <windows.h>

#include "base/unique_resource.h"

namespace pelmora {

// The DC is made on the first select. The bitmap it was made with is kept
// aside and put back before the DC is deleted; every bitmap handed in is owned
// from then on, and the one it replaces is deleted at once.
class BitmapDc {
public:
    BitmapDc() = default;
    ~BitmapDc() { reset(); }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    BitmapDc(BitmapDc&& other) noexcept;
    BitmapDc& operator=(BitmapDc&& other) noexcept;

    // Selects `bitmap` into the DC, made compatible with `like` (the screen
    // when null) if it does not exist yet. False, with nothing changed, for a
    // null bitmap or when no DC can be made (the bitmap handed in is then deleted).
    bool select(GdiBitmap bitmap, HDC like = nullptr);

    // A bitmap compatible with `like` of at least width x height: the current
    // one when it is large enough, else a new one of exactly that size.
    bool ensureSize(HDC like, int width, int height);

    HDC dc() const noexcept { return dc_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }  // the one selected; null before the first select
    HGDIOBJ firstBitmap() const noexcept { return first_; }    // what the DC held when it was made
    SIZE size() const;                                         // of the selected bitmap; 0 x 0 without one
    explicit operator bool() const noexcept { return bitmap_ && dc_; }

    // Puts the first bitmap back, deletes the selected one and the DC.
    void reset() noexcept;

private:
    MemoryDc dc_;
    GdiBitmap bitmap_;
    HGDIOBJ first_ = nullptr;
};

}  // namespace pelmora
