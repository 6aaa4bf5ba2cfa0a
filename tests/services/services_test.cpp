// Runtime services: files, shell, processes, message pumping, transparency,
// texts of the date line and the fatal error box.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/unique_resource.h"
#include "services/date_time_text.h"
#include "services/file_services.h"
#include "services/message_pump.h"
#include "services/process_services.h"
#include "services/program_end.h"
#include "services/shell_services.h"
#include "services/transparency.h"
#include "services/unit_registry.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::fileExists;
using testing::folderExists;
using testing::TempFolder;

using testing::fileText;

ByteSpan span(const char* text) {
    return {reinterpret_cast<const std::uint8_t*>(text), strlen(text)};
}

TEST(DateTimeTextTest, DropsTrailingZeroParts) {
    struct Case {
        WORD h, m, s;
        const wchar_t* expected;
    } cases[] = {
        {6, 50, 21, L"2021年12月30日6时50分21秒"}, {6, 51, 0, L"2021年12月30日6时51分"},
        {6, 0, 0, L"2021年12月30日6时"},           {0, 0, 0, L"2021年12月30日"},
        {0, 0, 5, L"2021年12月30日0时0分5秒"},     {23, 0, 59, L"2021年12月30日23时0分59秒"},
    };
    for (const Case& c : cases) {
        SYSTEMTIME t{};
        t.wYear = 2021;
        t.wMonth = 12;
        t.wDay = 30;
        t.wHour = c.h;
        t.wMinute = c.m;
        t.wSecond = c.s;
        EXPECT_EQ(dateTimeText(t), c.expected) << c.h << ":" << c.m << ":" << c.s;
    }
}

TEST(FatalErrorTextTest, WithAndWithoutCode) {
    EXPECT_EQ(fatalErrorText(L"指定窗口或窗口组件不存在或尚未载入"),
              L"运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n");
    EXPECT_EQ(fatalErrorText(allocationFailureMessage(1024), 5),
              L"运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：分配 1024 字节内存失败!\r\n");
}

TEST(FileServicesTest, WritesSetsInOrderAndReplacesOlderContent) {
    TempFolder dir;
    const std::wstring path = dir / L"数据.bin";
    ASSERT_TRUE(writeByteSetsToFile(path, {span("a much longer earlier content")}));
    ASSERT_TRUE(writeByteSetsToFile(path, {span("abc"), span(""), span("defg")}));
    EXPECT_EQ(fileText(path), "abcdefg");
}

TEST(FileServicesTest, RefusesEmptyPathMissingFolderAndReadOnlyFile) {
    TempFolder dir;
    EXPECT_FALSE(writeByteSetsToFile(L"", {span("x")}));
    EXPECT_FALSE(writeByteSetsToFile(dir / L"missing\\file.bin", {span("x")}));
    EXPECT_FALSE(folderExists(dir / L"missing"));
}

TEST(FileServicesTest, ReadOnlyFileIsNotReplaced) {
    TempFolder dir;
    const std::wstring locked = dir / L"locked.bin";
    ASSERT_TRUE(writeByteSetsToFile(locked, {span("keep")}));
    ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        // A file system that lets this user write read-only files (Wine run by
        // root maps the attribute to Unix permissions, which root ignores)
        // cannot show the refusal.
        UniqueFile probe(::CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (probe) GTEST_SKIP() << "read-only attribute not enforced for this user";
    }
    EXPECT_FALSE(writeByteSetsToFile(locked, {span("overwrite")}));
    EXPECT_EQ(fileText(locked), "keep");
}

TEST(FileServicesTest, CreateFolderIsOneLevelAndDeleteFileReportsSuccess) {
    TempFolder dir;
    EXPECT_TRUE(createFolder(dir / L"Pelmora"));
    EXPECT_TRUE(folderExists(dir / L"Pelmora"));
    EXPECT_FALSE(createFolder(dir / L"Pelmora"));  // exists already
    EXPECT_FALSE(createFolder(dir / L"a\\b"));     // missing parent
    ASSERT_TRUE(writeByteSetsToFile(dir / L"f", {span("1")}));
    EXPECT_TRUE(deleteFile(dir / L"f"));
    EXPECT_FALSE(deleteFile(dir / L"f"));
}

TEST(FileServicesTest, FileIsInUseExactlyWhileAnotherHandleIsOpen) {
    TempFolder dir;
    const std::wstring path = dir / L"程序.exe";
    EXPECT_FALSE(fileInUse(path)) << "a missing file";
    ASSERT_TRUE(writeByteSetsToFile(path, {span("image")}));
    EXPECT_FALSE(fileInUse(path));
    struct Holder {
        const char* name;
        DWORD access, share;
    } holders[] = {
        {"reader sharing reads", GENERIC_READ, FILE_SHARE_READ},
        {"reader sharing everything", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
        {"writer", GENERIC_WRITE, 0},
    };
    for (const Holder& h : holders) {
        UniqueFile held(::CreateFileW(path.c_str(), h.access, h.share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held) << h.name;
        EXPECT_TRUE(fileInUse(path)) << h.name;
    }
    EXPECT_FALSE(fileInUse(path)) << "every handle is closed again";
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(fileInUse(path)) << "read-only is not in use";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fileText(path), "image") << "looking changes nothing";
}

TEST(FileServicesTest, RemoveFileTakesReadOnlyFilesAndFailsOnlyWhileHeld) {
    TempFolder dir;
    const std::wstring path = dir / L"Pelmora.zip";
    EXPECT_TRUE(removeFile(path)) << "nothing there is nothing left";
    EXPECT_FALSE(removeFile(L""));
    ASSERT_TRUE(writeByteSetsToFile(path, {span("zip")}));
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    {
        UniqueFile held(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(removeFile(path));
        EXPECT_TRUE(fileExists(path));
    }
    EXPECT_TRUE(removeFile(path));
    EXPECT_FALSE(fileExists(path));
}

TEST(FileServicesTest, RemoveEmptyFolderKeepsAFolderWithContents) {
    TempFolder dir;
    const std::wstring folder = dir / L"Pelmora";
    EXPECT_TRUE(removeEmptyFolder(folder)) << "nothing there is nothing left";
    ASSERT_TRUE(createFolder(folder));
    ASSERT_TRUE(writeByteSetsToFile(folder + L"\\mine.txt", {span("mine")}));
    EXPECT_FALSE(removeEmptyFolder(folder));
    EXPECT_EQ(fileText(folder + L"\\mine.txt"), "mine");
    ASSERT_TRUE(deleteFile(folder + L"\\mine.txt"));
    EXPECT_TRUE(removeEmptyFolder(folder));
    EXPECT_FALSE(folderExists(folder));
}

TEST(ShellServicesTest, SpecialFoldersEndInBackslashAndUnknownKindsAreEmpty) {
    for (int kind : {1, 3, 8, 9, 10, 11}) {
        const std::wstring path = specialFolderPath(kind);
        ASSERT_FALSE(path.empty()) << kind;
        EXPECT_EQ(path.back(), L'\\') << kind;
        EXPECT_TRUE(folderExists(path.substr(0, path.size() - 1))) << kind;
    }
    EXPECT_EQ(specialFolderPath(0), L"");
    EXPECT_EQ(specialFolderPath(12), L"");
    wchar_t desktop[MAX_PATH];
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(specialFolderPath(3), std::wstring(desktop) + L"\\");
}

TEST(ShellServicesTest, ShortcutFileNameAddsLnkOnlyWithoutExtension) {
    struct Case {
        const wchar_t *link, *file;
    } cases[] = {
        {L"C:\\Users\\me\\Desktop\\Pelmora", L"C:\\Users\\me\\Desktop\\Pelmora.lnk"},
        {L"C:\\Users\\me\\Desktop\\x.lnk", L"C:\\Users\\me\\Desktop\\x.lnk"},
        {L"C:\\Users\\me\\Desktop\\notes.url", L"C:\\Users\\me\\Desktop\\notes.url"},
        {L"C:\\a.b\\Pelmora", L"C:\\a.b\\Pelmora.lnk"},
        {L"Pelmora", L"Pelmora.lnk"},
    };
    for (const Case& c : cases) EXPECT_EQ(shortcutFileName(c.link), c.file) << c.link;
}

class ComScope {
public:
    ComScope() { ::OleInitialize(nullptr); }
    ~ComScope() { ::OleUninitialize(); }
};

TEST(ShellServicesTest, ShortcutReadsBackWithTargetAndShowCommand) {
    ComScope com;
    TempFolder dir;
    const std::wstring target = dir / L"Pelmora\\Pelmora☆Corvane.exe";
    ASSERT_TRUE(createShortcut(dir / L"Pelmora", target));
    ASSERT_TRUE(createShortcut(dir / L"Pelmora", target, std::wstring(L"说明")));  // replaces the file
    ASSERT_TRUE(fileExists(dir / L"Pelmora.lnk"));

    ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                reinterpret_cast<void**>(link.out())));
    ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())));
    ASSERT_HRESULT_SUCCEEDED(file->Load((dir / L"Pelmora.lnk").c_str(), STGM_READ));
    // The target as the shell resolves it: from the item list, which keeps the
    // name in UTF-16 whatever the ANSI code page.
    PIDLIST_ABSOLUTE items = nullptr;
    ASSERT_HRESULT_SUCCEEDED(link->GetIDList(&items));
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetPathFromIDListW(items, path));
    ::CoTaskMemFree(items);
    EXPECT_EQ(std::wstring(path), target);
    // The file stores SW_SHOW; the shell reports every command other than
    // normal, maximised and minimised-inactive as SW_SHOWNORMAL when loading.
    std::string bytes;
    testing::readFileBytes(dir / L"Pelmora.lnk", &bytes);
    ASSERT_GE(bytes.size(), 0x40u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0x3C]), SW_SHOW);
    wchar_t description[64] = {};
    ASSERT_HRESULT_SUCCEEDED(link->GetDescription(description, 64));
    EXPECT_EQ(std::wstring(description), L"说明");
}

TEST(ProcessServicesTest, ShowModesMapAndClamp) {
    struct Case {
        int mode, command;
    } cases[] = {{-3, SW_HIDE},         {0, SW_HIDE},          {1, SW_HIDE},           {2, SW_SHOWNORMAL},
                 {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED}, {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},
                 {7, SW_MINIMIZE},      {100, SW_MINIMIZE}};
    for (const Case& c : cases) EXPECT_EQ(showCommandForMode(c.mode), c.command) << c.mode;
}

std::wstring markerProgram() {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"marker_program.exe";
}

TEST(ProcessServicesTest, QuotedCommandLineRunsTheNamedProgramNotAShorterPrefix) {
    TempFolder dir;
    // "<dir>\x.exe" shadows "<dir>\x y\prog.exe" when the path is given unquoted.
    ASSERT_TRUE(createFolder(dir / L"x y"));
    ASSERT_TRUE(::CopyFileW(markerProgram().c_str(), (dir / L"x.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(markerProgram().c_str(), (dir / L"x y\\prog.exe").c_str(), FALSE));

    ASSERT_TRUE(runProgram(quotedCommandLine(dir / L"x y\\prog.exe"), true));
    EXPECT_TRUE(fileExists(dir / L"x y\\prog.exe.ran"));
    EXPECT_FALSE(fileExists(dir / L"x.exe.ran"));

    ASSERT_TRUE(runProgram(dir / L"x y\\prog.exe", true));  // unquoted: the system tries "<dir>\x" first
    EXPECT_TRUE(fileExists(dir / L"x.exe.ran"));
}

TEST(ProcessServicesTest, MissingProgramFails) {
    TempFolder dir;
    EXPECT_FALSE(runProgram(quotedCommandLine(dir / L"nothing.exe")));
}

// A message-only window that counts what reaches it.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PelmoraCountingWindow";
        ::RegisterClassW(&wc);
        hwnd_.reset(
            ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
        ::SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND hwnd() const { return hwnd_.get(); }
    int received = 0;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_APP) {
            reinterpret_cast<CountingWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))->received++;
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    UniqueWindow hwnd_;
};

TEST(MessagePumpTest, WaitPumpingDispatchesOnlyForPositiveWaits) {
    CountingWindow window;
    ASSERT_TRUE(window.hwnd());
    ::PostMessageW(window.hwnd(), WM_APP, 0, 0);
    waitPumping(0);
    waitPumping(-5);
    EXPECT_EQ(window.received, 0);
    const DWORD start = ::GetTickCount();
    waitPumping(1);
    EXPECT_EQ(window.received, 1);
    EXPECT_GT(::GetTickCount() - start, 1u);
}

TEST(MessagePumpTest, QuitStaysQueuedForTheMainLoop) {
    CountingWindow window;
    ::PostMessageW(window.hwnd(), WM_APP, 0, 0);
    ::PostQuitMessage(3);  // delivered once the queue is otherwise empty
    ::PostMessageW(window.hwnd(), WM_APP, 0, 0);
    processPendingMessages();
    EXPECT_EQ(window.received, 2);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(TransparencyTest, AlphaIsClampedAndStyleBecomesLayeredAlone) {
    UniqueWindow hwnd(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr));
    ASSERT_TRUE(hwnd);
    struct Case {
        std::optional<int> alpha;
        BYTE expected;
    } cases[] = {{128, 128}, {0, 0}, {255, 255}, {300, 255}, {-1, 255}, {std::nullopt, 255}};
    for (const Case& c : cases) {
        ASSERT_TRUE(setWindowAlpha(hwnd.get(), c.alpha));
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(hwnd.get(), nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, c.expected);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hwnd.get(), GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_LAYERED));
    }
}

TEST(UnitRegistryTest, FindsRegisteredUnitsAndForgetsAWindowsUnits) {
    HWND fake = reinterpret_cast<HWND>(0x1234);
    registerUnitWindow({1, 2}, fake);
    registerUnitWindow({2, 2}, fake);
    EXPECT_EQ(windowHandleOf({1, 2}), fake);
    EXPECT_EQ(findUnitWindow({1, 3}), nullptr);
    forgetUnitWindows(1);
    EXPECT_EQ(findUnitWindow({1, 2}), nullptr);
    EXPECT_EQ(findUnitWindow({2, 2}), fake);
}

TEST(ProgramEndTest, CleanupStepsRunOnceInOrder) {
    std::wstring order;
    registerExitCleanup([&] { order += L"a"; });
    registerExitCleanup([&] { order += L"b"; });
    runExitCleanup();
    runExitCleanup();
    EXPECT_EQ(order, L"ab");
}

}  // namespace
}  // namespace pelmora
