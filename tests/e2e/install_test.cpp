// A complete installation worked from a second process, as a user would:
// the information box, the agreement, the folder dialog, the progress, the
// files, the shortcut, the launch and the fade; and every failure path.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

using pelmora::ComPtr;
using pelmora::testing::fileExists;
using pelmora::testing::folderExists;
using pelmora::testing::TempFolder;

// Control ids: the unit's place in the form + 1.
enum Unit {
    kFinishButton = 2,
    kStatusLabel = 7,
    kPercentLabel = 8,
    kTermsLink = 10,
    kAgreeCheck = 11,
    kProgress = 13,
    kInstallButton = 15,
    kPathEdit = 16,
    kBrowseButton = 17,
};

constexpr wchar_t kProductTitle[] = L"Pelmora☆Corvane 7.0.0.1";

std::wstring desktopShortcut() {
    wchar_t desktop[MAX_PATH];
    ::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return std::wstring(desktop) + L"\\Pelmora.lnk";
}

std::wstring shortcutTarget(const std::wstring& link) {
    ComPtr<IShellLinkW> shell;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(shell.out()))))
        return L"<no shell link>";
    ComPtr<IPersistFile> file;
    if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return L"";
    PIDLIST_ABSOLUTE items = nullptr;
    wchar_t path[MAX_PATH] = {};
    std::wstring target;
    if (SUCCEEDED(shell->GetIDList(&items)) && ::SHGetPathFromIDListW(items, path)) target = path;
    ::CoTaskMemFree(items);
    return target;
}

std::wstring screenshotPath(const wchar_t* name) {
    const std::wstring folder = buildDir() + L"\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t locale[32] = {};
    ::GetEnvironmentVariableW(L"LC_ALL", locale, 32);
    return folder + L"\\" + name + L"-" + std::wstring(locale).substr(0, 5) + L".bmp";
}

// Every file and folder under `root`, relative, with its bytes ("/" for folders).
void collectTree(const std::wstring& root, const std::wstring& rel, std::map<std::wstring, std::string>* out,
                 std::map<std::wstring, DWORD>* attributes) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((root + rel + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = rel + L"\\" + name;
        if (attributes) (*attributes)[child] = data.dwFileAttributes;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*out)[child] = "/";
            collectTree(root, child, out, attributes);
        } else {
            pelmora::testing::readFileBytes(root + child, &(*out)[child]);
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

void expectPayloadInstalledAt(const std::wstring& productFolder) {
    std::map<std::wstring, std::string> expected, actual;
    std::map<std::wstring, DWORD> attributes;
    collectTree(buildDir() + L"\\resources\\payload_tree", L"", &expected, nullptr);
    collectTree(productFolder, L"", &actual, &attributes);
    ASSERT_EQ(expected.size(), 77u) << "generated payload tree is incomplete";
    ASSERT_EQ(actual.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        auto it = actual.find(name);
        ASSERT_NE(it, actual.end()) << "missing " << ::testing::PrintToString(name);
        EXPECT_TRUE(it->second == bytes) << "content differs: " << ::testing::PrintToString(name);
        // Normal: nothing read-only, hidden or system is left behind. (Wine
        // reports a plain file as ARCHIVE where Windows says NORMAL.)
        const DWORD unwanted = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(attributes[name] & unwanted, 0u) << ::testing::PrintToString(name);
    }
}

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
        FAIL() << "the folder dialog did not select " << ::testing::PrintToString(folder);
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

    // Answers the box with that caption; returns its text.
    static std::wstring acknowledgeBox(Installer& installer, const wchar_t* caption) {
        HWND box = nullptr;
        if (!waitFor([&] { return (box = findDialog(installer.processId(), caption)) != nullptr; })) return L"<none>";
        const std::wstring text = messageBoxText(box);
        clickLater(::GetDlgItem(box, IDOK) ? ::GetDlgItem(box, IDOK) : ::GetDlgItem(box, IDCANCEL));
        waitFor([&] { return !::IsWindow(box); });
        return text;
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
    ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"退出并启动"; }, 60000));
    EXPECT_TRUE(installer.running());
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

TEST_F(InstallTest, FailedExtractionIsReportedAndOnlyExitIsOffered) {
    TempFolder dir(L"pelmora fail");
    // A folder where the product program must go: its file cannot be created.
    ASSERT_TRUE(::CreateDirectoryW((dir / L"Pelmora").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((dir / L"Pelmora\\Pelmora☆Corvane.exe").c_str(), nullptr));
    Installer installer;
    ASSERT_TRUE(installer.window());
    chooseFolder(installer, dir.path());
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    const std::wstring text = acknowledgeBox(installer, L"错误");
    EXPECT_NE(text.find(dir / L"Pelmora"), std::wstring::npos) << ::testing::PrintToString(text);
    HWND finish = installer.unit(kFinishButton);
    EXPECT_EQ(textOf(finish), L"退出");
    EXPECT_EQ(textOf(installer.unit(kStatusLabel)), L"安装失败 ");
    // Read after the box was answered: a timer still running would have
    // moved the progress on meanwhile.
    EXPECT_EQ(::SendMessageW(installer.unit(kProgress), PBM_GETPOS, 0, 0), 40);
    saveScreenshot(screenshotPath(L"failed"));
    EXPECT_FALSE(fileExists(dir / L"Pelmora.zip"));
    EXPECT_FALSE(fileExists(desktopShortcut()));
    clickLater(finish);
    EXPECT_EQ(installer.waitExit(), 1);
    EXPECT_EQ(findTopLevel(0, kProductTitle), nullptr);
}

TEST_F(InstallTest, DamagedPackageIsRefusedBeforeTheWindowAppears) {
    TempFolder dir;
    std::string image;
    pelmora::testing::readFileBytes(installerPath(), &image);
    // Damage one byte of the archive's central directory, inside the image.
    const size_t end = image.rfind(std::string("PK\x05\x06", 4));
    ASSERT_NE(end, std::string::npos);
    image[end - 100] ^= 0x5A;
    const std::wstring copy = dir / L"PelmoraSetup.exe";
    HANDLE file = ::CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, image.size());

    Installer installer(L"", copy, L"错误");
    ASSERT_TRUE(installer.window()) << "no error box";
    EXPECT_EQ(messageBoxText(installer.window()), L"安装包已损坏，请重新下载。");
    EXPECT_EQ(findTopLevel(installer.processId(), kWindowTitle), nullptr);
    clickLater(::GetDlgItem(installer.window(), IDOK));
    EXPECT_EQ(installer.waitExit(), 2);
}

}  // namespace
}  // namespace pelmora::e2e
