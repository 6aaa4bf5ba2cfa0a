#include "skin/controls/core/cached_face.h"

#include <algorithm>
#include <cstring>

#include "base/unique_resource.h"
#include "skin/controls/core/control_background.h"

namespace pelmora {

// A 32-bit bottom-up DIB section in a memory DC: the same kind of surface a
// back buffer is (GDI+ hands those out bottom-up), so a kept face holds the
// very pixels a fresh paint would.
struct CachedFace::Surface {
    MemoryDc dc;
    GdiBitmap bitmap;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
    size_t bytes = 0;

    Surface(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        dc.reset(::CreateCompatibleDC(nullptr));
        if (!bitmap || !dc) return;
        previous = ::SelectObject(dc.get(), bitmap.get());
        bits = static_cast<std::uint32_t*>(pixels);
        bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    }
    ~Surface() {
        if (dc && previous) ::SelectObject(dc.get(), previous);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool valid() const { return bits != nullptr; }
    // GDI may still hold drawing for the bitmap; the bits are read only after it landed.
    const std::uint32_t* settledBits() const {
        ::GdiFlush();
        return bits;
    }
    void clear() { std::memset(bits, 0, bytes); }
    void copyFrom(const Surface& other) { std::memcpy(bits, other.settledBits(), bytes); }
    bool samePixels(const Surface& other) const { return std::memcmp(settledBits(), other.settledBits(), bytes) == 0; }
};

FaceKey& FaceKey::add(std::wstring_view text) {
    parts_.push_back(text.size());
    for (wchar_t c : text) parts_.push_back(static_cast<std::uint64_t>(c));
    return *this;
}

FaceKey& FaceKey::addBytes(const ByteBuffer& bytes) {
    // FNV-1a over the content, with the length beside it.
    std::uint64_t hash = 14695981039346656037ull;
    for (auto b : bytes) hash = (hash ^ static_cast<std::uint8_t>(b)) * 1099511628211ull;
    parts_.push_back(bytes.size());
    parts_.push_back(hash);
    return *this;
}

CachedFace::CachedFace() = default;
CachedFace::~CachedFace() = default;
CachedFace::CachedFace(CachedFace&&) noexcept = default;
CachedFace& CachedFace::operator=(CachedFace&&) noexcept = default;

void CachedFace::clear() {
    faces_.clear();
    picture_.reset();
    taken_.reset();
    strip_.reset();
    stripSlots_ = 0;
    size_ = {};
}

bool CachedFace::faceHolds(COLORREF colour) const {
    if (!taken_ || !taken_->valid()) return false;
    // A DIB pixel is 0xAARRGGBB; a COLORREF is 0x00BBGGRR.
    const std::uint32_t wanted = static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
                                 static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
    const std::uint32_t* bits = taken_->settledBits();
    const size_t count = taken_->bytes / 4;
    return std::any_of(bits, bits + count, [wanted](std::uint32_t p) { return (p & 0x00FFFFFFu) == wanted; });
}

int CachedFace::keptFaces() const {
    return static_cast<int>(faces_.size());
}

// Copies the face in taken_ into the strip's slot, growing the strip by one
// slot when the slot is past its end.
bool CachedFace::keepInStrip(int slot) {
    const int w = size_.width, h = size_.height;
    if (slot >= stripSlots_) {
        auto grown = std::make_unique<Surface>(w, h * (slot + 1));
        if (!grown->valid()) return false;
        if (strip_) ::BitBlt(grown->dc.get(), 0, 0, w, h * stripSlots_, strip_->dc.get(), 0, 0, SRCCOPY);
        strip_ = std::move(grown);
        stripSlots_ = slot + 1;
    }
    return ::BitBlt(strip_->dc.get(), 0, h * slot, w, h, taken_->dc.get(), 0, 0, SRCCOPY) != 0;
}

HDC CachedFace::face(HWND control, const RECT& r, const FaceKey& key, const FaceDrawing& draw) {
    reused_ = false;
    const SizeI size{r.right - r.left, r.bottom - r.top};
    if (size.width <= 0 || size.height <= 0) return nullptr;
    if (size.width != size_.width || size.height != size_.height || !picture_ || !taken_) {
        clear();
        picture_ = std::make_unique<Surface>(size.width, size.height);
        taken_ = std::make_unique<Surface>(size.width, size.height);
        if (!picture_->valid() || !taken_->valid()) {
            clear();
            return nullptr;
        }
        size_ = size;
    }
    taken_->clear();
    if (!fillControlBackground(taken_->dc.get(), control, r)) return nullptr;
    if (!taken_->samePixels(*picture_)) {
        // A new picture under the control: every kept face shows the old one.
        faces_.clear();
        std::swap(picture_, taken_);
    }
    auto found = std::find_if(faces_.begin(), faces_.end(), [&](const Face& f) { return f.key == key; });
    if (found != faces_.end()) {
        std::rotate(faces_.begin(), found, found + 1);
        reused_ = true;
        ::BitBlt(taken_->dc.get(), 0, 0, size.width, size.height, strip_->dc.get(), 0,
                 size.height * faces_.front().slot, SRCCOPY);
        return taken_->dc.get();
    }
    taken_->copyFrom(*picture_);
    draw(taken_->dc.get());
    ::GdiFlush();
    int slot = static_cast<int>(faces_.size());
    if (slot >= kMaxFaces) {
        // The least recently used face gives up its slot.
        slot = faces_.back().slot;
        faces_.pop_back();
    }
    if (keepInStrip(slot)) faces_.insert(faces_.begin(), Face{key, slot});
    return taken_->dc.get();
}

}  // namespace pelmora
