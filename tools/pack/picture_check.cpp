#include "tools/pack/picture_check.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace pelmora::pack {
namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";
constexpr std::size_t kMaxIconImages = 256;

std::uint32_t be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

int channels(std::uint8_t colourType) {
    switch (colourType) {
        case 0:
        case 3:
            return 1;
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
    }
    return 0;
}

bool validDepth(std::uint8_t colourType, std::uint8_t depth) {
    switch (colourType) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
    }
    return false;
}

// Bytes of filtered image data the header announces: a filter byte and the
// packed pixels for every row, of each of the seven passes when interlaced.
std::uint64_t expectedImageBytes(const PngInfo& png, bool interlaced) {
    const std::uint64_t bits = static_cast<std::uint64_t>(channels(png.colourType)) * png.bitDepth;
    auto rows = [&](std::uint64_t width, std::uint64_t height) {
        return width == 0 || height == 0 ? 0 : height * (1 + (width * bits + 7) / 8);
    };
    if (!interlaced) return rows(png.width, png.height);
    static const int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    static const int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    std::uint64_t total = 0;
    for (int p = 0; p < 7; ++p) {
        const std::uint64_t w = png.width > static_cast<std::uint32_t>(kStart[p][0])
                                    ? (png.width - kStart[p][0] + kStep[p][0] - 1) / kStep[p][0]
                                    : 0;
        const std::uint64_t h = png.height > static_cast<std::uint32_t>(kStart[p][1])
                                    ? (png.height - kStart[p][1] + kStep[p][1] - 1) / kStep[p][1]
                                    : 0;
        total += rows(w, h);
    }
    return total;
}

// Inflates the image data without keeping it; the count of bytes it gives.
// False when the stream is damaged, ends early, gives more than limit or is
// followed by more data.
bool inflatedSize(const std::vector<std::string_view>& parts, std::uint64_t limit, std::uint64_t* size) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    std::uint8_t out[65536];
    *size = 0;
    int rc = Z_OK;
    bool ok = true, ended = false;
    for (std::size_t i = 0; i < parts.size() && ok; ++i) {
        if (ended) {
            ok = parts[i].empty();
            continue;
        }
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(parts[i].data()));
        zs.avail_in = static_cast<uInt>(parts[i].size());
        do {
            zs.next_out = out;
            zs.avail_out = sizeof out;
            rc = inflate(&zs, Z_NO_FLUSH);
            *size += sizeof out - zs.avail_out;
            ok = (rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR) && *size <= limit;
        } while (ok && rc != Z_STREAM_END && (zs.avail_in > 0 || zs.avail_out == 0));
        ended = rc == Z_STREAM_END;
        if (ended && zs.avail_in != 0) ok = false;
    }
    inflateEnd(&zs);
    return ok && ended;
}

}  // namespace

std::string checkPng(std::string_view bytes, PngInfo* info) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.size() < 8 || std::memcmp(p, kPngSignature, 8) != 0) return "not a PNG file";
    std::size_t pos = 8;
    bool haveHeader = false, havePalette = false, interlaced = false, ended = false, idatDone = false;
    std::vector<std::string_view> data;
    while (!ended) {
        if (bytes.size() - pos < 12) return "the PNG file is cut off";
        const std::uint32_t length = be32(p + pos);
        const std::string type(bytes.substr(pos + 4, 4));
        if (length > 0x7FFFFFFF || bytes.size() - pos - 12 < length) return "the PNG file is cut off";
        const std::uint8_t* body = p + pos + 8;
        const auto crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), p + pos + 4, length + 4));
        if (crc != be32(body + length)) return "the PNG file is damaged (chunk " + type + " fails its CRC)";
        if (!haveHeader && type != "IHDR") return "the PNG file does not start with its header";
        if (type == "IHDR") {
            if (haveHeader || length != 13) return "the PNG header is malformed";
            info->width = be32(body);
            info->height = be32(body + 4);
            info->bitDepth = body[8];
            info->colourType = body[9];
            interlaced = body[12] == 1;
            if (info->width == 0 || info->height == 0 || !validDepth(info->colourType, info->bitDepth) ||
                body[10] != 0 || body[11] != 0 || body[12] > 1) {
                return "the PNG header is malformed";
            }
            haveHeader = true;
        } else if (type == "PLTE") {
            havePalette = true;
        } else if (type == "IDAT") {
            if (idatDone) return "the PNG image data is split by other chunks";
            data.emplace_back(bytes.substr(pos + 8, length));
        } else if (type == "IEND") {
            ended = true;
        }
        if (type != "IDAT" && !data.empty()) idatDone = true;
        pos += 12 + length;
    }
    if (pos != bytes.size()) return "the PNG file has data after its end";
    if (info->colourType == 3 && !havePalette) return "the PNG file has no palette";
    if (data.empty()) return "the PNG file has no image data";
    const std::uint64_t expected = expectedImageBytes(*info, interlaced);
    std::uint64_t got = 0;
    if (!inflatedSize(data, expected, &got) || got != expected) return "the PNG image data is damaged or incomplete";
    return {};
}

std::string checkBackgroundPng(std::string_view bytes, bool doubleSize) {
    PngInfo info;
    std::string problem = checkPng(bytes, &info);
    if (!problem.empty()) return problem;
    const std::uint32_t width = doubleSize ? kBackground2xWidth : kBackgroundWidth;
    const std::uint32_t height = doubleSize ? kBackground2xHeight : kBackgroundHeight;
    if (info.width != width || info.height != height) {
        return "the picture is " + std::to_string(info.width) + " x " + std::to_string(info.height) +
               " pixels; the window needs " + std::to_string(width) + " x " + std::to_string(height);
    }
    return {};
}

std::string checkIco(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.size() < 6 || le16(p) != 0 || (le16(p + 2) != 1 && le16(p + 2) != 2)) return "not an ICO file";
    if (le16(p + 2) == 2) return "a cursor file, not an icon";
    const std::size_t count = le16(p + 4);
    if (count == 0) return "the icon file holds no images";
    if (count > kMaxIconImages || bytes.size() < 6 + 16 * count) return "the icon file is cut off";
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = p + 6 + 16 * i;
        const std::uint32_t width = e[0] ? e[0] : 256, height = e[1] ? e[1] : 256;
        const std::uint32_t size = le32(e + 8), offset = le32(e + 12);
        const std::string which = "image " + std::to_string(i + 1) + " of the icon";
        if (size == 0 || offset < 6 + 16 * count || offset > bytes.size() || bytes.size() - offset < size) {
            return which + " lies outside the file";
        }
        const std::string_view image = bytes.substr(offset, size);
        if (image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0) {
            PngInfo png;
            const std::string problem = checkPng(image, &png);
            if (!problem.empty()) return which + ": " + problem;
            continue;
        }
        const auto* b = reinterpret_cast<const std::uint8_t*>(image.data());
        if (image.size() < 40 || le32(b) < 40) return which + " is neither a PNG nor a bitmap";
        const auto bmpWidth = static_cast<std::int32_t>(le32(b + 4)),
                   bmpHeight = static_cast<std::int32_t>(le32(b + 8));
        const std::uint16_t planes = le16(b + 12), bits = le16(b + 14);
        const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        if (planes != 1 || !knownDepth || bmpWidth <= 0 || bmpHeight <= 0) return which + " is a malformed bitmap";
        if (static_cast<std::uint32_t>(bmpWidth) != width || static_cast<std::uint32_t>(bmpHeight) != 2 * height) {
            return which + " does not have the size its directory entry gives";
        }
        // Colour rows, then the one-bit mask, each row padded to four bytes.
        const std::uint64_t colourRow = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        const std::uint64_t maskRow = (width + 31) / 32 * 4;
        const std::uint32_t coloursUsed = le32(b + 32);
        const std::uint64_t palette = bits > 8 ? 0 : 4ull * (coloursUsed ? coloursUsed : 1u << bits);
        if (le32(b) + palette + (colourRow + maskRow) * height > image.size()) return which + " is cut off";
    }
    return {};
}

}  // namespace pelmora::pack
