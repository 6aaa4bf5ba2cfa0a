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
bool GdipStringFormat::setLineAlign(Gdiplus::StringAlignment align) {
    return record(gp::GdipSetStringFormatLineAlign(native(), align));
}
bool GdipStringFormat::setTrimming(Gdiplus::StringTrimming trimming) {
    return record(gp::GdipSetStringFormatTrimming(native(), trimming));
}
bool GdipStringFormat::setHotkeyPrefix(Gdiplus::HotkeyPrefix prefix) {
    return record(gp::GdipSetStringFormatHotkeyPrefix(native(), prefix));
}

}  // namespace pelmora
