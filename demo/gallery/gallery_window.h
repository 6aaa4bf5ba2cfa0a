// The skin gallery: one skinned top-level window that shows the controls the
// skin engine paints, each in the states it can be in, side by side. It is the
// place to look at the painters, the example to copy when skinning a window of
// your own, and the window the behaviour tests drive (they find every control
// by its id below).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/unique_resource.h"
#include "base/window_class.h"

namespace pelmora::gallery {

inline constexpr wchar_t kTitle[] = L"皮肤控件一览";

// Control ids, one block of a hundred per section. A class that joins the
// gallery takes the next free block.
enum ControlId : int {
    // Push buttons
    kPushNormal = 101,
    kPushDefault = 102,
    kPushDisabled = 103,
    // Check boxes and auto radio buttons
    kCheckChecked = 201,
    kCheckUnchecked = 202,
    kCheckDisabled = 203,
    kRadioChecked = 211,
    kRadioUnchecked = 212,
    kRadioDisabled = 213,
    // Buttons made with the skin object's image-button operations
    kImageButton = 301,
    kStateImageButton = 302,
    // Edits and combo boxes
    kEditSingle = 401,
    kEditReadOnly = 402,
    kEditMultiLine = 403,  // with a vertical scroll bar
    kComboSimple = 411,
    kComboDropDown = 412,
    kComboDropDownList = 413,
    // Progress bars, track bars and up-downs
    kProgressForty = 501,     // 0..100 at 40
    kProgressOffset = 502,    // 50..150 at 100: half full
    kProgressVertical = 503,  // fills upwards
    kTrackTicksBelow = 511,   // the default
    kTrackTicksAbove = 512,   // TBS_TOP
    kTrackNoTicks = 513,      // TBS_NOTICKS
    kTrackTicksBoth = 514,    // TBS_BOTH
    kTrackSelection = 515,    // TBS_ENABLESELRANGE, a range selected
    kUpDownVertical = 521,    // with its buddy edit
    kUpDownBuddy = 522,
    kUpDownHorizontal = 523,  // UDS_HORZ
    // Statics, a group box with buttons inside, a toolbar
    kStaticLeft = 601,
    kStaticCentre = 602,
    kStaticRight = 603,
    kStaticBitmap = 604,  // SS_CENTERIMAGE: the picture centred
    kStaticIcon = 605,
    kGroupBox = 611,  // a container: its push buttons are drawn through its WM_DRAWITEM
    kGroupFirst = 612,
    kGroupSecond = 613,
    kToolbar = 621,
    // List views, list boxes, tree views and the other list-type controls
    kListView = 701,  // report view with a header and small images
    kListBox = 711,
    kListBoxOwnerDrawn = 712,  // the window draws its items
    kTreeView = 721,
    kIpAddress = 731,
    kDateTime = 732,
    // 800: scroll bars and the skinned message box
    kMessageBoxButton = 801,  // shows a message box the engine skins
    kStatusLine = 901,        // says what was clicked last
};

// The skinned status bar along the bottom (not a window: the skin object draws
// it), changed through the skin object's status-bar operations. Its second
// item follows the ticks-below track bar with its text and meter.
enum StatusItemIndex : int { kStatusTitleItem = 1, kStatusTrackItem = 2, kStatusHintItem = 3 };

class GalleryWindow {
public:
    GalleryWindow() = default;
    ~GalleryWindow();
    GalleryWindow(const GalleryWindow&) = delete;
    GalleryWindow& operator=(const GalleryWindow&) = delete;

    // Creates the window with all its sections, skins it and shows it, with its
    // top-left corner at `origin` (centred on the screen when omitted). The
    // skin module must be started.
    bool create(HINSTANCE instance, std::optional<POINT> origin = std::nullopt);

    HWND hwnd() const { return window_.get(); }
    HWND control(int id) const { return ::GetDlgItem(window_.get(), id); }

    // Called for every WM_COMMAND a control sends (id, notification code), and
    // with id 0 when the custom caption button is pressed.
    std::function<void(int id, int code)> onCommand;
    // Called once the window is gone (the program's main loop ends there).
    std::function<void()> onClosed;

private:
    friend LRESULT CALLBACK pelmora::objectWindowProc<GalleryWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createSections(HINSTANCE instance);
    void applySkin();
    void report(HWND sender, int id, int code);
    void onTrackBarMoved(HWND bar);
    void showStatus(const std::wstring& text);
    void drawListItem(const DRAWITEMSTRUCT& item);

    UniqueWindow window_;
    UINT dpi_ = 96;  // the screen's when the window was made: its children's places and fonts
    GdiFont font_;
    GdiFont headingFont_;
};

}  // namespace pelmora::gallery
