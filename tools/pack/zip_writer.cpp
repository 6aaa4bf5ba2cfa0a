#include "tools/pack/zip_writer.h"

#include <zlib.h>

#include <memory>

#include "payload/package_block.h"
#include "payload/zip_format.h"
#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

using zip::kDeferred32;

constexpr std::size_t kBuffer = 256 * 1024;
// Files up to this size are read and compressed in memory and written once;
// larger ones stream, and their local header is filled in afterwards.
constexpr std::uint64_t kInMemory = 1 << 20;
constexpr std::uint16_t kVersion = 20, kVersion64 = 45;
constexpr std::uint32_t kFileAttributes = 0x20, kFolderAttributes = 0x10;

void le16(std::string* s, std::uint16_t v) {
    s->push_back(static_cast<char>(v & 0xFF));
    s->push_back(static_cast<char>(v >> 8));
}
void le32(std::string* s, std::uint32_t v) {
    le16(s, static_cast<std::uint16_t>(v));
    le16(s, static_cast<std::uint16_t>(v >> 16));
}
void le64(std::string* s, std::uint64_t v) {
    le32(s, static_cast<std::uint32_t>(v));
    le32(s, static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t field32(std::uint64_t v) {
    return v >= kDeferred32 ? kDeferred32 : static_cast<std::uint32_t>(v);
}

bool isAscii(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::uint32_t crcOf(const void* data, std::size_t n, std::uint32_t crc = 0) {
    return static_cast<std::uint32_t>(crc32(crc, static_cast<const Bytef*>(data), static_cast<uInt>(n)));
}

}  // namespace

// One stream for the whole archive, reset for each file: setting a stream up
// costs more than compressing a small file.
class ZipWriter::Deflater {
public:
    explicit Deflater(int level) {
        ok_ = deflateInit2(&zs_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ok_) deflateEnd(&zs_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    z_stream* start() { return ok_ && deflateReset(&zs_) == Z_OK ? &zs_ : nullptr; }
    z_stream* current() { return &zs_; }

private:
    z_stream zs_{};
    bool ok_ = false;
};

ZipWriter::ZipWriter(OutputFile& out, ZipWriterSettings settings)
    : out_(out), settings_(settings), start_(out.position()), crc_(crcOf(nullptr, 0)), output_(kBuffer) {
    if (settings_.level > 0) deflater_ = std::make_unique<Deflater>(settings_.level);
}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
}

bool ZipWriter::failedWrite() {
    return fail(withReason("cannot write the output file", out_.failure()));
}

bool ZipWriter::put(std::string_view bytes) {
    if (!out_.write(bytes)) return failedWrite();
    crc_ = crcOf(bytes.data(), bytes.size(), crc_);
    written_ += bytes.size();
    return true;
}

std::string ZipWriter::localHeader(const Entry& e, bool sizes64) const {
    std::string h;
    le32(&h, zip::kLocalHeaderSignature);
    le16(&h, sizes64 ? kVersion64 : kVersion);
    le16(&h, isAscii(e.name) ? 0 : zip::kFlagUtf8Name);
    le16(&h, e.method);
    le16(&h, settings_.dosTime);
    le16(&h, settings_.dosDate);
    le32(&h, e.crc);
    le32(&h, sizes64 ? kDeferred32 : static_cast<std::uint32_t>(e.compressed));
    le32(&h, sizes64 ? kDeferred32 : static_cast<std::uint32_t>(e.uncompressed));
    le16(&h, static_cast<std::uint16_t>(e.name.size()));
    le16(&h, sizes64 ? 20 : 0);
    h += e.name;
    if (sizes64) {
        le16(&h, zip::kZip64ExtraTag);
        le16(&h, 16);
        le64(&h, e.uncompressed);
        le64(&h, e.compressed);
    }
    return h;
}

std::string ZipWriter::centralRecord(const Entry& e) const {
    // Only the values that do not fit go to the 64-bit block, in this order.
    std::string values;
    if (e.uncompressed >= kDeferred32) le64(&values, e.uncompressed);
    if (e.compressed >= kDeferred32) le64(&values, e.compressed);
    if (e.offset >= kDeferred32) le64(&values, e.offset);
    std::string h;
    le32(&h, zip::kCentralHeaderSignature);
    le16(&h, kVersion64);  // made by an MS-DOS host: attributes are MS-DOS attributes
    le16(&h, values.empty() ? kVersion : kVersion64);
    le16(&h, isAscii(e.name) ? 0 : zip::kFlagUtf8Name);
    le16(&h, e.method);
    le16(&h, settings_.dosTime);
    le16(&h, settings_.dosDate);
    le32(&h, e.crc);
    le32(&h, field32(e.compressed));
    le32(&h, field32(e.uncompressed));
    le16(&h, static_cast<std::uint16_t>(e.name.size()));
    le16(&h, static_cast<std::uint16_t>(values.empty() ? 0 : values.size() + 4));
    le16(&h, 0);  // comment
    le16(&h, 0);  // disk
    le16(&h, 0);  // internal attributes
    le32(&h, e.folder ? kFolderAttributes : kFileAttributes);
    le32(&h, field32(e.offset));
    h += e.name;
    if (!values.empty()) {
        le16(&h, zip::kZip64ExtraTag);
        le16(&h, static_cast<std::uint16_t>(values.size()));
        h += values;
    }
    return h;
}

bool ZipWriter::addFolder(std::string_view name) {
    Entry e;
    e.name = std::string(name);
    e.offset = written_;
    e.folder = true;
    if (!put(localHeader(e, false))) return false;
    entries_.push_back(std::move(e));
    return true;
}

bool ZipWriter::emit(const std::uint8_t* data, std::size_t n, Copied* copied) {
    if (n == 0) return true;
    if (!out_.write(data, n)) return failedWrite();
    copied->outCrc = crcOf(data, n, copied->outCrc);
    copied->out += n;
    return true;
}

bool ZipWriter::deflateChunk(const std::uint8_t* data, std::size_t n, bool end, Copied* copied) {
    z_stream* zs = deflater_->current();
    zs->next_in = const_cast<Bytef*>(data);
    zs->avail_in = static_cast<uInt>(n);
    int rc = Z_OK;
    do {
        zs->next_out = output_.data();
        zs->avail_out = static_cast<uInt>(output_.size());
        rc = ::deflate(zs, end ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_STREAM_ERROR) return fail("compression failed");
        if (!emit(output_.data(), output_.size() - zs->avail_out, copied)) return false;
    } while (zs->avail_out == 0 || (end && rc != Z_STREAM_END));
    return true;
}

bool ZipWriter::copyData(DataSource& data, bool deflate, const Progress& progress, Copied* copied) {
    *copied = Copied{};
    if (deflate && !deflater_->start()) return fail("compression could not start");
    const bool produced = data.produce([&](const std::uint8_t* chunk, std::size_t n) {
        copied->inCrc = crcOf(chunk, n, copied->inCrc);
        copied->in += n;
        if (progress && !progress(n)) return fail("interrupted");
        return deflate ? deflateChunk(chunk, n, false, copied) : emit(chunk, n, copied);
    });
    if (!produced) return error_.empty() ? fail(data.error()) : false;
    return !deflate || deflateChunk(nullptr, 0, true, copied);
}

bool ZipWriter::addSmallFile(Entry& e, std::uint64_t size, DataSource& data, const Progress& progress) {
    const std::string changed = "the file changed while it was being read: " + shownName(e.name);
    small_.clear();
    const bool produced = data.produce([&](const std::uint8_t* chunk, std::size_t n) {
        if (small_.size() + n > size) return fail(changed);
        small_.append(reinterpret_cast<const char*>(chunk), n);
        return !progress || progress(n) || fail("interrupted");
    });
    if (!produced) return error_.empty() ? fail(data.error()) : false;
    if (small_.size() != size) return fail(changed);
    e.crc = crcOf(small_.data(), small_.size());
    e.uncompressed = size;
    const std::string* stored = &small_;
    e.method = zip::kMethodStored;
    if (settings_.level > 0 && size > 0) {
        z_stream* zs = deflater_->start();
        if (!zs) return fail("compression could not start");
        packed_.resize(deflateBound(zs, static_cast<uLong>(size)) + 16);
        zs->next_in = reinterpret_cast<Bytef*>(small_.data());
        zs->avail_in = static_cast<uInt>(size);
        zs->next_out = reinterpret_cast<Bytef*>(packed_.data());
        zs->avail_out = static_cast<uInt>(packed_.size());
        if (::deflate(zs, Z_FINISH) != Z_STREAM_END) return fail("compression failed");
        packed_.resize(zs->total_out);
        // Deflate could not shrink it (already compressed data): store it.
        if (packed_.size() < size) {
            stored = &packed_;
            e.method = zip::kMethodDeflated;
        }
    }
    e.compressed = stored->size();
    return put(localHeader(e, false)) && put(*stored);
}

bool ZipWriter::addFile(std::string_view name, std::uint64_t size, DataSource& data, const Progress& progress) {
    Entry e;
    e.name = std::string(name);
    e.offset = written_;
    if (size <= kInMemory) {
        if (!addSmallFile(e, size, data, progress)) return false;
        entries_.push_back(std::move(e));
        return true;
    }
    const bool sizes64 = size >= kDeferred32;
    const bool deflate = settings_.level > 0;
    e.method = deflate ? zip::kMethodDeflated : zip::kMethodStored;
    const std::string placeholder = localHeader(e, sizes64);
    const std::uint64_t headerAt = out_.position();
    if (!out_.write(placeholder)) return failedWrite();

    Copied copied;
    if (!copyData(data, deflate, progress, &copied)) return false;
    const std::string changed = "the file changed while it was being read: " + shownName(e.name);
    if (copied.in != size) return fail(changed);
    std::uint64_t dataLength = copied.out;
    std::uint32_t dataCrc = copied.outCrc;
    if (deflate && copied.out >= copied.in) {
        // Deflate could not shrink it (already compressed data): store it.
        if (!out_.seek(headerAt + placeholder.size())) return failedWrite();
        Copied stored;
        if (copied.in > 0) {
            if (!copyData(data, false, nullptr, &stored)) return false;
            if (stored.in != copied.in || stored.inCrc != copied.inCrc) return fail(changed);
        }
        e.method = zip::kMethodStored;
        dataLength = copied.in;
        dataCrc = copied.inCrc;
    }
    e.crc = copied.inCrc;
    e.uncompressed = copied.in;
    e.compressed = dataLength;
    const std::string header = localHeader(e, sizes64);
    const std::uint64_t end = out_.position();
    if (!out_.seek(headerAt) || !out_.write(header) || !out_.seek(end)) return failedWrite();
    crc_ = package::crc32Combine(crc_, crcOf(header.data(), header.size()), header.size());
    crc_ = package::crc32Combine(crc_, dataCrc, dataLength);
    written_ += header.size() + dataLength;
    entries_.push_back(std::move(e));
    return true;
}

bool ZipWriter::finish() {
    const std::uint64_t directoryOffset = written_;
    std::string chunk;
    for (const Entry& e : entries_) {
        chunk += centralRecord(e);
        if (chunk.size() >= kBuffer && !put(chunk)) return false;
        if (chunk.size() >= kBuffer) chunk.clear();
    }
    if (!put(chunk)) return false;
    const std::uint64_t directorySize = written_ - directoryOffset;
    const std::uint64_t count = entries_.size();
    const bool zip64 = count > 0xFFFF || directorySize >= kDeferred32 || directoryOffset >= kDeferred32;
    std::string end;
    if (zip64) {
        const std::uint64_t recordOffset = written_;
        le32(&end, zip::kZip64EndRecordSignature);
        le64(&end, zip::kZip64EndRecordSize - 12);
        le16(&end, kVersion64);
        le16(&end, kVersion64);
        le32(&end, 0);
        le32(&end, 0);
        le64(&end, count);
        le64(&end, count);
        le64(&end, directorySize);
        le64(&end, directoryOffset);
        le32(&end, zip::kZip64LocatorSignature);
        le32(&end, 0);
        le64(&end, recordOffset);
        le32(&end, 1);
    }
    const auto count16 = static_cast<std::uint16_t>(count > 0xFFFF ? 0xFFFF : count);
    le32(&end, zip::kEndRecordSignature);
    le16(&end, 0);
    le16(&end, 0);
    le16(&end, count16);
    le16(&end, count16);
    le32(&end, field32(directorySize));
    le32(&end, field32(directoryOffset));
    le16(&end, 0);
    return put(end);
}

}  // namespace pelmora::pack
