// The package block: what the installer builder attaches behind a prebuilt
// installer's program image (the payload archive, the texts, the optional
// pictures), closed by a fixed trailer at the very end of the file. The
// layout is described in docs/package-block.md.
//
// Plain C++ without the Windows headers: the builder writes blocks on Linux
// and Windows alike, and the installer reads its own through the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "payload/zip_format.h"

namespace pelmora::package {

constexpr char kTrailerMagic[8] = {'P', 'L', 'M', 'R', 'P', 'A', 'C', 'K'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kTrailerSize = 48;
constexpr std::size_t kDirectoryEntrySize = 24;
// A signature appended after the block is preceded by at most this much padding.
constexpr std::uint64_t kMaxSignaturePadding = 7;

enum class SectionKind : std::uint32_t {
    Payload = 1,       // the ZIP archive, its offsets counted from its own start
    Texts = 2,         // the text table (see encodeTexts)
    Background = 3,    // PNG, 500 x 300
    Icon = 4,          // ICO file
    Background2x = 5,  // PNG, 1000 x 600: the same picture for screens above 150 %
};

struct Section {
    SectionKind kind = SectionKind::Payload;
    std::uint64_t offset = 0;  // from the start of the block
    std::uint64_t size = 0;
};

struct Trailer {
    std::uint64_t blockOffset = 0;      // file offset where the block starts
    std::uint64_t directoryOffset = 0;  // from the start of the block
    std::uint32_t directorySize = 0;
    std::uint32_t blockCrc = 0;  // CRC-32 of every byte from the block's start to the trailer's
};

enum class BlockResult {
    Ok,
    NoBlock,      // nothing that ends like a block: a bare program image, or a cut-off download
    NewerFormat,  // a block this reader does not know how to read
    Damaged,      // the trailer, the directory or a checksum does not hold up
    Unreadable,   // the file could not be read
};
const char* blockResultName(BlockResult result);

// The trailer's 48 bytes.
std::string encodeTrailer(const Trailer& trailer);
// The directory: a count, then one entry per section.
std::string encodeDirectory(const std::vector<Section>& sections);

// The text table: a count, then (key length, key, value length, value) with
// lengths as 32-bit values; keys in ascending byte order, each once. Keys
// are ASCII, values UTF-8.
std::string encodeTexts(const std::map<std::string, std::string>& texts);
bool decodeTexts(std::string_view bytes, std::map<std::string, std::string>* texts);

// Where a block that ends a file of fileSize bytes would have its trailer: at
// the end, or, when the program image was signed after the block was attached,
// before the certificate table that the image's security directory names
// (behind at most kMaxSignaturePadding zero bytes). Reads the program headers.
std::uint64_t trailerEnd(zip::ByteSource& file);

// A block found and checked: every byte of it matches its CRC-32.
struct Block {
    Trailer trailer;
    std::vector<Section> sections;
    const Section* find(SectionKind kind) const;
};

// Reads the trailer and directory and checks the block's CRC-32, streaming
// the whole block through a fixed buffer (memory stays flat, whatever the
// payload's size). Every section must lie inside the block, the payload and
// the texts must be there, and no kind may appear twice; kinds this reader
// does not know are passed over.
BlockResult readBlock(zip::ByteSource& file, Block* block);

// The bytes of a small section (texts, pictures); false when it cannot be
// read or is larger than maxSize.
bool readSection(zip::ByteSource& file, const Block& block, const Section& section, std::size_t maxSize,
                 std::string* bytes);

// CRC-32 of A followed by B from the CRC-32 of each and B's length, for
// lengths of any size (zlib's own combine takes a 32-bit length on i686).
std::uint32_t crc32Combine(std::uint32_t crcA, std::uint32_t crcB, std::uint64_t lengthB);

}  // namespace pelmora::package
