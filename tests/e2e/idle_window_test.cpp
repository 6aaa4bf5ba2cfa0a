// The installer as a user first sees it: its window, its units, the
// information line, and closing before installing.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

struct ExpectedUnit {
    int position;  // control id: place in the form + 1
    const wchar_t* className;
    RECT rect;  // in the window's client area
    bool visible;
    const wchar_t* text;
};

// clang-format off
const ExpectedUnit kUnits[] = {
    {2,  L"Button",                  {190, 240, 310, 280}, false, L"完成钮"},
    {3,  L"PelmoraTimer",            {296, 17, 336, 57},   false, L""},
    {4,  L"PelmoraTransparentLabel", {20, 190, 480, 214},  true,  nullptr},  // the information line
    {5,  L"PelmoraArchiveUnit",      {232, 16, 272, 56},   false, L""},
    {6,  L"PelmoraTransparentLabel", {50, 80, 450, 110},   true,  L"Pelmora☆Corvane“7.0.0.1”安装程序"},
    {7,  L"PelmoraTransparentLabel", {170, 145, 250, 163}, false, L"解压文件 "},
    {8,  L"PelmoraTransparentLabel", {250, 145, 330, 163}, false, L"0 %"},
    {9,  L"PelmoraLabel",            {30, 224, 115, 240},  true,  L"我已阅读并同意"},
    {10, L"PelmoraLabel",            {120, 223, 190, 239}, true,  L"《许可协议》"},
    {11, L"Button",                  {12, 225, 26, 239},   true,  L""},
    {12, L"PelmoraTimer",            {168, 16, 208, 56},   false, L""},
    {13, L"msctls_progress32",       {0, 213, 500, 219},   true,  L""},
    {14, L"PelmoraLabel",            {11, 262, 67, 287},   true,  L"安装目录"},
    {15, L"Button",                  {414, 261, 484, 286}, true,  L"开始安装"},
    {16, L"Edit",                    {80, 261, 351, 286},  true,  L"C:\\Program Files"},
    {17, L"Button",                  {344, 261, 404, 286}, true,  L"浏览"},
};
// clang-format on

TEST(IdleWindowTest, WindowIsCentredWithItsSixteenUnitsInPlace) {
    Installer installer;
    ASSERT_TRUE(installer.window()) << "installer window did not appear";
    HWND w = installer.window();

    RECT rc;
    ::GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 500);
    EXPECT_EQ(rc.bottom - rc.top, 300);
    EXPECT_EQ(rc.left, (::GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
    EXPECT_EQ(rc.top, (::GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
    const LONG style = ::GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_CAPTION | WS_MAXIMIZEBOX | WS_THICKFRAME));
    // Added by the skin engine: no menu shows without a caption, but the
    // system commands (Alt+F4, minimise) are served.
    EXPECT_TRUE(style & WS_SYSMENU);

    int children = 0;
    for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 16);

    for (const ExpectedUnit& u : kUnits) {
        SCOPED_TRACE(::testing::Message() << "unit " << u.position);
        HWND unit = installer.unit(u.position);
        ASSERT_TRUE(unit);
        EXPECT_EQ(classOf(unit), u.className);
        const RECT r = rectInParent(unit);
        EXPECT_EQ(r.left, u.rect.left);
        EXPECT_EQ(r.top, u.rect.top);
        EXPECT_EQ(r.right, u.rect.right);
        EXPECT_EQ(r.bottom, u.rect.bottom);
        EXPECT_EQ(::IsWindowVisible(unit) != FALSE, u.visible);
        if (u.text) {
            EXPECT_EQ(textOf(unit), u.text);
        }
    }

    HWND edit = installer.unit(16), folderLabel = installer.unit(14), check = installer.unit(11);
    EXPECT_TRUE(::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(::GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(::IsWindowEnabled(folderLabel));
    EXPECT_EQ(::GetWindowLongW(check, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowEnabled(installer.unit(15)));
    EXPECT_TRUE(::GetWindowLongW(installer.unit(6), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(::GetWindowLongW(installer.unit(13), GWL_STYLE) & PBS_SMOOTH);
    EXPECT_EQ(::SendMessageW(installer.unit(13), PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(installer.unit(13), PBM_GETRANGE, FALSE, 0), 100);

    // A user cannot type into the folder box.
    ::SendMessageW(edit, WM_CHAR, L'x', 0);
    EXPECT_EQ(textOf(edit), L"C:\\Program Files");
}

std::wstring todayPrefix() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return std::to_wstring(now.wYear) + L"年" + std::to_wstring(now.wMonth) + L"月" + std::to_wstring(now.wDay) + L"日";
}

TEST(IdleWindowTest, InformationLineShowsTheDateWithinHalfASecond) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND info = installer.unit(4);
    std::wstring line;
    ASSERT_TRUE(waitFor([&] { return !(line = textOf(info)).empty(); }, 3000));
    EXPECT_EQ(line.rfind(todayPrefix(), 0), 0u) << "line: " << ::testing::PrintToString(line);
    // The prefix sets this run's Windows version (Wine's default, Windows 7).
    EXPECT_NE(line.find(std::wstring(27, L' ') + L"系统版本：Windows "), std::wstring::npos)
        << ::testing::PrintToString(line);
    EXPECT_NE(line.back(), L'：') << "the version text is missing";
    // It keeps refreshing: the seconds move on.
    const std::wstring first = line;
    EXPECT_TRUE(waitFor([&] { return textOf(info) != first; }, 3000));
}

TEST(IdleWindowTest, ClosingBeforeInstallingEndsWithExitCodeZero) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
    EXPECT_EQ(findTopLevel(0, L"Pelmora☆Corvane 7.0.0.1"), nullptr) << "nothing is launched";
}

// The caption's close button and Alt+F4 (SC_CLOSE) go through the same close
// query as WM_CLOSE: before installing they fade out and end with 0.
TEST(IdleWindowTest, SkinnedCloseButtonAndAltF4EndTheProgram) {
    {
        Installer installer;
        ASSERT_TRUE(installer.window());
        // The close button of a 500-pixel caption spans x 462..502, y 1..19.
        const LPARAM at = MAKELPARAM(480, 10);
        ::PostMessageW(installer.window(), WM_MOUSEMOVE, 0, at);
        ::PostMessageW(installer.window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(installer.window(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(installer.waitExit(), 0);
    }
    {
        Installer installer;
        ASSERT_TRUE(installer.window());
        ::PostMessageW(installer.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(installer.waitExit(), 0);
    }
}

// A program where a stray click of the hidden finish button would start one:
// "\Pelmora\Pelmora☆Corvane.exe" on the installer's own drive. It leaves a
// ".ran" file beside itself when started.
class PlantedProgram {
public:
    explicit PlantedProgram(const std::wstring& folder) : folder_(folder) {
        pelmora::testing::removeTree(folder_);
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        planted_ = ::CopyFileW((buildDir() + L"\\tests\\services\\marker_program.exe").c_str(), path().c_str(), FALSE);
    }
    ~PlantedProgram() { pelmora::testing::removeTree(folder_); }
    bool planted() const { return planted_; }
    std::wstring path() const { return folder_ + L"\\Pelmora☆Corvane.exe"; }
    bool started() const { return pelmora::testing::fileExists(path() + L".ran"); }

private:
    std::wstring folder_;
    bool planted_ = false;
};

// Esc and Enter click nothing on the idle window, wherever the focus is: no
// unit stands in for IDOK or IDCANCEL, and Enter clicks only a focused push
// button. The installer runs from drive C:, beside the planted program.
TEST(IdleWindowTest, EscAndEnterStartNothingWhereverTheFocusIs) {
    pelmora::testing::TempFolder dir(L"pelmora keys");
    const std::wstring setup = dir / L"PelmoraSetup.exe";
    ASSERT_TRUE(::CopyFileW(installerPath().c_str(), setup.c_str(), FALSE));
    PlantedProgram program(L"C:\\Pelmora");
    ASSERT_TRUE(program.planted());
    Installer installer(L"", setup);
    ASSERT_TRUE(installer.window());

    struct Focus {
        const char* name;
        int position;  // 0: wherever the focus is at start
    } focusCases[] = {{"start", 0}, {"check box", 11}, {"folder box", 16}};
    for (const Focus& focus : focusCases) {
        SCOPED_TRACE(focus.name);
        if (focus.position) {
            ASSERT_TRUE(tabTo(installer, installer.unit(focus.position)));
        }
        for (UINT key : {VK_ESCAPE, VK_RETURN}) {
            pressKey(installer, key);
            ASSERT_TRUE(settle(installer)) << "the installer ended on key " << key;
        }
        EXPECT_FALSE(program.started());
        EXPECT_TRUE(::IsWindowVisible(installer.window()));
        EXPECT_TRUE(::IsWindowVisible(installer.unit(15))) << "still idle";
        EXPECT_FALSE(::IsWindowVisible(installer.unit(2)));
        EXPECT_EQ(::SendMessageW(installer.unit(11), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(findDialog(installer.processId(), L"软件信息"), nullptr);
    }
    EXPECT_FALSE(program.started());
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
    EXPECT_FALSE(program.started()) << "closing starts nothing either";
}

}  // namespace
}  // namespace pelmora::e2e
