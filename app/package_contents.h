// What the installer installs and shows, read from the package block behind
// its own program image: the payload archive, the product's texts, the window
// picture and icon. The block is checked once, before any window; the payload
// stays in the file and is read from it in chunks whenever it is needed, so
// its size costs no memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/file_source.h"
#include "base/unique_resource.h"
#include "payload/package_block.h"
#include "payload/zip_format.h"

namespace pelmora {

// A file read through its own handle, at any offset.
class FileByteSource final : public zip::ByteSource {
public:
    bool open(const std::wstring& path);
    std::uint64_t size() const override { return file_.size(); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override;

private:
    FileSource file_;
};

// A stretch of another source, seen as a source of its own (the payload
// archive inside the installer's file: its offsets count from its own start).
class RangeByteSource final : public zip::ByteSource {
public:
    RangeByteSource(zip::ByteSource& whole, std::uint64_t offset, std::uint64_t size)
        : whole_(whole), offset_(offset), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override;

private:
    zip::ByteSource& whole_;
    std::uint64_t offset_, size_;
};

class PackageContents {
public:
    // Reads and checks the block at the end of the file at `path`: the CRC of
    // every byte, then the texts, picture and icon. Anything but Ok leaves
    // the contents empty. The payload is checked, not kept.
    package::BlockResult load(const std::wstring& path);
    bool loaded() const { return loaded_; }

    // A value from the block's text table by its key; `fallback` when the
    // block does not hold it (or none was loaded).
    std::wstring text(std::string_view key, const wchar_t* fallback) const;
    // A text of the window and its boxes ("browse", "errorCaption", ...): the
    // block's, or the product's own Chinese text.
    std::wstring windowText(const char* key) const;

    // Paths below the chosen folder: "\<installFolder>", "\<installFolder>.zip"
    // and "\<installFolder>\<program>".
    std::wstring folderSuffix() const;
    std::wstring archiveSuffix() const;
    std::wstring programSuffix() const;
    std::wstring shortcutName() const;
    std::wstring defaultFolder() const;

    const std::string& background() const { return background_; }  // PNG bytes; empty: none
    // The same picture at twice the size, for screens above 150 %; empty: none.
    const std::string& background2x() const { return background2x_; }
    const std::string& icon() const { return icon_; }  // ICO bytes; empty: none

    const std::wstring& path() const { return path_; }
    std::uint64_t payloadOffset() const { return payloadOffset_; }  // in the file
    std::uint64_t payloadSize() const { return payloadSize_; }
    // Where the program image ends and the block begins: the stub's bytes,
    // which become the uninstaller.
    std::uint64_t imageSize() const { return imageSize_; }

    // Writes the payload archive, read from the file in chunks, into a new
    // file `target`: never into one that exists or a link of that name
    // (ERROR_FILE_EXISTS then). False, with the system's error code set, when
    // it cannot be read or written; a file it created is then deleted again.
    bool writePayload(const std::wstring& target) const;

private:
    bool loaded_ = false;
    std::wstring path_;
    std::map<std::string, std::wstring, std::less<>> texts_;
    std::string background_, background2x_, icon_;
    std::uint64_t payloadOffset_ = 0, payloadSize_ = 0, imageSize_ = 0;
};

// The installer's own package, process-wide. Empty (every text its default,
// no payload) until loadOwnPackage has found an intact block.
const PackageContents& ownPackage();
// Loads the block behind the running program's image once; later calls
// return the first result.
package::BlockResult loadOwnPackage();

// "{path}" and the like in a text replaced by `value` (once; translations
// keep each placeholder exactly once).
std::wstring fillIn(std::wstring text, std::wstring_view placeholder, const std::wstring& value);

// The picture a package without one of its own is shown with: width x
// height, `top` colour above row `split`, `bottom` colour from it on (so the
// window's white heading and its black labels both stay readable), as a PNG.
// Colours are 0xRRGGBB.
std::string plainPicturePng(int width, int height, int split, std::uint32_t top, std::uint32_t bottom);

// The image in an ICO file that suits an icon of `size` pixels best: the
// smallest at least that large, else the largest. Its bytes (a PNG or a
// bitmap without file header) are what CreateIconFromResourceEx takes. Empty
// when the file's directory does not hold up.
std::string_view iconImage(std::string_view ico, int size);

}  // namespace pelmora
