#include "services/file_services.h"

#include <windows.h>

#include <algorithm>

#include "base/unique_resource.h"

namespace pelmora {

bool writeByteSetsToFile(const std::wstring& path, std::initializer_list<ByteSpan> sets) {
    if (path.empty()) return false;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
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
