// One record per skinned top-level window or dialog, in the order they were
// skinned. The record owns the control records of everything inside the window;
// the window layer keeps its parts (skin/window/window_parts.h) in the same record.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/window_properties.h"
#include "skin/window/window_parts.h"

namespace pelmora {

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
    ControlList<ButtonSkinRecord> buttons;
    ControlList<EditSkinRecord> edits;
    ControlList<ListSkinRecord> lists;
    ControlList<TrackBarSkinRecord> trackBars;
    ControlList<ProgressSkinRecord> progressBars;
    ControlList<ComboBoxSkinRecord> comboBoxes;
    ControlList<UpDownSkinRecord> upDowns;
    ControlList<ListViewSkinRecord> listViews;
    ControlList<ControlLayerRecord> controlLayer;
    ControlList<StaticSkinRecord> statics;
    int hotIndex = 0;      // list index of the control holding the hover highlight; 0 none
    int pointerIndex = 0;  // list index of the control that last reported a mouse move
    ControlList<ContainerSkinRecord> containers;
    bool controlsInstalled = false;
    ControlBrushes controlBrushes;  // translucent backgrounds handed to the controls inside
};

// Every class list of a window record, each with the property through which
// its controls name their owning record ("Hw_FuID", or "Kj_FuID" for the
// control layer). Renumbering, clean-up and look-ups walk this one list, so a
// new class list is added to the record and here, and nowhere else.
template <typename WindowRecord, typename Visit>
void forEachControlList(WindowRecord& record, Visit visit) {
    visit(record.buttons, kPropOwnerIndex);
    visit(record.edits, kPropOwnerIndex);
    visit(record.lists, kPropOwnerIndex);
    visit(record.trackBars, kPropOwnerIndex);
    visit(record.progressBars, kPropOwnerIndex);
    visit(record.comboBoxes, kPropOwnerIndex);
    visit(record.upDowns, kPropOwnerIndex);
    visit(record.listViews, kPropOwnerIndex);
    visit(record.statics, kPropOwnerIndex);
    visit(record.containers, kPropOwnerIndex);
    visit(record.controlLayer, kPropLayerOwnerIndex);
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

// 1-based index of `control` in one class list of window record `windowIndex`
// (`&SkinnedWindowRecord::buttons`, `::edits`, `::containers`, ...); 0 when absent.
template <typename Record>
int findControl(int windowIndex, ControlList<Record> SkinnedWindowRecord::*list, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? (owner->*list).indexOf(control) : 0;
}

// The record at `index` of one class list of window record `windowIndex`;
// null when either is absent or the slot holds no control.
template <typename Record>
Record* findControlRecord(int windowIndex, ControlList<Record> SkinnedWindowRecord::*list, int index) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    Record* record = owner ? (owner->*list).find(index) : nullptr;
    return record && record->window ? record : nullptr;
}

}  // namespace pelmora
