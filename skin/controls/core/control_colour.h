// The translucent backgrounds handed to the controls of a skinned window: the
// bitmap of the window's picture under a control's client area, and the one
// owner of the pattern brushes made from those bitmaps (parent_messages.h
// says when a control gets one).
#pragma once

#include <windows.h>

#include <map>

#include "base/unique_resource.h"
#include "gfx/gdip_types.h"
#include "skin/controls/core/cached_face.h"

namespace pelmora {

// The brushes handed out for the controls of one skinned window, and the
// bitmaps they are made from. A control's pair is replaced at an answer that
// finds a new picture under the control (else the pair it has is the answer)
// and released when the control is destroyed or, at the latest, with its window.
// The handles are published in "Kj_dxjb" and "Kj_wtjb" for other painters to
// read; only this object deletes them.
class ControlBrushes {
public:
    ControlBrushes() = default;
    ControlBrushes(const ControlBrushes&) = delete;
    ControlBrushes& operator=(const ControlBrushes&) = delete;

    // Makes a pattern brush from `bitmap` for `control`, frees the pair the
    // control had, and returns the new brush (null, with the old pair freed,
    // when no brush can be made). Pairs of controls that no longer exist are
    // freed on the way.
    HBRUSH replace(HWND control, GdiBitmap bitmap);
    // The brush of the control's translucent text area: the one it has while
    // the picture under its client area and the background alpha are those it
    // was made from, else a new one (replace). Null, with the pair freed, when
    // the control lies on no picture.
    HBRUSH answer(HWND control);
    // The control's translucent text area (the picture under its client area
    // with white of the background alpha laid over it) in a DC of the client's
    // size, kept with the control's pair and valid until the next call. Null
    // when the control lies on no picture.
    HDC translucentArea(HWND control);
    // Frees the control's pair and clears the published handles.
    void release(HWND control);
    bool holds(HWND control) const { return pairs_.count(control) != 0; }
    size_t size() const { return pairs_.size(); }

private:
    struct Pair {
        GdiBitmap bitmap;
        GdiBrush brush;
        CachedFace area;  // what bitmap was copied from
    };
    HDC translucentArea(HWND control, Pair& pair);
    HBRUSH install(HWND control, Pair& pair, GdiBitmap bitmap);
    void sweepDestroyed();

    std::map<HWND, Pair> pairs_;
};

// Where the client area lies inside a window rectangle, in window
// coordinates. The border is what remains of the window beyond the client
// once the scroll bars' sizes are taken off; it is split evenly between the
// two sides, and the scroll bars sit right and below the client. Pure: the
// edit and list frames are painted around it.
RectI clientAreaInWindow(SizeI window, SizeI client, int verticalScrollWidth, int horizontalScrollHeight);
// The same for a control, with its own sizes and scroll bars.
RectI clientAreaInWindow(HWND control);

// White of `alpha` over `area` of `surface` (typically the client part of a
// surface of the window's size holding what lies behind the control), drawn
// through GDI+ so that it blends with the picture as the frames' fills do;
// nothing for alpha 0.
void layTranslucentWhite(HDC surface, const RectI& area, int alpha);

// The client part, with that white laid over it, as a new bitmap of the
// client's size: what the pattern brush of a translucent background is made
// from. Empty when the bitmap could not be made.
GdiBitmap makeTranslucentBrushBitmap(HDC background, const RectI& client, int alpha);

// The bitmap behind a control's pattern brush: the window's picture under the
// control's client area, with white of the background alpha laid over it.
// Empty when the control lies in no skinned window.
GdiBitmap makeTranslucentBrushBitmap(HWND control);

// The brushes of the skinned window the control lies in; null when none.
ControlBrushes* controlBrushesOf(HWND control);

}  // namespace pelmora
