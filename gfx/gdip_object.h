// Base of the GDI+ wrapper family, the process-wide last status, and the
// start-up and shutdown of GDI+ itself.
//
// A wrapper owns at most one native GDI+ object, from the create call that
// filled its handle until destroy() (or its destructor). Wrappers are not
// copyable; moving transfers the native object. Methods that take another
// wrapper pass its handle and leave its ownership alone.
//
// Results: create/set/draw/fill methods return true exactly when GDI+ said Ok;
// getters return the value GDI+ wrote (0 or empty on failure). Either way the
// Status lands in gdipLastStatus().
#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "gfx/gdip_types.h"

namespace pelmora {

// Status of the most recent flat call made by any wrapper on this thread's
// behalf. Only meaningful right after the call (one unsynchronised variable;
// everything runs on the user-interface thread).
Gdiplus::Status gdipLastStatus();

// Native objects currently owned by wrappers: incremented by every successful
// create or load, decremented by every destroy. GDI+ keeps no public count of
// its objects, so this is how leak tests see what a paint left behind.
long gdipLiveObjects();

// Starts GDI+ (version 1 unless given) and keeps the token. While a kept token
// exists further calls return it without starting GDI+ again. 0 on failure.
ULONG_PTR gdipStartup(std::optional<UINT32> version = std::nullopt);
// Shuts GDI+ down with the given token, or the kept one when none is given,
// and forgets the kept token, so that a second call does nothing.
void gdipShutdown(std::optional<ULONG_PTR> token = std::nullopt);

class GdipObject {
public:
    virtual ~GdipObject() = default;
    GdipObject(const GdipObject&) = delete;
    GdipObject& operator=(const GdipObject&) = delete;

    void* handle() const noexcept { return handle_; }
    // Releases the native object; false (and no GDI+ call) when there is none.
    // Safe to call any number of times.
    virtual bool destroy() = 0;

protected:
    GdipObject() = default;
    GdipObject(GdipObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    // Destroys what this wrapper holds, then takes over the other's object.
    void moveFrom(GdipObject& other) noexcept;

    // Records a create call's status and takes ownership of what it made.
    // Whatever this wrapper held before is destroyed first, so a create on a
    // full wrapper never strands the old object.
    // made is taken by reference so that it is read after the create call in
    // the same expression has written it: adopt(GdipCreateX(&made), made).
    template <typename T>
    bool adopt(GpStatus status, T* const& made) {
        return adoptNative(status, made);
    }
    // The same for another wrapper (clones and objects handed out by GDI+).
    template <typename T>
    static bool adoptInto(GdipObject& target, GpStatus status, T* const& made) {
        return target.adoptNative(status, made);
    }
    // Records the status of a delete call and empties the wrapper.
    bool released(GpStatus status);

private:
    bool adoptNative(GpStatus status, void* made);
    void* handle_ = nullptr;
};

namespace gdip_detail {
// Stores the status as the last one; true when it is Ok.
bool record(GpStatus status);
}  // namespace gdip_detail

}  // namespace pelmora
