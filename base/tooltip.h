// A thin wrapper over a common-controls tooltip window that holds one tool per
// rectangle of its owner. The tooltip window belongs to the owner: the system
// destroys it with the owner, so this object frees nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace pelmora {

class Tooltip {
public:
    HWND create(HWND owner, bool balloon = false);
    bool addTool(const RECT& rect, const std::wstring& text, UINT_PTR id);
    void setToolRect(const RECT& rect, UINT_PTR id);
    void setToolText(const std::wstring& text, UINT_PTR id);
    HWND getWindow() const { return tipWindow_; }
    HWND owner() const { return owner_; }

private:
    TOOLINFOW toolInfo(UINT_PTR id) const;

    HWND tipWindow_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace pelmora
