#include "gfx/gdip_string_format.h"

#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

bool GdipStringFormat::destroy() {
    if (!native()) return false;
    return released(gp::GdipDeleteStringFormat(native()));
}

bool GdipStringFormat::create(int flags, LANGID language) {
    GpStringFormat* made = nullptr;
    return adopt(gp::GdipCreateStringFormat(flags, language, &made), made);
}

namespace {
// The generic formats belong to GDI+; the wrapper takes a clone of one.
GpStatus cloneGeneric(GpStatus(WINGDIPAPI* get)(GpStringFormat**), GpStringFormat** made) {
    GpStringFormat* generic = nullptr;
    GpStatus s = get(&generic);
    if (s != Gdiplus::Ok) return s;
    return gp::GdipCloneStringFormat(generic, made);
}
}  // namespace

bool GdipStringFormat::genericDefault() {
    GpStringFormat* made = nullptr;
    return adopt(cloneGeneric(gp::GdipStringFormatGetGenericDefault, &made), made);
}
bool GdipStringFormat::genericTypographic() {
    GpStringFormat* made = nullptr;
    return adopt(cloneGeneric(gp::GdipStringFormatGetGenericTypographic, &made), made);
}
bool GdipStringFormat::clone(GdipStringFormat& out) const {
    GpStringFormat* made = nullptr;
    GpStatus s = gp::GdipCloneStringFormat(native(), &made);
    return adoptInto(out, s, made);
}

bool GdipStringFormat::setFlags(int flags) {
    return record(gp::GdipSetStringFormatFlags(native(), flags));
}
int GdipStringFormat::flags() {
    INT value = 0;
    return record(gp::GdipGetStringFormatFlags(native(), &value)) ? value : 0;
}
bool GdipStringFormat::setAlign(Gdiplus::StringAlignment align) {
    return record(gp::GdipSetStringFormatAlign(native(), align));
}
Gdiplus::StringAlignment GdipStringFormat::align() {
    Gdiplus::StringAlignment value{};
    return record(gp::GdipGetStringFormatAlign(native(), &value)) ? value : Gdiplus::StringAlignment{};
}
bool GdipStringFormat::setLineAlign(Gdiplus::StringAlignment align) {
    return record(gp::GdipSetStringFormatLineAlign(native(), align));
}
Gdiplus::StringAlignment GdipStringFormat::lineAlign() {
    Gdiplus::StringAlignment value{};
    return record(gp::GdipGetStringFormatLineAlign(native(), &value)) ? value : Gdiplus::StringAlignment{};
}
bool GdipStringFormat::setTrimming(Gdiplus::StringTrimming trimming) {
    return record(gp::GdipSetStringFormatTrimming(native(), trimming));
}
bool GdipStringFormat::setHotkeyPrefix(Gdiplus::HotkeyPrefix prefix) {
    return record(gp::GdipSetStringFormatHotkeyPrefix(native(), prefix));
}
bool GdipStringFormat::setMeasurableCharacterRanges(const std::vector<std::pair<int, int>>& ranges) {
    std::vector<Gdiplus::CharacterRange> packed;
    for (const auto& [first, length] : ranges) packed.emplace_back(first, length);
    return record(gp::GdipSetStringFormatMeasurableCharacterRanges(native(), static_cast<INT>(packed.size()),
                                                                   packed.empty() ? nullptr : packed.data()));
}
int GdipStringFormat::measurableCharacterRangeCount() {
    INT value = 0;
    return record(gp::GdipGetStringFormatMeasurableCharacterRangeCount(native(), &value)) ? value : 0;
}

}  // namespace pelmora
