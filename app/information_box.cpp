#include "app/information_box.h"

#include "pelmora/skin.h"

namespace pelmora {

int showInformationBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
    const skin::SkinNextMessageBox skinned;
    return ::MessageBoxExW(owner, text.c_str(), caption.c_str(), MB_OK, 0) - 1;
}

}  // namespace pelmora
