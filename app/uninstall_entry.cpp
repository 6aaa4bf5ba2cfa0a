#include "app/uninstall_entry.h"

#include <cwchar>
#include <memory>
#include <type_traits>

namespace pelmora {
namespace {

constexpr wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};

bool setString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LONG status = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    if (status != ERROR_SUCCESS) ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

bool setNumber(HKEY key, const wchar_t* name, DWORD value) {
    const LONG status = ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (status != ERROR_SUCCESS) ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

std::wstring readString(HKEY key, const wchar_t* name) {
    DWORD type = 0, bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

}  // namespace

REGSAM ownRegistryView() {
    return sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

std::wstring uninstallKeyPath(const std::wstring& productId) {
    return kUninstallRoot + productId;
}

bool writeUninstallEntry(const std::wstring& productId, const UninstallEntry& e) {
    HKEY raw = nullptr;
    const LONG status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, uninstallKeyPath(productId).c_str(), 0, nullptr, 0,
                                          KEY_SET_VALUE | ownRegistryView(), nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(status));
        return false;
    }
    std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser> key(raw);
    const HKEY k = key.get();
    return setString(k, L"DisplayName", e.displayName) && setString(k, L"DisplayVersion", e.displayVersion) &&
           setString(k, L"Publisher", e.publisher) && setString(k, L"DisplayIcon", e.displayIcon) &&
           setString(k, L"InstallLocation", e.installLocation) &&
           setString(k, L"UninstallString", quoted(e.uninstaller)) &&
           setString(k, L"QuietUninstallString", quoted(e.uninstaller) + L" /S") &&
           setNumber(k, L"EstimatedSize", e.estimatedSizeKiB) && setString(k, L"InstallDate", e.installDate) &&
           setNumber(k, L"NoModify", 1) && setNumber(k, L"NoRepair", 1);
}

bool removeUninstallEntry(const std::wstring& productId) {
    const LONG status =
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, uninstallKeyPath(productId).c_str(), ownRegistryView(), 0);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool readInstalledProduct(const std::wstring& productId, std::wstring* location, std::wstring* version) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKeyPath(productId).c_str(), 0, KEY_QUERY_VALUE | ownRegistryView(),
                        &raw) != ERROR_SUCCESS)
        return false;
    std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser> key(raw);
    *location = readString(raw, L"InstallLocation");
    *version = readString(raw, L"DisplayVersion");
    return !location->empty();
}

std::wstring todayText() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[16];
    std::swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

}  // namespace pelmora
