#include "payload/link_check.h"

#include "base/unique_resource.h"

namespace pelmora {

bool isLink(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::wstring firstLinkBelow(const std::wstring& folder, const std::wstring& relative) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    for (std::size_t k = 0; k <= relative.size(); ++k) {
        if (k < relative.size() && relative[k] != L'\\' && relative[k] != L'/') {
            path += relative[k];
            continue;
        }
        if (path.empty() || path.back() == L'\\') continue;  // an empty component
        const DWORD a = ::GetFileAttributesW(path.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return {};
        if (a & FILE_ATTRIBUTE_REPARSE_POINT) return path;
        path += L'\\';
    }
    return {};
}

std::wstring finalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.assign(n + 1, L'\0');  // n counts the terminating null when the buffer was short
    }
    return {};
}

std::wstring finalFolderPath(const std::wstring& folder) {
    // Backup semantics: the only way to open a folder; no access needed to ask its name.
    UniqueFile handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle ? finalPathOf(handle.get()) : std::wstring();
}

bool samePathName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool liesInside(const std::wstring& folder, const std::wstring& path) {
    if (folder.empty()) return false;
    std::wstring prefix = folder;
    if (prefix.back() != L'\\') prefix += L'\\';
    return path.size() > prefix.size() && samePathName(path.substr(0, prefix.size()), prefix);
}

std::wstring windowsNamed(const std::wstring& relative) {
    std::wstring out;
    out.reserve(relative.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        std::size_t last = end;
        while (last > start && (relative[last - 1] == L'.' || relative[last - 1] == L' ')) --last;
        if (!out.empty() || start > 0) out += L'\\';
        out.append(relative, start, last - start);
        if (end == relative.size()) break;
        start = end + 1;
    }
    return out;
}

}  // namespace pelmora
