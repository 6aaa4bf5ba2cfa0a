// Records of skinned child controls. Every class keeps its own record type in a
// list owned by the skinned window; all begin with the control's handle and the
// window procedure it had before the engine took it over.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "base/tooltip.h"
#include "base/win32_util.h"
#include "skin/controls/core/cached_face.h"

namespace pelmora {

enum class ButtonKind : int { PushButton = 0, ImageButton = 1, StateImageButton = 3, RadioButton = 4, CheckBox = 5 };

// Which control class holds a window's hover highlight.
enum class HotClass : int {
    Button = 0,
    Edit = 1,
    TrackBar = 2,
    ComboBox = 3,
    ListControl = 4,
    UpDown = 8,
    ListView = 9
};

// Where a track bar draws its ticks, from its TBS_ style bits.
enum class TickPlacement : int { TopOrLeft = 0, BottomOrRight = 1, Both = 2, None = 3 };

// The part of an up-down control under the pointer.
enum class UpDownPart : int { None = 0, FirstArrow = 1, SecondArrow = 2 };

// What a static shows, from its SS_ type.
enum class StaticKind : int { Other = 0, Text = 1, Bitmap = 2, Icon = 3 };

// Face, size and style read from a control's font (see readControlFont).
struct ControlFont {
    std::wstring face;
    int size = 0;
    int style = 0;  // GDI+ FontStyle bits
};

struct ButtonSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    ButtonKind kind = ButtonKind::PushButton;
    ByteBuffer image;          // image button: the image; state-image button: normal state
    ByteBuffer hoverImage;     // state-image button
    ByteBuffer pressedImage;   // state-image button
    ByteBuffer disabledImage;  // state-image button
    int imageOption = 0;       // image button: the value given with its image
    std::wstring caption;      // window text, kept in step with WM_SETTEXT
    bool focused = false;      // between WM_SETFOCUS and WM_KILLFOCUS
    Tooltip tooltip;           // image buttons: their text, shown under the pointer
    ControlFont font;
    CachedFace face;
};

struct EditSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool focused = false;
    bool mouseDown = false;
    CachedFace face;  // the border over the picture, whole window size
};

struct ComboBoxSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool focused = false;
    mutable CachedFace face;  // a cache: painting a const record still keeps what it drew
};

struct ListSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool focused = false;
    mutable CachedFace face;  // the frame over the picture, whole window size; a cache, kept through a const record
};

struct TrackBarSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool vertical = false;
    TickPlacement tickPlacement = TickPlacement::TopOrLeft;
    bool hot = false;
    bool selectionRange = false;
    mutable CachedFace face;  // a cache: painting a const record still keeps what it drew
};

struct ProgressSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool vertical = false;
    mutable CachedFace face;  // a cache: painting a const record still keeps what it drew
};

struct UpDownSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool hot = false;
    UpDownPart hotPart = UpDownPart::None;
    bool pressed = false;
    bool horizontal = false;
    LPARAM lastPoint = 0;
    mutable CachedFace face;  // a cache: painting a const record still keeps what it drew
};

struct ListViewSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    bool headerButtons = false;
    HANDLE imageList = nullptr;  // list view: the HIMAGELIST the engine attached, destroyed at WM_NCDESTROY
    ControlFont headerFont;      // header: its font
    int hotItem = -1;            // header: the item under the pointer, -1 for none
    bool pressed = false;        // header: the left button is down on it
};

struct StaticSkinRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    StaticKind kind = StaticKind::Other;
    std::wstring text;
    ControlFont font;
    CachedFace face;  // text statics: the text over the picture, client size
};

struct ControlLayerRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    COLORREF keyColour = 0;
};

struct ContainerSkinRecord {
    HWND window = nullptr;
    COLORREF colour = 0;  // 0: the container passes no fill
    int alpha = 255;
    WNDPROC previousProc = nullptr;
    bool groupBox = false;      // a BUTTON of a group-box type (BS_RADIOBUTTON bit): the fill takes the frame's shape
    int fillUnderChildren = 1;  // non-zero: the fill also lies under the children
    ControlFont groupBoxFont;
};

// A 1-based list of control records that always holds at least one record. It
// starts with a blank one so that the first control recorded gets index 1 and a
// list no control was added to still answers index 1 with an empty record.
// Records never move once added (the painters keep references across calls
// that may record further controls).
template <typename Record>
class ControlList {
public:
    using value_type = Record;

    ControlList() : items_(1) {}

    int size() const { return static_cast<int>(items_.size()); }
    bool isBlank() const { return items_.size() == 1 && items_.front().window == nullptr; }

    // The slot for a new control: the blank first record when the list is
    // still blank, else a fresh record appended at the end.
    int takeSlot() {
        if (isBlank()) return 1;
        items_.emplace_back();
        return size();
    }

    bool contains(int index) const { return index >= 1 && index <= size(); }
    Record& at(int index) { return items_.at(static_cast<size_t>(index - 1)); }
    const Record& at(int index) const { return items_.at(static_cast<size_t>(index - 1)); }
    Record* find(int index) { return contains(index) ? &at(index) : nullptr; }

    // 1-based index of the record of `window`, 0 when absent (or for a null handle).
    int indexOf(HWND window) const {
        if (!window) return 0;
        for (int i = 1; i <= size(); ++i)
            if (at(i).window == window) return i;
        return 0;
    }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::deque<Record> items_;
};

}  // namespace pelmora
