#include "skin/controls/control_install.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "base/win32_util.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/containers.h"
#include "skin/controls/core/control_font.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/controls/key_colour.h"

namespace pelmora {
namespace {

constexpr wchar_t kDefaultFontFace[] = L"宋体";
constexpr int kDefaultFontSize = 12;

// A button's type is the low four style bits (BS_TYPEMASK), and the installers
// sort the types by single bits of it, as the types were designed to be read.
constexpr DWORD kCheckTypeBit = BS_CHECKBOX;          // check boxes and push boxes
constexpr DWORD kRadioGroupTypeBit = BS_RADIOBUTTON;  // plain radio buttons, three-state boxes, group boxes

bool hasAllBits(DWORD style, DWORD bits) {
    return (style & bits) == bits;
}

template <typename Visit>
void forEachChild(HWND parent, const wchar_t* className, Visit visit) {
    for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child;
         child = ::FindWindowExW(parent, child, className, nullptr))
        visit(child);
}

// A window carries "Hw_hProc" once one of the engine's procedures runs it. A
// second one would find that procedure in "Hw_hProc" and forward to itself, and
// would overwrite "Hw_lbID" for the first, so every window is taken at most
// once: by the first installer, in installer order, whose class matches it.
bool takenOver(HWND window) {
    return ::GetPropW(window, kPropPreviousProc) != nullptr;
}

struct AnyControl {
    template <typename Record>
    bool operator()(Record&) const {
        return true;
    }
};
struct NothingAfter {
    template <typename Record>
    void operator()(Record&) const {}
};

// What every class installer shares: the window record, the class list and the
// class's procedure, and nothing at all while control skinning is off or the
// class has no procedure yet.
template <typename Record>
class ClassInstaller {
public:
    ClassInstaller(int windowIndex, ControlProcedure kind)
        : windowIndex_(windowIndex), owner_(windowRecord(windowIndex)), procedure_(classProcedure(kind)) {}

    explicit operator bool() const { return owner_ && procedure_ && controlSettings().controlSkinningEnabled; }

    // Records and subclasses one control unless it is recorded or taken already.
    // `describe` fills the class's fields of a fresh record before anything is
    // changed; when it answers false the control is left alone. Returns the
    // stored record, or null.
    template <typename Describe>
    Record* take(HWND control, Describe describe) {
        if (!*this || owner_->controls<Record>().indexOf(control) || takenOver(control)) return nullptr;
        Record fresh;
        fresh.window = control;
        if (!describe(fresh)) return nullptr;
        ControlList<Record>& list = owner_->controls<Record>();
        const int index = list.takeSlot();
        Record& record = list.at(index);
        record = std::move(fresh);
        // The properties that lead back to the record, then the procedure,
        // whose predecessor both the record and "Hw_hProc" keep.
        setPropValue(control, kPropListIndex, index);
        setPropValue(control, kPropOwnerIndex, windowIndex_);
        record.previousProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_)));
        setPropValue(control, kPropPreviousProc, reinterpret_cast<std::intptr_t>(record.previousProc));
        return &record;
    }
    Record* take(HWND control) { return take(control, AnyControl{}); }

private:
    int windowIndex_;
    SkinnedWindowRecord* owner_;
    WNDPROC procedure_;
};

// The installer of one class: every direct child of `parent` of class
// `className` goes through `describe` into the window record's list of `Record`
// with the procedure of `kind`,
// and `finish` runs on each record once its control runs that procedure.
template <typename Record, typename Describe = AnyControl, typename Finish = NothingAfter>
void installClass(int windowIndex, HWND parent, const wchar_t* className, ControlProcedure kind, Describe describe = {},
                  Finish finish = {}) {
    ClassInstaller<Record> installer(windowIndex, kind);
    if (!installer) return;
    forEachChild(parent, className, [&](HWND control) {
        if (Record* record = installer.take(control, describe)) finish(*record);
    });
}

// Edits get black text ("Kj_Ztys" = 0) until someone asks for another colour.
bool describeEdit(EditSkinRecord& edit) {
    setPropValue(edit.window, kPropTextColour, 0);
    return true;
}

// A drop-down list keeps a window text of its own that its selection does not
// update; the engine's combo is known by what it shows, so a taken combo's
// window text becomes its selected item's. Without a selection it keeps its text.
void copySelectionToWindowText(HWND combo) {
    const LRESULT selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    if (copied == CB_ERR) return;
    text.resize(static_cast<size_t>(copied));
    ::SetWindowTextW(combo, text.c_str());
}

bool describePushButton(ButtonSkinRecord& r) {
    if (!takesAsPushButton(windowStyle(r.window))) return false;
    r.kind = ButtonKind::PushButton;
    r.caption = windowText(r.window);
    return true;
}

void finishPushButton(ButtonSkinRecord& r) {
    // Owner-drawn from now on: the face is painted when the window answers WM_DRAWITEM.
    ::SetWindowLongPtrW(r.window, GWL_STYLE, static_cast<LONG_PTR>(windowStyle(r.window) | BS_OWNERDRAW));
    r.font = readControlFont(r.window);
    if (r.font.face.empty()) r.font.face = kDefaultFontFace;
    if (r.font.size == 0) r.font.size = kDefaultFontSize;
}

}  // namespace

TickPlacement tickPlacementOf(DWORD style) {
    if (style & TBS_NOTICKS) return TickPlacement::None;
    if (style & TBS_TOP) return TickPlacement::TopOrLeft;  // TBS_LEFT for a vertical bar
    if (style & TBS_BOTH) return TickPlacement::Both;
    return TickPlacement::BottomOrRight;
}

bool takesAsPushButton(DWORD style) {
    const bool checkOrGroup = (style & kCheckTypeBit) || (style & kRadioGroupTypeBit);
    return !checkOrGroup && !hasAllBits(style, BS_AUTORADIOBUTTON) && !hasAllBits(style, BS_OWNERDRAW);
}

std::optional<ButtonKind> checkButtonKindOf(DWORD style) {
    if (hasAllBits(style, BS_OWNERDRAW) || (style & kRadioGroupTypeBit)) return std::nullopt;
    if (style & kCheckTypeBit) return ButtonKind::CheckBox;
    if (hasAllBits(style, BS_AUTORADIOBUTTON)) return ButtonKind::RadioButton;
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
    installClass<ButtonSkinRecord>(windowIndex, parent, L"BUTTON", ControlProcedure::Button, describePushButton,
                                   finishPushButton);
}

int installPushButton(int windowIndex, HWND button) {
    ClassInstaller<ButtonSkinRecord> installer(windowIndex, ControlProcedure::Button);
    ButtonSkinRecord* record = installer.take(button, describePushButton);
    if (!record) return 0;
    finishPushButton(*record);
    return windowRecord(windowIndex)->controls<ButtonSkinRecord>().indexOf(button);
}

void installCheckButtons(int windowIndex, HWND parent) {
    installClass<ButtonSkinRecord>(
        windowIndex, parent, L"BUTTON", ControlProcedure::Button,
        [](ButtonSkinRecord& r) {
            const std::optional<ButtonKind> kind = checkButtonKindOf(windowStyle(r.window));
            if (!kind) return false;
            r.kind = *kind;
            r.caption = windowText(r.window);
            return true;
        },
        [](ButtonSkinRecord& r) { r.font = readControlFont(r.window); });
}

void installEditsAndCombos(int windowIndex, HWND parent) {
    installClass<EditSkinRecord>(windowIndex, parent, L"Edit", ControlProcedure::Edit, describeEdit);
    ClassInstaller<ComboBoxSkinRecord> combos(windowIndex, ControlProcedure::ComboBox);
    if (!combos) return;
    ClassInstaller<EditSkinRecord> edits(windowIndex, ControlProcedure::Edit);
    forEachChild(parent, L"ComboBox", [&](HWND combo) {
        if (combos.take(combo)) copySelectionToWindowText(combo);
        // The combo's own edit only needs the engine while it shows the window through.
        if (!controlSettings().translucentBackgrounds) return;
        if (HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr)) edits.take(edit, describeEdit);
    });
}

void installTrackBars(int windowIndex, HWND parent) {
    installClass<TrackBarSkinRecord>(windowIndex, parent, TRACKBAR_CLASSW, ControlProcedure::TrackBar,
                                     [](TrackBarSkinRecord& r) {
                                         const DWORD style = windowStyle(r.window);
                                         r.vertical = (style & TBS_VERT) != 0;
                                         r.tickPlacement = tickPlacementOf(style);
                                         r.selectionRange = (style & TBS_ENABLESELRANGE) != 0;
                                         return true;
                                     });
}

void installProgressBars(int windowIndex, HWND parent) {
    installClass<ProgressSkinRecord>(windowIndex, parent, PROGRESS_CLASSW, ControlProcedure::ProgressBar,
                                     [](ProgressSkinRecord& r) {
                                         r.vertical = (windowStyle(r.window) & PBS_VERTICAL) != 0;
                                         return true;
                                     });
}

void installListControls(int windowIndex, HWND parent) {
    ClassInstaller<ListSkinRecord> lists(windowIndex, ControlProcedure::ListControl);
    // A list view is a list control too, but runs the list-view procedure,
    // which does the list controls' work as well: one window, one procedure.
    ClassInstaller<ListSkinRecord> views(windowIndex, ControlProcedure::ListView);
    const bool seeThrough = controlSettings().translucentBackgrounds;
    auto take = [&](HWND list) {
        if (lists) lists.take(list);
    };
    forEachChild(parent, L"ListBox", take);
    forEachChild(parent, L"ComboBox", [&](HWND combo) {
        if (HWND list = ::FindWindowExW(combo, nullptr, L"ComboLBox", nullptr)) take(list);
    });
    forEachChild(parent, WC_LISTVIEWW, [&](HWND view) {
        // Its item texts are drawn straight onto the picture its erase lays down.
        if (views && views.take(view) && seeThrough)
            ::SendMessageW(view, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
    });
    forEachChild(parent, WC_TREEVIEWW, [&](HWND tree) {
        if (!lists || !lists.take(tree) || !seeThrough) return;
        // The tree fills its background with the key, which its paint replaces by the picture.
        ::SendMessageW(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kTreeViewKeyColour));
    });
    for (const wchar_t* name : {WC_IPADDRESSW, DATETIMEPICK_CLASSW}) forEachChild(parent, name, take);
}

void installUpDowns(int windowIndex, HWND parent) {
    installClass<UpDownSkinRecord>(windowIndex, parent, UPDOWN_CLASSW, ControlProcedure::UpDown,
                                   [](UpDownSkinRecord& r) {
                                       r.horizontal = (windowStyle(r.window) & UDS_HORZ) != 0;
                                       return true;
                                   });
}

void installListViews(int windowIndex, HWND parent) {
    ClassInstaller<ListViewSkinRecord> headers(windowIndex, ControlProcedure::ListView);
    if (!headers) return;
    SkinnedWindowRecord& owner = *windowRecord(windowIndex);
    forEachChild(parent, WC_LISTVIEWW, [&](HWND view) {
        // The view runs its procedure already (taken with the list controls);
        // here it gets its list-view record, found by its handle.
        if (!owner.controls<ListSkinRecord>().indexOf(view) || owner.controls<ListViewSkinRecord>().indexOf(view))
            return;
        const int index = owner.controls<ListViewSkinRecord>().takeSlot();
        ListViewSkinRecord& record = owner.controls<ListViewSkinRecord>().at(index);
        record.window = view;
        record.previousProc =
            owner.controls<ListSkinRecord>().at(owner.controls<ListSkinRecord>().indexOf(view)).previousProc;
        record.imageList = attachRowHeightImageList(view);
        HWND header = ::FindWindowExW(view, nullptr, WC_HEADERW, nullptr);
        if (!header) return;
        headers.take(header, [](ListViewSkinRecord& r) {
            r.headerButtons = (windowStyle(r.window) & HDS_BUTTONS) != 0;
            r.headerFont = readControlFont(r.window);
            return true;
        });
    });
}

void installStatics(int windowIndex, HWND parent) {
    installClass<StaticSkinRecord>(
        windowIndex, parent, L"Static", ControlProcedure::Static,
        [](StaticSkinRecord& r) {
            const DWORD style = windowStyle(r.window);
            const DWORD type = style & SS_TYPEMASK;
            const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
                              type == SS_LEFTNOWORDWRAP;
            r.kind = type == SS_ICON     ? StaticKind::Icon
                     : type == SS_BITMAP ? StaticKind::Bitmap
                     : text              ? StaticKind::Text
                                         : StaticKind::Other;
            r.text = windowText(r.window);
            return true;
        },
        [](StaticSkinRecord& r) {
            r.font = readControlFont(r.window);
            if (r.font.face.empty()) r.font.face = kDefaultFontFace;
        });
}

void installToolbars(int, HWND parent) {
    forEachChild(parent, TOOLBARCLASSNAMEW, [&](HWND toolbar) {
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
    const int index = owner->controls<ControlLayerRecord>().takeSlot();
    ControlLayerRecord& record = owner->controls<ControlLayerRecord>().at(index);
    record.window = window;
    record.keyColour = keyColour;
    record.previousProc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    setPropValue(window, kPropLayerIndex, index);
    setPropValue(window, kPropLayerOwnerIndex, ownerIndex);
    setPropValue(window, kPropLayerPreviousProc, reinterpret_cast<std::intptr_t>(record.previousProc));
    return index;
}

}  // namespace pelmora
