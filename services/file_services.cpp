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

bool createFolder(const std::wstring& path) { return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool deleteFile(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

}  // namespace pelmora
