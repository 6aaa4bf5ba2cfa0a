// One record per skinned top-level window or dialog, in the order they were
// skinned. The record owns the control records of everything inside the window;
// the window layer keeps its parts (skin/window/window_parts.h) in the same record.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/window_properties.h"
#include "skin/window/window_parts.h"

namespace pelmora {

// Every class list a window record keeps, one per record type. A new class
// adds its record type here, and nothing else in the window record changes:
// look-ups (controls<Record>()), renumbering and clean-up (forEachControlList)
// all walk this one tuple.
using ControlLists =
    std::tuple<ControlList<ButtonSkinRecord>, ControlList<EditSkinRecord>, ControlList<ListSkinRecord>,
               ControlList<TrackBarSkinRecord>, ControlList<ProgressSkinRecord>, ControlList<ComboBoxSkinRecord>,
               ControlList<UpDownSkinRecord>, ControlList<ListViewSkinRecord>, ControlList<StaticSkinRecord>,
               ControlList<ContainerSkinRecord>, ControlList<ControlLayerRecord>>;

// The property through which a control of each class names its owning window
// record: "Kj_FuID" for the control layer, "Hw_FuID" for every other class.
template <typename Record>
inline constexpr const wchar_t* kOwnerProperty = kPropOwnerIndex;
template <>
inline constexpr const wchar_t* kOwnerProperty<ControlLayerRecord> = kPropLayerOwnerIndex;

struct SkinnedWindowRecord {
    HWND window = nullptr;  // the key of the record

    // --- Window layer -------------------------------------------------------
    CaptionPart caption;
    CaptionHover hover;
    TitleLook title;
    OwnBackground background;
    ComposedImage image;
    StatusBarPart status;
    FrameState frame;
    DialogPart dialog;  // used by skinned dialogs only

    // --- Controls -------------------------------------------------------------
    HotClass hotClass = HotClass::Button;  // class that last took the hover highlight
    HWND hotEditParent = nullptr;          // parent of the edit that last took it
    int hotIndex = 0;                      // list index of the control holding the hover highlight; 0 none
    int pointerIndex = 0;                  // list index of the control that last reported a mouse move
    ControlLists controlLists;
    bool controlsInstalled = false;
    ControlBrushes controlBrushes;  // translucent backgrounds handed to the controls inside

    // The window's list of one class (`controls<ButtonSkinRecord>()`, ...).
    template <typename Record>
    ControlList<Record>& controls() {
        return std::get<ControlList<Record>>(controlLists);
    }
    template <typename Record>
    const ControlList<Record>& controls() const {
        return std::get<ControlList<Record>>(controlLists);
    }
};

// Visits every class list of a window record with the property through which
// its controls name their owning record.
template <typename WindowRecord, typename Visit>
void forEachControlList(WindowRecord& record, Visit visit) {
    std::apply(
        [&](auto&... lists) {
            (visit(lists, kOwnerProperty<typename std::decay_t<decltype(lists)>::value_type>), ...);
        },
        record.controlLists);
}

// The process-wide list (engineState().windowRecords), 1-based through the functions below.
std::vector<std::unique_ptr<SkinnedWindowRecord>>& windowRecords();
int windowRecordCount();
SkinnedWindowRecord* windowRecord(int index);  // null when out of range

// Appends a record; its index is the new count.
int appendWindowRecord(std::unique_ptr<SkinnedWindowRecord> record);

// Takes a record out of the list; the records after it move up one place, and
// every remaining window's "Hw_lbID", its controls' "Hw_FuID" and its control
// layer's "Kj_FuID" are rewritten to the new positions. The returned record
// still owns its images and lists; they go when it is dropped.
std::unique_ptr<SkinnedWindowRecord> removeWindowRecord(int index);

// At WM_NCDESTROY of a skinned window or dialog: takes its record out of the
// list (later windows move up and are renumbered); the record's images and its
// controls' brushes go with it.
void releaseSkinnedWindow(HWND window);

// 1-based index of the record whose window is `window`; 0 when none.
int findWindowRecord(HWND window);
// Index of the first record met walking up the parents of `control`; 0 when none.
int findOwnerWindowRecord(HWND control);

// 1-based index of `control` in window record `windowIndex`'s list of `Record`
// (`findControl<ButtonSkinRecord>(...)`); 0 when absent.
template <typename Record>
int findControl(int windowIndex, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? owner->controls<Record>().indexOf(control) : 0;
}

// The record at `index` of window record `windowIndex`'s list of `Record`;
// null when either is absent or the slot holds no control.
template <typename Record>
Record* findControlRecord(int windowIndex, int index) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    Record* record = owner ? owner->controls<Record>().find(index) : nullptr;
    return record && record->window ? record : nullptr;
}

}  // namespace pelmora
