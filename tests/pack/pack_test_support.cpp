#include "tests/pack/pack_test_support.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <system_error>
#include <vector>

#include "payload/entry_data.h"
#include "payload/zip_format.h"
#include "tools/pack/program_image.h"

namespace pelmora::pack::testing {
namespace fs = std::filesystem;
namespace {

void le16(std::string* s, std::uint32_t v) {
    s->push_back(static_cast<char>(v & 0xFF));
    s->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void le32(std::string* s, std::uint32_t v) {
    le16(s, v);
    le16(s, v >> 16);
}
void be32(std::string* s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s->push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::string chunk(const char* type, const std::string& body) {
    std::string c;
    be32(&c, static_cast<std::uint32_t>(body.size()));
    const std::string typed = std::string(type, 4) + body;
    c += typed;
    be32(&c, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typed.data()),
                                              static_cast<uInt>(typed.size()))));
    return c;
}

std::string zlibCompress(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
             static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

class StringSink final : public zip::ChunkSink {
public:
    bool write(const std::uint8_t* data, std::size_t size) override {
        bytes.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
};

}  // namespace

NativePath u8(const std::string& utf8) {
    NativePath p;
    pathFromUtf8(utf8, &p);
    return p;
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::error_code ec;
    path_ = fs::temp_directory_path(ec) / ("pack-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_, ec);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool writeFile(const NativePath& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    OutputFile out;
    removeFile(path);
    if (!out.create(path) || !out.write(bytes) || !out.finish(bytes.size())) return false;
    out.keep();
    return true;
}

std::string readFile(const NativePath& path) {
    std::string bytes;
    readSmallFile(path, std::size_t{1} << 30, &bytes);
    return bytes;
}

std::set<std::string> folderNames(const NativePath& folder) {
    std::vector<NativePath> names;
    listFolder(folder, &names);
    std::set<std::string> out;
    for (const NativePath& n : names) out.insert(displayPath(n));
    return out;
}

std::string fakeStub(bool marked, const std::string& overlay, std::uint16_t machine, std::uint16_t magic) {
    std::string image(1024, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    std::string pe = "PE";
    pe.append(2, '\0');
    le16(&pe, machine);
    le16(&pe, 1);  // one section
    le32(&pe, 0);  // time stamp
    le32(&pe, 0);  // no symbols
    le32(&pe, 0);
    const std::size_t optionalSize = magic == 0x20B ? 240 : 224;
    le16(&pe, static_cast<std::uint16_t>(optionalSize));
    le16(&pe, 0x0102);
    std::string optional(optionalSize, '\0');
    optional[0] = static_cast<char>(magic & 0xFF);
    optional[1] = static_cast<char>(magic >> 8);
    std::string headers;
    le32(&headers, 0x200);
    optional.replace(60, 4, headers);  // SizeOfHeaders
    std::string section(40, '\0');
    section.replace(0, 5, ".data");
    std::string raw;
    le32(&raw, 0x200);
    le32(&raw, 0x200);
    section.replace(16, 8, raw);  // raw size, raw offset
    const std::string all = pe + optional + section;
    image.replace(64, all.size(), all);
    image[0x3C] = 64;
    if (marked) image.replace(0x200, sizeof kStubMarker - 1, kStubMarker);
    return image + overlay;
}

std::string makePng(std::uint32_t width, std::uint32_t height, bool interlaced) {
    std::string header;
    be32(&header, width);
    be32(&header, height);
    header += std::string("\x08\x02\x00\x00", 4);
    header += static_cast<char>(interlaced ? 1 : 0);
    std::string raw;
    auto rows = [&](std::uint32_t w, std::uint32_t h) {
        for (std::uint32_t y = 0; y < h && w; ++y) {
            raw += '\0';
            for (std::uint32_t x = 0; x < w; ++x) raw += std::string{char(x), char(y), char(x + y)};
        }
    };
    if (!interlaced) {
        rows(width, height);
    } else {
        static const int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        static const int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int p = 0; p < 7; ++p) {
            const std::uint32_t w =
                width > std::uint32_t(kStart[p][0]) ? (width - kStart[p][0] + kStep[p][0] - 1) / kStep[p][0] : 0;
            const std::uint32_t h =
                height > std::uint32_t(kStart[p][1]) ? (height - kStart[p][1] + kStep[p][1] - 1) / kStep[p][1] : 0;
            rows(w, h);
        }
    }
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlibCompress(raw)) +
           chunk("IEND", "");
}

std::string makeIco(std::uint32_t size, bool png) {
    std::string image;
    if (png) {
        image = makePng(size, size);
    } else {
        le32(&image, 40);
        le32(&image, size);
        le32(&image, size * 2);
        le16(&image, 1);
        le16(&image, 32);
        image.append(24, '\0');
        image.append(size * size * 4, '\x7F');            // colours
        image.append((size + 31) / 32 * 4 * size, '\0');  // mask
    }
    std::string ico;
    le16(&ico, 0);
    le16(&ico, 1);
    le16(&ico, 1);
    ico += static_cast<char>(size >= 256 ? 0 : size);
    ico += static_cast<char>(size >= 256 ? 0 : size);
    ico += std::string("\0\0", 2);
    le16(&ico, 1);
    le16(&ico, 32);
    le32(&ico, static_cast<std::uint32_t>(image.size()));
    le32(&ico, 22);
    return ico + image;
}

Installer openInstaller(const NativePath& path) {
    Installer in;
    FileSource file;
    if (!file.open(path)) return in;
    package::Block block;
    in.result = package::readBlock(file, &block);
    if (in.result != package::BlockResult::Ok) return in;
    std::string texts;
    package::readSection(file, block, *block.find(package::SectionKind::Texts), 1 << 20, &texts);
    if (!package::decodeTexts(texts, &in.texts)) in.problem = "texts do not decode";
    for (auto [kind, out] :
         {std::pair{package::SectionKind::Background, &in.background}, std::pair{package::SectionKind::Icon, &in.icon},
          std::pair{package::SectionKind::Background2x, &in.background2x}}) {
        if (const package::Section* s = block.find(kind)) package::readSection(file, block, *s, 1 << 24, out);
    }
    const package::Section& payload = *block.find(package::SectionKind::Payload);
    package::readSection(file, block, payload, std::size_t{1} << 30, &in.archive);
    zip::MemorySource source(in.archive.data(), in.archive.size());
    zip::EndRecord end;
    std::vector<zip::CentralEntry> entries;
    zip::ZipResult r = zip::findEndRecord(source, &end);
    if (r == zip::ZipResult::Ok) r = zip::readCentralDirectory(source, end, &entries);
    if (r == zip::ZipResult::Ok && end.prefix != 0) in.problem = "archive offsets do not start at the archive";
    for (const zip::CentralEntry& e : entries) {
        if (r != zip::ZipResult::Ok) break;
        if (!e.name.empty() && e.name.back() == '/') {
            in.folders.insert(e.name);
            continue;
        }
        zip::LocalEntry local;
        r = zip::readLocalEntry(source, e, end.directoryOffset, &local);
        StringSink sink;
        if (r == zip::ZipResult::Ok) r = zip::copyEntryData(source, e, local.dataOffset, sink);
        in.files[e.name] = sink.bytes;
    }
    if (r != zip::ZipResult::Ok) in.problem = zip::zipResultName(r);
    return in;
}

}  // namespace pelmora::pack::testing
