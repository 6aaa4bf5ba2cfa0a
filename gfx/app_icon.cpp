#include "gfx/app_icon.h"

namespace pelmora {

UniqueIcon loadAppIcon(HMODULE module) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    constexpr WORD kAppIconId = 129;
    HICON icon = ::LoadIconW(module, MAKEINTRESOURCEW(kAppIconId));
    if (!icon) icon = ::LoadIconW(module, L"DEFAULT_ICON");
    return UniqueIcon(icon);
}

}  // namespace pelmora
