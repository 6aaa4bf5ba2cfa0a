#include "app/package_contents.h"

#include <zlib.h>

#include <algorithm>

#include "base/text.h"
#include "base/win32_util.h"
#include "payload/constants.h"
#include "payload/package_texts.h"

namespace pelmora {
namespace {

// As large as the builder lets them be.
constexpr std::size_t kMaxTextsSize = 4 << 20;
constexpr std::size_t kMaxPictureSize = 16 << 20;
constexpr std::size_t kMaxIconSize = 4 << 20;
constexpr DWORD kCopyChunk = 1 << 20;

PackageContents& contentsOfThisProgram() {
    static PackageContents contents;
    return contents;
}

std::uint32_t le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

}  // namespace

// The installer's own file, which whoever started it may rename or delete
// while it runs (a download moved into place, a temporary copy cleaned up):
// reading it must neither fail on that nor stand in its way.
bool FileByteSource::open(const std::wstring& path) {
    return file_.open(path, FileSharing::ReadAndDelete);
}

bool FileByteSource::readAt(std::uint64_t offset, void* out, std::size_t n) {
    return file_.readAt(offset, out, n);
}

bool RangeByteSource::readAt(std::uint64_t offset, void* out, std::size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    return whole_.readAt(offset_ + offset, out, n);
}

package::BlockResult PackageContents::load(const std::wstring& path) {
    *this = PackageContents{};
    FileByteSource file;
    if (!file.open(path)) return package::BlockResult::Unreadable;
    package::Block block;
    const package::BlockResult result = package::readBlock(file, &block);
    if (result != package::BlockResult::Ok) return result;

    std::string bytes;
    std::map<std::string, std::string> texts;
    const package::Section* section = block.find(package::SectionKind::Texts);
    if (!package::readSection(file, block, *section, kMaxTextsSize, &bytes) || !package::decodeTexts(bytes, &texts)) {
        return package::BlockResult::Damaged;
    }
    std::map<std::string, std::wstring, std::less<>> wide;
    for (const auto& [key, value] : texts) {
        std::wstring w;
        if (!utf16FromUtf8(value, &w)) return package::BlockResult::Damaged;
        wide.emplace(key, std::move(w));
    }
    std::string background, background2x, icon;
    if ((section = block.find(package::SectionKind::Background)) &&
        !package::readSection(file, block, *section, kMaxPictureSize, &background)) {
        return package::BlockResult::Damaged;
    }
    if ((section = block.find(package::SectionKind::Background2x)) &&
        !package::readSection(file, block, *section, kMaxPictureSize, &background2x)) {
        return package::BlockResult::Damaged;
    }
    if ((section = block.find(package::SectionKind::Icon)) &&
        !package::readSection(file, block, *section, kMaxIconSize, &icon)) {
        return package::BlockResult::Damaged;
    }
    section = block.find(package::SectionKind::Payload);
    loaded_ = true;
    path_ = path;
    texts_ = std::move(wide);
    background_ = std::move(background);
    // The large picture only ever stands beside the one it enlarges.
    if (!background_.empty()) background2x_ = std::move(background2x);
    icon_ = std::move(icon);
    payloadOffset_ = block.trailer.blockOffset + section->offset;
    payloadSize_ = section->size;
    imageSize_ = block.trailer.blockOffset;
    return package::BlockResult::Ok;
}

std::wstring PackageContents::text(std::string_view key, const wchar_t* fallback) const {
    const auto it = texts_.find(key);
    return it != texts_.end() ? it->second : std::wstring(fallback);
}

std::wstring PackageContents::windowText(const char* key) const {
    const auto it = texts_.find(std::string(package::kTextKeyPrefix) + key);
    if (it != texts_.end()) return it->second;
    const package::TextEntry* entry = package::findWindowText(key);
    std::wstring fallback;
    if (entry) utf16FromUtf8(entry->defaultValue, &fallback);
    return fallback;
}

std::wstring PackageContents::folderSuffix() const {
    return L"\\" + text(package::kKeyInstallFolder, kFolderSuffix + 1);
}
std::wstring PackageContents::archiveSuffix() const {
    return folderSuffix() + L".zip";
}
std::wstring PackageContents::programSuffix() const {
    return folderSuffix() + L"\\" + text(package::kKeyProgram, kProgramEntryName);
}
std::wstring PackageContents::shortcutName() const {
    return text(package::kKeyShortcut, kShortcutName);
}
std::wstring PackageContents::defaultFolder() const {
    return text(package::kKeyDefaultFolder, kDefaultFolder);
}

bool PackageContents::writePayload(const std::wstring& target) const {
    FileByteSource file;
    if (!loaded_ || !file.open(path_)) {
        if (!loaded_) ::SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    // CREATE_NEW only: whatever already has the name (a user's file, a link
    // to something else) is never opened, let alone overwritten.
    UniqueFile out(
        ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    const auto failed = [&] {
        // The file is this call's own: it goes again, with the error kept.
        const DWORD error = ::GetLastError();
        out.reset();
        ::DeleteFileW(target.c_str());
        ::SetLastError(error);
        return false;
    };
    // Its own pages, given back whole when done.
    UniqueVirtualMemory buffer(::VirtualAlloc(nullptr, kCopyChunk, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!buffer) return failed();
    for (std::uint64_t done = 0; done < payloadSize_;) {
        const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(kCopyChunk, payloadSize_ - done));
        if (!file.readAt(payloadOffset_ + done, buffer.get(), n)) return failed();
        DWORD written = 0;
        if (!::WriteFile(out.get(), buffer.get(), n, &written, nullptr)) return failed();
        if (written != n) {
            ::SetLastError(ERROR_DISK_FULL);
            return failed();
        }
        done += n;
    }
    // A full disk can surface only when the data is flushed at close.
    if (!::CloseHandle(out.release())) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(target.c_str());
        ::SetLastError(error);
        return false;
    }
    return true;
}

const PackageContents& ownPackage() {
    return contentsOfThisProgram();
}

package::BlockResult loadOwnPackage() {
    static const package::BlockResult result = [] {
        const std::wstring path = modulePath();
        if (path.empty()) return package::BlockResult::Unreadable;
        return contentsOfThisProgram().load(path);
    }();
    return result;
}

std::wstring fillIn(std::wstring text, std::wstring_view placeholder, const std::wstring& value) {
    const std::size_t at = text.find(placeholder);
    if (at != std::wstring::npos) text.replace(at, placeholder.size(), value);
    return text;
}

std::string plainPicturePng(int width, int height, int split, std::uint32_t top, std::uint32_t bottom) {
    const auto be32 = [](std::string* out, std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>((v >> shift) & 0xFF));
    };
    const auto chunk = [&](std::string* out, const char* kind, const std::string& data) {
        be32(out, static_cast<std::uint32_t>(data.size()));
        const std::string body = std::string(kind, 4) + data;
        *out += body;
        be32(out, static_cast<std::uint32_t>(
                      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
    };
    // Palette image, 8 bits: two colours, one byte a pixel, filter 0 on each row.
    std::string header;
    be32(&header, static_cast<std::uint32_t>(width));
    be32(&header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x03\x00\x00\x00", 5);
    std::string palette;
    for (std::uint32_t c : {top, bottom}) {
        for (int shift = 16; shift >= 0; shift -= 8) palette.push_back(static_cast<char>((c >> shift) & 0xFF));
    }
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back('\0');
        rows.append(static_cast<std::size_t>(width), y < split ? '\0' : '\1');
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
                  static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    chunk(&png, "IHDR", header);
    chunk(&png, "PLTE", palette);
    chunk(&png, "IDAT", packed);
    chunk(&png, "IEND", {});
    return png;
}

std::string_view iconImage(std::string_view ico, int size) {
    // ICONDIR: reserved 0, type 1, count; then 16-byte entries: width,
    // height (0 meaning 256), ..., 32-bit size and offset of the image.
    if (ico.size() < 6 || ico[0] || ico[1] || ico[2] != 1 || ico[3]) return {};
    const std::size_t count = static_cast<unsigned char>(ico[4]) | (static_cast<unsigned char>(ico[5]) << 8);
    if (count == 0 || ico.size() < 6 + count * 16) return {};
    std::string_view best;
    int bestSize = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char* e = ico.data() + 6 + i * 16;
        const int width = static_cast<unsigned char>(e[0]) ? static_cast<unsigned char>(e[0]) : 256;
        const std::uint32_t length = le32(e + 8), offset = le32(e + 12);
        if (offset > ico.size() || length > ico.size() - offset || length == 0) return {};
        // Better: the first that is large enough, then the smallest of those;
        // while none is, the largest.
        const bool better = best.empty() || (width >= size && (bestSize < size || width < bestSize)) ||
                            (bestSize < size && width > bestSize);
        if (better) {
            best = ico.substr(offset, length);
            bestSize = width;
        }
    }
    return best;
}

}  // namespace pelmora
