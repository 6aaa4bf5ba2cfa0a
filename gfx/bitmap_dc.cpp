#include "gfx/bitmap_dc.h"

#include <utility>

namespace pelmora {

BitmapDc::BitmapDc(BitmapDc&& other) noexcept
    : dc_(std::move(other.dc_)), bitmap_(std::move(other.bitmap_)), first_(std::exchange(other.first_, nullptr)) {}

BitmapDc& BitmapDc::operator=(BitmapDc&& other) noexcept {
    if (this != &other) {
        reset();
        dc_ = std::move(other.dc_);
        bitmap_ = std::move(other.bitmap_);
        first_ = std::exchange(other.first_, nullptr);
    }
    return *this;
}

bool BitmapDc::select(GdiBitmap bitmap, HDC like) {
    if (!bitmap) return false;
    if (!dc_) dc_.reset(::CreateCompatibleDC(like));
    if (!dc_) return false;
    HGDIOBJ previous = ::SelectObject(dc_.get(), bitmap.get());
    if (!previous || previous == HGDI_ERROR) return false;
    // The DC's own first bitmap is a stock object and must stay; any later one
    // was ours and is deleted when the new bitmap takes its place.
    if (!bitmap_) first_ = previous;
    bitmap_ = std::move(bitmap);
    return true;
}

bool BitmapDc::ensureSize(HDC like, int width, int height) {
    const SIZE current = size();
    if (bitmap_ && current.cx >= width && current.cy >= height) return true;
    return select(GdiBitmap(::CreateCompatibleBitmap(like, width, height)), like);
}

SIZE BitmapDc::size() const {
    BITMAP info{};
    if (!bitmap_ || !::GetObjectW(bitmap_.get(), sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void BitmapDc::reset() noexcept {
    // A bitmap cannot be deleted while a DC holds it: the first one goes back first.
    if (dc_ && first_) ::SelectObject(dc_.get(), first_);
    first_ = nullptr;
    bitmap_.reset();
    dc_.reset();
}

}  // namespace pelmora
