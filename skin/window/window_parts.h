// The window layer's parts of a skinned window's record, each a small value:
// the caption and its buttons, their hover fade, the title's look, the own
// background, the composed image, the status bar and the frame state. The
// record (skin/controls/core/window_records.h) holds one of each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/dpi_scale.h"
#include "base/tooltip.h"
#include "base/win32_util.h"
#include "gfx/bitmap_dc.h"
#include "skin/window/caption_button.h"
#include "skin/window/status_bar.h"

namespace pelmora {

// The caption band: which buttons it has, where their strip lies, their
// tooltips and the handlers of Help and MainMenu.
struct CaptionPart {
    int captionHeight = 25;     // the band that drags the window
    bool captionActive = true;  // caption drag, caption buttons, border and title painting
    bool captionGloss = false;  // white gradient band over the caption
    bool showTitle = true;      // icon and title painted; title repainted on WM_SETTEXT
    bool showHelpButton = false;
    bool showMenuButton = false;
    bool hasMinimizeButton = false;
    bool hasMaximizeButton = false;  // also keeps a maximised window off the taskbar
    bool hasCloseButton = true;
    std::vector<CaptionButton> captionButtons;
    int stripLeft = 0, stripTop = 0, stripWidth = 0, stripHeight = 22;  // the caption-button strip, in pixels
    Tooltip captionTooltip;  // one tool per button; the tool id is the button's 1-based position
    CaptionHandler helpHandler;
    CaptionHandler menuHandler;
};

// The caption buttons' hover fade (a 20 ms timer whose id is the window handle).
struct CaptionHover {
    int hotButton = 0;  // caption button under the pointer; 0 none
    bool mouseTracked = false;
    FadeState fadeIn, fadeOut;
    bool fadeTimerRunning = false;
};

// How the title is drawn.
struct TitleLook {
    COLORREF titleColour = 0x00FFFFFF;
    COLORREF titleOutlineColour = 0x00808080;
    std::wstring titleFontFace = L"宋体";
    int titleFontSize = 12;  // points
    bool titleBold = true;
};

// A background picture of this window alone, in place of the theme's.
struct OwnBackground {
    ByteBuffer ownBackground;               // PNG bytes; empty: the theme's picture
    int backgroundMode = 4;                 // BackgroundMode of ownBackground
    std::uint32_t ownBackgroundColour = 0;  // ARGB fill under the own background
};

// The composed window image and the snapshots it is partly restored from.
struct ComposedImage {
    BitmapDc composed;            // the whole window; "Ck_wtjbdx" names its bitmap
    BitmapDc backgroundSnapshot;  // the caption band before title and buttons
    BitmapDc statusBarSnapshot;   // the status-bar area before its items
    bool needsRender = false;     // rebuild at the next paint
};

// The status bar along the bottom.
struct StatusBarPart {
    int statusBarHeight = 0;  // 0: no status bar
    RECT statusBarRect{};
    std::vector<StatusItem> statusItems;
    std::vector<RECT> statusItemRects;
    StatusBarStyle statusStyle;
};

// Size limits, minimised and maximised state, and children kept to the client size.
struct FrameState {
    UINT dpi = kBaseDpi;    // drawn at this DPI; option sizes (caption height) stay at 96, rectangles are pixels
    bool resizable = true;  // edge cursors; a caption double-click maximises
    bool isMaximized = false;
    bool isMinimized = false;  // the engine does not paint while set
    int minTrackWidth = 200, minTrackHeight = 150;
    int maxTrackWidth = 0, maxTrackHeight = 0;
    std::vector<DockedChild> dockedChildren;
};

// What only a skinned dialog keeps: its caption drag, whether its one close
// button shows the red highlight, and whether its fade-in has been started.
struct DialogPart {
    bool isDialog = false;
    RECT dragRect{};  // window rectangle when a caption drag started
    bool dragging = false;
    bool closeHot = false;
    // Kept per dialog: a box opened while another one is still on screen
    // must fade in as well, or it would stay at alpha 0.
    bool fadeStarted = false;
};

}  // namespace pelmora
