// The installer's own payload, extracted the way the installation does it,
// against the tree it was generated from.
#include <gtest/gtest.h>

#include "base/text.h"
#include "payload/extract_archive.h"
#include "tests/payload/tree_compare.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

constexpr std::int64_t kPayloadStamp = 1640847020;  // 2021-12-30 06:50:20, stored as MS-DOS time, read as UTC

TEST(PayloadExtractTest, PayloadArrivesExactlyAndReplacesAnEarlierInstall) {
    const std::wstring resources = testing::buildDir() + L"\\resources";
    testing::TempFolder temp;
    const std::wstring dest = temp / L"Pelmora";
    ArchiveUnit unit;
    int reports = 0;
    unit.setProgressHandler([&](const ExtractProgress&) { return ++reports > 0; });
    ASSERT_EQ(unit.extractArchive(resources + L"\\payload.zip", dest), 1) << utf8FromWide(unit.lastError());
    EXPECT_EQ(reports, 78);  // one a entry, then the closing 100 %

    // A second install over the first, with a file made read-only meanwhile.
    const std::wstring program = dest + L"\\Pelmora☆Corvane.exe";
    ASSERT_TRUE(::SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(testing::writeFileBytes(dest + L"\\bass.dll", "tampered"));
    std::wstring lastPath;
    unit.setProgressHandler([&](const ExtractProgress& event) {
        lastPath = event.entryPath;
        return true;
    });
    ASSERT_EQ(unit.extractArchive(resources + L"\\payload.zip", dest), 1) << utf8FromWide(unit.lastError());
    EXPECT_EQ(lastPath, program);

    for (const std::wstring& d : testing::compareTrees(resources + L"\\payload_tree", dest)) {
        ADD_FAILURE() << utf8FromWide(d);
    }
    const auto files = testing::listFiles(dest);
    EXPECT_EQ(files.size(), 72u);  // 77 entries, 5 of them folders
    for (const auto& f : files) {
        EXPECT_TRUE(testing::hasNormalAttributes(f.attributes)) << utf8FromWide(f.relative);
        EXPECT_EQ(testing::ticksOf(f.writeTime), testing::ticksAtUnix(kPayloadStamp)) << utf8FromWide(f.relative);
    }
    EXPECT_TRUE(testing::folderExists(dest + L"\\data\\jt"));
    EXPECT_TRUE(testing::folderExists(dest + L"\\data\\zdpf"));
}

}  // namespace
}  // namespace pelmora
