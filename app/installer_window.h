// The installer window and its units, built from the form table. Unit
// properties are read and written here; events go to a FormEvents handler.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "app/form_table.h"
#include "base/unique_resource.h"
#include "base/window_class.h"

namespace pelmora {

class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void onWindowCreated() = 0;
    // Posted once the first frame is on screen: set-up the frame does not show.
    virtual void onFirstFrameShown() = 0;
    virtual bool onCloseQuery() = 0;  // true lets the window close
    virtual void onUnitClick(UnitRole unit) = 0;
    virtual void onTimerTick(UnitRole timer) = 0;
    virtual void onLabelReleased(UnitRole label, int x, int y, WPARAM keys) = 0;
};

class InstallerWindow {
public:
    InstallerWindow() = default;
    InstallerWindow(const InstallerWindow&) = delete;
    InstallerWindow& operator=(const InstallerWindow&) = delete;

    static constexpr wchar_t kClassName[] = L"PelmoraInstallerWindow";

    // Creates the window centred on the screen, owned by `owner`, and its
    // units; raises the created event; then shows the window and the units
    // whose visible flag is set.
    bool create(HINSTANCE instance, HWND owner, FormEvents* events);

    HWND hwnd() const { return hwnd_; }
    HWND unit(UnitRole role) const { return units_[static_cast<size_t>(role)]; }

    void setVisible(UnitRole role, bool visible);
    void setDisabled(UnitRole role, bool disabled);
    void setText(UnitRole role, const std::wstring& text);  // caption, content or title
    std::wstring text(UnitRole role) const;
    void setTimerInterval(UnitRole timer, int ms);
    int progressPosition() const;
    void setProgressPosition(int position);  // clamped to the range
    bool checked() const;
    void setChecked(bool checked);
    // Takes Enter and Esc meant for the window or its units before the
    // dialog manager does; true when the message has been dealt with.
    bool handleDialogKey(const MSG& msg);
    // The window's big and small icons from PNG (or icon-resource) bytes;
    // false keeps the program's default icon.
    bool setIconImage(const void* data, size_t size);

private:
    friend LRESULT CALLBACK objectWindowProc<InstallerWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    bool createUnits(HINSTANCE instance);
    HWND createUnit(HINSTANCE instance, const UnitEntry& entry, int controlId);
    // Moves the terms link to follow the agreement label's text (see termsLinkRect).
    void placeTermsLink();
    // The font of a unit at the window's DPI; made once per DPI and kept in fonts_.
    HFONT unitFont(const FontChoice& choice);
    // The units at their places and in their fonts for a new DPI (the
    // window itself has been moved and sized by then).
    void applyDpi(UINT dpi);
    void onCommand(WPARAM wp, LPARAM lp);
    void paintBackground(HDC dc);  // what transparent units show beneath them
    const UnitEntry* entryOfControl(HWND child) const;

    HWND hwnd_ = nullptr;
    FormEvents* events_ = nullptr;
    std::array<HWND, kUnitCount> units_{};
    std::vector<GdiFont> fonts_;
    UINT dpi_ = 96;  // the form's numbers are at 96 DPI and placed scaled to this
    UniqueIcon bigIcon_, smallIcon_;
};

}  // namespace pelmora
