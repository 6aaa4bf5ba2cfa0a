// Pure rules of the installer window, and the information box's hook.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/form_table.h"
#include "app/information_box.h"
#include "app/install_plan.h"
#include "app/installer_app.h"
#include "payload/embedded_data.h"
#include "payload/extract_archive.h"
#include "skin/dialog/message_box_hook.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

TEST(FormTableTest, LabelTextFormatFollowsAlignmentAndWrap) {
    struct Case {
        HAlign h;
        VAlign v;
        bool wrap;
        UINT format;
    } cases[] = {
        {HAlign::Left, VAlign::Top, false, DT_NOCLIP | DT_LEFT | DT_SINGLELINE | DT_TOP},
        {HAlign::Centre, VAlign::Centre, false, DT_NOCLIP | DT_CENTER | DT_SINGLELINE | DT_VCENTER},
        {HAlign::Right, VAlign::Bottom, false, DT_NOCLIP | DT_RIGHT | DT_SINGLELINE | DT_BOTTOM},
        {HAlign::Centre, VAlign::Bottom, true, DT_NOCLIP | DT_CENTER | DT_WORDBREAK | DT_VCENTER},
    };
    for (const Case& c : cases) EXPECT_EQ(labelTextFormat(c.h, c.v, c.wrap), c.format);
}

TEST(FormTableTest, TermsLinkFollowsTheAgreementText) {
    const UnitEntry& link = unitEntry(UnitRole::TermsLinkLabel);
    struct Case {
        int agreeWidth, linkWidth;
        RECT expected;
    } cases[] = {
        // The product's texts in 12-pixel 宋体: the form's own place.
        {84, 72, {link.x, link.y, link.x + link.width, link.y + link.height}},
        // A shorter label pulls the link in; a short link's box is its text.
        {48, 54, {30 + 48 + kTermsLinkGap, link.y, 30 + 48 + kTermsLinkGap + 54, link.y + link.height}},
        // A longer label pushes it out instead of writing over it.
        {150, 60, {30 + 150 + kTermsLinkGap, link.y, 30 + 150 + kTermsLinkGap + 60, link.y + link.height}},
        // Nothing measured: the form's box.
        {0, 0, {link.x, link.y, link.x + link.width, link.y + link.height}},
    };
    for (const Case& c : cases) {
        const RECT r = termsLinkRect(c.agreeWidth, c.linkWidth);
        EXPECT_EQ(r.left, c.expected.left) << c.agreeWidth;
        EXPECT_EQ(r.right, c.expected.right) << c.agreeWidth;
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
    EXPECT_EQ(unitEntry(UnitRole::AgreeLabel).x, 30);
}

TEST(FormTableTest, TermsLinkAtOtherScalesIsInThoseScalesPixels) {
    struct Case {
        UINT dpi;
        int agreeWidth, linkWidth;
        RECT expected;
    } cases[] = {
        // The product's texts in 18-pixel 宋体 at 150 %: the form's place scaled,
        // (120, 223, 190, 239) with half pixels rounded away from zero.
        {144, 126, 108, {180, 335, 285, 359}},
        {144, 0, 0, {180, 335, 285, 359}},
        // At 200 % a short label pulls the link in by a scaled gap of 12.
        {192, 60, 80, {60 + 60 + 12, 446, 60 + 60 + 12 + 80, 478}},
    };
    for (const Case& c : cases) {
        const RECT r = termsLinkRect(c.agreeWidth, c.linkWidth, c.dpi);
        EXPECT_EQ(r.left, c.expected.left) << c.dpi;
        EXPECT_EQ(r.right, c.expected.right) << c.dpi;
        EXPECT_EQ(r.top, c.expected.top) << c.dpi;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.dpi;
    }
}

TEST(FormTableTest, WindowIsCentredNotAtItsStoredPlace) {
    const POINT p = centredOrigin(1024, 768, 500, 300);
    EXPECT_EQ(p.x, 262);
    EXPECT_EQ(p.y, 234);
    const UnitEntry& window = unitEntry(UnitRole::InstallerWindow);
    EXPECT_EQ(window.width, 500);
    EXPECT_EQ(window.height, 300);
}

TEST(FormTableTest, EveryUnitSitsAtItsOwnPlaceInTheForm) {
    const auto& units = installerUnits();
    for (size_t i = 0; i < units.size(); ++i) EXPECT_EQ(static_cast<size_t>(units[i].role), i);
}

// Enter and Esc reach a window as commands from IDOK and IDCANCEL, and the
// dialog manager owns the ids up to IDCONTINUE: no unit may carry one.
TEST(FormTableTest, ControlIdsStayClearOfTheDialogIdsAndNameTheirUnit) {
    for (const UnitEntry& entry : installerUnits()) {
        if (entry.role == UnitRole::InstallerWindow) continue;
        const int id = controlIdOf(entry.role);
        EXPECT_GT(id, IDCONTINUE) << ::testing::PrintToString(std::wstring(entry.storedName));
        UnitRole back = UnitRole::InstallerWindow;
        EXPECT_TRUE(roleOfControlId(id, &back));
        EXPECT_EQ(back, entry.role);
    }
    UnitRole role;
    for (int id : {0, IDOK, IDCANCEL, IDCONTINUE, controlIdOf(UnitRole::InstallerWindow),
                   controlIdOf(UnitRole::BrowseButton) + 1, 0xFFFF})
        EXPECT_FALSE(roleOfControlId(id, &role)) << id;
}

TEST(InformationLineTest, DateThenTwentySevenSpacesThenVersion) {
    EXPECT_EQ(informationLineText(L"2021年12月30日6时50分21秒", L"Windows 7"),
              L"2021年12月30日6时50分21秒                           系统版本：Windows 7");
}

// Closes the box from inside its own modal loop, noting whether the hook was
// already gone by then.
struct BoxCloser {
    static inline bool hookGoneWhileShown = false;
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", L"软件信息");
        if (!box) return;
        hookGoneWhileShown = !messageBoxHookInstalled();
        ::KillTimer(nullptr, id);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
};

TEST(InformationBoxTest, OkGivesZeroAndNoHookOutlivesTheBox) {
    for (int i = 0; i < 2; ++i) {  // every box installs a fresh hook and removes it again
        BoxCloser::hookGoneWhileShown = false;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, BoxCloser::tick);
        EXPECT_EQ(showInformationBox(nullptr, L"当前版本", L"软件信息"), 0);
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(BoxCloser::hookGoneWhileShown);
        EXPECT_FALSE(messageBoxHookInstalled());
    }
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

TEST(InstallPathTest, JoinsWithoutDoublingTheBackslashOfADriveRoot) {
    struct Case {
        const wchar_t *dir, *suffix, *path;
    } cases[] = {
        {L"C:\\Program Files", L"\\Pelmora", L"C:\\Program Files\\Pelmora"},
        {L"D:\\", L"\\Pelmora\\Pelmora☆Corvane.exe", L"D:\\Pelmora\\Pelmora☆Corvane.exe"},
        {L"D:\\", L"\\Pelmora.zip", L"D:\\Pelmora.zip"},
        {L"C:\\a b\\", L"\\Pelmora", L"C:\\a b\\Pelmora"},
        {L"", L"\\Pelmora", L"\\Pelmora"},
    };
    for (const Case& c : cases) EXPECT_EQ(installPath(c.dir, c.suffix), c.path) << c.dir;
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

bool planHas(const std::vector<PlannedPath>& plan, const std::wstring& path, bool folder) {
    return std::any_of(plan.begin(), plan.end(),
                       [&](const PlannedPath& p) { return p.path == path && p.folder == folder; });
}

TEST(InstallPlanTest, EveryEntryOfThePayloadOnceBelowTheProductFolder) {
    const ByteView payload = payloadArchive();
    const std::vector<PlannedPath> plan = plannedPaths(L"D:\\", payload.data, payload.size);
    EXPECT_EQ(plan.size(), 2u + 77u) << "product folder, archive and the 77 entries";
    const struct {
        const wchar_t* path;
        bool folder;
    } expected[] = {
        {L"D:\\Pelmora", true},
        {L"D:\\Pelmora.zip", false},
        {L"D:\\Pelmora\\data\\tubiao", true},
        {L"D:\\Pelmora\\data\\tubiao\\图标.ico", false},
        {L"D:\\Pelmora\\mp3\\音效61.mp3", false},
        {L"D:\\Pelmora\\Pelmora☆Corvane.exe", false},
    };
    for (const auto& e : expected)
        EXPECT_TRUE(planHas(plan, e.path, e.folder)) << ::testing::PrintToString(std::wstring(e.path));
}

// Sizes for the space check: the archive's, and each entry's unpacked size,
// the program's too, although it is planned before its entry is read.
TEST(InstallPlanTest, FilesCarryTheSizeTheyWillHave) {
    const ByteView payload = payloadArchive();
    const std::vector<PlannedPath> plan = plannedPaths(L"D:\\", payload.data, payload.size);
    const std::wstring tree = testing::buildDir() + L"\\resources\\payload_tree";
    std::map<std::wstring, std::uint64_t> sizes;
    for (const PlannedPath& p : plan) sizes[p.path] = p.size;
    EXPECT_EQ(sizes[L"D:\\Pelmora.zip"], payload.size);
    EXPECT_EQ(sizes[L"D:\\Pelmora\\data\\tubiao"], 0u) << "a folder holds no bytes of its own";
    for (const wchar_t* name : {L"\\Pelmora☆Corvane.exe", L"\\bass.dll", L"\\mp3\\音效61.mp3"}) {
        std::string bytes;
        testing::readFileBytes(tree + name, &bytes);
        ASSERT_FALSE(bytes.empty()) << ::testing::PrintToString(tree + name);
        EXPECT_EQ(sizes[std::wstring(L"D:\\Pelmora") + name], bytes.size()) << ::testing::PrintToString(name);
    }
}

// What the installation writes is found however a path names it: slashes,
// "..", any case. Beside it, nothing is.
TEST(InstallPlanTest, APlannedPathIsFoundHoweverItIsSpelt) {
    const ByteView payload = payloadArchive();
    const std::vector<PlannedPath> plan = plannedPaths(L"D:\\apps", payload.data, payload.size);
    const struct {
        const wchar_t* path;
        const wchar_t* found;  // nullptr: not planned
    } cases[] = {
        {L"D:\\apps\\Pelmora\\bass.dll", L"D:\\apps\\Pelmora\\bass.dll"},
        {L"d:/APPS/pelmora/BASS.DLL", L"D:\\apps\\Pelmora\\bass.dll"},
        {L"D:\\apps\\x\\..\\Pelmora.zip", L"D:\\apps\\Pelmora.zip"},
        {L"D:\\apps\\Pelmora\\mp3\\音效61.MP3", L"D:\\apps\\Pelmora\\mp3\\音效61.mp3"},
        {L"D:\\apps\\Pelmora", L"D:\\apps\\Pelmora"},
        {L"D:\\apps\\Pelmora\\setup.log", nullptr},
        {L"D:\\apps\\Pelmora.log", nullptr},
        {L"D:\\Pelmora\\bass.dll", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
        const PlannedPath* found = findPlanned(plan, c.path);
        if (!c.found) {
            EXPECT_EQ(found, nullptr) << ::testing::PrintToString(found->path);
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->path, c.found);
    }
}

TEST(InstallPlanTest, WithoutAReadableArchiveTheProgramIsStillPlanned) {
    const char junk[] = "not an archive";
    const std::vector<PlannedPath> plan = plannedPaths(L"C:\\x", junk, sizeof junk);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_TRUE(planHas(plan, L"C:\\x\\Pelmora\\Pelmora☆Corvane.exe", false));
}

// The payload's longest folder is "data\tubiao" (the folder limit binds at a
// folder of 227 characters), its longest file "data\tubiao\tubiao.png".
TEST(InstallPlanTest, TooLongPathsAtTheWindowsLimits) {
    const ByteView payload = payloadArchive();
    const std::wstring drive = L"C:\\";
    const struct {
        size_t folderLength;
        const wchar_t* tooLong;  // nullptr: everything fits
    } cases[] = {
        {227, nullptr},
        {228, L"\\Pelmora\\data\\tubiao"},
        {232, L"\\Pelmora\\Pelmora☆Corvane.exe"},  // the program's path reaches 260
        {250, L"\\Pelmora"},
    };
    for (const auto& c : cases) {
        const std::wstring dir = drive + std::wstring(c.folderLength - drive.size(), L'安');
        const std::vector<PlannedPath> plan = plannedPaths(dir, payload.data, payload.size);
        const PlannedPath* first = firstTooLongPath(plan);
        if (!c.tooLong) {
            EXPECT_EQ(first, nullptr) << c.folderLength << ": " << ::testing::PrintToString(first->path);
        } else {
            ASSERT_NE(first, nullptr) << c.folderLength;
            EXPECT_EQ(first->path, dir + c.tooLong) << c.folderLength;
        }
    }
}

TEST(InstallPlanTest, FileAndFolderLimitsEachHold) {
    const struct {
        size_t length;
        bool folder;
        bool fits;
    } cases[] = {
        {kMaxFilePathLength, false, true},
        {kMaxFilePathLength + 1, false, false},
        {kMaxFolderPathLength, true, true},
        {kMaxFolderPathLength + 1, true, false},
    };
    for (const auto& c : cases) {
        const std::vector<PlannedPath> plan = {{L"C:\\short", false}, {std::wstring(c.length, L'a'), c.folder}};
        EXPECT_EQ(firstTooLongPath(plan) == nullptr, c.fits) << c.length << (c.folder ? " folder" : " file");
    }
    EXPECT_EQ(kMaxFilePathLength, 259u);
    EXPECT_EQ(kMaxFolderPathLength, 247u);
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

using Created = std::vector<std::pair<std::wstring, bool>>;  // path, folder

Created createdBy(const ArchiveUnit& unit) {
    Created out;
    for (const ArchiveUnit::CreatedPath& p : unit.createdPaths()) out.emplace_back(p.path, p.folder);
    return out;
}

testing::TestEntry damaged(const char* name) {
    testing::TestEntry e{name, std::string(5000, 'q')};
    e.crc = 1;
    return e;
}

// What the installer takes back after a failed extraction: what the call
// created, oldest first (a damaged file included, noted before it was
// written), and nothing that was there before it.
TEST(ArchiveUnitRecordTest, AFailedExtractionKnowsWhatItCreatedAndWhereItStopped) {
    testing::TempFolder temp;
    const std::wstring dest = temp / L"out";
    ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((dest + L"\\kept").c_str(), nullptr));
    ASSERT_TRUE(testing::writeFileBytes(dest + L"\\kept\\old.txt", "old"));
    const std::vector<testing::TestEntry> entries = {testing::folderEntry("kept/"), {"kept/old.txt", "replaced"},
                                                     {"kept/new.txt", "n"},         testing::folderEntry("fresh/"),
                                                     {"fresh/deep/f.txt", "f"},     damaged("bad.txt")};
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", testing::buildZip(entries).bytes));
    ArchiveUnit unit;
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
    const Created expected = {{dest + L"\\kept\\new.txt", false},
                              {dest + L"\\fresh", true},
                              {dest + L"\\fresh\\deep", true},
                              {dest + L"\\fresh\\deep\\f.txt", false},
                              {dest + L"\\bad.txt", false}};
    EXPECT_EQ(createdBy(unit), expected);
    EXPECT_EQ(unit.failedPath(), dest + L"\\bad.txt");

    // A destination the call had to make is its own too; the next call starts afresh.
    const std::wstring deeper = temp / L"a\\b";
    ASSERT_TRUE(testing::writeFileBytes(temp / L"b.zip", testing::buildZip({damaged("x.txt")}).bytes));
    ASSERT_EQ(unit.extractArchive(temp / L"b.zip", deeper), 0);
    const Created made = {{temp / L"a", true}, {deeper, true}, {deeper + L"\\x.txt", false}};
    EXPECT_EQ(createdBy(unit), made);
    EXPECT_EQ(unit.failedPath(), deeper + L"\\x.txt");

    ASSERT_TRUE(testing::writeFileBytes(temp / L"c.zip", testing::buildZip({{"x.txt", "x"}}).bytes));
    ASSERT_EQ(unit.extractArchive(temp / L"c.zip", deeper), 1);
    EXPECT_EQ(createdBy(unit), (Created{{deeper + L"\\x.txt", false}})) << "the damaged file went again";
    EXPECT_TRUE(unit.failedPath().empty());
}

}  // namespace
}  // namespace pelmora
