// extractArchive when the destination or the archive is hostile or unlucky:
// links below the destination, files it replaces, names that collide on
// Windows, files held open elsewhere, archives that cannot be opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "base/unique_resource.h"
#include "payload/extract_archive.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/host_link.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::buildZip;
using testing::fileExists;
using testing::folderExists;
using testing::TempFolder;
using testing::TestEntry;

using testing::fileText;

TestEntry utf8Entry(const char* name, const char* data) {
    TestEntry e{name, data};
    e.flags = 0x0800;
    return e;
}

TestEntry damaged(const char* name) {
    TestEntry e{name, std::string(5000, 'q')};
    e.crc = 1;
    return e;
}

// Names of the files directly in folder, sorted as the system lists them.
std::vector<std::wstring> namesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const testing::TreeFile& f : testing::listFiles(folder)) names.push_back(f.relative);
    return names;
}

std::wstring systemText(DWORD error) {
    wchar_t text[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512,
                               nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    return std::wstring(text, n);
}

bool mentions(const std::wstring& text, const std::wstring& part) {
    return !part.empty() && text.find(part) != std::wstring::npos;
}

// A link planted below the destination, to a folder or a file outside it
// or inside it: nothing is written through it, the entry that meets it fails
// naming it, and what it points to is as it was.
TEST(ExtractArchiveFailuresTest, NothingIsWrittenThroughALinkBelowTheDestination) {
    const struct {
        const char* what;
        const wchar_t* link;    // below the destination
        const wchar_t* target;  // below the test's folder
        std::vector<TestEntry> entries;
    } cases[] = {
        {"file below a linked folder", L"sub", L"elsewhere", {{"first.txt", "first"}, {"sub/a.txt", "through"}}},
        {"folder entry, then a file deeper",
         L"sub",
         L"elsewhere",
         {testing::folderEntry("sub/"), {"sub/deeper/x.txt", "through"}}},
        {"linked folder named in other case", L"Sub", L"elsewhere", {{"SUB/a.txt", "through"}}},
        {"link to a folder inside the destination", L"alias", L"out\\real", {{"alias/a.txt", "through"}}},
        {"file that is a link to a file outside", L"a.txt", L"elsewhere\\outside.txt", {{"a.txt", "through"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((temp / L"elsewhere").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((dest + L"\\real").c_str(), nullptr));
        ASSERT_TRUE(testing::writeFileBytes(temp / L"elsewhere\\outside.txt", "outside"));
        const testing::HostLink link(dest + L"\\" + c.link, temp / c.target);
        ASSERT_TRUE(link.made()) << "cannot plant the link";
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip(c.entries).bytes));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        EXPECT_TRUE(mentions(unit.lastError(), L"link")) << utf8FromWide(unit.lastError());
        EXPECT_EQ(namesIn(temp / L"elsewhere"), std::vector<std::wstring>{L"outside.txt"});
        EXPECT_EQ(fileText(temp / L"elsewhere\\outside.txt"), "outside");
        EXPECT_TRUE(namesIn(dest + L"\\real").empty());
    }
}

// Every file an extraction replaced holds its old content, attributes
// included, once the extraction failed, wherever the failure struck: at
// the replaced file's own entry, at a later one, or at a new file. No backup
// is left beside them, and none of them counts as created.
TEST(ExtractArchiveFailuresTest, AFailedExtractionLeavesEveryReplacedFileAsItWas) {
    const struct {
        const char* what;
        std::vector<TestEntry> entries;
    } cases[] = {
        {"the replaced file's own data is damaged", {{"a.txt", "new a"}, damaged("b.txt"), {"c.txt", "new c"}}},
        {"a later replaced file's data is damaged", {{"a.txt", "new a"}, {"b.txt", "new b"}, damaged("c.txt")}},
        {"a new file's data is damaged", {{"a.txt", "new a"}, {"b.txt", "new b"}, damaged("new.txt")}},
        {"a later name is refused", {{"a.txt", "new a"}, {"b.txt", "new b"}, {"../x.txt", "x"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
        ASSERT_TRUE(testing::writeFileBytes(dest + L"\\a.txt", "old a, longer than the new"));
        ASSERT_TRUE(testing::writeFileBytes(dest + L"\\b.txt", "old b"));
        ASSERT_TRUE(testing::writeFileBytes(dest + L"\\c.txt", "old c"));
        constexpr DWORD kOld = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        ASSERT_TRUE(::SetFileAttributesW((dest + L"\\a.txt").c_str(), kOld));
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip(c.entries).bytes));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        EXPECT_EQ(fileText(dest + L"\\a.txt"), "old a, longer than the new");
        EXPECT_EQ(fileText(dest + L"\\b.txt"), "old b");
        EXPECT_EQ(fileText(dest + L"\\c.txt"), "old c");
        EXPECT_EQ(::GetFileAttributesW((dest + L"\\a.txt").c_str()) & kOld, kOld);
        EXPECT_EQ(namesIn(dest), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));
        for (const ArchiveUnit::CreatedPath& p : unit.createdPaths()) {
            EXPECT_TRUE(p.path.find(L"\\new.txt") != std::wstring::npos) << utf8FromWide(p.path);
        }
        EXPECT_TRUE(unit.replacedFiles().empty());
    }
}

// Replacing for good: the new content, normal attributes, no backup left.
// Kept replacements wait for the caller, who can still take them back.
TEST(ExtractArchiveFailuresTest, ReplacedFilesAreDroppedOnSuccessOrKeptForTheCaller) {
    TempFolder temp;
    const std::wstring dest = temp / L"out";
    ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
    const auto plant = [&] {
        ASSERT_TRUE(testing::writeFileBytes(dest + L"\\a.txt", "old a"));
        ASSERT_TRUE(::SetFileAttributesW((dest + L"\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    };
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip({{"a.txt", "new a"}, {"n.txt", "n"}}).bytes));
    plant();
    ArchiveUnit unit;
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", dest), 1) << utf8FromWide(unit.lastError());
    EXPECT_EQ(fileText(dest + L"\\a.txt"), "new a");
    EXPECT_TRUE(testing::hasNormalAttributes(::GetFileAttributesW((dest + L"\\a.txt").c_str())));
    EXPECT_EQ(namesIn(dest), (std::vector<std::wstring>{L"a.txt", L"n.txt"}));
    EXPECT_TRUE(unit.replacedFiles().empty());

    for (bool restore : {true, false}) {
        SCOPED_TRACE(restore ? "restored" : "committed");
        testing::removeTree(dest);
        ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
        plant();
        unit.setKeepReplacedFiles(true);
        ASSERT_EQ(unit.extractArchive(temp / L"a.zip", dest), 1) << utf8FromWide(unit.lastError());
        ASSERT_EQ(unit.replacedFiles().size(), 1u);
        const SetAsideFile kept = unit.replacedFiles()[0];
        EXPECT_EQ(kept.path, dest + L"\\a.txt");
        EXPECT_EQ(fileText(kept.backup), "old a");
        EXPECT_EQ(fileText(dest + L"\\a.txt"), "new a");
        EXPECT_TRUE(restore ? unit.restoreReplaced() : unit.commitReplaced());
        EXPECT_TRUE(unit.replacedFiles().empty());
        EXPECT_EQ(fileText(dest + L"\\a.txt"), restore ? "old a" : "new a");
        EXPECT_EQ((::GetFileAttributesW((dest + L"\\a.txt").c_str()) & FILE_ATTRIBUTE_READONLY) != 0, restore);
        EXPECT_FALSE(fileExists(kept.backup));
        EXPECT_EQ(namesIn(dest), (std::vector<std::wstring>{L"a.txt", L"n.txt"}));
    }
}

// Two entries that Windows would store as one file are refused before the
// destination is even made. Names that only look alike, and one folder named
// twice, still extract.
TEST(ExtractArchiveFailuresTest, EntriesNamingOneWindowsFileAreRefusedBeforeAnythingIsWritten) {
    const struct {
        const char* what;
        std::vector<TestEntry> entries;
        bool collide;
    } cases[] = {
        {"Ä and ä", {utf8Entry("\xC3\x84.txt", "upper"), utf8Entry("\xC3\xA4.txt", "lower")}, true},
        {"Σ and σ", {utf8Entry("\xCE\xA3.txt", "upper"), utf8Entry("\xCF\x83.txt", "lower")}, true},
        {"ASCII case", {{"README.txt", "1"}, {"readme.txt", "2"}}, true},
        {"folder by folder", {{"Dir/Sub/a.txt", "1"}, {"dir/SUB/A.TXT", "2"}}, true},
        {"\\ and / separators, ./ and //", {{"d/x.txt", "1"}, {".\\D//X.TXT", "2"}}, true},
        {"trailing dot", {{"name", "1"}, {"NAME.", "2"}}, true},
        {"file and folder of one name", {{"thing", "1"}, {"THING/inside.txt", "2"}}, true},
        {"Ä and A differ", {utf8Entry("\xC3\x84.txt", "1"), utf8Entry("A.txt", "2")}, false},
        {"one folder twice", {testing::folderEntry("d/"), testing::folderEntry("D/"), {"d/x.txt", "x"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip(c.entries).bytes));
        ArchiveUnit unit;
        const int result = unit.extractArchive(temp / L"a.zip", dest);
        if (c.collide) {
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(mentions(unit.lastError(), L"same file")) << utf8FromWide(unit.lastError());
            EXPECT_FALSE(folderExists(dest)) << "nothing is written, not even the destination";
        } else {
            EXPECT_EQ(result, 1) << utf8FromWide(unit.lastError());
        }
    }
}

// A read-only file another program holds open cannot be replaced: the entry
// fails naming the system's reason, and the file keeps its content and its
// attributes. The reason is also the caller's last error.
TEST(ExtractArchiveFailuresTest, AFileHeldOpenElsewhereKeepsItsAttributesAndTheReasonIsGiven) {
    TempFolder temp;
    const std::wstring dest = temp / L"out";
    ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
    const std::wstring held = dest + L"\\held.dll";
    ASSERT_TRUE(testing::writeFileBytes(held, "running"));
    constexpr DWORD kOld = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(::SetFileAttributesW(held.c_str(), kOld));
    // As a running program holds its own files: others may read, not write or delete.
    UniqueFile other(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip({{"held.dll", "new"}}).bytes));
    ArchiveUnit unit;
    ::SetLastError(0);
    EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
    const DWORD error = ::GetLastError();
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(unit.lastSystemError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(mentions(unit.lastError(), systemText(ERROR_SHARING_VIOLATION))) << utf8FromWide(unit.lastError());
    other.reset();
    EXPECT_EQ(::GetFileAttributesW(held.c_str()) & kOld, kOld);
    EXPECT_EQ(fileText(held), "running");
    EXPECT_EQ(namesIn(dest), std::vector<std::wstring>{L"held.dll"});
}

// An archive that cannot be opened or used leaves no destination behind,
// and the failure line says why in the system's words where it has some.
TEST(ExtractArchiveFailuresTest, AnArchiveThatCannotBeUsedLeavesNoDestinationAndSaysWhy) {
    TempFolder temp;
    ASSERT_TRUE(::CreateDirectoryW((temp / L"folder.zip").c_str(), nullptr));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"text.zip", std::string(100, 'x')));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"empty.zip", buildZip({}).bytes));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"busy.zip", buildZip({{"a.txt", "a"}}).bytes));
    // Another program still writing it: no sharing at all.
    UniqueFile writer(
        ::CreateFileW((temp / L"busy.zip").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    const struct {
        const wchar_t* archive;
        std::wstring reason;
    } cases[] = {
        {L"folder.zip", L"folder"},
        {L"text.zip", L"not a ZIP archive"},
        {L"empty.zip", L"no entries"},
        {L"busy.zip", systemText(ERROR_SHARING_VIOLATION)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8FromWide(c.archive));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / c.archive, temp / L"out\\deep"), 0);
        EXPECT_TRUE(mentions(unit.lastError(), c.reason)) << utf8FromWide(unit.lastError());
        EXPECT_FALSE(folderExists(temp / L"out")) << "no destination, nor a folder above it";
    }
}

// A destination that cannot be made: the failure line gives the system's reason.
TEST(ExtractArchiveFailuresTest, ADestinationThatCannotBeMadeSaysWhy) {
    TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip({{"a.txt", "a"}}).bytes));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"file", "x"));
    std::vector<std::wstring> destinations = {temp / L"file\\out"};
    // U: is the read-only drive the test set-up maps (mounting it needs root).
    if (folderExists(L"U:\\")) destinations.push_back(L"U:\\out");
    for (const std::wstring& dest : destinations) {
        SCOPED_TRACE(utf8FromWide(dest));
        ArchiveUnit unit;
        ::SetLastError(0);
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        const DWORD error = ::GetLastError();
        EXPECT_NE(error, 0u);
        EXPECT_EQ(unit.lastSystemError(), error);
        EXPECT_TRUE(mentions(unit.lastError(), systemText(error))) << utf8FromWide(unit.lastError());
        EXPECT_EQ(unit.failedPath(), dest);
    }
}

}  // namespace
}  // namespace pelmora
