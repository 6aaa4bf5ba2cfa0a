#include "gfx/png_decoder.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace pelmora {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger pictures are left to GDI+; the engine's are a few hundred pixels.
constexpr std::uint32_t kMaxSide = 16384;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

struct Chunk {
    const std::uint8_t* type = nullptr;
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// Walks the chunks after the signature, checking each one's bounds and CRC.
class ChunkReader {
public:
    ChunkReader(const std::uint8_t* bytes, std::size_t size) : at_(bytes + 8), end_(bytes + size) {}

    // False at the end of the bytes; `bad` tells a damaged chunk from the end.
    bool next(Chunk& chunk, bool& bad) {
        bad = false;
        if (at_ == end_) return false;
        if (end_ - at_ < 12) return bad = true, false;
        const std::uint32_t length = bigEndian32(at_);
        if (length > static_cast<std::size_t>(end_ - at_) - 12) return bad = true, false;
        chunk = {at_ + 4, at_ + 8, length};
        const uLong crc = ::crc32(0, at_ + 4, length + 4);
        if (crc != bigEndian32(at_ + 8 + length)) return bad = true, false;
        at_ += 12 + length;
        return true;
    }

private:
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

// What the chunks say: the header, and the image data spread over the IDAT chunks.
struct Parsed {
    PngHeader header;
    std::vector<Chunk> data;
};

PngStatus readHeaderChunk(const Chunk& chunk, PngHeader& header) {
    if (!chunk.is("IHDR") || chunk.length != 13) return PngStatus::BadChunk;
    const std::uint8_t* d = chunk.data;
    const std::uint32_t width = bigEndian32(d), height = bigEndian32(d + 4);
    const int depth = d[8], colourType = d[9], compression = d[10], filter = d[11], interlace = d[12];
    if (width == 0 || height == 0 || compression != 0 || filter != 0 || interlace > 1) return PngStatus::BadChunk;
    if (width > kMaxSide || height > kMaxSide || depth != 8 || interlace != 0) return PngStatus::Unsupported;
    if (colourType != 2 && colourType != 6) return PngStatus::Unsupported;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    header.layout = colourType == 6 ? PngLayout::Rgba : PngLayout::Rgb;
    return PngStatus::Ok;
}

void readResolution(const Chunk& chunk, PngHeader& header) {
    constexpr int kPerMetre = 1;
    if (chunk.length != 9 || chunk.data[8] != kPerMetre) return;
    const std::uint32_t x = bigEndian32(chunk.data), y = bigEndian32(chunk.data + 4);
    if (x == 0 || y == 0) return;
    header.dpiX = static_cast<float>(x * 0.0254);
    header.dpiY = static_cast<float>(y * 0.0254);
}

PngStatus parse(const std::uint8_t* bytes, std::size_t size, Parsed& out) {
    if (!bytes || size < 8 || std::memcmp(bytes, kSignature, 8) != 0) return PngStatus::NotPng;
    ChunkReader reader(bytes, size);
    Chunk chunk;
    bool bad = false;
    if (!reader.next(chunk, bad)) return PngStatus::BadChunk;
    if (const PngStatus s = readHeaderChunk(chunk, out.header); s != PngStatus::Ok) return s;
    bool dataEnded = false;
    while (reader.next(chunk, bad)) {
        if (chunk.is("IEND")) return out.data.empty() ? PngStatus::BadChunk : PngStatus::Ok;
        if (chunk.is("IDAT")) {
            // The image data must be one run of IDAT chunks.
            if (dataEnded) return PngStatus::BadChunk;
            out.data.push_back(chunk);
            continue;
        }
        if (!out.data.empty()) dataEnded = true;
        if (chunk.is("pHYs")) readResolution(chunk, out.header);
        // A transparent colour would change the pixels; GDI+ knows how.
        if (chunk.is("tRNS")) return PngStatus::Unsupported;
        // Any other critical chunk but a suggested palette is one we cannot honour.
        const bool critical = (chunk.type[0] & 0x20) == 0;
        if (critical && !chunk.is("PLTE")) return PngStatus::Unsupported;
    }
    return PngStatus::BadChunk;  // damaged, or no IEND
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes the row's filter in place; `previous` is the unfiltered row above
// (all zero for the first row), `pixel` the bytes per pixel.
bool unfilter(int filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t length, std::size_t pixel) {
    switch (filter) {
        case 0:
            return true;
        case 1:
            for (std::size_t i = pixel; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - pixel]);
            return true;
        case 2:
            for (std::size_t i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
            return true;
        case 3:
            for (std::size_t i = 0; i < length; ++i) {
                const int left = i >= pixel ? row[i - pixel] : 0;
                row[i] = static_cast<std::uint8_t>(row[i] + ((left + previous[i]) >> 1));
            }
            return true;
        case 4:
            for (std::size_t i = 0; i < length; ++i) {
                const int left = i >= pixel ? row[i - pixel] : 0;
                const int upLeft = i >= pixel ? previous[i - pixel] : 0;
                row[i] = static_cast<std::uint8_t>(row[i] + paeth(left, previous[i], upLeft));
            }
            return true;
        default:
            return false;
    }
}

void storeRow(const std::uint8_t* row, int width, PngLayout layout, std::uint8_t* target) {
    if (layout == PngLayout::Rgb) {
        for (int x = 0; x < width; ++x, row += 3, target += 3) {
            target[0] = row[2];
            target[1] = row[1];
            target[2] = row[0];
        }
    } else {
        for (int x = 0; x < width; ++x, row += 4, target += 4) {
            target[0] = row[2];
            target[1] = row[1];
            target[2] = row[0];
            target[3] = row[3];
        }
    }
}

// Inflates the IDAT run one filtered row at a time.
class RowInflater {
public:
    explicit RowInflater(const std::vector<Chunk>& data) : data_(data) {}
    ~RowInflater() {
        if (started_) ::inflateEnd(&stream_);
    }
    RowInflater(const RowInflater&) = delete;
    RowInflater& operator=(const RowInflater&) = delete;

    bool start() { return started_ = ::inflateInit(&stream_) == Z_OK; }

    // Fills `row` completely; false when the data ends or is damaged first.
    bool read(std::uint8_t* row, std::size_t length) {
        stream_.next_out = row;
        stream_.avail_out = static_cast<uInt>(length);
        while (stream_.avail_out > 0) {
            if (stream_.avail_in == 0) {
                if (next_ == data_.size()) return false;
                stream_.next_in = const_cast<Bytef*>(data_[next_].data);
                stream_.avail_in = data_[next_].length;
                ++next_;
                continue;
            }
            const int result = ::inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) return stream_.avail_out == 0;
            if (result != Z_OK) return false;
        }
        return true;
    }

    // True when the stream ends right after the last row, with no bytes to spare.
    bool endsHere() {
        std::uint8_t spare = 0;
        stream_.next_out = &spare;
        stream_.avail_out = 1;
        for (;;) {
            if (stream_.avail_in == 0 && next_ < data_.size()) {
                stream_.next_in = const_cast<Bytef*>(data_[next_].data);
                stream_.avail_in = data_[next_].length;
                ++next_;
            }
            const int result = ::inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) return stream_.avail_out == 1;
            if (result != Z_OK || stream_.avail_out == 0) return false;
            if (stream_.avail_in == 0 && next_ == data_.size()) return false;
        }
    }

private:
    const std::vector<Chunk>& data_;
    std::size_t next_ = 0;
    z_stream stream_{};
    bool started_ = false;
};

}  // namespace

const char* pngStatusName(PngStatus status) {
    switch (status) {
        case PngStatus::Ok:
            return "ok";
        case PngStatus::NotPng:
            return "not a PNG";
        case PngStatus::BadChunk:
            return "damaged or missing chunk";
        case PngStatus::Unsupported:
            return "kind of PNG left to GDI+";
        case PngStatus::BadData:
            return "damaged image data";
    }
    return "unknown";
}

PngStatus readPngHeader(const std::uint8_t* bytes, std::size_t size, PngHeader& header) {
    Parsed parsed;
    const PngStatus status = parse(bytes, size, parsed);
    if (status == PngStatus::Ok) header = parsed.header;
    return status;
}

PngStatus decodePngPixels(const std::uint8_t* bytes, std::size_t size, const PngHeader& header, std::uint8_t* target,
                          int stride) {
    Parsed parsed;
    if (const PngStatus s = parse(bytes, size, parsed); s != PngStatus::Ok) return s;
    const PngHeader& h = parsed.header;
    if (h.width != header.width || h.height != header.height || h.layout != header.layout) return PngStatus::BadData;
    const std::size_t pixel = h.layout == PngLayout::Rgba ? 4 : 3;
    const std::size_t length = pixel * static_cast<std::size_t>(h.width);
    // Filter byte and row, and the unfiltered row above.
    std::vector<std::uint8_t> current(length + 1), previous(length, 0);
    RowInflater inflater(parsed.data);
    if (!inflater.start()) return PngStatus::BadData;
    for (int y = 0; y < h.height; ++y) {
        if (!inflater.read(current.data(), current.size())) return PngStatus::BadData;
        std::uint8_t* row = current.data() + 1;
        if (!unfilter(current[0], row, previous.data(), length, pixel)) return PngStatus::BadData;
        storeRow(row, h.width, h.layout, target + static_cast<std::ptrdiff_t>(y) * stride);
        std::memcpy(previous.data(), row, length);
    }
    return inflater.endsHere() ? PngStatus::Ok : PngStatus::BadData;
}

}  // namespace pelmora
