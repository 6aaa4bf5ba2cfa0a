#include "tests/payload/tree_compare.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "base/unique_resource.h"
#include "tests/support/temp_folder.h"

namespace pelmora::testing {
namespace {

struct Item {
    bool folder = false;
    DWORD attributes = 0;
    FILETIME writeTime{};
};

std::map<std::wstring, Item> listFolder(const std::wstring& path) {
    std::map<std::wstring, Item> items;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (!find) return items;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        items[name] =
            Item{(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, data.dwFileAttributes, data.ftLastWriteTime};
    } while (::FindNextFileW(find.get(), &data));
    return items;
}

void compareInto(const std::wstring& expected, const std::wstring& actual, const std::wstring& relative,
                 std::vector<std::wstring>* out) {
    const auto want = listFolder(expected);
    const auto got = listFolder(actual);
    for (const auto& [name, item] : want) {
        const std::wstring rel = relative + name;
        const auto it = got.find(name);
        if (it == got.end()) {
            out->push_back(L"missing: " + rel);
        } else if (it->second.folder != item.folder) {
            out->push_back(L"kind differs: " + rel);
        } else if (item.folder) {
            compareInto(expected + L"\\" + name, actual + L"\\" + name, rel + L"\\", out);
        } else {
            std::string a, b;
            readFileBytes(expected + L"\\" + name, &a);
            readFileBytes(actual + L"\\" + name, &b);
            if (a != b) out->push_back(L"content differs: " + rel);
        }
    }
    for (const auto& [name, item] : got) {
        if (!want.count(name)) out->push_back(L"unexpected: " + relative + name);
    }
}

void listInto(const std::wstring& root, const std::wstring& relative, std::vector<TreeFile>* out) {
    for (const auto& [name, item] : listFolder(root + (relative.empty() ? L"" : L"\\" + relative))) {
        const std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
        if (item.folder) {
            listInto(root, rel, out);
        } else {
            out->push_back(TreeFile{rel, item.attributes, item.writeTime});
        }
    }
}

}  // namespace

std::wstring windowsPathFromEnv(const char* variable) {
    const char* dir = std::getenv(variable);
    std::wstring path = L"Z:";
    for (const char* p = dir ? dir : ""; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring sourceDir() {
    return windowsPathFromEnv("PELMORA_SOURCE_DIR");
}
std::wstring buildDir() {
    return windowsPathFromEnv("PELMORA_BUILD_DIR");
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::vector<std::wstring> compareTrees(const std::wstring& expected, const std::wstring& actual) {
    std::vector<std::wstring> out;
    if (!folderExists(expected)) out.push_back(L"no expected tree at " + expected);
    compareInto(expected, actual, L"", &out);
    return out;
}

std::vector<TreeFile> listFiles(const std::wstring& root) {
    std::vector<TreeFile> out;
    listInto(root, L"", &out);
    return out;
}

bool hasNormalAttributes(DWORD attributes) {
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotNormal) == 0;
}

std::uint64_t ticksOf(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

std::uint64_t ticksAtUnix(std::int64_t seconds) {
    return 116444736000000000ULL + static_cast<std::uint64_t>(seconds) * 10000000ULL;
}

}  // namespace pelmora::testing
