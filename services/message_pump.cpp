#include "services/message_pump.h"

#include <windows.h>

namespace pelmora {

void processPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void waitPumping(int ms) {
    if (ms <= 0) return;
    const DWORD start = ::GetTickCount();
    for (;;) {
        processPendingMessages();
        processPendingMessages();
        // Unsigned difference: correct across the 49-day wrap of the tick count.
        if (::GetTickCount() - start > static_cast<DWORD>(ms)) return;
        processPendingMessages();
        processPendingMessages();
    }
}

void sleepMs(int ms) {
    ::Sleep(ms < 0 ? 0 : static_cast<DWORD>(ms));
}

}  // namespace pelmora
