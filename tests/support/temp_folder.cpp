#include "tests/support/temp_folder.h"

#include <atomic>

#include "base/unique_resource.h"

namespace pelmora::testing {

bool fileExists(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring readFileBytes(const std::wstring& path, std::string* bytes) {
    bytes->clear();
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return path;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes->append(buffer, got);
    return path;
}

std::string fileText(const std::wstring& path) {
    std::string bytes;
    readFileBytes(path, &bytes);
    return bytes;
}

bool removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

TempFolder::TempFolder(const std::wstring& hint) {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    for (;;) {
        path_ = std::wstring(base) + hint + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    removeTree(path_);
}

}  // namespace pelmora::testing
