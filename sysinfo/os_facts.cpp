// Gathering the facts the version text is made from. Decisions live in
// os_version_text.cpp; this file only asks the system.
#include <windows.h>

#include "base/win32_util.h"
#include "sysinfo/os_version.h"
#include "sysinfo/registry_text.h"

namespace pelmora {
namespace {

constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Not in the import libraries, or absent on older systems: looked up by name,
// and each one missing leaves the answer the older interfaces gave.
using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
using RtlGetProductInfoFn = BOOLEAN(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);

template <typename Fn>
Fn systemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    return handle ? systemProc<Fn>(module, name) : nullptr;
}

// Whether Windows itself is 64-bit. A 64-bit program is not under WOW64, yet
// its Windows is 64-bit all the same; the version text's architecture follows
// the system, not the program asking.
bool runsOn64BitWindows() {
    if (sizeof(void*) == 8) return true;
    auto isWow64Process = systemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// GetVersionEx reports at most 6.2 to a program whose manifest does not
// declare the running system; the loader's own numbers are the true ones.
void readTrueVersion(OsFacts& facts) {
    auto getNumbers = systemFunction<RtlGetNtVersionNumbersFn>(L"ntdll.dll", "RtlGetNtVersionNumbers");
    if (!getNumbers) return;
    DWORD major = 0, minor = 0, build = 0;
    getNumbers(&major, &minor, &build);
    facts.major = major;
    facts.minor = minor;
    // The high bits carry flags (0xF0000000 on release builds).
    facts.build = static_cast<short>(build & 0xFFFF);
}

unsigned long productInfoType(unsigned major, unsigned minor) {
    auto getProductInfo = systemFunction<RtlGetProductInfoFn>(L"ntdll.dll", "RtlGetProductInfo");
    DWORD type = 0;
    if (!getProductInfo || !getProductInfo(major, minor, 0, 0, &type)) return 0;
    return type;
}

}  // namespace

std::optional<OsFacts> gatherOsFacts() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record))) return std::nullopt;

    OsFacts facts;
    facts.major = record.dwMajorVersion;
    facts.minor = record.dwMinorVersion;
    facts.build = static_cast<short>(record.dwBuildNumber & 0xFFFF);
    facts.productType = record.wProductType;
    facts.suiteMask = record.wSuiteMask;
    facts.csdVersion.assign(record.szCSDVersion, wcsnlen(record.szCSDVersion, ARRAYSIZE(record.szCSDVersion)));

    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    facts.processorArchitectureField = system.dwOemId;
    facts.wow64 = runsOn64BitWindows();
    readTrueVersion(facts);
    facts.serverR2 = ::GetSystemMetrics(SM_SERVERR2) != 0;
    if (facts.major > 5) facts.productInfoType = productInfoType(facts.major, facts.minor);

    facts.registryProductName = readRegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"ProductName");
    facts.registryCsdVersion = readRegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CSDVersion");
    facts.registryCurrentBuild = readRegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"CurrentBuild");
    return facts;
}

std::wstring osVersionText(int* major, int* minor, bool withEdition, bool withArchitecture, bool withServicePack,
                           bool withBuild) {
    std::optional<OsFacts> facts = gatherOsFacts();
    if (!facts) return L"";
    if (major) *major = static_cast<int>(facts->major);
    if (minor) *minor = static_cast<int>(facts->minor);
    return composeOsVersionText(*facts, {withEdition, withArchitecture, withServicePack, withBuild});
}

}  // namespace pelmora
