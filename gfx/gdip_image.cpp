#include "gfx/gdip_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

// ---- GdipImage

GdipImage::~GdipImage() {
    destroy();
    stream_.release();
}

GdipImage::GdipImage(GdipImage&& other) noexcept : GdipObject(std::move(other)), stream_(std::move(other.stream_)) {}

GdipImage& GdipImage::operator=(GdipImage&& other) noexcept {
    if (this != &other) {
        moveFrom(other);
        stream_ = std::move(other.stream_);
    }
    return *this;
}

bool GdipImage::destroy() {
    if (!native()) return false;
    // The image first: GDI+ may still read from the stream until it is gone.
    bool ok = released(gp::GdipDisposeImage(native()));
    stream_.release();
    return ok;
}

GpStatus GdipImage::loadFileNative(const wchar_t* fileName, bool useIcm, GpImage** made) {
    return useIcm ? gp::GdipLoadImageFromFileICM(fileName, made) : gp::GdipLoadImageFromFile(fileName, made);
}
GpStatus GdipImage::loadStreamNative(IStream* stream, bool useIcm, GpImage** made) {
    return useIcm ? gp::GdipLoadImageFromStreamICM(stream, made) : gp::GdipLoadImageFromStream(stream, made);
}

bool GdipImage::loadFromFile(std::wstring_view fileName, bool useIcm) {
    destroy();
    gdip_detail::WideText name(fileName);
    GpImage* made = nullptr;
    return adopt(loadFileNative(name.c_str(), useIcm, &made), made);
}
bool GdipImage::loadFromFile(std::string_view gbkFileName, bool useIcm) {
    return loadFromFile(gdip_detail::fromGbk(gbkFileName).text, useIcm);
}

bool GdipImage::loadFromMemory(const void* bytes, std::size_t size, bool useIcm) {
    destroy();
    IStream* stream = stream_.fill(bytes, size);
    if (!stream) return record(Gdiplus::OutOfMemory);
    GpImage* made = nullptr;
    // The stream stays with the wrapper even when decoding fails; the next
    // load or the destructor releases it.
    return adopt(loadStreamNative(stream, useIcm, &made), made);
}

bool GdipImage::clone(GdipImage& out) const {
    GpImage* made = nullptr;
    GpStatus s = gp::GdipCloneImage(native(), &made);
    return adoptInto(out, s, made);
}

bool GdipImage::saveToFile(std::wstring_view fileName, std::wstring_view formatId,
                           const std::vector<EncoderParameterValue>* parameters) {
    gdip_detail::WideText name(fileName);
    CLSID encoder = encoderClsid(formatId);
    PackedEncoderParameters packed(parameters);
    const bool existed = ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (record(gp::GdipSaveImageToFile(native(), name.c_str(), &encoder, packed.get()))) return true;
    // Some GDI+ builds create the file before they look at the encoder; a
    // failed save must not leave an empty or partial file behind.
    if (!existed) ::DeleteFileW(name.c_str());
    return false;
}
bool GdipImage::saveToFile(std::string_view gbkFileName, std::wstring_view formatId,
                           const std::vector<EncoderParameterValue>* parameters) {
    return saveToFile(gdip_detail::fromGbk(gbkFileName).text, formatId, parameters);
}

Bytes GdipImage::saveToMemory(std::optional<std::wstring_view> formatId,
                              const std::vector<EncoderParameterValue>* parameters) {
    std::wstring format = formatId ? std::wstring(*formatId) : rawFormat();
    CLSID encoder = encoderClsid(format);
    PackedEncoderParameters packed(parameters);
    GdipMemoryStream target;
    IStream* stream = target.fill(nullptr, 0);
    if (!stream) return {};
    record(gp::GdipSaveImageToStream(native(), stream, &encoder, packed.get()));
    // Whatever was written; nothing when the save was refused.
    return target.bytes();
}

Gdiplus::ImageType GdipImage::type() {
    Gdiplus::ImageType value{};
    return record(gp::GdipGetImageType(native(), &value)) ? value : Gdiplus::ImageType{};
}
unsigned GdipImage::width() {
    UINT value = 0;
    return record(gp::GdipGetImageWidth(native(), &value)) ? value : 0;
}
unsigned GdipImage::height() {
    UINT value = 0;
    return record(gp::GdipGetImageHeight(native(), &value)) ? value : 0;
}
float GdipImage::horizontalResolution() {
    REAL value = 0;
    return record(gp::GdipGetImageHorizontalResolution(native(), &value)) ? value : 0;
}
float GdipImage::verticalResolution() {
    REAL value = 0;
    return record(gp::GdipGetImageVerticalResolution(native(), &value)) ? value : 0;
}
unsigned GdipImage::flags() {
    UINT value = 0;
    return record(gp::GdipGetImageFlags(native(), &value)) ? value : 0;
}
std::wstring GdipImage::rawFormat() {
    GUID format{};
    if (!record(gp::GdipGetImageRawFormat(native(), &format))) return {};
    return gdip_detail::guidText(format);
}
Gdiplus::PixelFormat GdipImage::pixelFormat() {
    Gdiplus::PixelFormat value = 0;
    return record(gp::GdipGetImagePixelFormat(native(), &value)) ? value : 0;
}
unsigned GdipImage::frameCount() {
    // Frames are counted along the first dimension the image lists (time for
    // animations, pages for multi-page images).
    UINT dimensions = 0;
    if (!record(gp::GdipImageGetFrameDimensionsCount(native(), &dimensions)) || dimensions == 0) return 0;
    std::vector<GUID> ids(dimensions);
    if (!record(gp::GdipImageGetFrameDimensionsList(native(), ids.data(), dimensions))) return 0;
    UINT count = 0;
    return record(gp::GdipImageGetFrameCount(native(), &ids[0], &count)) ? count : 0;
}
bool GdipImage::selectActiveFrame(unsigned index) {
    UINT dimensions = 0;
    if (!record(gp::GdipImageGetFrameDimensionsCount(native(), &dimensions)) || dimensions == 0) return false;
    std::vector<GUID> ids(dimensions);
    if (!record(gp::GdipImageGetFrameDimensionsList(native(), ids.data(), dimensions))) return false;
    return record(gp::GdipImageSelectActiveFrame(native(), &ids[0], index));
}
bool GdipImage::rotateFlip(Gdiplus::RotateFlipType how) {
    return record(gp::GdipImageRotateFlip(native(), how));
}

bool GdipImage::propertyItem(PROPID id, Bytes& value, WORD* type) {
    UINT size = 0;
    value.clear();
    if (!record(gp::GdipGetPropertyItemSize(native(), id, &size)) || size < sizeof(Gdiplus::PropertyItem)) return false;
    std::vector<unsigned char> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (!record(gp::GdipGetPropertyItem(native(), id, size, item))) return false;
    auto* data = static_cast<const unsigned char*>(item->value);
    if (data && item->length) value.assign(data, data + item->length);
    if (type) *type = item->type;
    return true;
}

bool GdipImage::frameDelays(std::vector<std::int32_t>& delays) {
    constexpr PROPID kFrameDelayTag = 0x5100;
    Bytes value;
    delays.clear();
    if (!propertyItem(kFrameDelayTag, value)) return false;
    delays.resize(value.size() / 4);
    if (!delays.empty()) std::memcpy(delays.data(), value.data(), delays.size() * 4);
    return true;
}

// ---- GdipBitmap

GpStatus GdipBitmap::loadFileNative(const wchar_t* fileName, bool useIcm, GpImage** made) {
    GpBitmap* bitmap = nullptr;
    GpStatus s =
        useIcm ? gp::GdipCreateBitmapFromFileICM(fileName, &bitmap) : gp::GdipCreateBitmapFromFile(fileName, &bitmap);
    *made = bitmap;
    return s;
}
GpStatus GdipBitmap::loadStreamNative(IStream* stream, bool useIcm, GpImage** made) {
    GpBitmap* bitmap = nullptr;
    GpStatus s =
        useIcm ? gp::GdipCreateBitmapFromStreamICM(stream, &bitmap) : gp::GdipCreateBitmapFromStream(stream, &bitmap);
    *made = bitmap;
    return s;
}

bool GdipBitmap::createFromScan0(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* scan0) {
    destroy();
    GpBitmap* made = nullptr;
    return adopt(gp::GdipCreateBitmapFromScan0(width, height, stride, format, scan0, &made), made);
}
bool GdipBitmap::create(int width, int height, Gdiplus::PixelFormat format) {
    return createFromScan0(width, height, 0, format, nullptr);
}
bool GdipBitmap::createFromGraphics(int width, int height, const GdipGraphics& graphics) {
    destroy();
    GpBitmap* made = nullptr;
    return adopt(gp::GdipCreateBitmapFromGraphics(width, height, graphics.native(), &made), made);
}
bool GdipBitmap::fromHbitmap(HBITMAP bitmap, HPALETTE palette) {
    destroy();
    GpBitmap* made = nullptr;
    return adopt(gp::GdipCreateBitmapFromHBITMAP(bitmap, palette, &made), made);
}
bool GdipBitmap::fromHicon(HICON icon) {
    destroy();
    GpBitmap* made = nullptr;
    return adopt(gp::GdipCreateBitmapFromHICON(icon, &made), made);
}
GdiBitmap GdipBitmap::toHbitmap(Argb background) {
    HBITMAP out = nullptr;
    return GdiBitmap(record(gp::GdipCreateHBITMAPFromBitmap(nativeBitmap(), &out, background)) ? out : nullptr);
}
bool GdipBitmap::cloneArea(const RectF& area, Gdiplus::PixelFormat format, GdipBitmap& out) const {
    GpBitmap* made = nullptr;
    GpStatus s = gp::GdipCloneBitmapArea(area.x, area.y, area.width, area.height, format, nativeBitmap(), &made);
    out.destroy();
    return adoptInto(out, s, made);
}
Argb GdipBitmap::pixel(int x, int y) {
    Gdiplus::ARGB value = 0;
    return record(gp::GdipBitmapGetPixel(nativeBitmap(), x, y, &value)) ? value : 0;
}
bool GdipBitmap::setPixel(int x, int y, Argb colour) {
    return record(gp::GdipBitmapSetPixel(nativeBitmap(), x, y, colour));
}
bool GdipBitmap::setResolution(float dpiX, float dpiY) {
    return record(gp::GdipBitmapSetResolution(nativeBitmap(), dpiX, dpiY));
}
bool GdipBitmap::writePixels(Gdiplus::PixelFormat format, const std::function<bool(BYTE* scan0, int stride)>& fill) {
    const Gdiplus::Rect all(0, 0, static_cast<INT>(width()), static_cast<INT>(height()));
    Gdiplus::BitmapData data{};
    if (!record(gp::GdipBitmapLockBits(nativeBitmap(), &all, Gdiplus::ImageLockModeWrite, format, &data))) return false;
    const bool filled = fill(static_cast<BYTE*>(data.Scan0), data.Stride);
    return record(gp::GdipBitmapUnlockBits(nativeBitmap(), &data)) && filled;
}

SizeI rotatedBoxSize(int width, int height, float degrees) {
    const double radians = degrees * 3.1415926535 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    // Corners of a (width - 1) x (height - 1) rectangle centred on the origin;
    // the box spans the larger extent of the two rotated diagonals.
    const double hw = (width - 1) / 2.0, hh = (height - 1) / 2.0;
    auto rotate = [&](double x, double y) { return std::pair<double, double>{x * c - y * s, x * s + y * c}; };
    auto [ax, ay] = rotate(-hw, -hh);
    auto [bx, by] = rotate(hw, hh);
    auto [cx, cy] = rotate(hw, -hh);
    auto [dx, dy] = rotate(-hw, hh);
    double w = std::max(std::fabs(bx - ax), std::fabs(dx - cx));
    double h = std::max(std::fabs(by - ay), std::fabs(dy - cy));
    // Back to pixel counts: the spans are between pixel centres.
    return {static_cast<int>(std::lround(w)) + 1, static_cast<int>(std::lround(h)) + 1};
}

SizeI GdipBitmap::rotatedSize(float degrees) {
    return rotatedBoxSize(static_cast<int>(width()), static_cast<int>(height()), degrees);
}

bool GdipBitmap::rotate(GdipBitmap& out, float degrees, std::optional<SizeI> size, std::optional<Argb> background,
                        std::optional<Gdiplus::InterpolationMode> interpolation) {
    const int w = static_cast<int>(width()), h = static_cast<int>(height());
    if (w <= 0 || h <= 0) return false;
    SizeI box = size.value_or(rotatedSize(degrees));
    GdipBitmap rotated;
    if (!rotated.create(box.width, box.height, PixelFormat32bppARGB)) return false;
    if (!rotated.setResolution(horizontalResolution(), verticalResolution())) return false;
    GdipGraphics graphics;
    if (!graphics.fromImage(rotated)) return false;
    if (background && !graphics.clear(*background)) return false;
    if (interpolation && !graphics.setInterpolationMode(*interpolation)) return false;
    // Pixel areas rather than pixel centres: a quarter turn then maps every
    // source pixel onto exactly one target pixel.
    graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Move the source centre to the origin, rotate, then to the box centre.
    graphics.translateTransform(box.width / 2.0f, box.height / 2.0f);
    graphics.rotateTransform(degrees);
    if (!graphics.translateTransform(-w / 2.0f, -h / 2.0f)) return false;
    if (!graphics.drawImage(*this, 0, 0)) return false;
    graphics.resetTransform();
    graphics.destroy();
    out = std::move(rotated);
    return true;
}

}  // namespace pelmora
