#include "skin/dialog/dialog_skin.h"

#include <memory>

#include "base/dpi_scale.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/skin_images.h"
#include "skin/controls/control_install.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/dialog/dialog_effects.h"
#include "skin/dialog/dialog_geometry.h"
#include "skin/dialog/dialog_paint.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"

namespace pelmora {
namespace {

constexpr int kDialogTitleFontSize = 13;
constexpr wchar_t kDialogTitleFace[] = L"宋体";
constexpr wchar_t kCloseTooltip[] = L"关闭";

SIZE windowSize(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

CaptionButton dialogCloseButton() {
    CaptionButton button;
    button.kind = CaptionButtonKind::Close;
    button.width = kDialogCloseButtonWidth;
    button.height = kDialogCloseButtonHeight;
    button.glyph = SkinImageSet::copy(SkinImage::DialogCloseGlyph);
    button.tooltipText = kCloseTooltip;
    return button;
}

std::unique_ptr<SkinnedWindowRecord> newDialogRecord(HWND dialog) {
    auto record = std::make_unique<SkinnedWindowRecord>();
    record->window = dialog;
    record->dialog.isDialog = true;
    record->caption.captionHeight = kDialogCaptionHeight;
    record->caption.hasCloseButton = true;
    record->caption.captionButtons.push_back(dialogCloseButton());
    record->title.titleFontSize = kDialogTitleFontSize;
    record->title.titleFontFace = kDialogTitleFace;
    record->frame.resizable = false;
    record->frame.dpi = windowDpi(dialog);
    return record;
}

// A 32-bit image of the window's size in the composed DC, made anew only when
// the size changed. The properties publish the DC's first bitmap and the
// current one, as for top-level windows; the record owns both.
bool prepareComposedImage(SkinnedWindowRecord& record, SIZE size) {
    BitmapDc& composed = record.image.composed;
    const SIZE have = composed.size();
    if (composed && have.cx == size.cx && have.cy == size.cy) return true;
    GdipBitmap image;
    if (!image.create(size.cx > 0 ? size.cx : 1, size.cy > 0 ? size.cy : 1)) return false;
    if (!composed.select(image.toHbitmap())) return false;
    if (!propValue(record.window, kPropComposedFirstBitmap))
        setPropValue(record.window, kPropComposedFirstBitmap, reinterpret_cast<std::intptr_t>(composed.firstBitmap()));
    setPropValue(record.window, kPropComposedBitmap, reinterpret_cast<std::intptr_t>(composed.bitmap()));
    return true;
}

// Leaves every visible child out of a DC on the whole window.
void excludeChildren(HWND window, HDC dc) {
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        const RECT r = offsetInSkinnedWindow(child);
        ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

}  // namespace

void applyDialogCloseLayout(SkinnedWindowRecord& record) {
    const UINT dpi = record.frame.dpi;
    const DialogCloseLayout layout = layoutDialogCloseButton(windowSize(record.window).cx, dpi);
    CaptionPart& caption = record.caption;
    caption.stripLeft = layout.stripLeft;
    caption.stripTop = layout.stripTop;
    caption.stripWidth = scaled(kDialogCloseCellWidth, dpi);
    caption.stripHeight = scaled(kDialogCloseCellHeight, dpi);
    if (!caption.captionButtons.empty()) {
        const RECT& cell = layout.cell;
        caption.captionButtons.front().rect = {static_cast<float>(cell.left), static_cast<float>(cell.top),
                                               static_cast<float>(cell.right - cell.left),
                                               static_cast<float>(cell.bottom - cell.top)};
    }
}

int skinDialog(HWND dialog) {
    if (!dialog || findWindowRecord(dialog) || propValue(dialog, kPropPreviousProc)) return 0;
    auto made = newDialogRecord(dialog);
    // Without its picture (no GDI+, no memory) the dialog would be an empty
    // frameless shape: it keeps the system's look instead.
    if (!renderDialog(*made)) return 0;
    const SIZE size = windowSize(dialog);
    setRoundedWindowRegion(dialog, size.cx, size.cy, made->frame.dpi);
    const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    ::SetWindowLongPtrW(dialog, GWL_STYLE, style | WS_SYSMENU);
    // Fully transparent until its first paint starts the fade-in, so the
    // system's own look never shows for a moment.
    makeLayered(dialog);
    ::SetLayeredWindowAttributes(dialog, 0, 0, LWA_ALPHA);

    const int index = appendWindowRecord(std::move(made));
    SkinnedWindowRecord& record = *windowRecord(index);
    applyDialogCloseLayout(record);
    // The picture exists already when a control asks for what lies under it.
    installControlsOf(index, dialog);
    record.controlsInstalled = true;
    const LONG_PTR previous = ::SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dialogWindowProc));
    setPropValue(dialog, kPropPreviousProc, previous);
    setPropValue(dialog, kPropListIndex, index);
    return index;
}

bool renderDialog(SkinnedWindowRecord& record) {
    const SIZE size = windowSize(record.window);
    if (!prepareComposedImage(record, size)) return false;
    const ThemeSettings& theme = themeSettings();
    const std::wstring title = windowText(record.window);
    DialogLook look;
    look.title = title;
    look.themeColour = theme.themeColour;
    look.background = theme.themeBackground.data();
    look.backgroundSize = theme.themeBackground.size();
    look.background2x = theme.themeBackground2x.data();
    look.background2xSize = theme.themeBackground2x.size();
    look.icon = skinEngine().appIcon();
    look.closeHot = record.dialog.closeHot;
    look.dpi = record.frame.dpi;
    HDC dc = record.image.composed.dc();
    GdipGraphics graphics;
    if (!graphics.fromHdc(dc)) return false;
    paintDialog(graphics, dc, RECT{0, 0, size.cx, size.cy}, look);
    return true;
}

void presentDialog(const SkinnedWindowRecord& record, const RECT* area) {
    if (!record.image.composed) return;
    const SIZE size = record.image.composed.size();
    const RECT r = area ? *area : RECT{0, 0, size.cx, size.cy};
    const NonClientDc screen(record.window);
    if (!screen.get()) return;
    excludeChildren(record.window, screen.get());
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, record.image.composed.dc(), r.left, r.top,
             SRCCOPY);
}

void showDialogCloseState(SkinnedWindowRecord& record, bool hot) {
    record.dialog.closeHot = hot;
    // Back to normal needs the picture under the highlight again, so the
    // whole (small) picture is painted; only the button's cell goes to screen.
    if (!renderDialog(record)) return;
    const RECT cell = layoutDialogCloseButton(windowSize(record.window).cx, record.frame.dpi).cell;
    presentDialog(record, &cell);
}

}  // namespace pelmora
