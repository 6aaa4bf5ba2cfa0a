#include "services/file_services.h"

#include <windows.h>

#include <algorithm>

#include "base/unique_resource.h"

namespace pelmora {

bool writeByteSetsToFile(const std::wstring& path, std::initializer_list<ByteSpan> sets) {
    if (path.empty()) return false;
    // CREATE_NEW where nothing is there yet: Wine truncates even a new file
    // under CREATE_ALWAYS, and ext4 then writes a file replaced that way out
    // to disk as soon as it is closed. An existing file is replaced as before.
    auto create = [&](DWORD disposition) {
        return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    UniqueFile file(create(CREATE_NEW));
    if (!file && ::GetLastError() == ERROR_FILE_EXISTS) file.reset(create(CREATE_ALWAYS));
    if (!file) return false;
    for (const ByteSpan& set : sets) {
        const std::uint8_t* p = set.data;
        std::size_t left = set.size;
        while (left > 0) {
            // WriteFile takes a DWORD; write in large slices.
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 24));
            DWORD written = 0;
            if (!::WriteFile(file.get(), p, chunk, &written, nullptr) || written != chunk) return false;
            p += written;
            left -= written;
        }
    }
    // A full disk can surface only when the data is flushed at close.
    return ::CloseHandle(file.release()) != FALSE;
}

bool createFolder(const std::wstring& path) {
    return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

bool deleteFile(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != FALSE;
}

namespace {

bool gone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool removeFile(const std::wstring& path) {
    if (path.empty()) return false;
    // DeleteFile refuses a read-only file; the attribute goes first.
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileW(path.c_str()) || gone(::GetLastError());
}

bool removeEmptyFolder(const std::wstring& path) {
    if (path.empty()) return false;
    return ::RemoveDirectoryW(path.c_str()) || gone(::GetLastError());
}

bool fileInUse(const std::wstring& path) {
    // The same access and sharing the extraction asks for, without changing
    // the file: OPEN_EXISTING neither creates nor truncates.
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace pelmora
