#include "sysinfo/os_version_text.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

constexpr unsigned char kServer = 3;

OsFacts system(unsigned major, unsigned minor, unsigned char productType = kWorkstationProductType, int build = 0) {
    OsFacts facts;
    facts.major = major;
    facts.minor = minor;
    facts.productType = productType;
    facts.build = build;
    return facts;
}

OsFacts withSuite(OsFacts facts, unsigned short suiteMask) {
    facts.suiteMask = suiteMask;
    return facts;
}

OsFacts withProductName(OsFacts facts, const wchar_t* productName) {
    facts.registryProductName = productName;
    return facts;
}

const OsTextOptions kPlain{};
const OsTextOptions kEdition{true, false, false, false};

// One row per line of the name table, plus the neighbours that must not match
// it. productInfoType stays 0 (unknown), so only the table's own editions show.
struct NameCase {
    const char* label;
    OsFacts facts;
    const wchar_t* plain;
    const wchar_t* withEdition;
};

OsFacts windows2003(unsigned short suiteMask, unsigned char type = kServer, unsigned long architecture = 0,
                    bool serverR2 = false) {
    OsFacts facts = withSuite(system(5, 2, type), suiteMask);
    facts.processorArchitectureField = architecture;
    facts.serverR2 = serverR2;
    return facts;
}

OsFacts windows10FromRegistryBuild(const wchar_t* currentBuild) {
    OsFacts facts = system(10, 0);
    facts.registryCurrentBuild = currentBuild;
    return facts;
}

const NameCase kNameCases[] = {
    {"10.0 workstation", system(10, 0, 1, 19045), L"Windows 10", L"Windows 10 "},
    {"10.0 last build before 11", system(10, 0, 1, 21999), L"Windows 10", L"Windows 10 "},
    {"10.0 first build of 11", system(10, 0, 1, 22000), L"Windows 11", L"Windows 11 "},
    {"10.0 build 22631", system(10, 0, 1, 22631), L"Windows 11", L"Windows 11 "},
    {"10.0 build only in registry", windows10FromRegistryBuild(L"22621"), L"Windows 11", L"Windows 11 "},
    {"10.0 registry build of 10", windows10FromRegistryBuild(L"19045"), L"Windows 10", L"Windows 10 "},
    {"10.0 server takes ProductName", withProductName(system(10, 0, kServer, 20348), L"Windows Server 2022 Standard"),
     L"Windows Server 2022 Standard", L"Windows Server 2022 Standard "},
    {"10.0 server ignores the 11 build rule", withProductName(system(10, 0, kServer, 26100), L"Windows Server 2025"),
     L"Windows Server 2025", L"Windows Server 2025 "},
    {"10.0 server without ProductName", system(10, 0, kServer, 17763), L"", L" "},
    {"10.0 domain controller", withProductName(system(10, 0, 2), L"Windows Server 2019"), L"Windows Server 2019",
     L"Windows Server 2019 "},
    {"6.0 workstation", system(6, 0), L"Windows Vista", L"Windows Vista "},
    {"6.0 server", system(6, 0, kServer), L"Windows Server 2008", L"Windows Server 2008 "},
    {"6.1 workstation", system(6, 1), L"Windows 7", L"Windows 7 "},
    {"6.1 server", system(6, 1, kServer), L"Windows Server 2008 R2", L"Windows Server 2008 R2 "},
    {"6.2 workstation", system(6, 2), L"Windows 8", L"Windows 8 "},
    {"6.2 server", system(6, 2, kServer), L"Windows Server 2012", L"Windows Server 2012 "},
    {"6.3 workstation", system(6, 3), L"Windows 8.1", L"Windows 8.1 "},
    {"6.3 server", system(6, 3, kServer), L"Windows Server 2012 R2", L"Windows Server 2012 R2 "},
    {"5.0 workstation", withSuite(system(5, 0), 0x0082), L"Windows 2000", L"Windows 2000 Professional"},
    {"5.0 datacenter before advanced", withSuite(system(5, 0, kServer), 0x0082), L"Windows 2000",
     L"Windows 2000 Datacenter Server"},
    {"5.0 advanced server", withSuite(system(5, 0, kServer), 0x0002), L"Windows 2000", L"Windows 2000 Advanced Server"},
    {"5.0 server", withSuite(system(5, 0, kServer), 0x0010), L"Windows 2000", L"Windows 2000 Server"},
    {"5.1 home", withSuite(system(5, 1), 0x0300), L"Windows XP", L"Windows XP Home Edition"},
    {"5.1 professional", withSuite(system(5, 1), 0x0100), L"Windows XP", L"Windows XP Professional"},
    {"5.2 R2 before every suite", windows2003(0xA000, kServer, 0, true), L"Windows Server 2003 R2, ",
     L"Windows Server 2003 R2,  "},
    {"5.2 storage before home server", windows2003(0xA000), L"Windows Storage Server 2003",
     L"Windows Storage Server 2003 "},
    {"5.2 storage needs its whole bit", windows2003(0x0010), L"Windows Server 2003, ", L"Windows Server 2003,  "},
    {"5.2 home server", windows2003(0x8000), L"Windows Home Server", L"Windows Home Server "},
    {"5.2 XP x64", windows2003(0x0100, 1, kAmd64ArchitectureField), L"Windows XP Professional x64 Edition",
     L"Windows XP Professional x64 Edition "},
    {"5.2 workstation on x86", windows2003(0x0100, 1, 0), L"Windows Server 2003, ", L"Windows Server 2003,  "},
    {"5.2 server on x64", windows2003(0, kServer, kAmd64ArchitectureField), L"Windows Server 2003, ",
     L"Windows Server 2003,  "},
    {"4.10", system(4, 10), L"Windows 98", L"Windows 98 "},
    {"4.0 has no name", system(4, 0), L"", L" "},
    {"5.3 has no name", system(5, 3), L"", L" "},
    {"4.100 is not 5.0", withSuite(system(4, 100, kServer), 0x0080), L"", L" "},
    {"6.4 has no name", system(6, 4), L"获取失败，请检查版本:6.4", L"获取失败，请检查版本:6.4 "},
    {"11.0 has no name", system(11, 0, 1, 30000), L"获取失败，请检查版本:11.0", L"获取失败，请检查版本:11.0 "},
    {"7.2 server has no name", system(7, 2, kServer), L"获取失败，请检查版本:7.2", L"获取失败，请检查版本:7.2 "},
};

TEST(OsVersionTextTest, NameTable) {
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(composeOsVersionText(c.facts, kPlain), c.plain);
        EXPECT_EQ(composeOsVersionText(c.facts, kEdition), c.withEdition);
    }
}

TEST(OsVersionTextTest, NoRowIsDifferentFromAnEmptyName) {
    EXPECT_FALSE(osNameFromTable(system(6, 4)).has_value());
    EXPECT_FALSE(osNameFromTable(system(3, 51)).has_value());
    const std::optional<OsName> server = osNameFromTable(system(10, 0, kServer));
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(server->name, L"");
}

// A few rows that stand for the kinds of text the edition table holds, not a
// copy of it: the first and the last known type, a text without "Edition", a
// core installation, and a server product named in full.
TEST(OsVersionTextTest, KnownProductTypesNameTheirEdition) {
    const struct {
        unsigned long productType;
        const wchar_t* edition;
    } cases[] = {
        {1, L"Ultimate Edition"},
        {7, L"Standard"},
        {13, L"Standard Edition (core installation)"},
        {19, L"Windows Storage Server 2008 R2 Essentials"},
        {121, L"Education"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.productType);
        OsFacts facts = system(6, 1);
        facts.productInfoType = c.productType;
        EXPECT_EQ(composeOsVersionText(facts, kEdition), std::wstring(L"Windows 7 ") + c.edition);
        EXPECT_EQ(composeOsVersionText(facts, kPlain), L"Windows 7");
    }
}

// Types between known ones (5 between 4 and 6, 24 between 23 and 25), none
// (0) and one far past the table have no text: the lookup must not fall back
// on a neighbour.
TEST(OsVersionTextTest, GapsAndUnknownProductTypesHaveNoEdition) {
    for (unsigned long type : {0ul, 5ul, 24ul, 120ul, 122ul, 0xABCDul}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(editionFromProductType(type), nullptr);
    }
    EXPECT_STREQ(editionFromProductType(4), L"Enterprise Edition");
    EXPECT_STREQ(editionFromProductType(6), L"Business Edition");
}

// Product types without a text, among them the most common ones: Windows 10
// Home (0x65), Ultimate N (0x1C, what a Windows 7 prefix reports), Pro N
// (0x31). The known name must survive; the edition is simply empty.
TEST(OsVersionTextTest, UnknownProductTypeKeepsTheName) {
    const struct {
        OsFacts facts;
        const wchar_t* plain;
    } systems[] = {
        {system(10, 0, 1, 19045), L"Windows 10"},
        {system(10, 0, 1, 22631), L"Windows 11"},
        {system(6, 1, 1, 7601), L"Windows 7"},
        {system(6, 3, kServer, 9600), L"Windows Server 2012 R2"},
        {withProductName(system(10, 0, kServer), L"Windows Server 2019 Essentials"), L"Windows Server 2019 Essentials"},
        {system(10, 0, kServer), L""},
    };
    for (unsigned long type : {0ul, 5ul, 24ul, 26ul, 0x1Cul, 0x31ul, 0x65ul, 0x79ul - 1, 0x79ul + 1, 0xABCDul}) {
        for (const auto& s : systems) {
            SCOPED_TRACE(testing::Message() << "type " << type << " " << testing::PrintToString(s.plain));
            OsFacts facts = s.facts;
            facts.productInfoType = type;
            EXPECT_EQ(composeOsVersionText(facts, kPlain), s.plain);
            EXPECT_EQ(composeOsVersionText(facts, kEdition), std::wstring(s.plain) + L" ");
        }
    }
}

TEST(OsVersionTextTest, EditionAlreadyInTheNameIsNotRepeated) {
    OsFacts facts = withProductName(system(10, 0, kServer), L"Windows Server 2016 Datacenter Edition");
    facts.productInfoType = 8;  // "Datacenter Edition"
    EXPECT_EQ(composeOsVersionText(facts, kEdition), L"Windows Server 2016 Datacenter Edition ");

    facts = withProductName(system(10, 0, kServer), L"Windows Server 2016 Datacenter");
    facts.productInfoType = 8;
    EXPECT_EQ(composeOsVersionText(facts, kEdition), L"Windows Server 2016 Datacenter Datacenter Edition");

    // The search is case-sensitive.
    facts = withProductName(system(10, 0, kServer), L"Windows Server standard");
    facts.productInfoType = 7;  // "Standard"
    EXPECT_EQ(composeOsVersionText(facts, kEdition), L"Windows Server standard Standard");
}

TEST(OsVersionTextTest, EditionOfAVersionWithoutNameFollowsTheFailureText) {
    OsFacts facts = system(6, 4);
    facts.productInfoType = 48;
    EXPECT_EQ(composeOsVersionText(facts, kEdition), L"获取失败，请检查版本:6.4 Professional");
}

TEST(OsVersionTextTest, ProductTypeIsNotAskedUpToVersion5) {
    // Version 5 systems name their edition from the suite mask alone.
    OsFacts facts = withSuite(system(5, 1), 0x0300);
    facts.productInfoType = 1;
    EXPECT_EQ(composeOsVersionText(facts, kEdition), L"Windows XP Home Edition");
    facts = system(4, 0);
    facts.productInfoType = 1;
    EXPECT_EQ(composeOsVersionText(facts, kPlain), L"");
}

TEST(OsVersionTextTest, ArchitectureFollowsTheWow64Flag) {
    const OsTextOptions architecture{false, true, false, false};
    OsFacts facts = system(6, 1);
    facts.wow64 = true;
    EXPECT_EQ(composeOsVersionText(facts, architecture), L"Windows 7 x64");
    facts.wow64 = false;
    facts.processorArchitectureField = kAmd64ArchitectureField;  // a 64-bit processor alone is not enough
    EXPECT_EQ(composeOsVersionText(facts, architecture), L"Windows 7 x86");
    // The empty edition still leaves its separator before the architecture.
    EXPECT_EQ(composeOsVersionText(facts, {true, true, false, false}), L"Windows 7  x86");
}

OsFacts windows7Sp1() {
    OsFacts facts = system(6, 1, 1, 7601);
    facts.csdVersion = L"Service Pack 1";
    facts.registryCsdVersion = L"Service Pack 1";
    facts.registryCurrentBuild = L"7601";
    return facts;
}

struct DetailCase {
    const char* label;
    OsFacts facts;
    OsTextOptions options;
    const wchar_t* expected;
};

OsFacts withCsd(OsFacts facts, std::wstring csd, const wchar_t* registryCsd = L"") {
    facts.csdVersion = std::move(csd);
    facts.registryCsdVersion = registryCsd;
    return facts;
}

OsFacts withBuilds(OsFacts facts, int build, const wchar_t* registryBuild) {
    facts.build = build;
    facts.registryCurrentBuild = registryBuild;
    return facts;
}

const OsTextOptions kServicePack{false, false, true, false};
const OsTextOptions kBuild{false, false, false, true};
const OsTextOptions kServicePackAndBuild{false, false, true, true};

const DetailCase kDetailCases[] = {
    {"build only", system(10, 0, 1, 19045), kBuild, L"Windows 10 (Build:19045)"},
    {"service pack and build", windows7Sp1(), kServicePackAndBuild, L"Windows 7 (Service Pack 1,Build:7601)"},
    {"service pack only", windows7Sp1(), kServicePack, L"Windows 7 (Service Pack 1)"},
    {"neither", windows7Sp1(), kPlain, L"Windows 7"},
    {"every option", windows7Sp1(), {true, true, true, true}, L"Windows 7  x86 (Service Pack 1,Build:7601)"},
    {"record text wins over the registry", withCsd(windows7Sp1(), L"Service Pack 1", L"Service Pack 9"), kServicePack,
     L"Windows 7 (Service Pack 1)"},
    {"registry when the record has none", withCsd(windows7Sp1(), L"", L"Service Pack 2"), kServicePack,
     L"Windows 7 (Service Pack 2)"},
    {"no service pack anywhere", withCsd(windows7Sp1(), L""), kServicePack, L"Windows 7"},
    {"no service pack, build alone", withCsd(windows7Sp1(), L""), kServicePackAndBuild, L"Windows 7 (Build:7601)"},
    {"record text ends at its first zero", withCsd(windows7Sp1(), std::wstring(L"SP3\0garbage", 11)), kServicePack,
     L"Windows 7 (SP3)"},
    {"two bytes are too short", withCsd(windows7Sp1(), L"SP", L"Service Pack 2"), kServicePackAndBuild,
     L"Windows 7 (Build:7601)"},
    {"three bytes are enough", withCsd(windows7Sp1(), L"SP1"), kServicePack, L"Windows 7 (SP1)"},
    // Length counts bytes in the product's code page: one Chinese character is two.
    {"one Chinese character is too short", withCsd(windows7Sp1(), L"补"), kServicePack, L"Windows 7"},
    {"two Chinese characters are enough", withCsd(windows7Sp1(), L"补丁"), kServicePack, L"Windows 7 (补丁)"},
    {"registry build when the number is 0", withBuilds(windows7Sp1(), 0, L"7600"), kBuild, L"Windows 7 (Build:7600)"},
    {"number wins over the registry build", withBuilds(windows7Sp1(), 7601, L"7600"), kBuild,
     L"Windows 7 (Build:7601)"},
    {"no build anywhere", withBuilds(windows7Sp1(), 0, L""), kBuild, L"Windows 7 (Build:)"},
    {"Windows 11 with build", system(10, 0, 1, 22631), kServicePackAndBuild, L"Windows 11 (Build:22631)"},
    {"XP with every option",
     withCsd(withSuite(system(5, 1, 1, 2600), 0x0100), L"Service Pack 3"),
     {true, true, true, true},
     L"Windows XP Professional x86 (Service Pack 3,Build:2600)"},
};

TEST(OsVersionTextTest, ServicePackAndBuildDetail) {
    for (const DetailCase& c : kDetailCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(composeOsVersionText(c.facts, c.options), c.expected);
    }
}

TEST(OsVersionTextTest, EveryPartInOrder) {
    OsFacts facts = windows7Sp1();
    facts.productInfoType = 1;
    facts.wow64 = true;
    EXPECT_EQ(composeOsVersionText(facts, {true, true, true, true}),
              L"Windows 7 Ultimate Edition x64 (Service Pack 1,Build:7601)");
    EXPECT_EQ(composeOsVersionText(facts, {true, false, false, true}), L"Windows 7 Ultimate Edition (Build:7601)");
    EXPECT_EQ(composeOsVersionText(facts, {false, true, true, false}), L"Windows 7 x64 (Service Pack 1)");
}

}  // namespace
}  // namespace pelmora
