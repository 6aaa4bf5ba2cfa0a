// What a skinned window answers when a child control asks for its colours
// (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN)
// while translucent backgrounds are on: text in the control's own colour over
// the window's picture. The decision is a pure function; the brushes and the
// bitmaps behind them are owned by the window record, one pair per control.
#pragma once

#include <windows.h>

#include <map>

#include "base/unique_resource.h"
#include "gfx/gdip_types.h"

namespace pelmora {

enum class ColourAnswer {
    PassOn,        // the control keeps the colours its previous procedure gives
    PatternBrush,  // the window's picture under the control, as a pattern brush
    NullBrush,     // the stock hollow brush: the control paints no background
};

// Everything the decision depends on, read from the message and the control.
struct ColourRequest {
    UINT message = 0;
    bool translucentBackgrounds = false;
    bool controlSkinningEnabled = false;
    bool editInComboBox = false;    // an edit whose parent is a combo box: the combo answers for it
    bool listBoxClass = false;      // the control's class is "ListBox"
    bool listHasOwnRecord = false;  // that list box is painted by the engine itself
};
ColourAnswer colourAnswerFor(const ColourRequest& request);

// The brushes handed out for the controls of one skinned window, and the
// bitmaps they are made from. A control's pair is replaced at every answer and
// released when the control is destroyed or, at the latest, with its window.
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
    // Frees the control's pair and clears the published handles.
    void release(HWND control);
    bool holds(HWND control) const { return pairs_.count(control) != 0; }
    size_t size() const { return pairs_.size(); }

private:
    struct Pair {
        GdiBitmap bitmap;
        GdiBrush brush;
    };
    void sweepDestroyed();

    std::map<HWND, Pair> pairs_;
};

// Where the client area lies inside the control's window rectangle, in window
// coordinates, with its scroll bars taken off before the border is split.
RectI clientAreaInWindow(HWND control);

// The bitmap behind a control's pattern brush: the window's picture under the
// control's client area, with white of the background alpha laid over it.
// Empty when the control lies in no skinned window.
GdiBitmap makeTranslucentBrushBitmap(HWND control);

// The answer for PatternBrush: text colour from "Kj_Ztys", transparent text
// background, and a fresh pattern brush kept by the owning window's record.
// The stock hollow brush when the control lies in no skinned window.
HBRUSH answerControlColour(HWND control, HDC dc);
// The answer for NullBrush: the same text set-up, the control's pattern brush
// freed, and the stock hollow brush.
HBRUSH answerWithNullBrush(HWND control, HDC dc);

// Frees what answerControlColour kept for the control: called at its WM_DESTROY.
void releaseControlBrush(HWND control);

}  // namespace pelmora
