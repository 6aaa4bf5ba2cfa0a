// Painting of a skinned track bar from the state the control reports: its
// channel and thumb rectangles, its range and its selection. Nothing is kept
// between paints.
#pragma once

#include <windows.h>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {

class GdipGraphics;

// Where the ticks are comes from the record's TickPlacement, read from the
// style by tickPlacementOf (skin/controls/control_install.h).

// The channel rectangle of a vertical track bar as the painter uses it. Some
// versions of the control report it as if the bar were horizontal (wider than
// tall); that rectangle is turned back to the upright one.
RECT trackBarChannel(const RECT& reported, bool vertical);

// The ellipse drawn as the thumb: a circle as wide as the thumb's narrow side
// less one line (so its outline, scaled(1) wide, stays inside), centred along
// the channel and pushed to the end of the thumb away from the ticks; centred
// across when the ticks are on both sides or absent.
RectF trackBarThumbEllipse(const RECT& thumb, bool vertical, TickPlacement ticks, UINT dpi = kBaseDpi);

// The optional frame around the whole bar: a rounded outline (radius 5) along
// the window's edges over a fill (radius 3) one line in; the channel's
// corners have radius 1 and the thumb's and selection's outlines the frame's
// line width. Radii at 96 DPI, scaled.
struct TrackBarFrame {
    FrameStroke outline;
    int outlineRadius = 5;
    RectF fill;
    int fillRadius = 3;
    int channelRadius = 1;
};
TrackBarFrame trackBarFrame(SizeI size, UINT dpi = kBaseDpi);

// The selected stretch as a rectangle across the channel. Positions map onto
// the channel as the thumb's centre travels: from half a thumb inside its
// start to half a thumb inside its end. Empty when the range is empty.
RectI trackBarSelection(const RECT& channel, const RECT& thumb, bool vertical, int rangeMin, int rangeMax,
                        int selectionStart, int selectionEnd);

struct TrackBarPaint {
    SizeI size;
    bool vertical = false;
    TickPlacement ticks = TickPlacement::BottomOrRight;
    bool hot = false;
    bool selectionRange = false;
    RECT channel{};  // as the painter uses it (see trackBarChannel)
    RECT thumb{};
    int rangeMin = 0;
    int rangeMax = 100;
    int selectionStart = 0;
    int selectionEnd = 0;
    UINT dpi = kBaseDpi;  // the window's
};

// Paints the bar onto a surface of its window size that holds the background
// under it. The frame is drawn while the settings enable it.
void paintTrackBar(GdipGraphics& graphics, const TrackBarPaint& bar, const ControlSettings& settings);

}  // namespace pelmora
