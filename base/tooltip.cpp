#include "base/tooltip.h"

#include <commctrl.h>

namespace pelmora {

HWND Tooltip::create(HWND owner, bool balloon) {
    owner_ = owner;
    const DWORD style = WS_POPUP | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
    tipWindow_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return tipWindow_;
}

// The pre-version-6 size: accepted by every comctl32, with or without a manifest.
TOOLINFOW Tooltip::toolInfo(UINT_PTR id) const {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = id;
    return info;
}

bool Tooltip::addTool(const RECT& rect, const std::wstring& text, UINT_PTR id) {
    TOOLINFOW info = toolInfo(id);
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    return ::SendMessageW(tipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void Tooltip::setToolRect(const RECT& rect, UINT_PTR id) {
    TOOLINFOW info = toolInfo(id);
    info.rect = rect;
    ::SendMessageW(tipWindow_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::setToolText(const std::wstring& text, UINT_PTR id) {
    TOOLINFOW info = toolInfo(id);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tipWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace pelmora
