// The image encoders GDI+ offers, looked up by the text of their format id.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/gdip_types.h"

namespace pelmora {

// Format ids in the braced text form that encoder look-up compares against.
inline constexpr wchar_t kBmpFormatId[] = L"{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kJpegFormatId[] = L"{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kGifFormatId[] = L"{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr wchar_t kPngFormatId[] = L"{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

struct ImageCodec {
    std::wstring clsid;     // braced text
    std::wstring formatId;  // braced text
    std::wstring codecName;
    std::wstring dllName;
    std::wstring formatDescription;
    std::wstring filenameExtension;
    std::wstring mimeType;
    DWORD flags = 0;
    DWORD version = 0;
};

// One encoder parameter: its GUID as braced text, the number of values, the
// GDI+ value type and the values' bytes.
struct EncoderParameterValue {
    std::wstring guid;
    ULONG count = 0;
    ULONG type = 0;
    Bytes values;
};

std::vector<ImageCodec> imageEncoders();
// The CLSID of the first encoder whose format id text equals formatId exactly;
// all zero when none does (GDI+ then refuses to save).
CLSID encoderClsid(std::wstring_view formatId);

// The parameters as one EncoderParameters block: a count, then one entry per
// parameter pointing into the caller's value bytes (which must outlive it).
class PackedEncoderParameters {
public:
    explicit PackedEncoderParameters(const std::vector<EncoderParameterValue>* parameters);
    // Null when there were no parameters.
    const Gdiplus::EncoderParameters* get() const;

private:
    std::vector<unsigned char> block_;
};

}  // namespace pelmora
