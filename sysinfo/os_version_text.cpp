#include "sysinfo/os_version_text.h"

#include <cwchar>

#include "base/text.h"

namespace pelmora {
namespace {

constexpr unsigned short kSuiteEnterprise = 0x0002;
constexpr unsigned short kSuiteDatacenter = 0x0080;
constexpr unsigned short kSuitePersonal = 0x0200;
constexpr unsigned short kSuiteStorageServer = 0x2000;
constexpr unsigned short kSuiteHomeServer = 0x8000;

// Windows 11 kept the version numbers 10.0; only the build tells it apart.
constexpr long kFirstWindows11Build = 22000;

struct EditionRow {
    unsigned long productType;
    const wchar_t* edition;
};

constexpr EditionRow kEditions[] = {
    {1, L"Ultimate Edition"},
    {2, L"Home Basic Edition"},
    {3, L"Home Premium Edition"},
    {4, L"Enterprise Edition"},
    {6, L"Business Edition"},
    {7, L"Standard"},
    {8, L"Datacenter Edition"},
    {9, L"Small Business Server"},
    {10, L"Enterprise Edition"},
    {11, L"Starter Edition"},
    {12, L"Datacenter Edition (core installation)"},
    {13, L"Standard Edition (core installation)"},
    {14, L"Enterprise Edition (core installation)"},
    {15, L"Enterprise Edition for Itanium-based Systems"},
    {16, L"Business N"},
    {17, L"Web Server (full installation)"},
    {18, L"HPC Edition"},
    {19, L"Windows Storage Server 2008 R2 Essentials"},
    {20, L"Storage Server Express"},
    {21, L"Storage Server Standard"},
    {22, L"Storage Server Workgroup"},
    {23, L"Storage Server Enterprise"},
    {25, L"Small Business Server Premium Edition"},
    {48, L"Professional"},
    {121, L"Education"},
};

bool isWorkstation(const OsFacts& facts) {
    return facts.productType == kWorkstationProductType;
}
bool hasSuite(const OsFacts& facts, unsigned short bits) {
    return (facts.suiteMask & bits) == bits;
}

// One switch label per major.minor pair, without the pairs running into each
// other (4.100 is not 5.0).
constexpr unsigned long long versionKey(unsigned major, unsigned minor) {
    return (static_cast<unsigned long long>(major) << 32) | minor;
}

long effectiveBuild(const OsFacts& facts) {
    if (facts.build != 0) return facts.build;
    return std::wcstol(facts.registryCurrentBuild.c_str(), nullptr, 10);
}

OsName windows2003Family(const OsFacts& facts) {
    if (facts.serverR2) return {L"Windows Server 2003 R2, ", L""};
    if (hasSuite(facts, kSuiteStorageServer)) return {L"Windows Storage Server 2003", L""};
    if (hasSuite(facts, kSuiteHomeServer)) return {L"Windows Home Server", L""};
    if (isWorkstation(facts) && facts.processorArchitectureField == kAmd64ArchitectureField)
        return {L"Windows XP Professional x64 Edition", L""};
    return {L"Windows Server 2003, ", L""};
}

OsName windows2000(const OsFacts& facts) {
    if (isWorkstation(facts)) return {L"Windows 2000", L"Professional"};
    if (facts.suiteMask & kSuiteDatacenter) return {L"Windows 2000", L"Datacenter Server"};
    if (facts.suiteMask & kSuiteEnterprise) return {L"Windows 2000", L"Advanced Server"};
    return {L"Windows 2000", L"Server"};
}

// The detail in brackets: service pack, build, or both.
std::wstring detailText(const OsFacts& facts, const OsTextOptions& options) {
    std::wstring detail;
    if (options.withServicePack) {
        std::wstring servicePack = facts.csdVersion.substr(0, facts.csdVersion.find(L'\0'));
        if (servicePack.empty()) servicePack = facts.registryCsdVersion;
        // Shorter than three bytes in the product's code page is noise, not a
        // service-pack name.
        if (gbkFromWide(servicePack).size() >= 3) detail = servicePack;
    }
    if (options.withBuild) {
        const std::wstring build = facts.build != 0 ? std::to_wstring(facts.build) : facts.registryCurrentBuild;
        detail += (detail.empty() ? L"Build:" : L",Build:") + build;
    }
    return detail.empty() ? detail : L" (" + detail + L")";
}

}  // namespace

std::optional<OsName> osNameFromTable(const OsFacts& facts) {
    const bool workstation = isWorkstation(facts);
    switch (versionKey(facts.major, facts.minor)) {
        case versionKey(10, 0):
            if (!workstation) return OsName{facts.registryProductName, L""};
            return OsName{effectiveBuild(facts) >= kFirstWindows11Build ? L"Windows 11" : L"Windows 10", L""};
        case versionKey(6, 0):
            return OsName{workstation ? L"Windows Vista" : L"Windows Server 2008", L""};
        case versionKey(6, 1):
            return OsName{workstation ? L"Windows 7" : L"Windows Server 2008 R2", L""};
        case versionKey(6, 2):
            return OsName{workstation ? L"Windows 8" : L"Windows Server 2012", L""};
        case versionKey(6, 3):
            return OsName{workstation ? L"Windows 8.1" : L"Windows Server 2012 R2", L""};
        case versionKey(5, 0):
            return windows2000(facts);
        case versionKey(5, 1):
            return OsName{L"Windows XP", hasSuite(facts, kSuitePersonal) ? L"Home Edition" : L"Professional"};
        case versionKey(5, 2):
            return windows2003Family(facts);
        case versionKey(4, 10):
            return OsName{L"Windows 98", L""};
        default:
            return std::nullopt;
    }
}

const wchar_t* editionFromProductType(unsigned long productType) {
    for (const EditionRow& row : kEditions) {
        if (row.productType == productType) return row.edition;
    }
    return nullptr;
}

std::wstring composeOsVersionText(const OsFacts& facts, const OsTextOptions& options) {
    std::optional<OsName> row = osNameFromTable(facts);
    OsName os = row ? *row : OsName{};
    if (facts.major > 5) {
        // An edition we have no text for (Windows 10 Home, for one) leaves the
        // edition empty but keeps a known name; only a version we cannot name
        // at all says so.
        if (const wchar_t* edition = editionFromProductType(facts.productInfoType)) os.edition = edition;
        if (!row) os.name = kUnknownVersionPrefix + std::to_wstring(facts.major) + L"." + std::to_wstring(facts.minor);
    }

    std::wstring text = os.name;
    if (options.withEdition) {
        text += L" ";
        if (os.name.find(os.edition) == std::wstring::npos) text += os.edition;
    }
    if (options.withArchitecture) text += facts.wow64 ? L" x64" : L" x86";
    return text + detailText(facts, options);
}

}  // namespace pelmora
