#include "gfx/gdip_codecs.h"

#include <cstring>

#include "gfx/gdip_internal.h"

namespace pelmora {

std::wstring gdip_detail::guidText(const GUID& guid) {
    wchar_t buffer[39] = {};  // 78 bytes: braces, 32 digits, 4 dashes, NUL
    return ::StringFromGUID2(guid, buffer, 39) ? std::wstring(buffer) : std::wstring();
}

GUID gdip_detail::guidFromText(std::wstring_view text) {
    GUID guid{};
    std::wstring copy(text);
    if (FAILED(::CLSIDFromString(copy.c_str(), &guid))) guid = GUID{};
    return guid;
}

namespace {
std::wstring textOf(const WCHAR* s) {
    return s ? std::wstring(s) : std::wstring();
}
}  // namespace

std::vector<ImageCodec> imageEncoders() {
    UINT count = 0, bytes = 0;
    if (!gdip_detail::record(gp::GdipGetImageEncodersSize(&count, &bytes)) || count == 0) return {};
    // The codec records are followed, in the same block, by the texts they
    // point at, so the buffer is sized in bytes rather than records.
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (!gdip_detail::record(gp::GdipGetImageEncoders(count, bytes, codecs))) return {};
    std::vector<ImageCodec> out;
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ImageCodecInfo& c = codecs[i];
        out.push_back({gdip_detail::guidText(c.Clsid), gdip_detail::guidText(c.FormatID), textOf(c.CodecName),
                       textOf(c.DllName), textOf(c.FormatDescription), textOf(c.FilenameExtension), textOf(c.MimeType),
                       c.Flags, c.Version});
    }
    return out;
}

CLSID encoderClsid(std::wstring_view formatId) {
    for (const ImageCodec& codec : imageEncoders())
        if (codec.formatId == formatId) return gdip_detail::guidFromText(codec.clsid);
    return CLSID{};
}

PackedEncoderParameters::PackedEncoderParameters(const std::vector<EncoderParameterValue>* parameters) {
    if (!parameters || parameters->empty()) return;
    const std::size_t n = parameters->size();
    block_.assign(offsetof(Gdiplus::EncoderParameters, Parameter) + n * sizeof(Gdiplus::EncoderParameter), 0);
    auto* packed = reinterpret_cast<Gdiplus::EncoderParameters*>(block_.data());
    packed->Count = static_cast<UINT>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const EncoderParameterValue& p = (*parameters)[i];
        Gdiplus::EncoderParameter& e = packed->Parameter[i];
        e.Guid = gdip_detail::guidFromText(p.guid);
        e.NumberOfValues = p.count;
        e.Type = p.type;
        e.Value = const_cast<unsigned char*>(p.values.data());
    }
}

const Gdiplus::EncoderParameters* PackedEncoderParameters::get() const {
    return block_.empty() ? nullptr : reinterpret_cast<const Gdiplus::EncoderParameters*>(block_.data());
}

}  // namespace pelmora
