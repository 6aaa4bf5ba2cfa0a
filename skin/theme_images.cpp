#include "skin/theme_images.h"

#include <gdiplus.h>
#include <objbase.h>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

using namespace Gdiplus::DllExports;

// Local use of the flat interface until
// the wrapper layer's create calls keep the object they made (today they can hand back an empty wrapper).
class GpBitmapOwner {
public:
    GpBitmapOwner() = default;
    ~GpBitmapOwner() {
        if (bitmap_) GdipDisposeImage(bitmap_);
    }
    GpBitmapOwner(const GpBitmapOwner&) = delete;
    GpBitmapOwner& operator=(const GpBitmapOwner&) = delete;
    Gdiplus::GpBitmap* get() const { return bitmap_; }
    Gdiplus::GpBitmap** out() { return &bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

void streamOver(const ByteBuffer& bytes, ComPtr<IStream>& stream) {
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1));
    if (!memory) return;
    if (void* p = ::GlobalLock(memory.get())) {
        if (!bytes.empty()) memcpy(p, bytes.data(), bytes.size());
        ::GlobalUnlock(memory.get());
    }
    if (SUCCEEDED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.out()))) memory.release();
}

// Decodes the bytes; the stream must outlive the bitmap, so it is kept alongside.
bool loadBitmap(const ByteBuffer& bytes, GpBitmapOwner& bitmap, ComPtr<IStream>& stream) {
    if (bytes.empty()) return false;
    streamOver(bytes, stream);
    return stream && GdipCreateBitmapFromStream(stream.get(), bitmap.out()) == Gdiplus::Ok;
}

bool imageSize(Gdiplus::GpBitmap* bitmap, int& width, int& height) {
    UINT w = 0, h = 0;
    if (GdipGetImageWidth(bitmap, &w) != Gdiplus::Ok || GdipGetImageHeight(bitmap, &h) != Gdiplus::Ok) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return width > 0 && height > 0;
}

bool pngEncoder(CLSID& clsid) {
    // ImageFormatPNG {B96B3CAF-0728-11D3-9D7B-0000F81EF32E}
    static const GUID kPngFormat = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<std::uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (IsEqualGUID(codecs[i].FormatID, kPngFormat)) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

ByteBuffer savePng(Gdiplus::GpImage* image) {
    CLSID clsid{};
    ComPtr<IStream> stream;
    if (!pngEncoder(clsid) || FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.out()))) return {};
    if (GdipSaveImageToStream(image, stream.get(), &clsid, nullptr) != Gdiplus::Ok) return {};
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
    ByteBuffer bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty() && FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read))) return {};
    bytes.resize(read);
    return bytes;
}

void fillGradient(Gdiplus::GpGraphics* graphics, int x, int y, int width, int height, Gdiplus::GpPointF from,
                  Gdiplus::GpPointF to, std::uint32_t fromColour, std::uint32_t toColour) {
    Gdiplus::GpLineGradient* brush = nullptr;
    if (GdipCreateLineBrush(&from, &to, fromColour, toColour, Gdiplus::WrapModeTile, &brush) != Gdiplus::Ok) return;
    GdipFillRectangleI(graphics, brush, x, y, width, height);
    GdipDeleteBrush(brush);
}

// Days from 1 January 1970 to the civil date (proleptic Gregorian).
long long daysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

}  // namespace

double dayCountOf(const SYSTEMTIME& t) {
    constexpr long long kEpochOffset = 25569;  // 1899-12-30 to 1970-01-01
    const long long days = daysFromCivil(t.wYear, t.wMonth, t.wDay) + kEpochOffset;
    const double seconds = t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
    return static_cast<double>(days) + seconds / 86400.0;
}

double currentDayCount() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return dayCountOf(now);
}

std::vector<POINT> averageSamplePositions(double dayCount, int width, int height) {
    std::vector<POINT> positions;
    positions.reserve(kAverageSamples);
    const auto day = static_cast<std::uint32_t>(static_cast<long long>(dayCount));
    for (std::uint32_t i = 1; i <= kAverageSamples; ++i) {
        POINT p{};
        p.x = CrtRandom(day + 3 * i).nextInRange(0, width - 1);
        p.y = CrtRandom(day + i).nextInRange(0, height - 1);
        positions.push_back(p);
    }
    return positions;
}

std::uint32_t averageImageColour(const ByteBuffer& image, double dayCount) {
    GpBitmapOwner bitmap;
    ComPtr<IStream> stream;
    int width = 0, height = 0;
    if (!loadBitmap(image, bitmap, stream) || !imageSize(bitmap.get(), width, height)) return 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    for (const POINT& p : averageSamplePositions(dayCount, width, height)) {
        Gdiplus::ARGB pixel = 0;
        GdipBitmapGetPixel(bitmap.get(), p.x, p.y, &pixel);
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    return 0xFF000000u | static_cast<std::uint32_t>(red / kAverageSamples) << 16 |
           static_cast<std::uint32_t>(green / kAverageSamples) << 8 |
           static_cast<std::uint32_t>(blue / kAverageSamples);
}

ByteBuffer fadeBackgroundEdge(const ByteBuffer& image, std::uint32_t colour, FadeSide side) {
    GpBitmapOwner source, faded;
    ComPtr<IStream> stream;
    int width = 0, height = 0;
    if (!loadBitmap(image, source, stream) || !imageSize(source.get(), width, height)) return {};
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, faded.out()) != Gdiplus::Ok)
        return {};
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(faded.get(), &graphics) != Gdiplus::Ok) return {};
    // Drawn to its pixel size: a picture that records another resolution must not be scaled.
    GdipDrawImageRectI(graphics, source.get(), 0, 0, width, height);
    const int band = static_cast<int>(width * 0.3);
    const std::uint32_t opaque = colour | 0xFF000000u, clear = colour & 0x00FFFFFFu;
    const float w = static_cast<float>(width), h = static_cast<float>(height), b = static_cast<float>(band);
    if (side == FadeSide::Left)
        fillGradient(graphics, 0, 0, band, height, {0, 0}, {b, 0}, opaque, 0x00FFFFFF);
    else
        fillGradient(graphics, width - band, 0, band, height, {w - b, 0}, {w, 0}, 0x00FFFFFF, opaque);
    fillGradient(graphics, 0, height - band, width, band, {0, h - b}, {0, h}, clear, opaque);
    GdipDeleteGraphics(graphics);
    return savePng(faded.get());
}

ByteBuffer reencodeAsPng(const ByteBuffer& image) {
    GpBitmapOwner bitmap;
    ComPtr<IStream> stream;
    if (!loadBitmap(image, bitmap, stream)) return {};
    return savePng(bitmap.get());
}

ByteBuffer readWholeFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return {};
    ByteBuffer bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

}  // namespace pelmora
