#include "gfx/gdip_codecs.h"

#include <string>
#include <vector>

#include "gfx/gdip_internal.h"

namespace pelmora {

namespace {

// Braced text form of a GUID, e.g. "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}".
std::wstring guidText(const GUID& guid) {
    wchar_t buffer[39] = {};  // 78 bytes: braces, 32 digits, 4 dashes, NUL
    return ::StringFromGUID2(guid, buffer, 39) ? std::wstring(buffer) : std::wstring();
}

}  // namespace

CLSID encoderClsid(std::wstring_view formatId) {
    UINT count = 0, bytes = 0;
    if (!gdip_detail::record(gp::GdipGetImageEncodersSize(&count, &bytes)) || count == 0) return CLSID{};
    // The codec records are followed, in the same block, by the texts they
    // point at, so the buffer is sized in bytes rather than records.
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (!gdip_detail::record(gp::GdipGetImageEncoders(count, bytes, codecs))) return CLSID{};
    for (UINT i = 0; i < count; ++i)
        if (guidText(codecs[i].FormatID) == formatId) return codecs[i].Clsid;
    return CLSID{};
}

}  // namespace pelmora
