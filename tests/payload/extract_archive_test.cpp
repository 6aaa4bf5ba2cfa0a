#include "payload/extract_archive.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "payload/zip_reader.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::buildZip;
using testing::BuiltZip;
using testing::fileExists;
using testing::folderExists;
using testing::TempFolder;
using testing::TestEntry;

constexpr std::int64_t kFixtureStamp = 1589718896;  // 2020-05-17 12:34:56 UTC

std::wstring fixture(const std::wstring& name) {
    return testing::sourceDir() + L"\\tests\\data\\zip\\" + name;
}

using testing::fileText;

TEST(ExtractArchiveTest, ArchivesFromCommonToolsComeOutExactly) {
    const std::wstring tree = fixture(L"tree");
    for (const wchar_t* name : {L"infozip.zip", L"infozip_nodirs.zip", L"7z.zip", L"bsdtar.zip", L"python.zip"}) {
        SCOPED_TRACE(utf8FromWide(name));
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ArchiveUnit unit;
        std::vector<int> reports;
        unit.setProgressHandler([&](const ExtractProgress& event) {
            reports.push_back(progressPercent(event));
            return true;
        });
        ASSERT_EQ(unit.extractArchive(fixture(name), dest), 1) << utf8FromWide(unit.lastError());
        for (const std::wstring& d : testing::compareTrees(tree, dest)) ADD_FAILURE() << utf8FromWide(d);
        const auto files = testing::listFiles(dest);
        EXPECT_EQ(files.size(), 7u);
        for (const auto& f : files) {
            EXPECT_TRUE(testing::hasNormalAttributes(f.attributes)) << utf8FromWide(f.relative);
            EXPECT_EQ(testing::ticksOf(f.writeTime), testing::ticksAtUnix(kFixtureStamp)) << utf8FromWide(f.relative);
        }
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.front(), 0);
        EXPECT_EQ(reports.back(), 100);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    }
}

// Each archive holds a good entry, the hostile one, and another good entry.
TEST(ExtractArchiveTest, HostileNamesAreRefusedBeforeAnythingIsWritten) {
    const char* names[] = {
        "../escaped.txt",
        "sub/../../escaped.txt",
        "..\\escaped.txt",
        "sub\\..\\..\\escaped.txt",
        "/escaped.txt",
        "\\escaped.txt",
        "C:/escaped.txt",
        "C:escaped.txt",
        "first.txt:stream",
        "CON",
        "sub/nul.txt",
        "Aux.",
        "com1 .log",
        "LPT9.txt",
        "...",
        "sub/../x.txt",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        const std::string zip = buildZip({{"first.txt", "first"}, {name, "hostile"}, {"after.txt", "after"}}).bytes;
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", zip));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        EXPECT_EQ(fileText(dest + L"\\first.txt"), "first");
        EXPECT_FALSE(fileExists(dest + L"\\after.txt"));
        EXPECT_FALSE(fileExists(temp / L"escaped.txt"));
        EXPECT_FALSE(fileExists(L"Z:\\escaped.txt"));
        EXPECT_FALSE(fileExists(L"C:\\escaped.txt"));
        EXPECT_FALSE(folderExists(dest + L"\\sub")) << "folders of a refused entry are not made";
        EXPECT_EQ(testing::listFiles(dest).size(), 1u);
    }
}

// Names whose path under the destination Windows would not open (no long-path
// opt-in: 259 characters for a file, 247 for a folder) are refused before any
// folder of theirs is made. Each archive holds a good entry, the long one, and
// another good entry.
TEST(ExtractArchiveTest, NamesTooLongForWindowsAreRefusedBeforeAnyFolderIsMade) {
    TempFolder temp;
    const std::wstring dest = temp / L"out";
    const std::size_t base = dest.size() + 1;  // the destination and its separator
    ASSERT_LT(base, 120u) << "the cases below need a shorter temporary folder";
    // A name of `total` characters below the destination: a 100-character
    // folder, then the rest as the file name (at most 255 each).
    auto nested = [&](std::size_t total) { return std::string(100, 'f') + "/" + std::string(total - base - 101, 'n'); };
    std::string deep;  // "a/a/a/.../ab", 60,000 characters
    while (deep.size() < 59998) deep += "a/";
    deep += "ab";

    const struct {
        const char* what;
        std::string name;
        bool extracts;
    } cases[] = {
        {"file path of 259 characters", nested(259), true},
        {"file path of 260 characters", nested(260), false},
        {"folder path of 247 characters", std::string(247 - base, 'd') + "/", true},
        {"folder path of 248 characters", std::string(248 - base, 'd') + "/", false},
        {"short file in a folder of 248 characters", std::string(248 - base, 'd') + "/x", false},
        {"a/a/a/... of 60,000 characters", deep, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(testing::writeFileBytes(
            temp / L"a.zip", buildZip({{"first.txt", "first"}, {c.name, "long"}, {"after.txt", "after"}}).bytes));
        ArchiveUnit unit;
        const int result = unit.extractArchive(temp / L"a.zip", dest);
        const std::wstring firstComponent(c.name.begin(), std::find(c.name.begin(), c.name.end(), '/'));
        const std::wstring target = dest + L"\\" + wideFromUtf8(c.name);
        if (c.extracts) {
            EXPECT_EQ(result, 1) << utf8FromWide(unit.lastError());
            EXPECT_TRUE(c.name.back() == '/' ? folderExists(target) : fileText(target) == "long");
            EXPECT_EQ(fileText(dest + L"\\after.txt"), "after");
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_NE(unit.lastError().find(L"too long"), std::wstring::npos) << utf8FromWide(unit.lastError());
            EXPECT_EQ(fileText(dest + L"\\first.txt"), "first");
            EXPECT_FALSE(folderExists(dest + L"\\" + firstComponent)) << "folders of a refused entry are not made";
            EXPECT_FALSE(fileExists(dest + L"\\after.txt"));
        }
        testing::removeTree(dest);
    }
}

// Valid archives that sit at the format's limits, or behind other data such
// as a program stub, extract like any other.
TEST(ExtractArchiveTest, ArchivesAtTheFormatLimitsOrBehindOtherDataExtract) {
    const std::vector<TestEntry> two = {{"a.txt", "alpha"}, {"sub/b.txt", "beta"}};
    std::vector<TestEntry> full(65534, testing::folderEntry("d/"));  // the most a plain end record counts
    full.push_back({"d/last.txt", "last of 65,535"});
    const std::string stub = "MZ" + std::string(4094, '\x90');
    const std::string longestComment(65535, 'c');
    const struct {
        const char* what;
        BuiltZip zip;
        const wchar_t* file;
        const char* content;
    } cases[] = {
        {"65,535 entries", buildZip(full), L"d\\last.txt", "last of 65,535"},
        {"comment of 65,535 bytes", buildZip(two, {}, longestComment), L"sub\\b.txt", "beta"},
        {"stub, offsets not adjusted", buildZip(two, stub), L"sub\\b.txt", "beta"},
        {"stub, offsets adjusted", buildZip(two, stub, {}, testing::PrefixOffsets::Adjusted), L"sub\\b.txt", "beta"},
        {"stub and comment of 65,535 bytes", buildZip(two, stub, longestComment), L"sub\\b.txt", "beta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.exe", c.zip.bytes));
        ArchiveUnit unit;
        std::vector<int> reports;
        unit.setProgressHandler([&](const ExtractProgress& event) {
            reports.push_back(progressPercent(event));
            return true;
        });
        const int result = unit.extractArchive(temp / L"a.exe", temp / L"out");
        EXPECT_EQ(result, 1) << utf8FromWide(unit.lastError());
        if (result != 1) continue;
        EXPECT_EQ(fileText(temp / L"out\\" + c.file), c.content);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back(), 100);
    }
}

TEST(ExtractArchiveTest, DamagedOrUnsupportedEntriesFailAndLeaveNoFile) {
    const std::string text(50000, 'q');
    std::vector<std::pair<const char*, TestEntry>> cases;
    TestEntry e{"bad.txt", text};
    e.crc = 1;
    cases.push_back({"CRC", e});
    e = TestEntry{"bad.txt", text};
    e.uncompressedSize = 49999;
    cases.push_back({"size short", e});
    e = TestEntry{"bad.txt", text};
    e.uncompressedSize = 50001;
    cases.push_back({"size long", e});
    e = TestEntry{"bad.txt", text};
    e.payloadOverride = testing::rawDeflate(text).substr(0, 20);
    cases.push_back({"truncated stream", e});
    e = TestEntry{"bad.txt", text};
    e.flags = 1;
    cases.push_back({"encrypted", e});
    e = TestEntry{"bad.txt", text};
    e.method = 14;
    cases.push_back({"unknown method", e});
    e = TestEntry{"bad.txt", text};
    e.compressedSize = 0xFFFFFFFF;
    cases.push_back({"64-bit size", e});
    e = TestEntry{"bad.txt", text};
    e.localName = "odd.txt";
    cases.push_back({"local name differs", e});
    e = TestEntry{"bad.txt", text};
    e.localExtra = std::string("\x55\x54\x09\x00\x01", 5);
    cases.push_back({"extra field cut short", e});
    for (const auto& [what, entry] : cases) {
        SCOPED_TRACE(what);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip({{"first.txt", "first"}, entry}).bytes));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        EXPECT_EQ(fileText(dest + L"\\first.txt"), "first");
        EXPECT_FALSE(fileExists(dest + L"\\bad.txt"));
        EXPECT_FALSE(unit.lastError().empty());
    }
}

TEST(ExtractArchiveTest, NamesAreCodePage936UnlessFlaggedUtf8) {
    TestEntry gbk{"gbk/\xCD\xBC\xB1\xEA.ico", "gbk"};  // 图标.ico
    TestEntry utf8{"utf8/\xE5\x9B\xBE\xE6\xA0\x87.ico", "utf8"};
    utf8.flags = 0x0800;
    TestEntry trailBackslash{"\x81\x5C.txt", "one file"};  // 乗.txt: its trail byte is 0x5C
    TestEntry folder = testing::folderEntry("\xBF\xD5/");  // 空/
    TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip({gbk, utf8, trailBackslash, folder}).bytes));
    ArchiveUnit unit;
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"out"), 1) << utf8FromWide(unit.lastError());
    EXPECT_EQ(fileText(temp / L"out\\gbk\\图标.ico"), "gbk");
    EXPECT_EQ(fileText(temp / L"out\\utf8\\图标.ico"), "utf8");
    EXPECT_EQ(fileText(temp / L"out\\乗.txt"), "one file");
    EXPECT_TRUE(folderExists(temp / L"out\\空"));
    EXPECT_EQ(testing::listFiles(temp / L"out").size(), 3u);
}

TEST(ExtractArchiveTest, ReplacesReadOnlyFilesAndAcceptsATrailingBackslash) {
    TempFolder temp;
    const std::wstring dest = temp / L"out";
    ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
    ASSERT_TRUE(testing::writeFileBytes(dest + L"\\a.txt", "old and longer than the new content"));
    ASSERT_TRUE(::SetFileAttributesW((dest + L"\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ArchiveUnit unit;
    std::vector<std::wstring> paths;
    unit.setProgressHandler([&](const ExtractProgress& event) {
        paths.push_back(event.entryPath);
        return true;
    });
    ASSERT_EQ(unit.extractArchive(fixture(L"infozip.zip"), dest + L"\\"), 1);
    EXPECT_EQ(fileText(dest + L"\\a.txt"), "hello\n");
    EXPECT_TRUE(testing::hasNormalAttributes(::GetFileAttributesW((dest + L"\\a.txt").c_str())));
    EXPECT_TRUE(testing::compareTrees(fixture(L"tree"), dest).empty());
    // The target paths have one backslash between folder and name either way.
    ASSERT_FALSE(paths.empty());
    for (const std::wstring& path : paths) EXPECT_EQ(path.find(L"\\\\"), std::wstring::npos) << utf8FromWide(path);
}

TEST(ExtractArchiveTest, ResultsForMissingPathsAndNonArchives) {
    TempFolder temp;
    ArchiveUnit unit;
    EXPECT_EQ(unit.extractArchive(temp / L"absent.zip", temp / L"out"), -1);
    EXPECT_EQ(unit.extractArchive(L"", temp / L"out"), -1);
    EXPECT_EQ(unit.extractArchive(fixture(L"infozip.zip"), L""), -1);
    EXPECT_FALSE(folderExists(temp / L"out"));

    ASSERT_TRUE(testing::writeFileBytes(temp / L"text.zip", std::string(100, 'x')));
    EXPECT_EQ(unit.extractArchive(temp / L"text.zip", temp / L"out\\deep\\er"), 0);
    EXPECT_FALSE(folderExists(temp / L"out")) << "nothing is made for an archive that cannot be used";
    EXPECT_EQ(unit.extractArchive(fixture(L"infozip.zip"), temp / L"out\\deep\\er"), 1);
    EXPECT_TRUE(folderExists(temp / L"out\\deep\\er")) << "the destination is made with its parents";

    // An end record alone is an archive of nothing, not a finished installation.
    ASSERT_TRUE(testing::writeFileBytes(temp / L"empty.zip", buildZip({}).bytes));
    EXPECT_EQ(unit.extractArchive(temp / L"empty.zip", temp / L"out"), 0);
    EXPECT_FALSE(unit.lastError().empty());

    // A destination below a file cannot be made.
    ASSERT_TRUE(testing::writeFileBytes(temp / L"file", "x"));
    EXPECT_EQ(unit.extractArchive(fixture(L"infozip.zip"), temp / L"file\\out"), 0);
}

TEST(ExtractArchiveTest, ProgressReportsPercentagesAndCanCancel) {
    TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(
        temp / L"a.zip", buildZip({{"1", "a"}, {"2", "b"}, testing::folderEntry("d/"), {"d/4", "d"}}).bytes));
    ArchiveUnit unit;
    std::vector<int> reports;
    std::wstring lastPath;
    unit.setProgressHandler([&](const ExtractProgress& event) {
        reports.push_back(progressPercent(event));
        lastPath = event.entryPath;
        return true;
    });
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"out"), 1);
    EXPECT_EQ(reports, (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(lastPath, temp / L"out\\d\\4");

    reports.clear();
    unit.setProgressHandler([&](const ExtractProgress& event) {
        reports.push_back(progressPercent(event));
        return progressPercent(event) < 25;  // cancel at the second entry
    });
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"again"), 1);
    EXPECT_EQ(reports, (std::vector<int>{0, 25}));
    EXPECT_TRUE(fileExists(temp / L"again\\2"));
    EXPECT_FALSE(folderExists(temp / L"again\\d"));
}

// One event per entry in the archive's order, each naming where its entry
// went and, for a file, the size and CRC-32 of what it wrote (the install
// record takes them from here instead of reading the files back), the bytes
// only growing, and one closing event once all are in place.
TEST(ExtractArchiveTest, ProgressEventsFollowTheEntries) {
    TempFolder temp;
    TestEntry stored{"2", "bb", false};
    const std::string big(5000, 'd');
    ASSERT_TRUE(testing::writeFileBytes(
        temp / L"a.zip", buildZip({{"1", "a"}, stored, testing::folderEntry("d/"), {"d/4", big}}).bytes));
    ArchiveUnit unit;
    std::vector<ExtractProgress> events;
    unit.setProgressHandler([&](const ExtractProgress& event) {
        events.push_back(event);
        return true;
    });
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"out"), 1) << utf8FromWide(unit.lastError());

    const std::wstring out = temp / L"out";
    const struct {
        int index;
        std::wstring path;
        std::uint64_t bytes;
        bool done;
        bool file;
        std::string data;  // a file's
    } expected[] = {
        {0, out + L"\\1", 1, false, true, "a"},      {1, out + L"\\2", 3, false, true, "bb"},
        {2, out + L"\\d", 3, false, false, ""},      {3, out + L"\\d\\4", 5003, false, true, big},
        {3, out + L"\\d\\4", 5003, true, true, big},
    };
    ASSERT_EQ(events.size(), std::size(expected));
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].entryIndex, expected[i].index);
        EXPECT_EQ(events[i].entryPath, expected[i].path);
        EXPECT_EQ(events[i].bytesDone, expected[i].bytes);
        EXPECT_EQ(events[i].done, expected[i].done);
        EXPECT_EQ(events[i].entryCount, 4);
        EXPECT_EQ(events[i].bytesTotal, 5003u);
        EXPECT_EQ(events[i].entryIsFile, expected[i].file);
        if (expected[i].file) {
            EXPECT_EQ(events[i].entrySize, expected[i].data.size());
            EXPECT_EQ(events[i].entryCrc, testing::crc32Of(expected[i].data));
        }
    }
}

TEST(ZipReaderTest, EntriesByIndexWithPrecedingDataAndRelativeTargets) {
    TempFolder temp;
    TestEntry stamped{"dir/stamped.txt", "stamped"};
    stamped.external = 0x81A40000;
    const std::string ut = std::string("\x03", 1) + testing::le32(1000000000) + testing::le32(1100000000);
    stamped.localExtra = testing::extraBlock(0x5455, ut);
    const auto zip = buildZip({testing::folderEntry("dir/"), stamped}, std::string(3000, 'S'));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"sfx.exe", zip.bytes));

    ZipResult error = ZipResult::Ok;
    std::unique_ptr<ZipReader> reader = ZipReader::open(temp / L"sfx.exe", &error);
    ASSERT_TRUE(reader) << zip::zipResultName(error);
    ZipEntryInfo info;
    ASSERT_EQ(reader->getEntry(-1, &info), ZipResult::Ok);
    EXPECT_EQ(info.index, 2);
    EXPECT_EQ(reader->getEntry(2, &info), ZipResult::BadArgument);
    EXPECT_EQ(reader->getEntry(-2, &info), ZipResult::BadArgument);
    ASSERT_EQ(reader->getEntry(1, &info), ZipResult::Ok);
    EXPECT_EQ(info.name, "dir/stamped.txt");
    EXPECT_EQ(info.attributes, static_cast<std::uint32_t>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(info.uncompressedSize, 7u);
    EXPECT_EQ(testing::ticksOf(info.writeTime), testing::ticksAtUnix(1000000000));
    EXPECT_EQ(testing::ticksOf(info.accessTime), testing::ticksAtUnix(1100000000));
    ASSERT_EQ(reader->getEntry(0, &info), ZipResult::Ok);  // going back restarts the walk
    EXPECT_TRUE(info.isDirectory());

    // A relative target is placed under the folder current at open, folders made.
    wchar_t before[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryW(temp.path().c_str()));
    reader = ZipReader::open(L"sfx.exe", &error);
    ::SetCurrentDirectoryW(before);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->extractEntryToFile(1, L"made\\here\\x.txt"), ZipResult::Ok);
    EXPECT_EQ(fileText(temp / L"made\\here\\x.txt"), "stamped");
    EXPECT_EQ(zipGetEntry(nullptr, 0, &info), ZipResult::NotReader);
}

}  // namespace
}  // namespace pelmora
