#include "app/information_box.h"

#include "skin/dialog/message_box_hook.h"

namespace pelmora {

int showInformationBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
    const SkinNextMessageBox skin;
    return ::MessageBoxExW(owner, text.c_str(), caption.c_str(), MB_OK, 0) - 1;
}

}  // namespace pelmora
