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
