#include "demo/gallery/gallery_window.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/dpi_scale.h"
#include "base/window_class.h"
#include "demo/gallery/gallery_art.h"
#include "pelmora/skin.h"

namespace pelmora::gallery {
namespace {

constexpr wchar_t kClassName[] = L"PelmoraSkinGallery";

// One control of a section, placed relative to the section's top-left corner.
struct ControlEntry {
    int id;
    const wchar_t* className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    const wchar_t* text;
    int x, y, width, height;
    bool checked = false;  // check boxes and radio buttons: ticked before skinning
};

// A heading and its controls. `dress` runs after the window is skinned, for
// what the skin object does to single controls (image buttons, text colours).
struct Section {
    const wchar_t* heading;
    std::vector<ControlEntry> controls;
    void (*dress)(HWND window) = nullptr;
    DWORD editExStyle = 0;  // the extended style of the section's edits
};

constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;

// The installer's main button writes in red; the default button shows how.
void dressPushButtons(HWND window) {
    skin::setControlTextColour(::GetDlgItem(window, kPushDefault), 0x000000FF);
}

// Image buttons are ordinary push buttons until the skin object gives them
// their pictures; the text becomes the button's tooltip.
void dressImageButtons(HWND window) {
    skin::skinImageButton(::GetDlgItem(window, kImageButton), buttonPicture(), skin::ImagePlacement::BesideText,
                          L"一张图片和一行字");
    skin::skinStateImageButton(::GetDlgItem(window, kStateImageButton), statePlate(PlateState::Normal),
                               statePlate(PlateState::Hover), statePlate(PlateState::Pressed),
                               statePlate(PlateState::Disabled), L"每种状态一张图片");
}

// The edits show the window's picture through their text areas; the combo
// lists get a few entries and the drop-down list a selection, drawn in 宋体 12.
void dressEditsAndCombos(HWND window) {
    for (int id : {kComboSimple, kComboDropDown, kComboDropDownList}) {
        HWND combo = ::GetDlgItem(window, id);
        for (const wchar_t* item : {L"宋体", L"黑体", L"楷体"})
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        ::SendMessageW(combo, CB_SETCURSEL, id == kComboDropDown ? 1 : 0, 0);
    }
}

void setRangeAndPosition(HWND bar, int low, int high, int position) {
    ::SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// The bars show their values; the second one's range starts at 50, so half
// of it is filled at 100.
void dressRanges(HWND window) {
    setRangeAndPosition(::GetDlgItem(window, kProgressForty), 0, 100, 40);
    setRangeAndPosition(::GetDlgItem(window, kProgressOffset), 50, 150, 100);
    setRangeAndPosition(::GetDlgItem(window, kProgressVertical), 0, 100, 70);
    for (int id : {kTrackTicksBelow, kTrackTicksAbove, kTrackNoTicks, kTrackTicksBoth, kTrackSelection}) {
        HWND bar = ::GetDlgItem(window, id);
        ::SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        ::SendMessageW(bar, TBM_SETPOS, TRUE, 4);
    }
    ::SendMessageW(::GetDlgItem(window, kTrackSelection), TBM_SETSEL, TRUE, MAKELPARAM(2, 7));
    for (int id : {kUpDownVertical, kUpDownHorizontal}) {
        HWND control = ::GetDlgItem(window, id);
        ::SendMessageW(control, UDM_SETRANGE32, 0, 99);
        ::SendMessageW(control, UDM_SETPOS32, 0, 12);
    }
    ::SendMessageW(::GetDlgItem(window, kUpDownVertical), UDM_SETBUDDY,
                   reinterpret_cast<WPARAM>(::GetDlgItem(window, kUpDownBuddy)), 0);
    ::SendMessageW(::GetDlgItem(window, kUpDownVertical), UDM_SETPOS32, 0, 12);
}

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// `place` in 96-DPI numbers, placed at the parent's DPI.
HWND addChild(HWND parent, const wchar_t* className, DWORD style, const wchar_t* text, RECT place, int id) {
    place = scaledRect(place, windowDpi(parent));
    HWND child = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instanceOf(parent), nullptr);
    ::SendMessageW(child, WM_SETFONT, ::SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    return child;
}

// The picture of the bitmap static: made once and kept for every gallery
// window, since a static shows a bitmap it does not own.
HBITMAP staticPicture() {
    static GdiBitmap picture(skin::loadPictureBitmap(buttonPicture()));
    return picture.get();
}

// The bitmap static gets its picture; the icon static loads the program's
// icon by the name in its text, as statics do.
void dressStatics(HWND window) {
    ::SendMessageW(::GetDlgItem(window, kStaticBitmap), STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(staticPicture()));
}

// A group box becomes a container once its buttons are inside it: the skin
// object takes the buttons over, and the box draws them as the window would.
// A toolbar needs nothing: the engine takes every toolbar of a skinned window.
void dressContainers(HWND window) {
    HWND box = ::GetDlgItem(window, kGroupBox);
    addChild(box, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"组内按钮", {12, 24, 104, 52}, kGroupFirst);
    addChild(box, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"另一个", {114, 24, 206, 52}, kGroupSecond);
    skin::skinContainerWindow(box);

    HWND toolbar = ::GetDlgItem(window, kToolbar);
    ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[3] = {};
    const wchar_t* names[] = {L"新建", L"打开", L"保存"};
    for (int i = 0; i < 3; ++i)
        buttons[i] = {I_IMAGENONE,
                      1 + i,
                      TBSTATE_ENABLED,
                      BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT,
                      {},
                      0,
                      reinterpret_cast<INT_PTR>(names[i])};
    ::SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
}

// Three columns, a few rows with the program's icon.
void dressListView(HWND window) {
    HWND view = ::GetDlgItem(window, kListView);
    const wchar_t* titles[] = {L"名称", L"大小", L"类型"};
    const int widths[] = {90, 56, 60};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = scaled(widths[i], windowDpi(view));
        column.pszText = const_cast<wchar_t*>(titles[i]);
        ::SendMessageW(view, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    // The view frees its image lists when it goes.
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HICON icon = static_cast<HICON>(::LoadImageW(instanceOf(window), L"DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_SHARED));
    ::ImageList_AddIcon(images, icon);
    ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    const wchar_t* rows[][3] = {{L"setup.exe", L"1.2 MB", L"程序"},
                                {L"readme.txt", L"4 KB", L"文本"},
                                {L"logo.png", L"36 KB", L"图片"},
                                {L"data.zip", L"880 KB", L"压缩包"}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            LVITEMW item{};
            item.mask = c == 0 ? LVIF_TEXT | LVIF_IMAGE : LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(rows[r][c]);
            ::SendMessageW(view, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

HTREEITEM addTreeItem(HWND tree, HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void dressLists(HWND window) {
    for (int id : {kListBox, kListBoxOwnerDrawn}) {
        HWND list = ::GetDlgItem(window, id);
        for (const wchar_t* item : {L"宋体", L"黑体", L"楷体", L"仿宋", L"隶书"})
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    }
    HWND tree = ::GetDlgItem(window, kTreeView);
    HTREEITEM root = addTreeItem(tree, TVI_ROOT, L"Pelmora");
    addTreeItem(tree, root, L"bin");
    addTreeItem(tree, root, L"docs");
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    ::SendMessageW(::GetDlgItem(window, kIpAddress), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 10));
}

// The sections in display order, filling a grid row by row. A control class
// joins the gallery by adding its section here, in the place marked for it,
// in the same change that switches the class on in the skin engine.
const std::vector<Section>& sections() {
    static const std::vector<Section> all = {
        {L"按钮",
         {{kPushNormal, L"BUTTON", kPush, L"普通按钮", 16, 30, 110, 28},
          {kPushDefault, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, L"默认按钮", 16, 66, 110, 28},
          {kPushDisabled, L"BUTTON", kPush | WS_DISABLED, L"禁用按钮", 16, 102, 110, 28},
          // Opens a message box, which the engine skins like a window.
          {kMessageBoxButton, L"BUTTON", kPush, L"显示消息框", 134, 30, 96, 28}},
         dressPushButtons},
        {L"复选框与单选按钮",
         {{kCheckChecked, L"BUTTON", kCheck, L"已勾选", 16, 32, 96, 20, true},
          {kCheckUnchecked, L"BUTTON", kCheck, L"未勾选", 16, 64, 96, 20},
          {kCheckDisabled, L"BUTTON", kCheck | WS_DISABLED, L"禁用", 16, 96, 96, 20, true},
          {kRadioChecked, L"BUTTON", kRadio | WS_GROUP | WS_TABSTOP, L"已选中", 124, 32, 96, 20, true},
          {kRadioUnchecked, L"BUTTON", kRadio, L"未选中", 124, 64, 96, 20},
          {kRadioDisabled, L"BUTTON", kRadio | WS_DISABLED, L"禁用", 124, 96, 96, 20}}},
        {L"图像按钮",
         {{kImageButton, L"BUTTON", kPush, L"图片按钮", 16, 30, 140, 40},
          {kStateImageButton, L"BUTTON", kPush, L"", 16, 86, 100, 32}},
         dressImageButtons},
        {L"编辑框",
         {{kEditSingle, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, L"单行编辑框", 16, 30, 200, 24},
          {kEditReadOnly, L"EDIT", ES_AUTOHSCROLL | ES_READONLY, L"C:\\Program Files", 16, 60, 200, 24},
          {kEditMultiLine, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
           L"多行编辑框\r\n第二行\r\n第三行\r\n第四行\r\n第五行", 16, 90, 200, 46}},
         nullptr,
         WS_EX_CLIENTEDGE},
        {L"组合框",
         {{kComboSimple, L"COMBOBOX", CBS_SIMPLE | WS_TABSTOP, L"", 16, 30, 96, 106},
          {kComboDropDown, L"COMBOBOX", CBS_DROPDOWN | WS_TABSTOP, L"", 124, 30, 96, 120},
          {kComboDropDownList, L"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP, L"", 124, 72, 96, 120}},
         dressEditsAndCombos},
        {L"进度条",
         {{kProgressForty, PROGRESS_CLASSW, PBS_SMOOTH, L"", 16, 36, 170, 8},
          {kProgressOffset, PROGRESS_CLASSW, PBS_SMOOTH, L"", 16, 64, 170, 12},
          {kProgressVertical, PROGRESS_CLASSW, PBS_SMOOTH | PBS_VERTICAL, L"", 206, 30, 12, 100}},
         dressRanges},
        {L"滑块",
         {{kTrackTicksBelow, TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, L"", 10, 26, 106, 30},
          {kTrackTicksAbove, TRACKBAR_CLASSW, TBS_HORZ | TBS_TOP | TBS_AUTOTICKS, L"", 10, 62, 106, 30},
          {kTrackNoTicks, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS, L"", 10, 100, 106, 26},
          {kTrackTicksBoth, TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTH | TBS_AUTOTICKS, L"", 122, 26, 106, 40},
          {kTrackSelection, TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | TBS_ENABLESELRANGE, L"", 122, 80, 106, 30}}},
        {L"微调按钮",
         {{kUpDownBuddy, L"EDIT", ES_NUMBER | WS_TABSTOP, L"12", 16, 40, 60, 24},
          {kUpDownVertical, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS, L"", 78, 40, 18, 24},
          {kUpDownHorizontal, UPDOWN_CLASSW, UDS_HORZ, L"", 16, 84, 40, 20}},
         nullptr,
         WS_EX_CLIENTEDGE},
        {L"静态控件",
         {{kStaticLeft, L"STATIC", SS_LEFT, L"左对齐文字", 16, 30, 130, 18},
          {kStaticCentre, L"STATIC", SS_CENTER, L"居中文字", 16, 56, 130, 18},
          {kStaticRight, L"STATIC", SS_RIGHT, L"右对齐文字", 16, 82, 130, 18},
          {kStaticBitmap, L"STATIC", SS_BITMAP | SS_CENTERIMAGE, L"", 156, 28, 64, 64},
          {kStaticIcon, L"STATIC", SS_ICON, L"DEFAULT_ICON", 172, 100, 32, 32}},
         dressStatics},
        {L"分组框与工具栏",
         {{kToolbar, TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST,
           L"", 10, 24, 216, 30},
          {kGroupBox, L"BUTTON", BS_GROUPBOX, L"分组框", 10, 60, 218, 72}},
         dressContainers},
        {L"列表视图",
         {{kListView, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, L"", 10, 26, 216, 110}},
         dressListView},
        {L"列表框、树与其他",
         {{kListBox, L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, L"", 10, 26, 96, 52},
          {kListBoxOwnerDrawn, L"LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | WS_BORDER,
           L"", 10, 84, 96, 52},
          {kTreeView, WC_TREEVIEWW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, L"", 114, 26, 114, 58},
          {kIpAddress, WC_IPADDRESSW, WS_BORDER, L"", 114, 88, 114, 22},
          {kDateTime, DATETIMEPICK_CLASSW, DTS_SHORTDATEFORMAT | WS_BORDER, L"", 114, 114, 114, 22}},
         dressLists},
    };
    return all;
}

// The grid: three columns of equal cells below the caption, the status line
// under the last row.
constexpr int kColumns = 3;
constexpr int kCellWidth = 236, kCellHeight = 138, kGap = 6, kMargin = 14, kTop = 40;
constexpr int kStatusHeight = 20;
constexpr int kStatusBarHeight = 22;  // the skinned status bar under the status line

// The layout is written at 96 DPI, in these numbers; the places are scaled to
// the window's DPI where the children are made.
POINT cellOrigin(size_t index) {
    const int column = static_cast<int>(index) % kColumns, row = static_cast<int>(index) / kColumns;
    return {kMargin + column * (kCellWidth + kGap), kTop + row * (kCellHeight + kGap)};
}

SIZE windowSize(size_t sectionCount) {
    const int rows = static_cast<int>((sectionCount + kColumns - 1) / kColumns);
    return {2 * kMargin + kColumns * kCellWidth + (kColumns - 1) * kGap,
            kTop + rows * (kCellHeight + kGap) + kStatusHeight + kMargin + kStatusBarHeight};
}

HFONT createSongTi(int weight, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -scaled(12, dpi);
    lf.lfWeight = weight;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpynW(lf.lfFaceName, L"宋体", LF_FACESIZE);
    return ::CreateFontIndirectW(&lf);
}

// `place` in 96-DPI numbers, made at `dpi`.
HWND createChild(HWND parent, HINSTANCE instance, const wchar_t* className, DWORD style, const wchar_t* text,
                 RECT place, int id, HFONT font, UINT dpi, DWORD exStyle = 0) {
    place = scaledRect(place, dpi);
    HWND child = ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

GalleryWindow::~GalleryWindow() {
    // Destroyed by its owner: the window must not call back into this object
    // while it goes.
    if (HWND window = window_.release()) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        ::DestroyWindow(window);
    }
}

bool GalleryWindow::create(HINSTANCE instance, std::optional<POINT> origin) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!registerWindowClass(instance, kClassName, objectWindowProc<GalleryWindow>,
                             ::LoadIconW(instance, L"DEFAULT_ICON")))
        return false;

    // A DPI-aware program gets the screen's pixels unscaled; the gallery is
    // made at the screen's DPI (a later change of it moves only the window).
    dpi_ = systemDpi();
    const SIZE size = scaledSize(windowSize(sections().size()), dpi_);
    const POINT at = origin.value_or(
        POINT{(::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2});
    // No frame and no system caption: the skin engine draws both.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
    window_.reset(::CreateWindowExW(WS_EX_APPWINDOW, kClassName, kTitle, style, at.x, at.y, size.cx, size.cy, nullptr,
                                    nullptr, instance, this));
    if (!window_) return false;
    font_.reset(createSongTi(FW_NORMAL, dpi_));
    headingFont_.reset(createSongTi(FW_BOLD, dpi_));
    createSections(instance);
    applySkin();
    ::ShowWindow(window_.get(), SW_SHOW);
    ::UpdateWindow(window_.get());
    return true;
}

void GalleryWindow::createSections(HINSTANCE instance) {
    HWND window = window_.get();
    for (size_t i = 0; i < sections().size(); ++i) {
        const Section& section = sections()[i];
        const POINT cell = cellOrigin(i);
        createChild(window, instance, L"STATIC", SS_LEFT, section.heading,
                    {cell.x + 4, cell.y + 4, cell.x + kCellWidth, cell.y + 22}, -1, headingFont_.get(), dpi_);
        for (const ControlEntry& c : section.controls) {
            const RECT place{cell.x + c.x, cell.y + c.y, cell.x + c.x + c.width, cell.y + c.y + c.height};
            const DWORD exStyle = lstrcmpiW(c.className, L"EDIT") == 0 ? section.editExStyle : 0;
            HWND control =
                createChild(window, instance, c.className, c.style, c.text, place, c.id, font_.get(), dpi_, exStyle);
            if (c.checked) ::SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
    const SIZE size = windowSize(sections().size());
    const int statusTop = size.cy - kMargin - kStatusHeight - kStatusBarHeight;
    createChild(window, instance, L"STATIC", SS_LEFT | SS_CENTERIMAGE, L"点一点各个控件，这里会说出点了什么。",
                {kMargin + 4, statusTop, size.cx - kMargin, statusTop + kStatusHeight}, kStatusLine, font_.get(), dpi_);
}

// The same calls the installer makes, then what the sections add.
void GalleryWindow::applySkin() {
    HWND window = window_.get();
    skin::setControlSkinning(true, 0);
    skin::WindowOptions options;
    options.captionHeight = 30;
    options.resizable = false;
    options.statusBarHeight = kStatusBarHeight;
    options.statusItems = {
        {L"皮肤控件一览", 120, {}, -1}, {L"", 150, {}, -1}, {L"状态栏由皮肤对象的操作改变", -1, {}, -1}};
    skin::skinWindow(window, options);
    skin::TitleStyle title;
    title.fontSize = 12;
    title.bold = false;
    skin::setTitleStyle(window, title);
    skin::Theme theme;
    theme.imageBytes = backgroundPicture();
    theme.mode = skin::BackgroundMode::TopLeft;
    skin::setSkinTheme(theme);
    skin::addCaptionButton(window, captionGlyph(), L"关于这个窗口", [this] {
        showStatus(L"已按下：标题栏上的星形按钮");
        if (onCommand) onCommand(0, BN_CLICKED);
    });
    for (const Section& section : sections())
        if (section.dress) section.dress(window);
    skin::StatusBarStyle style;
    style.fillColour = 0x00402010;
    style.fillAlpha = 110;
    style.textColour = 0x00FFFFFF;
    skin::setStatusBarStyle(window, style);
    skin::updateStatusItem(window, kStatusTitleItem, std::nullopt, captionGlyph());
    onTrackBarMoved(control(kTrackTicksBelow));
}

// The status bar's second item follows the first track bar: its position as
// text and as a meter over the bar's range.
void GalleryWindow::onTrackBarMoved(HWND bar) {
    if (bar != control(kTrackTicksBelow)) return;
    const int position = static_cast<int>(::SendMessageW(bar, TBM_GETPOS, 0, 0));
    const int maximum = static_cast<int>(::SendMessageW(bar, TBM_GETRANGEMAX, 0, 0));
    const int percent = maximum > 0 ? position * 100 / maximum : 0;
    skin::updateStatusItem(window_.get(), kStatusTrackItem, L"滑块 " + std::to_wstring(position), std::nullopt,
                           percent);
}

namespace {

// A message box is skinned when the hook is installed right before it is
// shown; the hook goes again once the box is up.
void showSkinnedMessageBox(HWND owner) {
    const skin::SkinNextMessageBox skinned;
    ::MessageBoxExW(owner, L"这个消息框由皮肤引擎绘制：圆角、标题栏和关闭按钮，淡入显示。", L"消息框", MB_OK, 0);
}

}  // namespace

void GalleryWindow::report(HWND sender, int id, int code) {
    if (id == kMessageBoxButton && code == BN_CLICKED) showSkinnedMessageBox(window_.get());
    if (id != kStatusLine && code == BN_CLICKED) {
        // A toolbar's buttons are not windows: the command names the button.
        const std::wstring text =
            sender == control(kToolbar) ? L"工具栏按钮 " + std::to_wstring(id) : windowText(sender);
        showStatus(L"已单击：" + (text.empty() ? L"四图按钮" : text));
    }
    if (onCommand) onCommand(id, code);
}

void GalleryWindow::showStatus(const std::wstring& text) {
    ::SetWindowTextW(control(kStatusLine), text.c_str());
}

// The owner-drawn list box: a coloured square before each name, the
// selection in the window's own highlight.
void GalleryWindow::drawListItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    static const COLORREF kSwatches[] = {0x002050C0, 0x0030A040, 0x00C07020, 0x00A030A0, 0x00208080};
    GdiBrush swatch(::CreateSolidBrush(kSwatches[item.itemID % 5]));
    const RECT square{item.rcItem.left + 3, item.rcItem.top + 3, item.rcItem.left + 13, item.rcItem.top + 13};
    ::FillRect(item.hDC, &square, swatch.get());
    wchar_t text[32] = {};
    ::SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT label = item.rcItem;
    label.left += 18;
    ::DrawTextW(item.hDC, text, -1, &label, DT_SINGLELINE | DT_VCENTER);
}

LRESULT GalleryWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam) report(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_MEASUREITEM:
            if (wParam == kListBoxOwnerDrawn) reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
            return TRUE;
        case WM_DRAWITEM:
            if (wParam == kListBoxOwnerDrawn) drawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_HSCROLL:
            if (lParam) onTrackBarMoved(reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NCDESTROY:
            // Closed by the user: the system has destroyed the window, so
            // nothing is left to own.
            window_.release();
            if (onClosed) onClosed();
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pelmora::gallery
