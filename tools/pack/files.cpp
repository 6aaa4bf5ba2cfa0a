#include "tools/pack/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "base/text.h"
#include "tools/pack/shown_name.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelmora::pack {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kStreamBuffer = 1 << 20;

std::FILE* openFile(const NativePath& path, bool write) {
#ifdef _WIN32
    return ::_wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

bool seekFile(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return ::_fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

FileKind kindOf(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::not_found:
            return FileKind::Missing;
        case fs::file_type::regular:
            return FileKind::File;
        case fs::file_type::directory:
            return FileKind::Folder;
        case fs::file_type::symlink:
            return FileKind::Link;
        default:
            return FileKind::Other;
    }
}

// Both are cleared before a call whose failure is to be explained: the C
// runtime sets errno, and on Windows also leaves the system's own error.
void clearErrors() {
    errno = 0;
#ifdef _WIN32
    ::SetLastError(0);
#endif
}

// The reason for the call that just failed, in the system's words; empty
// when it left none.
std::string lastErrorText() {
    const int cError = errno;
#ifdef _WIN32
    // The system's message is more exact than the C runtime's mapping of it
    // ("There is not enough space on the disk.").
    if (const DWORD code = ::GetLastError()) {
        wchar_t* text = nullptr;
        const DWORD n = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
            0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string utf8;
        const bool converted = n && utf8FromUtf16(std::wstring_view(text, n), &utf8);
        if (text) ::LocalFree(text);
        while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == '.')) utf8.pop_back();
        if (converted && !utf8.empty()) return utf8;
        return "system error " + std::to_string(code);
    }
#endif
    return cError ? std::strerror(cError) : std::string();
}

#ifdef _WIN32
std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}
#endif

}  // namespace

bool pathFromUtf8(std::string_view utf8, NativePath* path) {
#ifdef _WIN32
    std::wstring wide;
    if (!utf16FromUtf8(utf8, &wide)) return false;
    *path = NativePath(wide);
#else
    if (!isValidUtf8(utf8)) return false;
    *path = NativePath(std::string(utf8));
#endif
    return true;
}

bool utf8FromPath(const NativePath& path, std::string* utf8) {
#ifdef _WIN32
    return utf8FromUtf16(path.native(), utf8);
#else
    if (!isValidUtf8(path.native())) return false;
    *utf8 = path.native();
    return true;
#endif
}

std::string displayPath(const NativePath& path) {
    std::string utf8;
    if (utf8FromPath(path, &utf8)) return shownName(utf8);
    // Escape what has no UTF-8 form, so the message still names the file.
    std::string shown;
    static const char kHex[] = "0123456789ABCDEF";
    for (auto unit : path.native()) {
        const auto u = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
        if (u >= 0x20 && u < 0x7F) {
            shown += static_cast<char>(u);
        } else {
            shown += u > 0xFF ? "\\u" : "\\x";
            for (int shift = u > 0xFF ? 12 : 4; shift >= 0; shift -= 4) shown += kHex[(u >> shift) & 0xF];
        }
    }
    return shownName(shown);
}

FileKind fileKind(const NativePath& path) {
    std::error_code ec;
    return kindOf(fs::symlink_status(path, ec));
}

FileKind followedKind(const NativePath& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec == std::errc::too_many_symbolic_link_levels) return FileKind::LinkLoop;
    return kindOf(status);
}

bool fileSize(const NativePath& path, std::uint64_t* size) {
    std::error_code ec;
    const std::uintmax_t n = fs::file_size(path, ec);
    if (ec) return false;
    *size = n;
    return true;
}

bool listFolder(const NativePath& folder, std::vector<NativePath>* names) {
    names->clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    if (ec) return false;
    for (; it != end; it.increment(ec)) {
        if (ec) return false;
        names->push_back(it->path().filename());
    }
    return !ec;
}

bool readSmallFile(const NativePath& path, std::size_t maxSize, std::string* bytes) {
    InputFile file;
    if (!file.open(path)) return false;
    bytes->clear();
    char buffer[65536];
    for (;;) {
        std::size_t got = 0;
        if (!file.read(buffer, sizeof buffer, &got)) return false;
        if (got == 0) return true;
        if (bytes->size() + got > maxSize) return false;
        bytes->append(buffer, got);
    }
}

bool isSameOrInside(const NativePath& inner, const NativePath& outer) {
    std::error_code ec;
    const NativePath a = fs::weakly_canonical(fs::absolute(inner, ec), ec);
    if (ec) return false;
    const NativePath b = fs::weakly_canonical(fs::absolute(outer, ec), ec);
    if (ec) return false;
    std::string innerText, outerText;
    if (!utf8FromPath(a, &innerText) || !utf8FromPath(b, &outerText)) return a == b;
#ifdef _WIN32
    innerText = lowerAscii(innerText);
    outerText = lowerAscii(outerText);
    std::replace(innerText.begin(), innerText.end(), '/', '\\');
    std::replace(outerText.begin(), outerText.end(), '/', '\\');
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    while (outerText.size() > 1 && outerText.back() == separator) outerText.pop_back();
    if (innerText == outerText) return true;
    return innerText.size() > outerText.size() && innerText.compare(0, outerText.size(), outerText) == 0 &&
           (innerText[outerText.size()] == separator || outerText.back() == separator);
}

InputFile::~InputFile() {
    close();
}

bool InputFile::open(const NativePath& path) {
    close();
    file_ = openFile(path, false);
    return file_ != nullptr;
}

bool InputFile::read(void* out, std::size_t n, std::size_t* got) {
    *got = std::fread(out, 1, n, file_);
    return *got == n || !std::ferror(file_);
}

bool InputFile::seek(std::uint64_t offset) {
    return seekFile(file_, offset);
}

void InputFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool FileSource::open(const NativePath& path) {
    position_ = ~0ull;
    return file_.open(path) && fileSize(path, &size_);
}

bool FileSource::readAt(std::uint64_t offset, void* out, std::size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    if (offset != position_ && !file_.seek(offset)) return false;
    std::size_t got = 0;
    const bool ok = file_.read(out, n, &got) && got == n;
    position_ = ok ? offset + n : ~0ull;
    return ok;
}

std::string withReason(std::string what, const std::string& reason) {
    return reason.empty() ? what : what + ": " + reason;
}

OutputFile::~OutputFile() {
    abandon();
}

bool OutputFile::failed() {
    failure_ = lastErrorText();
    return false;
}

bool OutputFile::create(const NativePath& path) {
    abandon();
    failure_.clear();
    if (fileKind(path) != FileKind::Missing) {
        failure_ = "a file of that name exists";
        return false;
    }
    clearErrors();
    file_ = openFile(path, true);
    if (!file_) return failed();
    path_ = path;
    position_ = 0;
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    return true;
}

bool OutputFile::write(const void* data, std::size_t n) {
    if (!file_) return false;
    clearErrors();
    if (n && std::fwrite(data, 1, n, file_) != n) return failed();
    position_ += n;
    return true;
}

bool OutputFile::seek(std::uint64_t offset) {
    if (!file_) return false;
    clearErrors();
    if (std::fflush(file_) != 0 || !seekFile(file_, offset)) return failed();
    position_ = offset;
    return true;
}

bool OutputFile::finish(std::uint64_t size) {
    if (!file_) return false;
    clearErrors();
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed) failed();
    clearErrors();
    const bool closed = std::fclose(file_) == 0;
    if (!closed && flushed) failed();
    file_ = nullptr;
    std::error_code ec;
    fs::resize_file(path_, size, ec);
    if (ec && flushed && closed) failure_ = ec.message();
    return flushed && closed && !ec;
}

void OutputFile::abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!path_.empty()) removeFile(path_);
    path_.clear();
}

bool replaceFile(const NativePath& from, const NativePath& to, std::string* reason) {
#ifdef _WIN32
    clearErrors();
    const bool moved = ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!moved && reason) *reason = lastErrorText();
    return moved;
#else
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec && reason) *reason = ec.message();
    return !ec;
#endif
}

bool removeFile(const NativePath& path) {
    std::error_code ec;
    return fs::remove(path, ec);
}

}  // namespace pelmora::pack
