// The skin gallery as a program: start the skin module, show the gallery, run
// the message loop until its window is closed.
#include <windows.h>

#include "demo/gallery/gallery_window.h"
#include "pelmora/skin.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace pelmora;
    skin::startSkinModule();
    int exitCode = 1;
    {
        gallery::GalleryWindow gallery;
        gallery.onClosed = [] { ::PostQuitMessage(0); };
        if (gallery.create(instance)) {
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                // Tab and the arrow keys move between the controls.
                if (::IsDialogMessageW(gallery.hwnd(), &msg)) continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            exitCode = 0;
        }
    }
    skin::endSkinModule();
    return exitCode;
}
