#include "skin/controls/control_install.h"

#include <string>

#include "skin/controls/class_procedures.h"
#include "skin/controls/containers.h"
#include "skin/controls/control_font.h"
#include "skin/controls/control_settings.h"
#include "skin/controls/window_properties.h"
#include "skin/controls/window_records.h"

namespace pelmora {
namespace {

constexpr wchar_t kDefaultFontFace[] = L"宋体";
constexpr int kDefaultFontSize = 12;
constexpr DWORD kOwnerDrawBits = 0xB;  // BS_OWNERDRAW

template <typename Visit>
void forEachChild(HWND parent, const wchar_t* className, Visit visit) {
    for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child;
         child = ::FindWindowExW(parent, child, className, nullptr))
        visit(child);
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

bool skinningOn() {
    return controlSettings().controlSkinningEnabled;
}

// Steps 3 to 5 of taking over a control: the properties that lead back to the
// record, then the procedure, whose predecessor both the record and "Hw_hProc"
// keep. `beforePreviousProc` runs between the two (edits set their text colour there).
template <typename Record, typename Between>
void subclassRecorded(Record& record, int index, int windowIndex, WNDPROC procedure, Between beforePreviousProc) {
    setPropValue(record.window, kPropListIndex, index);
    setPropValue(record.window, kPropOwnerIndex, windowIndex);
    record.previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(record.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    beforePreviousProc();
    setPropValue(record.window, kPropPreviousProc, reinterpret_cast<std::intptr_t>(record.previousProc));
}

template <typename Record>
void subclassRecorded(Record& record, int index, int windowIndex, WNDPROC procedure) {
    subclassRecorded(record, index, windowIndex, procedure, [] {});
}

// A window carries "Hw_hProc" once one of the engine's procedures runs it. A
// second one would find that procedure in "Hw_hProc" and forward to itself, and
// would overwrite "Hw_lbID" for the first, so every window is taken at most
// once: by the first installer, in installer order, whose class matches it.
bool takenOver(HWND window) {
    return ::GetPropW(window, kPropPreviousProc) != nullptr;
}

// Records and subclasses `control` in `list` unless it is already taken; returns its index.
template <typename Record, typename Fill>
int recordControl(ControlList<Record>& list, HWND control, int windowIndex, WNDPROC procedure, Fill fill) {
    if (list.indexOf(control) || takenOver(control)) return 0;
    const int index = list.takeSlot();
    Record& record = list.at(index);
    record.window = control;
    fill(record);
    subclassRecorded(record, index, windowIndex, procedure);
    return index;
}

template <typename Record>
int recordControl(ControlList<Record>& list, HWND control, int windowIndex, WNDPROC procedure) {
    return recordControl(list, control, windowIndex, procedure, [](Record&) {});
}

int recordEdit(SkinnedWindowRecord& owner, HWND edit, int windowIndex, WNDPROC procedure) {
    if (owner.edits.indexOf(edit) || takenOver(edit)) return 0;
    const int index = owner.edits.takeSlot();
    EditSkinRecord& record = owner.edits.at(index);
    record.window = edit;
    // Black text until someone asks for another colour.
    subclassRecorded(record, index, windowIndex, procedure, [&] { setPropValue(edit, kPropTextColour, 0); });
    return index;
}

}  // namespace

bool takesAsPushButton(DWORD style) {
    const bool checkOrGroupBits = (style & 0x2) || (style & 0x4);
    const bool autoRadio = (style & 0x1) && (style & 0x8);
    const bool ownerDrawn = (style & kOwnerDrawBits) == kOwnerDrawBits;
    return !checkOrGroupBits && !autoRadio && !ownerDrawn;
}

std::optional<ButtonKind> checkButtonKindOf(DWORD style) {
    if ((style & kOwnerDrawBits) == kOwnerDrawBits) return std::nullopt;
    if ((style & 0x4) != 0) return std::nullopt;  // plain radio, three-state, group box
    if ((style & 0x2) != 0) return ButtonKind::CheckBox;
    if ((style & 0x1) && (style & 0x8)) return ButtonKind::RadioButton;
    return std::nullopt;
}

void installControlsOf(int windowIndex, HWND parent, bool containerChildren) {
    installPushButtons(windowIndex, parent);
    installCheckButtons(windowIndex, parent);
    installEditsAndCombos(windowIndex, parent);
    installTrackBars(windowIndex, parent);
    installProgressBars(windowIndex, parent);
    installListControls(windowIndex, parent);
    installUpDowns(windowIndex, parent);
    installListViews(windowIndex, parent);
    if (containerChildren) return;
    installStatics(windowIndex, parent);
    installToolbars(windowIndex, parent);
}

void installPushButtons(int windowIndex, HWND parent) {
    forEachChild(parent, L"BUTTON", [&](HWND button) { installPushButton(windowIndex, button); });
}

int installPushButton(int windowIndex, HWND button) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::Button);
    if (!owner || !procedure || !skinningOn()) return 0;
    const DWORD style = styleOf(button);
    if (!takesAsPushButton(style)) return 0;
    const int index = recordControl(owner->buttons, button, windowIndex, procedure, [&](ButtonSkinRecord& r) {
        r.kind = ButtonKind::PushButton;
        r.caption = windowText(button);
    });
    if (!index) return 0;
    // Owner-drawn from now on: the face is painted when the window answers WM_DRAWITEM.
    ::SetWindowLongPtrW(button, GWL_STYLE, static_cast<LONG_PTR>(style | kOwnerDrawBits));
    ButtonSkinRecord& record = owner->buttons.at(index);
    record.font = readControlFont(button);
    if (record.font.face.empty()) record.font.face = kDefaultFontFace;
    if (record.font.size == 0) record.font.size = kDefaultFontSize;
    return index;
}

void installCheckButtons(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::Button);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"BUTTON", [&](HWND button) {
        const std::optional<ButtonKind> kind = checkButtonKindOf(styleOf(button));
        if (!kind) return;
        const int index = recordControl(owner->buttons, button, windowIndex, procedure, [&](ButtonSkinRecord& r) {
            r.kind = *kind;
            r.caption = windowText(button);
            r.checked = ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
            r.parent = parent;
        });
        if (index) owner->buttons.at(index).font = readControlFont(button);
    });
}

void installEditsAndCombos(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    if (!owner || !skinningOn()) return;
    if (const WNDPROC editProc = classProcedure(ControlProcedure::Edit))
        forEachChild(parent, L"Edit", [&](HWND edit) { recordEdit(*owner, edit, windowIndex, editProc); });
    const WNDPROC comboProc = classProcedure(ControlProcedure::ComboBox);
    if (!comboProc) return;
    forEachChild(parent, L"ComboBox", [&](HWND combo) {
        recordControl(owner->comboBoxes, combo, windowIndex, comboProc);
        // The combo's own edit only needs the engine while it shows the window through.
        const WNDPROC editProc = classProcedure(ControlProcedure::Edit);
        if (!controlSettings().translucentBackgrounds || !editProc) return;
        if (HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr))
            recordEdit(*owner, edit, windowIndex, editProc);
    });
}

void installTrackBars(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::TrackBar);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"msctls_trackbar32", [&](HWND bar) {
        const DWORD style = styleOf(bar);
        recordControl(owner->trackBars, bar, windowIndex, procedure, [&](TrackBarSkinRecord& r) {
            r.vertical = (style & 0x2) != 0;
            r.tickPlacement = (style & 0x10) ? 3 : (style & 0x4) ? 0 : (style & 0x8) ? 2 : 1;
            r.selectionRange = (style & 0x20) != 0;
        });
    });
}

void installProgressBars(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::ProgressBar);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"msctls_progress32", [&](HWND bar) {
        const DWORD style = styleOf(bar);
        recordControl(owner->progressBars, bar, windowIndex, procedure,
                      [&](ProgressSkinRecord& r) { r.vertical = (style & 0x4) != 0; });
    });
}

void installListControls(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::ListControl);
    if (!owner || !procedure || !skinningOn()) return;
    auto take = [&](HWND list) {
        const DWORD style = styleOf(list);
        recordControl(owner->lists, list, windowIndex, procedure,
                      [&](ListSkinRecord& r) { r.styleFlag = (style & 0x10) != 0; });
    };
    forEachChild(parent, L"ListBox", take);
    forEachChild(parent, L"ComboBox", [&](HWND combo) {
        if (HWND list = ::FindWindowExW(combo, nullptr, L"ComboLBox", nullptr)) take(list);
    });
    for (const wchar_t* name : {L"SysListView32", L"SysTreeView32", L"SysIPAddress32", L"SysDateTimePick32"})
        forEachChild(parent, name, take);
}

void installUpDowns(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::UpDown);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"msctls_updown32", [&](HWND upDown) {
        const DWORD style = styleOf(upDown);
        recordControl(owner->upDowns, upDown, windowIndex, procedure,
                      [&](UpDownSkinRecord& r) { r.horizontal = (style & 0x40) != 0; });
    });
}

void installListViews(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::ListView);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"SysListView32", [&](HWND view) {
        const DWORD style = styleOf(view);
        recordControl(owner->listViews, view, windowIndex, procedure,
                      [&](ListViewSkinRecord& r) { r.headerButtons = (style & 0x2) != 0; });
        if (HWND header = ::FindWindowExW(view, nullptr, L"SysHeader32", nullptr)) {
            const int index = recordControl(owner->listViews, header, windowIndex, procedure);
            if (index) owner->listViews.at(index).headerFont = readControlFont(header);
        }
    });
}

void installStatics(int windowIndex, HWND parent) {
    SkinnedWindowRecord* owner = windowRecord(windowIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::Static);
    if (!owner || !procedure || !skinningOn()) return;
    forEachChild(parent, L"Static", [&](HWND label) {
        const DWORD style = styleOf(label);
        const int index = recordControl(owner->statics, label, windowIndex, procedure, [&](StaticSkinRecord& r) {
            const DWORD type = style & SS_TYPEMASK;
            const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
                              type == SS_LEFTNOWORDWRAP;
            r.kind = type == SS_ICON ? 3 : type == SS_BITMAP ? 2 : text ? 1 : 0;
            r.alignment = static_cast<int>(style & (SS_CENTER | SS_RIGHT));
            r.imagePlacement = static_cast<int>(style & (SS_CENTERIMAGE | SS_RIGHTJUST));
            r.text = windowText(label);
        });
        if (!index) return;
        StaticSkinRecord& record = owner->statics.at(index);
        record.font = readControlFont(label);
        if (record.font.face.empty()) record.font.face = kDefaultFontFace;
    });
}

void installToolbars(int windowIndex, HWND parent) {
    forEachChild(parent, L"ToolbarWindow32", [&](HWND toolbar) {
        const int owner = findOwnerWindowRecord(toolbar);
        if (!recordControlLayer(owner, toolbar, ::GetSysColor(COLOR_BTNFACE))) return;
        if (::FindWindowExW(toolbar, nullptr, nullptr, nullptr)) skinContainerWindow(toolbar, ContainerOptions{});
    });
}

int recordControlLayer(int ownerIndex, HWND window, COLORREF keyColour) {
    SkinnedWindowRecord* owner = windowRecord(ownerIndex);
    const WNDPROC procedure = classProcedure(ControlProcedure::ControlLayer);
    if (!owner || !window || !procedure) return 0;
    // A second take would store the layer's own procedure as the previous one,
    // and every message would then forward to itself.
    if (::GetPropW(window, kPropLayerPreviousProc) != nullptr) return 0;
    const int index = owner->controlLayer.takeSlot();
    ControlLayerRecord& record = owner->controlLayer.at(index);
    record.window = window;
    record.keyColour = keyColour;
    record.previousProc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    setPropValue(window, kPropLayerIndex, index);
    setPropValue(window, kPropLayerOwnerIndex, ownerIndex);
    setPropValue(window, kPropLayerPreviousProc, reinterpret_cast<std::intptr_t>(record.previousProc));
    return index;
}

int findButton(int windowIndex, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? owner->buttons.indexOf(control) : 0;
}
int findEdit(int windowIndex, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? owner->edits.indexOf(control) : 0;
}
int findStatic(int windowIndex, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? owner->statics.indexOf(control) : 0;
}
int findContainer(int windowIndex, HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(windowIndex);
    return owner ? owner->containers.indexOf(control) : 0;
}

}  // namespace pelmora
