// Pure rules of the installer window, and the information box's hook.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/form_table.h"
#include "app/information_box.h"
#include "app/installer_app.h"
#include "skin/dialog/message_box_hook.h"

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
