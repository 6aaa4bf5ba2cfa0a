// Taking a top-level window over and releasing everything its record holds
// when the window goes; the status bar and the children docked to the client.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/window/caption_button.h"

namespace pelmora {

struct SkinnedWindowRecord;

// releaseSkinnedWindow (at WM_NCDESTROY) is in skin/controls/core/window_records.h:
// the dialog layer needs it as well.

// A status bar of `height` with the items, in the default style
// (window_status_bar.cpp, with the rest of the bar).
void setStatusBar(SkinnedWindowRecord& record, int height, const std::vector<StatusItem>& items);
// The bar's and its items' rectangles for the current client size.
void layoutStatusBar(SkinnedWindowRecord& record);
// Draws item `itemIndex` (1-based) into the composed image.
void paintStatusItem(SkinnedWindowRecord& record, int itemIndex);

// Keeps every docked child filling the client below its top, above the status bar.
void layoutDockedChildren(const SkinnedWindowRecord& record);

}  // namespace pelmora
