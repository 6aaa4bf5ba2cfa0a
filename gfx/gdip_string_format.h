// GdipStringFormat: alignment, trimming and flags for text layout.
#pragma once

#include <vector>

#include "gfx/gdip_object.h"

namespace pelmora {

class GdipStringFormat : public GdipObject {
public:
    GdipStringFormat() = default;
    ~GdipStringFormat() override { destroy(); }
    GdipStringFormat(GdipStringFormat&& other) noexcept = default;
    GdipStringFormat& operator=(GdipStringFormat&& other) noexcept {
        moveFrom(other);
        return *this;
    }
    GpStringFormat* native() const noexcept { return static_cast<GpStringFormat*>(handle()); }

    bool destroy() override;
    bool create(int flags = 0, LANGID language = LANG_NEUTRAL);
    // Copies of the generic formats, so every wrapper owns what it deletes.
    bool genericDefault();
    bool setFlags(int flags);
    int flags();
    bool setAlign(Gdiplus::StringAlignment align);
    bool setLineAlign(Gdiplus::StringAlignment align);
    bool setTrimming(Gdiplus::StringTrimming trimming);
    bool setHotkeyPrefix(Gdiplus::HotkeyPrefix prefix);
};

}  // namespace pelmora
