// Progress bars: the native control keeps its position and range; the engine
// paints the whole bar, border included, from what the control reports at
// every paint. It has no hover look: mouse messages go on unchanged.
// The common-control header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <utility>

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/progress_paint.h"

namespace pelmora {
namespace {

// Position and range as the control holds them now.
ProgressPaint queryBar(HWND bar, bool vertical) {
    ProgressPaint paint;
    paint.vertical = vertical;
    PBRANGE range{};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    paint.low = range.iLow;
    paint.high = range.iHigh;
    paint.position = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
    return paint;
}

}  // namespace

void paintProgressBar(const ProgressSkinRecord& record, HDC clientDc) {
    ProgressPaint bar = queryBar(record.window, record.vertical);
    bar.dpi = controlDpi(record.window);
    FaceKey key;
    key.atDpi(bar.dpi)
        .add(bar.vertical)
        .add(static_cast<std::uint64_t>(bar.low))
        .add(static_cast<std::uint64_t>(bar.high))
        .add(static_cast<std::uint64_t>(bar.position));
    paintControlWindow(record.window, {clientDc}, record.face, std::move(key), [&](GdipGraphics& graphics, SizeI size) {
        bar.size = size;
        paintProgressBar(graphics, bar, controlSettings());
    });
}

LRESULT CALLBACK progressSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    const ProgressSkinRecord* record = locate<ProgressSkinRecord>(bar).record;
    // An unrecorded bar gets no paint of the engine's.
    const auto repaint = [record](HDC clientDc = nullptr) {
        if (record) paintProgressBar(*record, clientDc);
    };
    switch (message) {
        case WM_MOVE:
            repaint();
            break;
        case WM_PAINT: {
            {
                const PaintScope paint(bar);
                repaint(paint.dc());
            }
            return ::DefWindowProcW(bar, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            repaint();
            return 1;
    }
    return callPreviousProc(bar, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kProgressBarClass(ControlProcedure::ProgressBar, progressSkinProc);

}  // namespace pelmora
