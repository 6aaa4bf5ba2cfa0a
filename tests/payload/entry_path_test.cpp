#include "payload/entry_path.h"

#include <gtest/gtest.h>

namespace pelmora::zip {
namespace {

struct PathCase {
    const wchar_t* name;
    PathVerdict verdict;
    const wchar_t* relative;  // when safe
};

TEST(EntryPathTest, NamesBecomeRelativePathsOrAreRefused) {
    const PathCase cases[] = {
        {L"a.txt", PathVerdict::Safe, L"a.txt"},
        {L"data/jt/", PathVerdict::Safe, L"data\\jt"},
        {L"data\\tubiao\\图标.ico", PathVerdict::Safe, L"data\\tubiao\\图标.ico"},
        {L"./sub/x", PathVerdict::Safe, L"sub\\x"},
        {L"./", PathVerdict::Safe, L""},
        {L"a//b", PathVerdict::Safe, L"a\\b"},
        {L"..a/b..", PathVerdict::Safe, L"..a\\b.."},
        {L"console.txt", PathVerdict::Safe, L"console.txt"},
        {L"COM0", PathVerdict::Safe, L"COM0"},
        {L"LPT10.txt", PathVerdict::Safe, L"LPT10.txt"},
        // Leaving the destination.
        {L"../evil", PathVerdict::ParentReference, nullptr},
        {L"a/../../evil", PathVerdict::ParentReference, nullptr},
        {L"a\\..\\..\\evil", PathVerdict::ParentReference, nullptr},
        {L"a/..", PathVerdict::ParentReference, nullptr},
        {L"a/.../b", PathVerdict::ParentReference, nullptr},
        {L"a/. ./b", PathVerdict::ParentReference, nullptr},
        {L"/etc/passwd", PathVerdict::Absolute, nullptr},
        {L"\\Windows\\x.dll", PathVerdict::Absolute, nullptr},
        {L"\\\\server\\share\\x", PathVerdict::Absolute, nullptr},
        {L"C:/x", PathVerdict::DriveOrStream, nullptr},
        {L"C:x", PathVerdict::DriveOrStream, nullptr},
        {L"a.txt:hidden", PathVerdict::DriveOrStream, nullptr},
        {L"dir/file::$DATA", PathVerdict::DriveOrStream, nullptr},
        // Devices, wherever they appear.
        {L"CON", PathVerdict::DeviceName, nullptr},
        {L"sub/nul.txt", PathVerdict::DeviceName, nullptr},
        {L"Aux/x", PathVerdict::DeviceName, nullptr},
        {L"prn.", PathVerdict::DeviceName, nullptr},
        {L"com1 .log", PathVerdict::DeviceName, nullptr},
        {L"lpt9", PathVerdict::DeviceName, nullptr},
        {L"COM\u00B9", PathVerdict::DeviceName, nullptr},
        {L"conout$", PathVerdict::DeviceName, nullptr},
        // Not names at all.
        {L"", PathVerdict::Empty, nullptr},
        {L".", PathVerdict::Empty, nullptr},
        {L"a\tb", PathVerdict::BadCharacter, nullptr},
        {L"what?", PathVerdict::BadCharacter, nullptr},
        {L"a|b", PathVerdict::BadCharacter, nullptr},
    };
    for (const PathCase& c : cases) {
        EntryPath path;
        EXPECT_EQ(safeRelativePath(c.name, &path), c.verdict) << ::testing::PrintToString(std::wstring(c.name));
        if (c.verdict == PathVerdict::Safe) {
            EXPECT_EQ(path.relative, c.relative);
        } else {
            EXPECT_TRUE(path.relative.empty());
        }
    }
}

TEST(EntryPathTest, ComponentsLongerThanFileSystemsAllowAreRefused) {
    EntryPath path;
    const std::wstring longest(255, L'n');
    EXPECT_EQ(safeRelativePath(L"dir/" + longest, &path), PathVerdict::Safe);
    EXPECT_EQ(safeRelativePath(L"dir/" + longest + L"n", &path), PathVerdict::TooLong);
    EXPECT_EQ(safeRelativePath(longest + L"n/x", &path), PathVerdict::TooLong);
    EXPECT_TRUE(path.relative.empty());
}

// Windows without the long-path opt-in: 259 characters for a file, 247 for a
// folder (room for a separator and an 8.3 name), counted with the destination
// and the separator after it.
TEST(EntryPathTest, PathsBelowTheDestinationMustFitWindowsLimits) {
    const struct {
        std::size_t folder;
        std::wstring name;
        bool isFolder;
        PathVerdict verdict;
    } cases[] = {
        {10, std::wstring(248, L'f'), false, PathVerdict::Safe},  // 10 + 1 + 248 = 259
        {10, std::wstring(249, L'f'), false, PathVerdict::TooLong},
        {10, std::wstring(236, L'd'), true, PathVerdict::Safe},  // 247
        {10, std::wstring(237, L'd'), true, PathVerdict::TooLong},
        {10, std::wstring(236, L'd') + L"\\x", false, PathVerdict::Safe},  // its folder is 247
        {10, std::wstring(237, L'd') + L"\\x", false, PathVerdict::TooLong},
        {10, std::wstring(100, L'd') + L"\\" + std::wstring(147, L'f'), false, PathVerdict::Safe},
        {10, std::wstring(100, L'd') + L"\\" + std::wstring(148, L'f'), false, PathVerdict::TooLong},
        {247, L"x", false, PathVerdict::Safe},
        {248, L"x", false, PathVerdict::TooLong},  // the destination itself is too long to hold anything
        {300, L"", true, PathVerdict::Safe},       // "./": nothing to make
    };
    for (const auto& c : cases) {
        EntryPath path;
        path.relative = c.name;
        EXPECT_EQ(checkPathLength(c.folder, path, c.isFolder), c.verdict)
            << c.folder << " + " << c.name.size() << (c.isFolder ? " folder" : " file");
    }
}

TEST(EntryPathTest, TrailingSeparatorMarksAFolder) {
    EntryPath path;
    ASSERT_EQ(safeRelativePath(L"mp3\\", &path), PathVerdict::Safe);
    EXPECT_TRUE(path.endsInSeparator);
    EXPECT_EQ(path.relative, L"mp3");
    ASSERT_EQ(safeRelativePath(L"mp3/a.mp3", &path), PathVerdict::Safe);
    EXPECT_FALSE(path.endsInSeparator);
}

}  // namespace
}  // namespace pelmora::zip
