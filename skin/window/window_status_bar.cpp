// The status bar of a skinned window: its items and style live in the
// record's status part; the items are drawn into the composed image over the
// snapshot of the bar's background and copied to the screen from there.
#include <windows.h>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
#include "skin/window/status_bar.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_render.h"
#include "skin/window/window_skin.h"

namespace pelmora {
namespace {

bool isItemOf(const StatusBarPart& status, int itemIndex) {
    return itemIndex >= 1 && itemIndex <= static_cast<int>(status.statusItems.size());
}

void copyToScreen(const SkinnedWindowRecord& record, const RECT& r) {
    if (!record.image.composed || !::IsWindowVisible(record.window)) return;
    const WindowDc screen(record.window);
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, record.image.composed.dc(), r.left, r.top,
             SRCCOPY);
}

// The record of a window that has a status bar; null otherwise.
SkinnedWindowRecord* withStatusBar(HWND window) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    return record && record->status.statusBarHeight > 0 ? record : nullptr;
}

}  // namespace

void setStatusBar(SkinnedWindowRecord& record, int height, const std::vector<StatusItem>& items) {
    StatusBarPart& status = record.status;
    status.statusBarHeight = height;
    status.statusItems = items;
    for (StatusItem& item : status.statusItems) item.meterValue = statusMeterValue(item.meterValue);
    status.statusStyle = StatusBarStyle{};
}

void layoutStatusBar(SkinnedWindowRecord& record) {
    StatusBarPart& status = record.status;
    if (status.statusBarHeight <= 0) return;
    const RECT client = clientRect(record.window);
    const UINT dpi = record.frame.dpi;
    status.statusBarRect =
        statusBarRect(client.right, client.bottom, engineState().borderWidth, status.statusBarHeight, dpi);
    std::vector<int> widths;
    for (const StatusItem& item : status.statusItems) widths.push_back(item.width);
    status.statusItemRects = statusItemRects(status.statusBarRect, widths, dpi);
}

void paintStatusItem(SkinnedWindowRecord& record, int itemIndex) {
    const StatusBarPart& status = record.status;
    if (!record.image.composed || !isItemOf(status, itemIndex) ||
        itemIndex > static_cast<int>(status.statusItemRects.size()))
        return;
    const size_t at = static_cast<size_t>(itemIndex - 1);
    const RECT r = status.statusItemRects[at];
    restoreStatusBarRect(record, r);
    GdipGraphics graphics;
    if (!graphics.fromHdc(record.image.composed.dc())) return;
    graphics.setClipRectI(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const bool last = itemIndex == static_cast<int>(status.statusItems.size());
    paintStatusItem(graphics, r, status.statusItems[at], status.statusStyle, controlSettings().accentColour, !last,
                    record.frame.dpi);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

bool SkinEngine::updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text,
                                  std::optional<ByteBuffer> image, std::optional<int> meterValue) {
    SkinnedWindowRecord* record = withStatusBar(window);
    if (!record || !isItemOf(record->status, itemIndex)) return false;
    StatusBarPart& status = record->status;
    StatusItem& item = status.statusItems[static_cast<size_t>(itemIndex - 1)];
    if (text) item.text = std::move(*text);
    if (image) item.image = std::move(*image);
    if (meterValue) item.meterValue = statusMeterValue(*meterValue);
    paintStatusItem(*record, itemIndex);
    if (itemIndex <= static_cast<int>(status.statusItemRects.size()))
        copyToScreen(*record, status.statusItemRects[static_cast<size_t>(itemIndex - 1)]);
    return true;
}

bool SkinEngine::setStatusBarStyle(HWND window, const StatusBarStyleChange& change) {
    SkinnedWindowRecord* record = withStatusBar(window);
    if (!record) return false;
    StatusBarPart& status = record->status;
    status.statusStyle = changedStatusBarStyle(status.statusStyle, change);
    for (int i = 1; i <= static_cast<int>(status.statusItems.size()); ++i) paintStatusItem(*record, i);
    copyToScreen(*record, status.statusBarRect);
    return true;
}

}  // namespace pelmora
