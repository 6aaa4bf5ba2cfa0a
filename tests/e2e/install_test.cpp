// A complete installation worked from a second process, as a user would:
// the information box, the agreement, the folder dialog, the progress, the
// files, the shortcut, the launch and the fade; and every failure path.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <map>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

using pelmora::ComPtr;
using pelmora::UniqueFile;
using pelmora::UniqueHandle;
using pelmora::testing::fileExists;
using pelmora::testing::folderExists;
using pelmora::testing::TempFolder;

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        ::DeleteFileW(desktopShortcut().c_str());
    }
    void TearDown() override {
        if (HWND product = findTopLevel(0, kProductTitle)) ::PostMessageW(product, WM_CLOSE, 0, 0);
        ::DeleteFileW(desktopShortcut().c_str());
        ::OleUninitialize();
    }

    // Opens the folder dialog, selects `folder` in it and confirms; tries
    // again when the dialog had not yet filled its tree far enough to find it.
    void chooseFolder(Installer& installer, const std::wstring& folder) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            clickLater(installer.unit(kBrowseButton));
            HWND dialog = nullptr;
            ASSERT_TRUE(waitFor([&] { return (dialog = findBrowseDialog(installer)) != nullptr; }));
            ASSERT_TRUE(selectInFolderDialog(installer.process(), dialog, folder));
            clickLater(::GetDlgItem(dialog, IDOK));
            ASSERT_TRUE(waitFor([&] { return !::IsWindow(dialog); }));
            if (textOf(installer.unit(kPathEdit)) == folder) return;
        }
        FAIL() << "the folder dialog did not select " << ::testing::PrintToString(folder) << " but "
               << ::testing::PrintToString(textOf(installer.unit(kPathEdit)));
    }

    struct DialogSearch {
        DWORD pid;
        HWND found;
    };

    static BOOL CALLBACK matchBrowseDialog(HWND hwnd, LPARAM param) {
        auto* search = reinterpret_cast<DialogSearch*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid == search->pid && ::IsWindowVisible(hwnd) && classOf(hwnd) == L"#32770" &&
            ::FindWindowExW(hwnd, nullptr, L"SysTreeView32", nullptr)) {
            search->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }

    // The folder dialog: a dialog of the installer holding a tree view.
    static HWND findBrowseDialog(Installer& installer) {
        DialogSearch search{installer.processId(), nullptr};
        ::EnumWindows(matchBrowseDialog, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Esc, then Enter where the focus is (never on a push button here): the
    // installer must still run when it has dealt with them.
    static void pressKeysAndSettle(const Installer& installer) {
        for (UINT key : {VK_ESCAPE, VK_RETURN}) {
            pressKey(installer, key);
            ASSERT_TRUE(settle(installer)) << "the installer ended on key " << key;
        }
    }
};

TEST_F(InstallTest, TermsLinkOpensTheInformationBoxEachTime) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    for (int i = 0; i < 2; ++i) {
        ::PostMessageW(installer.unit(kTermsLink), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        const std::wstring text = acknowledgeBox(installer, L"软件信息");
        EXPECT_EQ(text.rfind(L"当前版本：", 0), 0u) << ::testing::PrintToString(text);
        EXPECT_NE(text.find(L"\r\n\r\n软件最终解释权归作者所有。"), std::wstring::npos);
    }
    EXPECT_TRUE(::IsWindowEnabled(installer.window()));
}

TEST_F(InstallTest, TickingTheBoxEnablesInstallAndUntickingDisablesIt) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND check = installer.unit(kAgreeCheck), install = installer.unit(kInstallButton);
    EXPECT_TRUE(::IsWindowEnabled(install));
    const bool states[] = {true, false, true};
    for (bool ticked : states) {
        ::SendMessageW(check, BM_CLICK, 0, 0);
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED, ticked);
        EXPECT_EQ(::IsWindowEnabled(install) != FALSE, ticked);
    }
}

TEST_F(InstallTest, CancelledFolderDialogKeepsTheFolder) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    clickLater(installer.unit(kBrowseButton));
    HWND dialog = nullptr;
    ASSERT_TRUE(waitFor([&] { return (dialog = findBrowseDialog(installer)) != nullptr; }));
    EXPECT_FALSE(::IsWindowEnabled(installer.window())) << "the installer stays usable behind its dialog";
    clickLater(::GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(waitFor([&] { return ::IsWindowEnabled(installer.window()) != FALSE; }));
    EXPECT_EQ(textOf(installer.unit(kPathEdit)), L"C:\\Program Files");
}

TEST_F(InstallTest, EnterClicksTheFocusedPushButton) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    ASSERT_TRUE(tabTo(installer, installer.unit(kBrowseButton)));
    pressKey(installer, VK_RETURN);
    HWND dialog = nullptr;
    ASSERT_TRUE(waitFor([&] { return (dialog = findBrowseDialog(installer)) != nullptr; }));
    clickLater(::GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(installer.running());
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kInstallButton)));
}

TEST_F(InstallTest, InstallsIntoAFolderWithSpacesThenLaunchesAndFadesOut) {
    TempFolder dir(L"pelmora e2e");
    Installer installer;
    ASSERT_TRUE(installer.window());
    saveScreenshot(screenshotPath(L"idle"));
    chooseFolder(installer, dir.path());
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), dir.path());

    // Install with the box unticked: the information box first, then the
    // box is ticked and the installation goes on in the same click.
    clickLater(installer.unit(kInstallButton));
    EXPECT_TRUE(boxSkinnedAndFadedIn(waitForBox(installer, L"软件信息")));
    EXPECT_EQ(acknowledgeBox(installer, L"软件信息").rfind(L"当前版本：", 0), 0u);
    HWND finish = installer.unit(kFinishButton);
    ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"安装中···"; }));
    EXPECT_TRUE(::IsWindowVisible(finish));
    EXPECT_EQ(::SendMessageW(installer.unit(kAgreeCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(::IsWindowVisible(installer.unit(kInstallButton)));
    EXPECT_FALSE(::IsWindowVisible(installer.unit(kPathEdit)));
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kStatusLabel)));

    // A close request while installing is ignored (the first progress tick
    // comes 100 ms after the click, so the request arrives while installing).
    saveScreenshot(screenshotPath(L"installing"));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    ::PostMessageW(installer.window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    pressKeysAndSettle(installer);
    // Half way the bar shows the engine's accent fill over its trough.
    const auto position = [&] { return ::SendMessageW(installer.unit(kProgress), PBM_GETPOS, 0, 0); };
    if (waitFor([&] { return position() >= 45 && position() < 70; }, 60000))
        saveScreenshot(screenshotPath(L"installing-half"));
    ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"退出并启动"; }, 60000));
    EXPECT_TRUE(installer.running());
    // Finished: Esc, and Enter while the finish button has no focus, leave the
    // choice to start the program with the user.
    pressKeysAndSettle(installer);
    EXPECT_EQ(textOf(finish), L"退出并启动");
    EXPECT_EQ(findTopLevel(0, kProductTitle), nullptr);
    EXPECT_EQ(textOf(installer.unit(kPercentLabel)), L"100 %");
    EXPECT_EQ(textOf(installer.unit(kStatusLabel)), L"已完成 ");
    EXPECT_EQ(::SendMessageW(installer.unit(kProgress), PBM_GETPOS, 0, 0), 100);
    saveScreenshot(screenshotPath(L"finished"));

    expectPayloadInstalledAt(dir / L"Pelmora");
    EXPECT_FALSE(fileExists(dir / L"Pelmora.zip"));
    EXPECT_EQ(shortcutTarget(desktopShortcut()), dir / L"Pelmora\\Pelmora☆Corvane.exe");
    std::string link;
    pelmora::testing::readFileBytes(desktopShortcut(), &link);
    ASSERT_GE(link.size(), 0x40u);
    EXPECT_EQ(static_cast<unsigned char>(link[0x3C]), SW_SHOW) << "show command stored in the shortcut";

    // Finish starts the product, fades the window out and ends with 0.
    clickLater(finish);
    BYTE lowest = 255;
    int steps = 0;
    waitFor([&] {
        BYTE alpha = 255;
        DWORD flags = 0;
        if (::GetLayeredWindowAttributes(installer.window(), nullptr, &alpha, &flags) && alpha < lowest) {
            lowest = alpha;
            ++steps;
        }
        return !installer.running();
    });
    EXPECT_GE(steps, 2) << "the alpha should be seen stepping down";
    EXPECT_LT(lowest, 255);
    EXPECT_EQ(installer.waitExit(), 0);
    EXPECT_TRUE(waitFor([] { return findTopLevel(0, kProductTitle) != nullptr; }));
}

TEST_F(InstallTest, InstallsIntoTheRootOfADrive) {
    // P: is mapped to an empty folder of the build tree by the test set-up.
    const std::wstring root = L"P:\\";
    ASSERT_TRUE(folderExists(L"P:\\")) << "drive P: is not mapped";
    pelmora::testing::removeTree(L"P:\\Pelmora");
    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, root);
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), root);
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    ASSERT_TRUE(waitFor([&] { return textOf(installer.unit(kFinishButton)) == L"退出并启动"; }, 60000));
    expectPayloadInstalledAt(L"P:\\Pelmora");
    EXPECT_FALSE(fileExists(L"P:\\Pelmora.zip"));
    EXPECT_EQ(shortcutTarget(desktopShortcut()), L"P:\\Pelmora\\Pelmora☆Corvane.exe");
    // Closing after installing fades out without starting anything.
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
    EXPECT_EQ(findTopLevel(0, kProductTitle), nullptr);
    pelmora::testing::removeTree(L"P:\\Pelmora");
}

TEST_F(InstallTest, UnwritableFolderIsReportedAndTheInstallerStaysIdle) {
    auto dir = std::make_unique<TempFolder>(L"pelmora gone");
    const std::wstring folder = dir->path();
    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, folder);
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), folder);
    dir.reset();  // the folder disappears before Install is pressed
    ASSERT_FALSE(folderExists(folder));
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    EXPECT_EQ(acknowledgeBox(installer, L"错误"), L"无法写入安装目录：" + folder + L"\r\n请选择其他安装目录。");
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kInstallButton)));
    EXPECT_FALSE(::IsWindowVisible(installer.unit(kFinishButton)));
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kPathEdit)));
    EXPECT_FALSE(folderExists(folder));
    EXPECT_FALSE(fileExists(desktopShortcut()));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
}

// A reinstall over an earlier one fails at its last file. The box names that
// file; what this run created is gone again, what was there before stays.
TEST_F(InstallTest, FailedExtractionNamesTheFileAndLeavesOnlyWhatWasThereBefore) {
    TempFolder dir(L"pelmora fail");
    const std::wstring product = dir / L"Pelmora";
    // A folder where the product program must go: its file cannot be created.
    ASSERT_TRUE(::CreateDirectoryW(product.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((product + L"\\Pelmora☆Corvane.exe").c_str(), nullptr));
    // Kept: a file the archive replaces, and a folder of it holding a file of the user's.
    const std::map<std::wstring, std::string> before = {{L"\\Pelmora☆Corvane.exe", "/"},
                                                        {L"\\bass.dll", "old library"},
                                                        {L"\\data", "/"},
                                                        {L"\\data\\mine.txt", "the user's own"}};
    for (const auto& [name, bytes] : before) {
        if (bytes != "/") {
            ASSERT_TRUE(writeFileBytes(product + name, bytes));
        } else {
            ::CreateDirectoryW((product + name).c_str(), nullptr);
        }
    }
    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, dir.path());
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), dir.path());
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    EXPECT_EQ(acknowledgeBox(installer, L"错误"),
              L"无法将文件安装到：" + product + L"\\Pelmora☆Corvane.exe\r\n安装未完成，本次安装新建的文件已全部删除。");
    HWND finish = installer.unit(kFinishButton);
    EXPECT_EQ(textOf(finish), L"退出");
    EXPECT_EQ(textOf(installer.unit(kStatusLabel)), L"安装失败 ");
    // Read after the box was answered: a timer still running would have
    // moved the progress on meanwhile.
    EXPECT_EQ(::SendMessageW(installer.unit(kProgress), PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(textOf(installer.unit(kPercentLabel)), L"40 %");
    saveScreenshot(screenshotPath(L"failed"));

    std::map<std::wstring, std::string> after;
    collectTree(product, L"", &after, nullptr);
    std::map<std::wstring, bool> left, expected;
    for (const auto& entry : after) left[entry.first] = entry.second == "/";
    for (const auto& entry : before) expected[entry.first] = entry.second == "/";
    EXPECT_EQ(left, expected);
    EXPECT_EQ(after[L"\\data\\mine.txt"], "the user's own");
    EXPECT_FALSE(fileExists(dir / L"Pelmora.zip"));
    EXPECT_FALSE(fileExists(desktopShortcut()));

    pressKeysAndSettle(installer);
    EXPECT_EQ(textOf(finish), L"退出");
    clickLater(finish);
    EXPECT_EQ(installer.waitExit(), 1);
    EXPECT_EQ(findTopLevel(0, kProductTitle), nullptr);
}

// With the installation's path past what Windows can start or link to, the
// installer says so before writing anything and stays ready for another folder.
TEST_F(InstallTest, TooLongPathIsRefusedBeforeAnythingIsWritten) {
    TempFolder dir(L"pelmora long");
    // The installed program's path reaches 260 characters: one too many.
    const size_t programSuffix = std::wstring(L"\\Pelmora\\Pelmora☆Corvane.exe").size();
    std::wstring folder = dir.path();
    while (folder.size() + programSuffix < 260) {
        folder += L"\\" + std::wstring(std::min<size_t>(40, 260 - programSuffix - folder.size() - 1), L'长');
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    }
    ASSERT_EQ(folder.size() + programSuffix, 260u);
    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, folder);
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), folder);
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    EXPECT_EQ(acknowledgeBox(installer, L"错误"), L"安装目录的路径过长：" + folder + L"\r\n请选择路径较短的安装目录。");
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kInstallButton)));
    EXPECT_FALSE(::IsWindowVisible(installer.unit(kFinishButton)));
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kBrowseButton)));
    EXPECT_FALSE(folderExists(folder + L"\\Pelmora"));
    EXPECT_FALSE(fileExists(folder + L"\\Pelmora.zip"));
    EXPECT_FALSE(fileExists(desktopShortcut()));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
}

// Reinstalling while the installed program runs: nothing is touched until the
// program is closed and the user retries.
TEST_F(InstallTest, ReinstallWhileTheProgramRunsWaitsUntilItIsClosed) {
    TempFolder dir(L"pelmora busy");
    const std::wstring product = dir / L"Pelmora";
    const std::wstring program = product + L"\\Pelmora☆Corvane.exe";
    ASSERT_TRUE(::CreateDirectoryW(product.c_str(), nullptr));
    ASSERT_TRUE(
        ::CopyFileW((buildDir() + L"\\resources\\payload_tree\\Pelmora☆Corvane.exe").c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(writeFileBytes(product + L"\\bass.dll", "old library"));
    RunningProgram running(program);
    ASSERT_TRUE(running.window()) << "the installed program did not start";

    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, dir.path());
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), dir.path());
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    const std::wstring question = L"文件正在使用中：" + program + L"\r\n请关闭正在使用该文件的程序后重试。";
    const auto unchanged = [&] {
        std::string library;
        pelmora::testing::readFileBytes(product + L"\\bass.dll", &library);
        return library == "old library" && !fileExists(dir / L"Pelmora.zip") && !folderExists(product + L"\\data") &&
               ::IsWindowVisible(installer.unit(kInstallButton));
    };

    // Cancel: still idle, nothing changed.
    clickLater(installer.unit(kInstallButton));
    HWND box = waitForBox(installer, L"提示");
    ASSERT_TRUE(box);
    EXPECT_TRUE(boxSkinnedAndFadedIn(box)) << "the retry box is dressed like the information box";
    EXPECT_EQ(messageBoxText(box), question);
    saveScreenshot(screenshotPath(L"file-in-use"));
    clickLater(::GetDlgItem(box, IDCANCEL));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(settle(installer));
    EXPECT_TRUE(unchanged());

    // Retry while the program still runs: asked again.
    clickLater(installer.unit(kInstallButton));
    ASSERT_TRUE(box = waitForBox(installer, L"提示"));
    clickLater(::GetDlgItem(box, IDRETRY));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(box = waitForBox(installer, L"提示"));
    EXPECT_EQ(messageBoxText(box), question);
    EXPECT_TRUE(unchanged());

    // Retry once the program has ended: the installation goes through.
    ASSERT_TRUE(running.close());
    clickLater(::GetDlgItem(box, IDRETRY));
    ASSERT_TRUE(waitFor([&] { return textOf(installer.unit(kFinishButton)) == L"退出并启动"; }, 60000));
    expectPayloadInstalledAt(product);
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
}

// The run's archive does not outlast "已完成", and one that cannot be deleted
// is not passed over in silence. A read-only file of that name, left by an
// earlier run or the user's own, is not the run's: it stays as it was.
TEST_F(InstallTest, ArchiveIsRemovedWhenFinishedOrItsStayIsReported) {
    for (const bool heldOpen : {false, true}) {
        SCOPED_TRACE(heldOpen ? "archive held open" : "read-only file of that name");
        TempFolder dir(L"pelmora archive");
        const std::wstring archive = dir / L"Pelmora.zip";
        if (!heldOpen) {
            ASSERT_TRUE(writeFileBytes(archive, "left by an earlier run"));
            ASSERT_TRUE(::SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        Installer installer;
        ASSERT_TRUE(installer.window());
        chooseFolder(installer, dir.path());
        ASSERT_EQ(textOf(installer.unit(kPathEdit)), dir.path());
        ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
        clickLater(installer.unit(kInstallButton));
        HWND finish = installer.unit(kFinishButton);
        ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"安装中···"; }));
        // Open from here the way readers open it: extraction still reads it,
        // but nobody can delete it. The first progress step is 100 ms away.
        UniqueFile holder;
        if (heldOpen) {
            holder.reset(
                ::CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
        }
        if (heldOpen) {
            EXPECT_EQ(acknowledgeBox(installer, L"提示", 60000),
                      L"安装已完成，但安装包未能删除：" + archive + L"\r\n请手动删除该文件。");
        }
        ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"退出并启动"; }, 60000));
        EXPECT_TRUE(settle(installer));
        EXPECT_EQ(findDialog(installer.processId(), L"提示"), nullptr);
        expectPayloadInstalledAt(dir / L"Pelmora");
        holder.reset();
        // Held open: the run's own archive stays; else the earlier file does, untouched.
        std::map<std::wstring, std::string> tree;
        std::map<std::wstring, DWORD> attributes;
        collectTree(dir.path(), L"", &tree, &attributes);
        std::map<std::wstring, std::string> top;
        for (const auto& [name, bytes] : tree)
            if (name.rfind(L"\\Pelmora\\", 0) != 0 && name != L"\\Pelmora") top[name] = bytes;
        ASSERT_EQ(top.size(), 1u);
        EXPECT_EQ(top.begin()->first, L"\\Pelmora.zip");
        if (!heldOpen) {
            EXPECT_EQ(top.begin()->second, "left by an earlier run");
            EXPECT_TRUE(attributes[L"\\Pelmora.zip"] & FILE_ATTRIBUTE_READONLY);
        }
        ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(installer.waitExit(), 0);
    }
}

// What stands in the chosen folder's way is named in a box before anything is
// written, and the window stays idle: a link below the folder, a file where
// the product folder goes, a drive that can take nothing (and is too small).
TEST_F(InstallTest, WhatStandsInTheFoldersWayIsNamedBeforeAnythingIsWritten) {
    ASSERT_TRUE(folderExists(L"V:\\")) << "drive V: is not mapped";
    TempFolder work(L"pelmora in the way");
    const std::wstring elsewhere = work / L"elsewhere", linked = work / L"linked", blocked = work / L"blocked";
    for (const std::wstring& folder : {elsewhere, linked, blocked})
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const HostLink link(linked + L"\\Pelmora", elsewhere);
    ASSERT_TRUE(link.made());
    ASSERT_TRUE(writeFileBytes(blocked + L"\\Pelmora", "not a folder"));
    const struct {
        std::wstring folder;
        std::wstring box;
    } cases[] = {
        {linked,
         L"安装目录中有链接：" + linked + L"\\Pelmora\r\n安装不会经过链接写入。请删除该链接或选择其他安装目录。"},
        {blocked, L"安装目录中已有同名文件：" + blocked + L"\\Pelmora\r\n请删除或改名该文件，或选择其他安装目录。"},
        {L"V:\\", L"无法写入安装目录：V:\\\r\n请选择其他安装目录。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.folder));
        const std::map<std::wstring, std::string> before = listing(c.folder);
        Installer installer(L"", installerPath(), kWindowTitle, L"/D=" + c.folder);
        ASSERT_TRUE(installer.window());
        ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
        clickLater(installer.unit(kInstallButton));
        EXPECT_EQ(acknowledgeBox(installer, L"错误"), c.box);
        ASSERT_TRUE(settle(installer));
        EXPECT_TRUE(::IsWindowVisible(installer.unit(kInstallButton)));
        EXPECT_FALSE(::IsWindowVisible(installer.unit(kFinishButton)));
        EXPECT_EQ(listing(c.folder), before);
        ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(installer.waitExit(), 0);
    }
    EXPECT_TRUE(listing(elsewhere).empty());
}

TEST_F(InstallTest, DamagedPackageIsRefusedBeforeTheWindowAppears) {
    TempFolder dir;
    const std::wstring copy = dir / L"PelmoraSetup.exe";
    ASSERT_TRUE(writeDamagedCopy(copy));

    Installer installer(L"", copy, L"错误");
    ASSERT_TRUE(installer.window()) << "no error box";
    EXPECT_EQ(messageBoxText(installer.window()), L"安装包已损坏，请重新下载。");
    EXPECT_EQ(findTopLevel(installer.processId(), kWindowTitle), nullptr);
    clickLater(::GetDlgItem(installer.window(), IDOK));
    EXPECT_EQ(installer.waitExit(), 2);
}

}  // namespace
}  // namespace pelmora::e2e
