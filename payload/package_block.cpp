#include "payload/package_block.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelmora::package {
namespace {

using zip::readU16;
using zip::readU32;
using zip::readU64;

constexpr std::size_t kCrcBuffer = 1 << 20;
constexpr std::uint64_t kMaxCombineStep = 1ull << 30;  // fits zlib's 32-bit length
constexpr std::uint32_t kMaxSections = 64;

void putU32(std::string* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putU64(std::string* out, std::uint64_t v) {
    putU32(out, static_cast<std::uint32_t>(v));
    putU32(out, static_cast<std::uint32_t>(v >> 32));
}

std::uint32_t crcOf(const void* data, std::size_t size) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

// Offset and size of the certificate table the program headers name, or 0/0.
void securityDirectory(zip::ByteSource& file, std::uint64_t* offset, std::uint64_t* size) {
    *offset = *size = 0;
    std::uint8_t dos[64];
    if (!file.readAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return;
    const std::uint32_t pe = readU32(dos + 0x3C);
    std::uint8_t headers[24 + 2];
    if (!file.readAt(pe, headers, sizeof headers) || std::memcmp(headers, "PE\0\0", 4) != 0) return;
    // The data directories follow the fixed part of the optional header,
    // which is longer in the 64-bit form.
    const std::uint16_t magic = readU16(headers + 24);
    const std::uint64_t directories = pe + 24 + (magic == 0x20B ? 112 : 96);
    const std::uint16_t optionalSize = readU16(headers + 20);
    if (magic != 0x10B && magic != 0x20B) return;
    if (directories + 5 * 8 > pe + 24 + static_cast<std::uint64_t>(optionalSize)) return;
    std::uint8_t entry[8];
    if (!file.readAt(directories + 4 * 8, entry, sizeof entry)) return;
    *offset = readU32(entry);  // for this directory a file offset, not an address
    *size = readU32(entry + 4);
}

}  // namespace

const char* blockResultName(BlockResult result) {
    switch (result) {
        case BlockResult::Ok:
            return "block intact";
        case BlockResult::NoBlock:
            return "no package block at the end of the file";
        case BlockResult::NewerFormat:
            return "package block of a newer format";
        case BlockResult::Damaged:
            return "package block damaged";
        case BlockResult::Unreadable:
            return "file could not be read";
    }
    return "unknown";
}

std::string encodeTrailer(const Trailer& t) {
    std::string out(kTrailerMagic, sizeof kTrailerMagic);
    putU32(&out, kFormatVersion);
    putU32(&out, static_cast<std::uint32_t>(kTrailerSize));
    putU64(&out, t.blockOffset);
    putU64(&out, t.directoryOffset);
    putU32(&out, t.directorySize);
    putU32(&out, t.blockCrc);
    putU32(&out, 0);
    putU32(&out, crcOf(out.data(), out.size()));
    return out;
}

std::string encodeDirectory(const std::vector<Section>& sections) {
    std::string out;
    putU32(&out, static_cast<std::uint32_t>(sections.size()));
    for (const Section& s : sections) {
        putU32(&out, static_cast<std::uint32_t>(s.kind));
        putU32(&out, 0);
        putU64(&out, s.offset);
        putU64(&out, s.size);
    }
    return out;
}

std::string encodeTexts(const std::map<std::string, std::string>& texts) {
    std::string out;
    putU32(&out, static_cast<std::uint32_t>(texts.size()));
    for (const auto& [key, value] : texts) {
        putU32(&out, static_cast<std::uint32_t>(key.size()));
        out += key;
        putU32(&out, static_cast<std::uint32_t>(value.size()));
        out += value;
    }
    return out;
}

bool decodeTexts(std::string_view bytes, std::map<std::string, std::string>* texts) {
    texts->clear();
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t pos = 0;
    auto take = [&](std::string* out) {
        if (bytes.size() - pos < 4) return false;
        const std::uint32_t length = readU32(p + pos);
        pos += 4;
        if (bytes.size() - pos < length) return false;
        out->assign(bytes.data() + pos, length);
        pos += length;
        return true;
    };
    if (bytes.size() < 4) return false;
    const std::uint32_t count = readU32(p);
    pos = 4;
    std::string previous;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string key, value;
        if (!take(&key) || !take(&value)) return false;
        if (key.empty() || (i > 0 && key <= previous)) return false;
        previous = key;
        texts->emplace(std::move(key), std::move(value));
    }
    return pos == bytes.size();
}

std::uint64_t trailerEnd(zip::ByteSource& file) {
    const std::uint64_t size = file.size();
    std::uint64_t certificates = 0, certificatesSize = 0;
    securityDirectory(file, &certificates, &certificatesSize);
    if (certificatesSize == 0 || certificates > size || size - certificates != certificatesSize) return size;
    // Signing pads what precedes the table to eight bytes; the magic at the
    // trailer's start shows where the block really ends.
    std::uint8_t magic[sizeof kTrailerMagic];
    for (std::uint64_t padding = 0; padding <= kMaxSignaturePadding; ++padding) {
        const std::uint64_t candidate = certificates - std::min(padding, certificates);
        if (candidate >= kTrailerSize && file.readAt(candidate - kTrailerSize, magic, sizeof magic) &&
            std::memcmp(magic, kTrailerMagic, sizeof magic) == 0) {
            return candidate;
        }
    }
    return certificates;
}

const Section* Block::find(SectionKind kind) const {
    for (const Section& s : sections) {
        if (s.kind == kind) return &s;
    }
    return nullptr;
}

BlockResult readBlock(zip::ByteSource& file, Block* block) {
    const std::uint64_t end = trailerEnd(file);
    if (end < kTrailerSize) return BlockResult::NoBlock;
    std::uint8_t t[kTrailerSize];
    if (!file.readAt(end - kTrailerSize, t, sizeof t)) return BlockResult::Unreadable;
    if (std::memcmp(t, kTrailerMagic, sizeof kTrailerMagic) != 0) return BlockResult::NoBlock;
    if (readU32(t + 44) != crcOf(t, 44)) return BlockResult::Damaged;
    if (readU32(t + 8) != kFormatVersion || readU32(t + 12) != kTrailerSize) return BlockResult::NewerFormat;
    Trailer& tr = block->trailer;
    tr.blockOffset = readU64(t + 16);
    tr.directoryOffset = readU64(t + 24);
    tr.directorySize = readU32(t + 32);
    tr.blockCrc = readU32(t + 36);
    const std::uint64_t trailerStart = end - kTrailerSize;
    // The directory closes the block, right before the trailer.
    if (tr.blockOffset > trailerStart || tr.directoryOffset > trailerStart - tr.blockOffset ||
        trailerStart - tr.blockOffset - tr.directoryOffset != tr.directorySize) {
        return BlockResult::Damaged;
    }
    if (tr.directorySize < 4 || tr.directorySize > 4 + kMaxSections * kDirectoryEntrySize) return BlockResult::Damaged;

    // The checksum first: a damaged block says nothing reliable.
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kCrcBuffer]);
    uLong crc = crc32(0, nullptr, 0);
    for (std::uint64_t at = tr.blockOffset; at < trailerStart;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kCrcBuffer, trailerStart - at));
        if (!file.readAt(at, buffer.get(), n)) return BlockResult::Unreadable;
        crc = crc32(crc, buffer.get(), static_cast<uInt>(n));
        at += n;
    }
    if (static_cast<std::uint32_t>(crc) != tr.blockCrc) return BlockResult::Damaged;

    std::uint8_t* d = buffer.get();
    if (!file.readAt(tr.blockOffset + tr.directoryOffset, d, tr.directorySize)) return BlockResult::Unreadable;
    const std::uint32_t count = readU32(d);
    if (tr.directorySize != 4 + count * kDirectoryEntrySize) return BlockResult::Damaged;
    block->sections.clear();
    constexpr std::uint32_t kLastKnownKind = static_cast<std::uint32_t>(SectionKind::Background2x);
    bool seen[kLastKnownKind + 1] = {};
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = d + 4 + i * kDirectoryEntrySize;
        Section s;
        s.kind = static_cast<SectionKind>(readU32(e));
        s.offset = readU64(e + 8);
        s.size = readU64(e + 16);
        if (s.offset > tr.directoryOffset || s.size > tr.directoryOffset - s.offset) return BlockResult::Damaged;
        const std::uint32_t kind = readU32(e);
        if (kind < 1 || kind > kLastKnownKind) continue;  // a later format's addition
        if (seen[kind]) return BlockResult::Damaged;
        seen[kind] = true;
        block->sections.push_back(s);
    }
    if (!block->find(SectionKind::Payload) || !block->find(SectionKind::Texts)) return BlockResult::Damaged;
    return BlockResult::Ok;
}

bool readSection(zip::ByteSource& file, const Block& block, const Section& section, std::size_t maxSize,
                 std::string* bytes) {
    if (section.size > maxSize) return false;
    bytes->assign(static_cast<std::size_t>(section.size), '\0');
    return bytes->empty() || file.readAt(block.trailer.blockOffset + section.offset, bytes->data(), bytes->size());
}

std::uint32_t crc32Combine(std::uint32_t crcA, std::uint32_t crcB, std::uint64_t lengthB) {
    // combine(a, b, n) is a shifted by n zero bytes, exclusive-or b; the
    // shift is taken in steps zlib can count.
    uLong shifted = crcA;
    while (lengthB > kMaxCombineStep) {
        shifted = crc32_combine(shifted, 0, static_cast<z_off_t>(kMaxCombineStep));
        lengthB -= kMaxCombineStep;
    }
    return static_cast<std::uint32_t>(crc32_combine(shifted, crcB, static_cast<z_off_t>(lengthB)));
}

}  // namespace pelmora::package
