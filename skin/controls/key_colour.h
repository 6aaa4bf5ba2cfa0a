// Keying: a control paints itself natively, and every pixel it leaves in one
// chosen colour (the key) is replaced by the window's picture behind it. The
// control layer keys out the system button-face colour that labels fill their
// background with; the tree view is told to fill its background with magenta,
// which is then keyed out the same way.
//
// The rule is per pixel and knows nothing of what a pixel belongs to: a label
// whose text is drawn in the button-face colour itself loses that text, and a
// tree item drawn in magenta vanishes. Text colours are chosen by the caller;
// one equal to the key is not supported.
#pragma once

#include <windows.h>

#include <optional>

#include "gfx/gdip_types.h"

namespace pelmora {

// The tree view's background while backgrounds are translucent. Magenta: no
// colour a tree draws on purpose.
constexpr COLORREF kTreeViewKeyColour = 0x00FF00FF;

// Copies `area` of `source` (a control's own paint, starting at `from`) onto
// the same-sized area of `target` (which holds the picture), leaving every
// target pixel where the source shows the key colour. False when the copy
// failed or the area is empty.
//
// The source is meant to hold a native GDI paint. Under Wine the comparison
// takes in the 32-bit pixel's top byte as well, which GDI leaves at 0 in a
// 32-bit surface but GDI+ sets: a key-coloured pixel that GDI+ drew is kept.
bool copyExceptKeyColour(HDC target, const RectI& area, HDC source, PointI from, COLORREF key);

// How much of `ink` a pixel holds that a control drew by anti-aliasing ink
// onto the key: 0 for the key itself, 1 for the ink, a share in between for
// the edge of a glyph. Nothing when the pixel does not lie on the way from the
// key to the ink (a colour the control drew on purpose, such as a selection).
std::optional<float> inkCoverage(COLORREF pixel, COLORREF key, COLORREF ink);

// The same copy as copyExceptKeyColour over whole surfaces of `size` at
// (0, 0), except that the edge pixels of text the control drew in `ink` on the
// key are laid over the picture by their coverage instead of keeping a tint of
// the key. Both DCs must hold 32-bit DIB sections (back buffers); otherwise
// the plain keyed copy is made.
bool composeOverKey(HDC target, HDC source, SizeI size, COLORREF key, COLORREF ink);

}  // namespace pelmora
