// Extraction onto a drive that fills up part-way: T:, the small file system
// the test set-up maps (scripts/wine-env.sh).
#include <gtest/gtest.h>

#include "base/text.h"
#include "payload/extract_archive.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::fileExists;

constexpr wchar_t kSmallDrive[] = L"T:\\";

ULONGLONG freeBytes(const std::wstring& root) {
    ULARGE_INTEGER free{};
    ::GetDiskFreeSpaceExW(root.c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

// The entry inflates to more than the drive holds, so the disk fills while
// the workers still have blocks of it in the pool. The run ends with 0, the
// entry's file is gone and its space given back (a handle left open would
// keep it), and the entry before it stays.
TEST(DiskFullTest, AFullDiskStopsBothSidesAndLeavesNoFile) {
    const std::wstring root = kSmallDrive;
    ASSERT_TRUE(testing::folderExists(root)) << "drive T: is not mapped (mounting it needs root)";
    const std::wstring dest = root + L"out";
    testing::removeTree(dest);
    const ULONGLONG before = freeBytes(root);
    ASSERT_GT(before, 1024u * 1024u);
    ASSERT_LE(before, 16u * 1024u * 1024u) << "the drive is larger than the test assumes";

    std::string big(static_cast<std::size_t>(before) + 4 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    testing::TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(
        temp / L"a.zip", testing::buildZip({{"first.txt", "first"}, {"big.bin", big}, {"after.txt", "after"}}).bytes));

    ArchiveUnit unit;
    ::SetLastError(0);
    EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
    const DWORD error = ::GetLastError();
    EXPECT_NE(unit.lastError().find(L"big.bin"), std::wstring::npos) << utf8FromWide(unit.lastError());
    // Named as what it is, in the system's words, not as a read or inflate error.
    EXPECT_TRUE(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) << error;
    EXPECT_EQ(unit.lastError().find(L"inflate"), std::wstring::npos) << utf8FromWide(unit.lastError());
    wchar_t reason[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                               512, nullptr);
    while (n > 0 && (reason[n - 1] == L'\r' || reason[n - 1] == L'\n' || reason[n - 1] == L' ')) --n;
    ASSERT_GT(n, 0u);
    EXPECT_NE(unit.lastError().find(std::wstring(reason, n)), std::wstring::npos) << utf8FromWide(unit.lastError());
    std::string first;
    testing::readFileBytes(dest + L"\\first.txt", &first);
    EXPECT_EQ(first, "first");
    EXPECT_FALSE(fileExists(dest + L"\\big.bin"));
    EXPECT_FALSE(fileExists(dest + L"\\after.txt"));
    EXPECT_GT(freeBytes(root) + 64 * 1024, before) << "the space of the removed file was not given back";
    testing::removeTree(dest);
}

}  // namespace
}  // namespace pelmora
