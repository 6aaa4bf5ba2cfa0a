#include "gfx/gdip_object.h"

namespace pelmora {

namespace {
Gdiplus::Status lastStatus = Gdiplus::Ok;
long liveObjects = 0;
ULONG_PTR keptToken = 0;
}  // namespace

Gdiplus::Status gdipLastStatus() {
    return lastStatus;
}
long gdipLiveObjects() {
    return liveObjects;
}

bool gdip_detail::record(GpStatus status) {
    lastStatus = status;
    return status == Gdiplus::Ok;
}

ULONG_PTR gdipStartup(std::optional<UINT32> version) {
    if (keptToken) return keptToken;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = version.value_or(1);
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
    keptToken = token;
    return token;
}

void gdipShutdown(std::optional<ULONG_PTR> token) {
    ULONG_PTR t = token.value_or(keptToken);
    if (t == 0) return;
    Gdiplus::GdiplusShutdown(t);
    if (t == keptToken) keptToken = 0;
}

void GdipObject::moveFrom(GdipObject& other) noexcept {
    if (this == &other) return;
    destroy();
    handle_ = std::exchange(other.handle_, nullptr);
}

bool GdipObject::adoptNative(GpStatus status, void* made) {
    if (handle_) destroy();
    bool ok = gdip_detail::record(status);
    if (ok && made) ++liveObjects;
    handle_ = ok ? made : nullptr;
    return ok;
}

bool GdipObject::released(GpStatus status) {
    --liveObjects;
    handle_ = nullptr;
    return gdip_detail::record(status);
}

}  // namespace pelmora
