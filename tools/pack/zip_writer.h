// Writes a ZIP archive into an output file, one entry after the other, with
// the 64-bit forms where they are needed (more than 65,535 entries, entries
// or offsets beyond 4 GiB). Data is streamed through fixed buffers: memory
// grows with the number of entries (their central records), never with their
// sizes. Output is reproducible: every entry carries the same time, no
// extra field but the 64-bit one, and the attributes of a plain file or
// folder.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/pack/files.h"

namespace pelmora::pack {

// Where one file's data comes from: handed on front to back, in chunks, as
// often as asked (a second time when deflate could not shrink it).
class DataSource {
public:
    // Takes the next chunk; false stops the data.
    using Consumer = std::function<bool(const std::uint8_t* data, std::size_t size)>;
    virtual ~DataSource() = default;
    // False when the data could not be read (reason in error()) or the consumer stopped it.
    virtual bool produce(const Consumer& consume) = 0;
    virtual std::string error() const = 0;
};

struct ZipWriterSettings {
    int level = 6;                                    // zlib level 0-9; 0 stores every file
    std::uint16_t dosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
    std::uint16_t dosTime = 0;
};

class ZipWriter {
public:
    // Told the uncompressed bytes consumed since the last call; false stops
    // the entry (error() then reads "interrupted").
    using Progress = std::function<bool(std::uint64_t bytes)>;

    // The archive starts at the file's current position; its offsets count from there.
    ZipWriter(OutputFile& out, ZipWriterSettings settings);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // name: UTF-8, "/" separated, ending in "/".
    bool addFolder(std::string_view name);
    // size: what the file held when it was listed; data that turns out longer
    // or shorter fails the build rather than pass for the file. Data that
    // deflate cannot shrink is stored instead.
    bool addFile(std::string_view name, std::uint64_t size, DataSource& data, const Progress& progress);
    // The central directory and end records.
    bool finish();

    std::uint64_t size() const { return written_; }  // bytes of archive so far
    // CRC-32 of the archive's bytes as they stand in the file (headers as patched).
    std::uint32_t crc() const { return crc_; }
    std::size_t entryCount() const { return entries_.size(); }
    const std::string& error() const { return error_; }

private:
    struct Entry {
        std::string name;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressed = 0, uncompressed = 0, offset = 0;
        bool folder = false;
    };
    struct Copied {
        std::uint64_t in = 0, out = 0;
        std::uint32_t inCrc = 0, outCrc = 0;
    };

    class Deflater;

    bool fail(std::string message);
    bool failedWrite();  // the output file refused a write: says why
    bool addSmallFile(Entry& e, std::uint64_t size, DataSource& data, const Progress& progress);
    bool put(std::string_view bytes);  // appends, counting it into the archive's CRC
    bool copyData(DataSource& data, bool deflate, const Progress& progress, Copied* copied);
    bool deflateChunk(const std::uint8_t* data, std::size_t n, bool end, Copied* copied);
    bool emit(const std::uint8_t* data, std::size_t n, Copied* copied);
    std::string localHeader(const Entry& e, bool sizes64) const;
    std::string centralRecord(const Entry& e) const;

    OutputFile& out_;
    ZipWriterSettings settings_;
    std::uint64_t start_;
    std::uint64_t written_ = 0;
    std::uint32_t crc_;
    std::vector<Entry> entries_;
    std::vector<std::uint8_t> output_;
    std::unique_ptr<Deflater> deflater_;
    std::string small_, packed_;  // a small file's data and its compressed form
    std::string error_;
};

}  // namespace pelmora::pack
