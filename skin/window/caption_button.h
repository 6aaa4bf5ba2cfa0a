// Value types of a skinned window's caption: its buttons, the hover fade,
// docked children and status items. Kept apart from the window record so the
// record and the painters can share them without pulling in each other.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32_util.h"
#include "gfx/gdip_types.h"

namespace pelmora {

class GdipBitmap;

using CaptionHandler = std::function<void()>;

enum class CaptionButtonKind : int { Close = 0, Maximize = 1, Minimize = 2, MainMenu = 3, Help = 4, Custom = 5 };

struct CaptionButton {
    int width = 26;  // image width; the hit rectangle of Close is two pixels wider
    int height = 18;
    ByteBuffer glyph;
    ByteBuffer altGlyph;  // Maximize: drawn while the window is maximised
    CaptionButtonKind kind = CaptionButtonKind::Custom;
    std::wstring tooltipText;
    CaptionHandler handler;  // Custom only
    RectF rect;              // hit and paint rectangle
    // Above 96 DPI: the glyph and the alternative glyph scaled once for
    // `scaledDpi` with a high-quality filter; rebuilt when the DPI changes.
    std::shared_ptr<GdipBitmap> scaledGlyph, scaledAltGlyph;
    UINT scaledDpi = 0;
};

// One running fade: the 1-based button index (0 none) and how far it got (0..8).
struct FadeState {
    int button = 0;
    int step = 0;
};

struct DockedChild {
    HWND window = nullptr;
    int top = 0;
};

// An item's meter value when it shows no meter.
constexpr int kNoStatusMeter = -1;

struct StatusItem {
    std::wstring text;
    int width = -1;                   // -1 takes the rest of the bar
    ByteBuffer image;                 // PNG drawn at the item's left; empty for none
    int meterValue = kNoStatusMeter;  // 0..100: a small meter at the item's right
};

}  // namespace pelmora
