#include "base/file_source.h"

#include <algorithm>

namespace pelmora {
namespace {

// One ReadFile takes a DWORD count; larger reads are split.
constexpr std::size_t kMaxRead = 1u << 30;

DWORD shareModeOf(FileSharing sharing) {
    switch (sharing) {
        case FileSharing::Read:
            return FILE_SHARE_READ;
        case FileSharing::ReadAndDelete:
            return FILE_SHARE_READ | FILE_SHARE_DELETE;
    }
    return FILE_SHARE_READ;
}

}  // namespace

bool FileSource::fail(DWORD error) {
    error_ = error;
    ::SetLastError(error);
    return false;
}

bool FileSource::open(const std::wstring& path, FileSharing sharing) {
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ, shareModeOf(sharing), nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    size_ = position_ = 0;
    error_ = 0;
    if (!file_) return fail(::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file_.get(), &size)) {
        const DWORD error = ::GetLastError();
        file_.reset();
        return fail(error);
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool FileSource::readAt(std::uint64_t offset, void* out, std::size_t n) {
    if (!file_) return fail(ERROR_INVALID_HANDLE);
    if (offset > size_ || n > size_ - offset) return fail(ERROR_HANDLE_EOF);
    auto* bytes = static_cast<std::uint8_t*>(out);
    while (n > 0) {
        if (offset != position_) {
            LARGE_INTEGER to;
            to.QuadPart = static_cast<LONGLONG>(offset);
            if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
                position_ = ~0ull;
                return fail(::GetLastError());
            }
        }
        DWORD got = 0;
        if (!::ReadFile(file_.get(), bytes, static_cast<DWORD>(std::min(n, kMaxRead)), &got, nullptr)) {
            position_ = ~0ull;
            return fail(::GetLastError());
        }
        // The file ended early: it was cut short since its size was taken.
        if (got == 0) return fail(ERROR_HANDLE_EOF);
        position_ = offset + got;
        bytes += got;
        offset += got;
        n -= got;
    }
    return true;
}

bool readWholeFile(const std::wstring& path, FileSharing sharing, std::size_t maxSize, std::string* bytes) {
    FileSource file;
    if (!file.open(path, sharing)) return false;
    if (file.size() > maxSize) {
        ::SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    std::string read(static_cast<std::size_t>(file.size()), '\0');
    if (!read.empty() && !file.readAt(0, read.data(), read.size())) return false;
    *bytes = std::move(read);
    return true;
}

}  // namespace pelmora
