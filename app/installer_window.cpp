#include "app/installer_window.h"

#include <commctrl.h>

#include "app/exit_codes.h"
#include "app/package_contents.h"
#include "app/unit_windows.h"
#include "base/dpi_scale.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "base/window_class.h"
#include "payload/package_texts.h"
#include "pelmora/skin.h"
#include "services/unit_registry.h"

namespace pelmora {
namespace {

constexpr UINT kFirstFrameMessage = WM_APP + 0x41;

// The form's heights are pixels at 96 DPI.
HFONT createFont(const FontChoice& font, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = scaled(font.height, dpi);
    lf.lfWeight = font.weight;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    return ::CreateFontIndirectW(&lf);
}

// What a unit shows: its text from the installer's package where the package
// names one, otherwise the form's own.
std::wstring shownCaption(const UnitEntry& entry) {
    const PackageContents& package = ownPackage();
    switch (entry.role) {
        case UnitRole::InstallerWindow:
            return package.text(package::kKeyTitle, entry.caption);
        case UnitRole::TitleLabel:
            return package.text(package::kKeyHeading, entry.caption);
        case UnitRole::StatusLabel:
            return package.windowText("statusExtracting");
        case UnitRole::AgreeLabel:
            return package.windowText("agree");
        case UnitRole::TermsLinkLabel:
            return package.windowText("termsLink");
        case UnitRole::FolderLabel:
            return package.windowText("folderLabel");
        case UnitRole::InstallButton:
            return package.windowText("install");
        case UnitRole::BrowseButton:
            return package.windowText("browse");
        default:
            return entry.caption;
    }
}

// How wide a label's text is in the font the form gives it; 0 when it cannot be told.
int textWidth(HWND label, const FontChoice& choice, UINT dpi) {
    const std::wstring text = windowText(label);
    const GdiFont font(createFont(choice, dpi));
    const WindowDc dc(label);
    if (!dc.get() || !font.get() || text.empty()) return 0;
    const SelectGuard selected(dc.get(), font.get());
    SIZE size{};
    if (!::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

// A unit's place at the DPI: each edge scaled, so units that meet at 96 DPI
// still meet.
RECT unitRect(const UnitEntry& entry, UINT dpi) {
    return scaledRect({entry.x, entry.y, entry.x + entry.width, entry.y + entry.height}, dpi);
}

}  // namespace

bool InstallerWindow::create(HINSTANCE instance, HWND owner, FormEvents* events) {
    events_ = events;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!registerUnitClasses(instance)) return false;

    if (!registerWindowClass(instance, kClassName, objectWindowProc<InstallerWindow>,
                             ::LoadIconW(instance, L"DEFAULT_ICON")))
        return false;

    const UnitEntry& form = unitEntry(UnitRole::InstallerWindow);
    // The window opens on the primary screen, whose DPI is the system's.
    dpi_ = systemDpi();
    const int width = scaled(form.width, dpi_), height = scaled(form.height, dpi_);
    const POINT at = centredOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width, height);
    // No frame and no system caption; the minimise box is part of the form.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
    if (!::CreateWindowExW(WS_EX_APPWINDOW, kClassName, shownCaption(form).c_str(), style, at.x, at.y, width, height,
                           owner, nullptr, instance, this))
        return false;
    units_[0] = hwnd_;
    registerUnitWindow({kInstallerWindowId, form.id}, hwnd_);
    if (!createUnits(instance)) return false;
    placeTermsLink();

    events_->onWindowCreated();

    for (const UnitEntry& entry : installerUnits()) {
        if (entry.role != UnitRole::InstallerWindow && (entry.flags & kVisible))
            ::ShowWindow(unit(entry.role), SW_SHOWNA);
    }
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    ::PostMessageW(hwnd_, kFirstFrameMessage, 0, 0);
    return true;
}

bool InstallerWindow::createUnits(HINSTANCE instance) {
    for (const UnitEntry& entry : installerUnits()) {
        if (entry.role == UnitRole::InstallerWindow) continue;
        HWND child = createUnit(instance, entry, controlIdOf(entry.role));
        if (!child) return false;
        units_[static_cast<size_t>(entry.role)] = child;
        registerUnitWindow({kInstallerWindowId, entry.id}, child);
    }
    return true;
}

HWND InstallerWindow::createUnit(HINSTANCE instance, const UnitEntry& entry, int controlId) {
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    if (entry.flags & kDisabled) style |= WS_DISABLED;
    if (entry.flags & kTabStop) style |= WS_TABSTOP;
    const wchar_t* cls = nullptr;
    LabelLook look{};
    void* param = nullptr;
    HFONT font = unitFont(entry.font);
    switch (entry.kind) {
        case UnitKind::Button:
            cls = L"BUTTON";
            style |= BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
            break;
        case UnitKind::CheckBox:
            cls = L"BUTTON";
            style |= BS_AUTOCHECKBOX | BS_VCENTER;
            break;
        case UnitKind::EditBox:
            cls = L"EDIT";
            style |= ES_READONLY | ES_AUTOHSCROLL | ES_LEFT;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case UnitKind::ProgressBar:
            cls = PROGRESS_CLASSW;
            style |= PBS_SMOOTH | WS_BORDER;
            break;
        case UnitKind::Label:
        case UnitKind::TransparentLabel:
            cls = entry.kind == UnitKind::Label ? kLabelClass : kTransparentLabelClass;
            if (entry.kind == UnitKind::TransparentLabel) exStyle |= WS_EX_TRANSPARENT;
            look = {entry.textColour, entry.backColour, labelTextFormat(entry.hAlign, entry.vAlign, entry.wordWrap),
                    font};
            param = &look;
            break;
        case UnitKind::Timer:
            cls = kTimerClass;
            break;
        case UnitKind::ArchiveUnit:
            cls = kArchiveUnitClass;
            break;
        case UnitKind::Window:
            return nullptr;
    }
    const RECT place = unitRect(entry, dpi_);
    HWND child = ::CreateWindowExW(exStyle, cls, shownCaption(entry).c_str(), style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, param);
    if (!child) return nullptr;
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (entry.kind == UnitKind::ProgressBar) {
        ::SendMessageW(child, PBM_SETRANGE32, 0, 100);
        ::SendMessageW(child, PBM_SETPOS, 0, 0);
    }
    return child;
}

HFONT InstallerWindow::unitFont(const FontChoice& choice) {
    if (choice.face) {
        fonts_.emplace_back(createFont(choice, dpi_));
        return fonts_.back().get();
    }
    // The stock font is made for the system DPI; another screen's gets a copy
    // of it in proportion.
    HFONT stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const UINT system = systemDpi();
    LOGFONTW lf{};
    if (dpi_ == system || !::GetObjectW(stock, sizeof lf, &lf)) return stock;
    lf.lfHeight = ::MulDiv(lf.lfHeight, static_cast<int>(dpi_), static_cast<int>(system));
    fonts_.emplace_back(::CreateFontIndirectW(&lf));
    return fonts_.back().get() ? fonts_.back().get() : stock;
}

void InstallerWindow::applyDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) return;
    dpi_ = dpi;
    // The units keep the old fonts until they have the new ones.
    std::vector<GdiFont> old = std::move(fonts_);
    fonts_.clear();
    for (const UnitEntry& entry : installerUnits()) {
        if (entry.role == UnitRole::InstallerWindow) continue;
        HWND child = unit(entry.role);
        const RECT place = unitRect(entry, dpi_);
        ::SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(unitFont(entry.font)), TRUE);
    }
    placeTermsLink();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void InstallerWindow::placeTermsLink() {
    const RECT r =
        termsLinkRect(textWidth(unit(UnitRole::AgreeLabel), unitEntry(UnitRole::AgreeLabel).font, dpi_),
                      textWidth(unit(UnitRole::TermsLinkLabel), unitEntry(UnitRole::TermsLinkLabel).font, dpi_), dpi_);
    ::SetWindowPos(unit(UnitRole::TermsLinkLabel), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void InstallerWindow::setVisible(UnitRole role, bool visible) {
    ::ShowWindow(unit(role), visible ? SW_SHOWNA : SW_HIDE);
}

void InstallerWindow::setDisabled(UnitRole role, bool disabled) {
    ::EnableWindow(unit(role), disabled ? FALSE : TRUE);
}

void InstallerWindow::setText(UnitRole role, const std::wstring& text) {
    ::SetWindowTextW(unit(role), text.c_str());
}

std::wstring InstallerWindow::text(UnitRole role) const {
    return windowText(unit(role));
}

void InstallerWindow::setTimerInterval(UnitRole timer, int ms) {
    pelmora::setTimerInterval(unit(timer), ms);
}

int InstallerWindow::progressPosition() const {
    return static_cast<int>(::SendMessageW(unit(UnitRole::InstallProgress), PBM_GETPOS, 0, 0));
}

void InstallerWindow::setProgressPosition(int position) {
    // The control clamps to its range itself.
    ::SendMessageW(unit(UnitRole::InstallProgress), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

bool InstallerWindow::checked() const {
    return ::SendMessageW(unit(UnitRole::AgreeCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void InstallerWindow::setChecked(bool checked) {
    ::SendMessageW(unit(UnitRole::AgreeCheckBox), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool InstallerWindow::setIconImage(const void* data, size_t size) {
    auto bytes = static_cast<PBYTE>(const_cast<void*>(data));
    UniqueIcon big(::CreateIconFromResourceEx(bytes, static_cast<DWORD>(size), TRUE, 0x00030000,
                                              ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    UniqueIcon small(::CreateIconFromResourceEx(bytes, static_cast<DWORD>(size), TRUE, 0x00030000,
                                                ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    if (!big || !small) return false;
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer uses the previous icons: release them now.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
    return true;
}

// The skin engine composes the window; a transparent unit asking for what
// lies beneath it gets that picture, or the plain face before the first paint.
void InstallerWindow::paintBackground(HDC dc) {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    if (skin::copyComposedImage(hwnd_, dc, rc)) return;
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
}

const UnitEntry* InstallerWindow::entryOfControl(HWND child) const {
    UnitRole role;
    if (!child || !roleOfControlId(::GetDlgCtrlID(child), &role) || unit(role) != child) return nullptr;
    return &unitEntry(role);
}

// A click counts only from a unit the user can see and use: whatever sends
// the command (a key, another program), a hidden or disabled unit never acts.
void InstallerWindow::onCommand(WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) != BN_CLICKED) return;
    HWND child = reinterpret_cast<HWND>(lp);
    const UnitEntry* entry = entryOfControl(child);
    if (!entry || !::IsWindowVisible(child) || !::IsWindowEnabled(child)) return;
    events_->onUnitClick(entry->role);
}

// Enter and Esc are decided here, before the dialog manager sees them: it
// would turn them into clicks of whatever unit carries the id IDOK or
// IDCANCEL. Enter clicks the focused push button and nothing else; Esc does
// nothing (closing stays with the close button and Alt+F4).
bool InstallerWindow::handleDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR) return false;
    if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;  // also their characters, '\r' and 0x1B
    if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        HWND focus = ::GetFocus();
        const UnitEntry* entry = entryOfControl(focus);
        if (entry && entry->kind == UnitKind::Button)
            ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(controlIdOf(entry->role), BN_CLICKED),
                           reinterpret_cast<LPARAM>(focus));
    }
    return true;
}

LRESULT InstallerWindow::handleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) hwnd_ = hwnd;
    return handle(msg, wp, lp);
}

LRESULT InstallerWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            onCommand(wp, lp);
            return 0;
        case kUnitEventMessage: {
            const auto* event = reinterpret_cast<const UnitEvent*>(lp);
            UnitRole role;
            if (!roleOfControlId(static_cast<int>(wp), &role)) return 0;
            if (event->kind == UnitEventKind::TimerTick) {
                events_->onTimerTick(role);
            } else {
                events_->onLabelReleased(role, event->x, event->y, event->keys);
            }
            return 0;
        }
        case WM_SETCURSOR: {
            const UnitEntry* entry = entryOfControl(reinterpret_cast<HWND>(wp));
            if (entry && entry->handCursor && LOWORD(lp) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_ERASEBKGND:
            paintBackground(reinterpret_cast<HDC>(wp));
            return 1;
        case kFirstFrameMessage:
            events_->onFirstFrameShown();
            return 0;
        case kDpiChangedMessage:
            // The skin engine has moved the window to the suggested place already.
            applyDpi(LOWORD(wp));
            return 0;
        case WM_PRINTCLIENT:
            paintBackground(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_CLOSE:
            if (events_->onCloseQuery()) ::DestroyWindow(hwnd_);
            return 0;
        case WM_QUERYENDSESSION:
            return events_->onCloseQuery();
        case WM_DESTROY:
            forgetUnitWindows(kInstallerWindowId);
            ::PostQuitMessage(exitCodeValue(ExitCode::Installed));
            return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace pelmora
