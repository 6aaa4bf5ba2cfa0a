// An installer for another product, made by the builder from a folder of
// its own (nested and empty folders, Chinese and other names, spaces, a file
// of over 100 MB written here), then worked through its window: its own
// title, heading, texts and picture, every file's bytes, the empty folders,
// the shortcut and the program it starts. And what a stub without a package,
// or a cut-off download, says.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/unique_resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

using pelmora::testing::fileExists;
using pelmora::testing::folderExists;
using pelmora::testing::TempFolder;

constexpr wchar_t kTitle[] = L"Corvane Viewer Setup";
constexpr wchar_t kHeading[] = L"Corvane Viewer 2.1 — Ελληνικά 版";
constexpr wchar_t kShortcut[] = L"Corvane Viewer";
constexpr wchar_t kInstallFolder[] = L"Corvane Viewer";
constexpr wchar_t kProgram[] = L"bin\\Corvane Viewer.exe";
// More than 100 MB, and not a multiple of any buffer size.
constexpr std::uint64_t kLargeSize = 100ull * 1024 * 1024 + 12345;

// The units' control ids (their place in the form + 1) not named in install_checks.h.
constexpr int kHeadingLabel = 6;
constexpr int kAgreeLabel = 9;
constexpr int kFolderLabel = 14;

std::wstring sourceDir() {
    const char* dir = std::getenv("PELMORA_SOURCE_DIR");
    std::wstring path = L"Z:";
    for (const char* p = dir ? dir : ""; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

bool makeFolders(const std::wstring& root, const std::wstring& relative) {
    for (std::size_t cut = 0; cut != std::wstring::npos;) {
        cut = relative.find(L'\\', cut + 1);
        const std::wstring folder = root + L"\\" + relative.substr(0, cut);
        if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

// A file of `size` bytes, part noise and part repetition, so that the
// builder's compression has work of both kinds; written a chunk at a time.
bool writeLargeFile(const std::wstring& path, std::uint64_t size) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    std::vector<unsigned char> chunk(1 << 20);
    std::uint32_t state = 0x2545F491u;
    for (std::uint64_t done = 0; done < size;) {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            chunk[i] = (i & 0xFFF) < 0x400 ? static_cast<unsigned char>(state >> 24) : static_cast<unsigned char>(i);
        }
        const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(chunk.size(), size - done));
        DWORD written = 0;
        if (!::WriteFile(file.get(), chunk.data(), n, &written, nullptr) || written != n) return false;
        done += n;
    }
    return true;
}

// Runs a program with a command line and waits for it; its exit code, or -1.
long runAndWait(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &si, &pi))
        return -1;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring desktopLink(const std::wstring& name) {
    wchar_t desktop[MAX_PATH];
    ::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return std::wstring(desktop) + L"\\" + name + L".lnk";
}

class OtherProductTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        ::DeleteFileW(desktopLink(kShortcut).c_str());
    }
    void TearDown() override {
        ::DeleteFileW(desktopLink(kShortcut).c_str());
        ::OleUninitialize();
    }

    // The product's folder: small files under names in several scripts and
    // with spaces, nested and empty folders, the program, one large file.
    void makeSource() {
        const std::map<std::wstring, std::string> files = {
            {L"读我 说明.txt", "中文内容\r\n第二行\r\n"},
            {L"docs\\naïve café — notes.txt", "caf\xC3\xA9 notes\n"},
            {L"Ελληνικά\\αρχείο.dat", std::string("\x00\x01\x02\xFF", 4)},
            {L"plugins\\深层 目录\\more\\deep file.bin", std::string(70000, 'x') + "end"},
            {L"empty file.txt", ""},
        };
        for (const auto& [name, bytes] : files) {
            const std::size_t cut = name.find_last_of(L'\\');
            if (cut != std::wstring::npos) {
                ASSERT_TRUE(makeFolders(source_, name.substr(0, cut)));
            }
            ASSERT_TRUE(writeFileBytes(source_ + L"\\" + name, bytes));
        }
        for (const wchar_t* folder : {L"empty", L"data\\空文件夹", L"plugins\\深层 目录\\empty inside"})
            ASSERT_TRUE(makeFolders(source_, folder));
        ASSERT_TRUE(makeFolders(source_, L"bin"));
        ASSERT_TRUE(::CopyFileW((buildDir() + L"\\tests\\services\\marker_program.exe").c_str(),
                                (source_ + L"\\" + kProgram).c_str(), FALSE));
        ASSERT_TRUE(makeFolders(source_, L"data"));
        ASSERT_TRUE(writeLargeFile(source_ + L"\\data\\large data.bin", kLargeSize));
    }

    // The description: English texts for the window and its boxes, the
    // picture and icon from the fixture.
    void writeDescription() {
        const std::wstring art = sourceDir() + L"\\tests\\data\\other_product";
        ASSERT_TRUE(writeFileBytes(work_ / L"about.txt", "Corvane Viewer 2.1\n\nFree to use. Made by Corvane Works."));
        std::wstring json =
            LR"({
  "source": "source tree",
  "product": {"name": "Corvane Viewer", "version": "2.1", "publisher": "Corvane Works"},
  "program": "bin/Corvane Viewer.exe",
  "shortcut": "Corvane Viewer",
  "installFolder": "Corvane Viewer",
  "defaultFolder": "C:\\Apps",
  "window": {"title": "Corvane Viewer Setup", "heading": "Corvane Viewer 2.1 — Ελληνικά 版",
             "information": "about.txt", "background": "@ART@\\background.png", "icon": "@ART@\\viewer.ico"},
  "texts": {"agree": "I accept", "termsLink": "the terms", "folderLabel": "Folder", "browse": "Browse",
            "install": "Install", "informationCaption": "About", "installing": "Installing...",
            "statusWriting": "Writing ", "statusInstalling": "Installing ", "statusDone": "Done ",
            "finish": "Start it", "exit": "Close", "systemVersion": "System: "}
})";
        std::wstring escaped;
        for (wchar_t c : art) escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
        for (std::size_t at; (at = json.find(L"@ART@")) != std::wstring::npos;) json.replace(at, 5, escaped);
        ASSERT_TRUE(writeFileBytes(work_ / L"viewer.json", utf8FromWide(json)));
    }

    TempFolder work_{L"other product"};
    std::wstring source_ = work_ / L"source tree";
};

TEST_F(OtherProductTest, BuiltInstallerShowsItsProductAndInstallsEveryFile) {
    ASSERT_TRUE(::CreateDirectoryW(source_.c_str(), nullptr));
    makeSource();
    writeDescription();
    if (HasFatalFailure()) return;
    const std::wstring setup = work_ / L"Corvane Viewer Setup.exe";
    const std::wstring arguments = quoted(work_ / L"viewer.json") + L" --quiet --stub " +
                                   quoted(buildDir() + L"\\app\\installer-stub.exe") + L" --output " + quoted(setup);
    ASSERT_EQ(runAndWait(buildDir() + L"\\tools\\pack\\pack.exe", arguments, 600000), 0);

    Installer installer(L"", setup, kTitle);
    ASSERT_TRUE(installer.window()) << "no window titled " << ::testing::PrintToString(std::wstring(kTitle));
    EXPECT_EQ(textOf(installer.unit(kHeadingLabel)), kHeading);
    EXPECT_EQ(textOf(installer.unit(kInstallButton)), L"Install");
    EXPECT_EQ(textOf(installer.unit(kBrowseButton)), L"Browse");
    EXPECT_EQ(textOf(installer.unit(kAgreeLabel)), L"I accept");
    EXPECT_EQ(textOf(installer.unit(kTermsLink)), L"the terms");
    EXPECT_EQ(textOf(installer.unit(kFolderLabel)), L"Folder");
    EXPECT_EQ(textOf(installer.unit(kPathEdit)), L"C:\\Apps");
    // The picture is the fixture's: its sun sits at (360, 150), where the
    // product's own picture has a dark night sky.
    ASSERT_TRUE(settle(installer));
    RECT at;
    ::GetWindowRect(installer.window(), &at);
    const auto sunShown = [&] {
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, at.left + 360, at.top + 150);
        ::ReleaseDC(nullptr, screen);
        return std::abs(GetRValue(c) - 255) <= 12 && std::abs(GetGValue(c) - 226) <= 12 &&
               std::abs(GetBValue(c) - 150) <= 12;
    };
    EXPECT_TRUE(waitFor(sunShown, 5000)) << "the window does not show the package's picture";
    saveScreenshot(screenshotPath(L"other-product"));
    ::PostMessageW(installer.unit(kTermsLink), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(acknowledgeBox(installer, L"About"), L"Corvane Viewer 2.1\r\n\r\nFree to use. Made by Corvane Works.");

    TempFolder target(L"安装 目标");
    ::SendMessageW(installer.unit(kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.path().c_str()));
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    HWND finish = installer.unit(kFinishButton);
    ASSERT_TRUE(waitFor([&] { return textOf(finish) == L"Start it"; }, 300000))
        << ::testing::PrintToString(textOf(finish));
    EXPECT_EQ(textOf(installer.unit(kStatusLabel)), L"Done ");

    // Every file byte for byte, every folder, the empty ones too; no archive left.
    const std::wstring product = target / kInstallFolder;
    {
        std::map<std::wstring, std::string> expected, actual;
        collectTree(source_, L"", &expected, nullptr);
        collectTree(product, L"", &actual, nullptr);
        takeUninstallData(&actual);
        ASSERT_EQ(expected[L"\\data\\large data.bin"].size(), kLargeSize);
        EXPECT_EQ(expected[L"\\data\\空文件夹"], "/");
        EXPECT_EQ(actual.size(), expected.size());
        for (const auto& [name, bytes] : expected) {
            const auto it = actual.find(name);
            ASSERT_NE(it, actual.end()) << "missing " << ::testing::PrintToString(name);
            EXPECT_TRUE(it->second == bytes) << "content differs: " << ::testing::PrintToString(name);
        }
    }
    EXPECT_FALSE(fileExists(target / L"Corvane Viewer.zip"));
    EXPECT_EQ(shortcutTarget(desktopLink(kShortcut)), product + L"\\" + kProgram);

    // The finish button starts the chosen program and the installer ends.
    clickLater(finish);
    EXPECT_EQ(installer.waitExit(30000), 0);
    EXPECT_TRUE(waitFor([&] { return fileExists(product + L"\\" + kProgram + L".ran"); }))
        << "the program was not started";
}

// The stub without a package, and downloads cut off anywhere, start and say
// the package is damaged, before any window, with or without /S.
TEST(DamagedDownloadTest, StubAloneAndCutOffInstallersSayThePackageIsDamaged) {
    TempFolder dir(L"cut off");
    std::string setup;
    pelmora::testing::readFileBytes(installerPath(), &setup);
    std::string stub;
    pelmora::testing::readFileBytes(buildDir() + L"\\app\\installer-stub.exe", &stub);
    ASSERT_GT(setup.size(), stub.size() + 1000);
    const struct {
        const wchar_t* name;
        std::string bytes;
    } cases[] = {
        {L"stub alone.exe", stub},
        {L"cut in the payload.exe", setup.substr(0, stub.size() + (setup.size() - stub.size()) / 2)},
        {L"last byte missing.exe", setup.substr(0, setup.size() - 1)},
    };
    for (const auto& c : cases) {
        const std::wstring copy = dir / c.name;
        ASSERT_TRUE(writeFileBytes(copy, c.bytes));
        const std::string what = ::testing::PrintToString(std::wstring(c.name));
        {
            Installer installer(L"", copy, L"错误");
            ASSERT_TRUE(installer.window()) << "no error box: " << what;
            EXPECT_EQ(messageBoxText(installer.window()), L"安装包已损坏，请重新下载。") << what;
            EXPECT_EQ(findTopLevel(installer.processId(), kWindowTitle), nullptr) << what;
            clickLater(::GetDlgItem(installer.window(), IDOK));
            EXPECT_EQ(installer.waitExit(), 2) << what;
        }
        const HiddenRun silent = runExpectingNoWindow(L"/S /D=" + (dir / L"target"), copy);
        EXPECT_EQ(silent.exitCode, 2) << what;
        EXPECT_FALSE(folderExists(dir / L"target")) << what;
    }
}

}  // namespace
}  // namespace pelmora::e2e
