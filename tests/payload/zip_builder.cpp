#include "tests/payload/zip_builder.h"

#include <zlib.h>

namespace pelmora::testing {

std::string le16(std::uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string le32(std::uint32_t v) {
    return le16(static_cast<std::uint16_t>(v)) + le16(static_cast<std::uint16_t>(v >> 16));
}

std::string le64(std::uint64_t v) {
    return le32(static_cast<std::uint32_t>(v)) + le32(static_cast<std::uint32_t>(v >> 32));
}

std::string zip64EndRecords(std::uint64_t count, std::uint64_t size, std::uint64_t offset, std::uint64_t recordOffset) {
    return le32(0x06064B50) + le64(44) + le16(45) + le16(45) + le32(0) + le32(0) + le64(count) + le64(count) +
           le64(size) + le64(offset) + le32(0x07064B50) + le32(0) + le64(recordOffset) + le32(1);
}

std::string rawLocalHeader(const RawEntry& e) {
    const bool sizes64 = e.deferUncompressed || e.deferCompressed;
    const std::string extra = sizes64 ? extraBlock(1, le64(e.uncompressed) + le64(e.compressed)) : "";
    return le32(0x04034B50) + le16(45) + le16(0) + le16(e.method) + le16(0) + le16(0x21) + le32(e.crc) +
           le32(sizes64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.compressed)) +
           le32(sizes64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.uncompressed)) +
           le16(static_cast<std::uint16_t>(e.name.size())) + le16(static_cast<std::uint16_t>(extra.size())) + e.name +
           extra;
}

std::string rawCentralRecord(const RawEntry& e) {
    std::string values;
    if (e.deferUncompressed) values += le64(e.uncompressed);
    if (e.deferCompressed) values += le64(e.compressed);
    if (e.deferOffset) values += le64(e.offset);
    const std::string extra = values.empty() ? "" : extraBlock(1, values);
    auto field = [](bool deferred, std::uint64_t v) {
        return le32(deferred ? 0xFFFFFFFF : static_cast<std::uint32_t>(v));
    };
    return le32(0x02014B50) + le16(45) + le16(45) + le16(0) + le16(e.method) + le16(0) + le16(0x21) + le32(e.crc) +
           field(e.deferCompressed, e.compressed) + field(e.deferUncompressed, e.uncompressed) +
           le16(static_cast<std::uint16_t>(e.name.size())) + le16(static_cast<std::uint16_t>(extra.size())) + le16(0) +
           le16(0) + le16(0) + le32(0x20) + field(e.deferOffset, e.offset) + e.name + extra;
}

std::string rawDirectoryAndEnd(const std::vector<RawEntry>& entries, std::uint64_t directoryOffset) {
    std::string directory;
    for (const RawEntry& e : entries) directory += rawCentralRecord(e);
    return directory +
           zip64EndRecords(entries.size(), directory.size(), directoryOffset, directoryOffset + directory.size()) +
           le32(0x06054B50) + le16(0) + le16(0) + le16(0xFFFF) + le16(0xFFFF) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF) +
           le16(0);
}

std::string extraBlock(std::uint16_t tag, const std::string& body) {
    return le16(tag) + le16(static_cast<std::uint16_t>(body.size())) + body;
}

TestEntry folderEntry(std::string name) {
    TestEntry e(std::move(name), {}, false);
    e.external = 0x10;
    return e;
}

std::string rawDeflate(const std::string& data) {
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::uint32_t crc32Of(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

BuiltZip buildZip(const std::vector<TestEntry>& entries, const std::string& prefix, const std::string& comment,
                  PrefixOffsets offsets, EndRecords end) {
    BuiltZip zip;
    const std::uint32_t stored = offsets == PrefixOffsets::Adjusted ? static_cast<std::uint32_t>(prefix.size()) : 0;
    std::string archive;
    std::string directory;
    for (const TestEntry& e : entries) {
        const std::string payload = !e.payloadOverride.empty() ? e.payloadOverride
                                    : e.deflate                ? rawDeflate(e.data)
                                                               : e.data;
        const std::uint16_t method = e.method.value_or(e.deflate ? 8 : 0);
        const std::uint32_t crc = e.crc.value_or(crc32Of(e.data));
        const std::uint32_t csize = e.compressedSize.value_or(static_cast<std::uint32_t>(payload.size()));
        const std::uint32_t usize = e.uncompressedSize.value_or(static_cast<std::uint32_t>(e.data.size()));
        const std::string localName = e.localName.value_or(e.name);
        const std::uint16_t localExtraLength =
            e.localExtraLength.value_or(static_cast<std::uint16_t>(e.localExtra.size()));
        const std::uint32_t offset = static_cast<std::uint32_t>(archive.size());
        zip.localOffsets.push_back(prefix.size() + offset);
        const std::uint32_t sat = 0xFFFFFFFF;
        const std::string common = le16(e.flags) + le16(method) + le16(e.dosTime) + le16(e.dosDate) + le32(crc) +
                                   (e.zip64 ? le32(sat) + le32(sat) : le32(csize) + le32(usize));
        const std::string localExtra = e.zip64 ? extraBlock(1, le64(usize) + le64(csize)) + e.localExtra : e.localExtra;
        const std::string centralExtra =
            e.zip64 ? extraBlock(1, le64(usize) + le64(csize) + le64(stored + offset)) + e.centralExtra
                    : e.centralExtra;
        archive += le32(0x04034B50) + le16(e.zip64 ? 45 : 20) + common +
                   le16(static_cast<std::uint16_t>(localName.size())) +
                   le16(static_cast<std::uint16_t>(localExtraLength + localExtra.size() - e.localExtra.size())) +
                   localName + localExtra + payload;
        directory += le32(0x02014B50) + le16(0x0014) + le16(e.zip64 ? 45 : 20) + common +
                     le16(static_cast<std::uint16_t>(e.name.size())) +
                     le16(static_cast<std::uint16_t>(centralExtra.size())) + le16(0) + le16(0) + le16(0) +
                     le32(e.external) + le32(e.zip64 ? sat : stored + offset) + e.name + centralExtra;
    }
    const std::uint32_t directoryOffset = static_cast<std::uint32_t>(archive.size());
    zip.directoryOffset = prefix.size() + directoryOffset;
    const bool zip64 = end == EndRecords::Zip64;
    const auto count = zip64 ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(entries.size());
    archive += directory;
    if (zip64) {
        const std::uint64_t recordOffset = stored + archive.size();
        archive += zip64EndRecords(entries.size(), directory.size(), stored + directoryOffset, recordOffset);
    }
    archive += le32(0x06054B50) + le16(0) + le16(0) + le16(count) + le16(count) +
               le32(zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(directory.size())) +
               le32(zip64 ? 0xFFFFFFFF : stored + directoryOffset) + le16(static_cast<std::uint16_t>(comment.size())) +
               comment;
    zip.bytes = prefix + archive;
    return zip;
}

}  // namespace pelmora::testing
