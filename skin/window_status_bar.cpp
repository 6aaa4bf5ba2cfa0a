// The skin object's status-bar operations: the bar's items and style live in
// the window record; the items are drawn into the composed image over the
// snapshot of the bar's background and copied to the screen from there.
#include <windows.h>

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/control_settings.h"
#include "skin/controls/window_records.h"
#include "skin/skin_engine.h"
#include "skin/status_bar.h"
#include "skin/window_geometry.h"

namespace pelmora {
namespace {

HDC composedDcOf(const SkinnedWindowRecord& record) {
    return record.composedDC;
}

bool isItemOf(const SkinnedWindowRecord& record, int itemIndex) {
    return itemIndex >= 1 && itemIndex <= static_cast<int>(record.statusItems.size());
}

void copyToScreen(const SkinnedWindowRecord& record, const RECT& r) {
    HDC composed = composedDcOf(record);
    if (!composed || !::IsWindowVisible(record.window)) return;
    WindowDc screen(record.window);
    ::BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, composed, r.left, r.top, SRCCOPY);
}

}  // namespace

void SkinEngine::setStatusBar(int recordIndex, int height, const std::vector<StatusItem>& items) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record) return;
    record->statusBarHeight = height;
    record->statusItems = items;
    for (StatusItem& item : record->statusItems) item.meterValue = statusMeterValue(item.meterValue);
    record->statusStyle = StatusBarStyle{};
}

void SkinEngine::layoutStatusBar(int recordIndex) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || record->statusBarHeight <= 0) return;
    RECT client{};
    ::GetClientRect(record->window, &client);
    record->statusBarRect = statusBarRect(client.right, client.bottom, borderWidth, record->statusBarHeight);
    std::vector<int> widths;
    for (const StatusItem& item : record->statusItems) widths.push_back(item.width);
    record->statusItemRects = statusItemRects(record->statusBarRect, widths);
}

void SkinEngine::paintStatusItem(int recordIndex, int itemIndex) {
    SkinnedWindowRecord* record = windowRecord(recordIndex);
    if (!record || !composedDcOf(*record) || !isItemOf(*record, itemIndex) ||
        itemIndex > static_cast<int>(record->statusItemRects.size()))
        return;
    const size_t at = static_cast<size_t>(itemIndex - 1);
    const RECT r = record->statusItemRects[at];
    restoreStatusBarRect(recordIndex, r);
    GdipGraphics graphics;
    if (!graphics.fromHdc(composedDcOf(*record))) return;
    graphics.setClipRectI(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const bool last = itemIndex == static_cast<int>(record->statusItems.size());
    pelmora::paintStatusItem(graphics, r, record->statusItems[at], record->statusStyle, controlSettings().accentColour,
                             !last);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

bool SkinEngine::updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text,
                                  std::optional<ByteBuffer> image, std::optional<int> meterValue) {
    const int index = findWindowRecord(window);
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record || record->statusBarHeight <= 0 || !isItemOf(*record, itemIndex)) return false;
    StatusItem& item = record->statusItems[static_cast<size_t>(itemIndex - 1)];
    if (text) item.text = std::move(*text);
    if (image) item.image = std::move(*image);
    if (meterValue) item.meterValue = statusMeterValue(*meterValue);
    paintStatusItem(index, itemIndex);
    if (itemIndex <= static_cast<int>(record->statusItemRects.size()))
        copyToScreen(*record, record->statusItemRects[static_cast<size_t>(itemIndex - 1)]);
    return true;
}

bool SkinEngine::setStatusBarStyle(HWND window, const StatusBarStyleChange& change) {
    const int index = findWindowRecord(window);
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record || record->statusBarHeight <= 0) return false;
    record->statusStyle = changedStatusBarStyle(record->statusStyle, change);
    for (int i = 1; i <= static_cast<int>(record->statusItems.size()); ++i) paintStatusItem(index, i);
    copyToScreen(*record, record->statusBarRect);
    return true;
}

}  // namespace pelmora
