// Turning what the system reports about itself into the version text shown
// after "系统版本：". Pure: the facts are gathered elsewhere (os_version.h), so
// every naming rule can be checked with made-up systems.
#pragma once

#include <optional>
#include <string>

namespace pelmora {

// Everything the version text depends on, as the system reported it.
struct OsFacts {
    // True version numbers (the version record's own numbers are lowered for
    // programs without a compatibility manifest).
    unsigned major = 0;
    unsigned minor = 0;
    // Low 16 bits of the true build number, sign-extended; 0 when unknown.
    int build = 0;
    unsigned char productType = 0;  // 1 = workstation
    unsigned short suiteMask = 0;
    std::wstring csdVersion;                       // service-pack text of the version record
    unsigned long processorArchitectureField = 0;  // first 32-bit field of SYSTEM_INFO
    bool wow64 = false;                 // 64-bit Windows: a 32-bit program under WOW64, or any 64-bit program
    bool serverR2 = false;              // GetSystemMetrics(SM_SERVERR2) != 0
    unsigned long productInfoType = 0;  // RtlGetProductInfo; asked only above major 5
    // HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion"; empty when missing.
    std::wstring registryProductName;
    std::wstring registryCsdVersion;
    std::wstring registryCurrentBuild;
};

struct OsTextOptions {
    bool withEdition = false;
    bool withArchitecture = false;
    bool withServicePack = false;
    bool withBuild = false;
};

constexpr unsigned char kWorkstationProductType = 1;
constexpr unsigned long kAmd64ArchitectureField = 9;
// Shown, followed by "major.minor", for a version above 5 we have no name for.
constexpr wchar_t kUnknownVersionPrefix[] = L"获取失败，请检查版本:";

struct OsName {
    std::wstring name;
    std::wstring edition;  // only the 2000 and XP rows carry one
};

// The name row for the facts; nullopt when no row matches (unlike a server of
// version 10, whose name is the registry's ProductName even when that is empty).
std::optional<OsName> osNameFromTable(const OsFacts& facts);

// The edition for an RtlGetProductInfo product type; nullptr for a type we have
// no text for.
const wchar_t* editionFromProductType(unsigned long productType);

// The full description: name, then the options' parts.
std::wstring composeOsVersionText(const OsFacts& facts, const OsTextOptions& options);

}  // namespace pelmora
