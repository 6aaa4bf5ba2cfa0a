// Calls the real osVersionText in a Wine prefix set to one Windows version and
// checks the texts and the version numbers that version must give. Built twice:
// with the installer's compatibility manifest and without any, where the
// version record alone would report at most 6.2.
//   os_version_probe <win7|win81|win10|winxp|winxp64>
// Prints every text it saw; exits 0 when all match, 1 otherwise, 2 on bad use.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/text.h"
#include "sysinfo/os_version.h"

namespace pelmora {
namespace {

struct Expected {
    const char* version;
    int major;
    int minor;
    const wchar_t* plain;                // every option off, as the information line asks
    const wchar_t* edition;              // withEdition
    const wchar_t* architecture;         // withArchitecture
    const wchar_t* servicePackAndBuild;  // withServicePack + withBuild
    const wchar_t* everything;           // all four options
};

// The numbers are those of the releases Wine 8 stands in for: 7 SP1 is
// 6.1.7601, 8.1 is 6.3.9600, 10 is release 1903 (10.0.18362), XP SP3 is
// 5.1.2600. Every setting reports product type 0x1C (Ultimate N), which has no
// edition text, so the edition stays empty. The texts are written for a 32-bit
// program in a 32-bit prefix (no WOW64: x86); a 64-bit program runs in a 64-bit
// prefix and must read x64 (onThisWindows).
const Expected kExpected[] = {
    {"win7", 6, 1, L"Windows 7", L"Windows 7 ", L"Windows 7 x86", L"Windows 7 (Service Pack 1,Build:7601)",
     L"Windows 7  x86 (Service Pack 1,Build:7601)"},
    {"win81", 6, 3, L"Windows 8.1", L"Windows 8.1 ", L"Windows 8.1 x86", L"Windows 8.1 (Build:9600)",
     L"Windows 8.1  x86 (Build:9600)"},
    {"win10", 10, 0, L"Windows 10", L"Windows 10 ", L"Windows 10 x86", L"Windows 10 (Build:18362)",
     L"Windows 10  x86 (Build:18362)"},
    {"winxp", 5, 1, L"Windows XP", L"Windows XP Professional", L"Windows XP x86",
     L"Windows XP (Service Pack 3,Build:2600)", L"Windows XP Professional x86 (Service Pack 3,Build:2600)"},
    // 64-bit Wine offers XP only as its x64 edition (5.2.3790 SP2, a
    // workstation on an x64 processor).
    {"winxp64", 5, 2, L"Windows XP Professional x64 Edition", L"Windows XP Professional x64 Edition ",
     L"Windows XP Professional x64 Edition x64", L"Windows XP Professional x64 Edition (Service Pack 2,Build:3790)",
     L"Windows XP Professional x64 Edition  x64 (Service Pack 2,Build:3790)"},
};

void print(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

// The expected text for the Windows this probe runs on: a 64-bit probe can
// only run on 64-bit Windows.
std::wstring onThisWindows(const wchar_t* text) {
    std::wstring expected = text;
    if (sizeof(void*) == 8) {
        const std::size_t at = expected.find(L" x86");
        if (at != std::wstring::npos) expected.replace(at, 4, L" x64");
    }
    return expected;
}

bool check(const char* what, const std::wstring& seen, const wchar_t* text) {
    const std::wstring expected = onThisWindows(text);
    const bool ok = seen == expected;
    print(std::string(ok ? "  ok   " : "  FAIL ") + what + ": \"" + utf8FromWide(seen) + "\"");
    if (!ok) print(" expected \"" + utf8FromWide(expected) + "\"");
    print("\n");
    return ok;
}

bool checkNumber(const char* what, int seen, int expected) {
    const bool ok = seen == expected;
    print(std::string(ok ? "  ok   " : "  FAIL ") + what + ": " + std::to_string(seen) +
          (ok ? "" : " expected " + std::to_string(expected)) + "\n");
    return ok;
}

int run(const Expected& e) {
    print(std::string(e.version) + ":\n");
    bool ok = true;
    int major = -1, minor = -1;
    ok &= check("plain", osVersionText(&major, &minor), e.plain);
    ok &= checkNumber("major", major, e.major);
    ok &= checkNumber("minor", minor, e.minor);
    ok &= check("edition", osVersionText(nullptr, nullptr, true), e.edition);
    ok &= check("architecture", osVersionText(nullptr, nullptr, false, true), e.architecture);
    ok &= check("service pack and build", osVersionText(nullptr, nullptr, false, false, true, true),
                e.servicePackAndBuild);
    ok &= check("every option", osVersionText(nullptr, nullptr, true, true, true, true), e.everything);

    // Without the out parameters nothing else changes.
    ok &= check("no out parameters", osVersionText(), e.plain);
    major = minor = -1;
    osVersionText(&major, nullptr);
    ok &= checkNumber("major alone", major, e.major);
    osVersionText(nullptr, &minor);
    ok &= checkNumber("minor alone", minor, e.minor);

    // What the system reported, for the record.
    if (std::optional<OsFacts> f = gatherOsFacts()) {
        char line[256];
        std::snprintf(line, sizeof line,
                      "  facts: %u.%u build %d, product type %u, suite 0x%04X, product info 0x%lX, wow64 %d, "
                      "architecture field %lu, R2 %d\n",
                      f->major, f->minor, f->build, f->productType, f->suiteMask, f->productInfoType, f->wow64 ? 1 : 0,
                      f->processorArchitectureField, f->serverR2 ? 1 : 0);
        print(line);
        print("  registry: ProductName \"" + utf8FromWide(f->registryProductName) + "\", CSDVersion \"" +
              utf8FromWide(f->registryCsdVersion) + "\", CurrentBuild \"" + utf8FromWide(f->registryCurrentBuild) +
              "\", record CSD \"" + utf8FromWide(f->csdVersion) + "\"\n");
    } else {
        print("  FAIL the version record could not be read\n");
        ok = false;
    }
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace pelmora

int main(int argc, char** argv) {
    if (argc == 2) {
        for (const pelmora::Expected& e : pelmora::kExpected) {
            if (std::strcmp(argv[1], e.version) == 0) return pelmora::run(e);
        }
    }
    std::fprintf(stderr, "usage: os_version_probe <win7|win81|win10|winxp|winxp64>\n");
    return 2;
}
