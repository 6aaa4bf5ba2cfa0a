// The image encoders GDI+ offers, looked up by the text of their format id.
#pragma once

#include <string_view>

#include "gfx/gdip_types.h"

namespace pelmora {

// Format ids in the braced text form that encoder look-up compares against.
inline constexpr wchar_t kBmpFormatId[] = L"{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kJpegFormatId[] = L"{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kGifFormatId[] = L"{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kPngFormatId[] = L"{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

// The CLSID of the first encoder whose format id text equals formatId exactly;
// all zero when none does (GDI+ then refuses to save).
CLSID encoderClsid(std::wstring_view formatId);

}  // namespace pelmora
