#include "sysinfo/registry_text.h"

#include <vector>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

struct RegistryKeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static bool valid(HKEY h) noexcept { return h != nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
using UniqueRegistryKey = UniqueResource<HKEY, RegistryKeyTraits>;

std::wstring expandEnvironment(const std::wstring& text) {
    DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return L"";
    std::wstring expanded(needed, L'\0');
    needed = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (needed == 0 || needed > expanded.size()) return L"";
    expanded.resize(needed - 1);  // the count includes the terminating zero
    return expanded;
}

}  // namespace

std::wstring readRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* valueName) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return L"";
    UniqueRegistryKey key(opened);

    // The value can change between asking its size and reading it: retry a
    // few times with the size the failed read reported.
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.get(), valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return L"";
    std::vector<BYTE> data;
    LONG status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        data.resize(bytes + sizeof(wchar_t));
        bytes = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(key.get(), valueName, nullptr, &type, data.data(), &bytes);
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return L"";

    // Stored strings need not end with a zero, nor have an even length.
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), bytes / sizeof(wchar_t));
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return type == REG_EXPAND_SZ ? expandEnvironment(text) : text;
}

}  // namespace pelmora
