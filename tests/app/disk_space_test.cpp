// The disk-space rule: what an installation needs, when it fits, and how the
// figures read in the box.
#include "app/disk_space.h"

#include <gtest/gtest.h>

#include "app/installer_messages.h"
#include "payload/embedded_data.h"

namespace pelmora {
namespace {

// The uninstaller is one more file in the product folder: whole clusters too.
TEST(DiskSpaceTest, EveryFileAndTheUninstallerTakeWholeClustersAndFoldersNothing) {
    const std::vector<PlannedPath> plan = {
        {L"C:\\x\\Pelmora", true, 0},   {L"C:\\x\\empty", false, 0},   {L"C:\\x\\one", false, 1},
        {L"C:\\x\\exact", false, 4096}, {L"C:\\x\\over", false, 4097}, {L"C:\\x\\dir", true, 999999},
    };
    const std::uint64_t files = 0 + 4096 + 4096 + 8192;
    const struct {
        std::vector<PlannedPath> plan;
        std::uint64_t uninstaller;
        std::uint64_t needed;
    } cases[] = {
        {plan, 0, kSpaceMargin + files},
        {plan, 1, kSpaceMargin + files + 4096},
        {plan, 4096, kSpaceMargin + files + 4096},
        {plan, 1536001, kSpaceMargin + files + 376 * 4096},
        {{}, 0, kSpaceMargin},
        {{}, 4097, kSpaceMargin + 8192},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spaceNeeded(c.plan, c.uninstaller), c.needed) << c.plan.size() << " paths, " << c.uninstaller;
}

// The payload: its archive, its unpacked files and the uninstaller exist together.
TEST(DiskSpaceTest, ThePayloadNeedsItsArchiveAndItsUnpackedFilesAtOnce) {
    const ByteView payload = payloadArchive();
    const std::vector<PlannedPath> plan = plannedPaths(L"C:\\Program Files", payload.data, payload.size);
    std::uint64_t files = 0, unpacked = 0;
    for (const PlannedPath& p : plan) {
        if (p.folder) continue;
        ++files;
        if (p.path != L"C:\\Program Files\\Pelmora.zip") unpacked += p.size;
    }
    ASSERT_GT(unpacked, payload.size) << "the payload is compressed";
    constexpr std::uint64_t kUninstaller = 700000;
    const std::uint64_t needed = spaceNeeded(plan, kUninstaller);
    EXPECT_GE(needed, payload.size + unpacked + kUninstaller + kSpaceMargin);
    EXPECT_LE(needed, payload.size + unpacked + kUninstaller + kSpaceMargin + (files + 1) * kClusterBytes);
}

TEST(DiskSpaceTest, EnoughOnlyWhenTheWholeNeedFitsOrTheFreeSpaceIsUnknown) {
    const struct {
        std::optional<std::uint64_t> free;
        std::uint64_t needed;
        bool enough;
    } cases[] = {
        {100, 100, true},
        {99, 100, false},
        {0, 1, false},
        {std::uint64_t{1} << 40, 45000000, true},
        {std::nullopt, std::uint64_t{1} << 40, true},
    };
    for (const auto& c : cases) EXPECT_EQ(enoughSpace(c.free, c.needed), c.enough) << c.needed;
}

TEST(DiskSpaceTest, SizesReadInKilobytesMegabytesOrGigabytes) {
    constexpr std::uint64_t kMiB = 1024 * 1024, kGiB = kMiB * 1024;
    const struct {
        std::uint64_t bytes;
        Rounding rounding;
        const wchar_t* text;
    } cases[] = {
        {0, Rounding::Up, L"0 KB"},
        {1, Rounding::Up, L"1 KB"},
        {1, Rounding::Down, L"0 KB"},
        {1023 * 1024, Rounding::Down, L"1023 KB"},
        {1023 * 1024 + 1, Rounding::Up, L"1.0 MB"},  // 1024 KB is a megabyte
        {kMiB, Rounding::Down, L"1.0 MB"},
        {19315127, Rounding::Up, L"18.5 MB"},
        {19315127, Rounding::Down, L"18.4 MB"},
        {kGiB - 1, Rounding::Down, L"1023.9 MB"},
        {kGiB + kGiB / 2, Rounding::Down, L"1.5 GB"},
        {kGiB * 2000 + 1, Rounding::Up, L"2000.1 GB"},
    };
    for (const auto& c : cases) EXPECT_EQ(sizeText(c.bytes, c.rounding), c.text) << c.bytes;
}

// Rounded apart, a shortfall of a single byte never reads as two equal figures.
TEST(DiskSpaceTest, TheBoxSaysWhereHowMuchIsNeededAndHowMuchIsFree) {
    EXPECT_EQ(notEnoughSpaceText(L"T:\\", 45000000, 8 * 1024 * 1024),
              L"磁盘空间不足：T:\\\r\n安装需要 43.0 MB，可用空间只有 8.0 MB。\r\n请释放磁盘空间或选择其他安装目录。");
    EXPECT_EQ(
        notEnoughSpaceText(L"D:\\apps", 10 * 1024 * 1024 + 1, 10 * 1024 * 1024),
        L"磁盘空间不足：D:\\apps\r\n安装需要 10.1 MB，可用空间只有 10.0 MB。\r\n请释放磁盘空间或选择其他安装目录。");
}

}  // namespace
}  // namespace pelmora
