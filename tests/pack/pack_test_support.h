// Fixtures for the builder's tests, portable like the builder: temporary
// folders, a minimal installer stub, pictures made on the spot, and a reader
// that opens a built installer's block and archive.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "payload/package_block.h"
#include "tools/pack/files.h"

namespace pelmora::pack::testing {

NativePath u8(const std::string& utf8);  // a path from UTF-8, for names with any characters

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const NativePath& path() const { return path_; }
    NativePath operator/(const std::string& utf8) const { return path_ / u8(utf8); }

private:
    NativePath path_;
};

bool writeFile(const NativePath& path, const std::string& bytes);
std::string readFile(const NativePath& path);
// Names of the entries of a folder, as UTF-8.
std::set<std::string> folderNames(const NativePath& folder);

// A Windows program image of 1,024 bytes: headers and one section that holds
// the stub marker (unless `marked` is false), then `overlay` behind the image.
// A minimal PE image; `machine` and `magic` are the file header's and the
// optional header's (i386 and PE32 by default, 0x8664 and 0x20B for x64).
std::string fakeStub(bool marked = true, const std::string& overlay = {}, std::uint16_t machine = 0x14C,
                     std::uint16_t magic = 0x10B);

// A complete PNG of the given size (8-bit RGB, or interlaced).
std::string makePng(std::uint32_t width, std::uint32_t height, bool interlaced = false);
// An ICO with one image: a PNG, or a 32-bit bitmap.
std::string makeIco(std::uint32_t size, bool png);

// What a built installer holds.
struct Installer {
    package::BlockResult result = package::BlockResult::Unreadable;
    std::map<std::string, std::string> texts;
    std::string background, background2x, icon;
    std::string archive;                       // the payload archive's bytes
    std::map<std::string, std::string> files;  // entry name -> data, read and CRC-checked
    std::set<std::string> folders;             // folder entry names
    std::string problem;                       // why the archive could not be read
};
Installer openInstaller(const NativePath& path);

}  // namespace pelmora::pack::testing
