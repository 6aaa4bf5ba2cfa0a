// The uninstaller an installation leaves in its product folder, driven as an
// administrator's script and a user would: the entry among the installed
// programs (read here from the registry itself), the install record, silent
// and windowed uninstallation, a program still running, damaged records, a
// link planted after the installation, and an upgrade made with the builder.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <zlib.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "payload/install_record.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

using pelmora::testing::fileExists;
using pelmora::testing::folderExists;
using pelmora::testing::TempFolder;

constexpr wchar_t kEntryKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora☆Corvane";
constexpr wchar_t kUninstallCaption[] = L"软件卸载向导";
constexpr wchar_t kProgramName[] = L"Pelmora☆Corvane.exe";

std::string shown(const std::wstring& text) {
    return ::testing::PrintToString(text);
}

// The view a program of this test's kind writes its entry to.
REGSAM ownView() {
    return sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

struct Entry {
    bool exists = false;
    std::map<std::wstring, std::wstring> strings;
    std::map<std::wstring, DWORD> numbers;
};

Entry readEntry(const wchar_t* key = kEntryKey) {
    Entry entry;
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | ownView(), &handle) != ERROR_SUCCESS) return entry;
    entry.exists = true;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, bytes = 0;
        BYTE data[4096];
        bytes = sizeof data;
        if (::RegEnumValueW(handle, i, name, &nameLength, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        if (type == REG_SZ) entry.strings[name] = reinterpret_cast<const wchar_t*>(data);
        if (type == REG_DWORD) entry.numbers[name] = *reinterpret_cast<const DWORD*>(data);
    }
    ::RegCloseKey(handle);
    return entry;
}

void removeEntry(const wchar_t* key = kEntryKey) {
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, ownView(), 0);
}

// Copies of the uninstaller that remove it once it has ended, in the
// temporary folder.
std::vector<std::wstring> removalCopies() {
    wchar_t temporary[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, temporary);
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((std::wstring(temporary) + L"~pelmora-uninstall-*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(data.cFileName);
    while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return found;
}

std::wstring today() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[16];
    swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

long installSilently(const std::wstring& folder, const std::wstring& setup = installerPath(),
                     const std::wstring& extra = L"") {
    return runExpectingNoWindow(extra + L"/S /D=" + folder, setup).exitCode;
}

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::OleInitialize(nullptr);
        removeEntry();
        ::DeleteFileW(desktopShortcut().c_str());
    }
    void TearDown() override {
        removeEntry();
        ::DeleteFileW(desktopShortcut().c_str());
        ::OleUninitialize();
    }

    // Waits until the uninstaller has gone and its copy with it.
    bool selfRemoved() {
        return waitFor([&] { return !fileExists(uninstaller()) && removalCopies().empty(); }, 15000);
    }

    std::wstring uninstaller() const { return product_ + L"\\uninstall.exe"; }

    TempFolder dir_{L"uninstall 卸载"};
    std::wstring product_ = dir_ / L"Pelmora";
};

// A silent installation leaves the entry, the record and the uninstaller; a
// silent uninstallation takes away exactly what the record lists: a changed
// file too, never what the user put there, which keeps its folders.
TEST_F(UninstallTest, SilentUninstallRemovesExactlyWhatWasInstalled) {
    struct Case {
        const char* what;
        bool userFiles;
    };
    for (const Case c : {Case{"user files added", true}, Case{"nothing added", false}}) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(installSilently(dir_.path()), 0);
        expectPayloadInstalledAt(product_);

        const Entry entry = readEntry();
        ASSERT_TRUE(entry.exists);
        EXPECT_EQ(entry.strings.at(L"DisplayName"), L"Pelmora☆Corvane");
        EXPECT_EQ(entry.strings.at(L"DisplayVersion"), L"7.0.0.1");
        EXPECT_EQ(entry.strings.at(L"Publisher"), L"Pelmora");
        EXPECT_EQ(entry.strings.at(L"DisplayIcon"), product_ + L"\\" + kProgramName);
        EXPECT_EQ(entry.strings.at(L"InstallLocation"), product_);
        EXPECT_EQ(entry.strings.at(L"UninstallString"), L"\"" + uninstaller() + L"\"");
        EXPECT_EQ(entry.strings.at(L"QuietUninstallString"), L"\"" + uninstaller() + L"\" /S");
        EXPECT_EQ(entry.strings.at(L"InstallDate"), today());
        EXPECT_EQ(entry.numbers.at(L"NoModify"), 1u);
        EXPECT_EQ(entry.numbers.at(L"NoRepair"), 1u);
        // The unpacked payload, about 19 MB, and the uninstaller, in KiB.
        std::map<std::wstring, std::string> tree;
        collectTree(product_, L"", &tree, nullptr);
        std::uint64_t bytes = 0;
        for (const auto& [name, content] : tree)
            if (content != "/") bytes += content.size();
        EXPECT_NEAR(entry.numbers.at(L"EstimatedSize"), bytes / 1024.0, 80.0);

        // Every installed file and folder is in the record, read here as text.
        const std::string record = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
        takeUninstallData(&tree);
        for (const auto& [name, content] : tree) {
            const std::string relative = utf8FromWide(name.substr(1));
            const std::string line = content == "/" ? "\nfolder\t" + relative + "\n" : "\t" + relative + "\n";
            EXPECT_NE(record.find(line), std::string::npos) << shown(name);
        }
        EXPECT_NE(record.find("\nshortcut\tPelmora.lnk\n"), std::string::npos);
        // Each file with the size and CRC-32 of the bytes it holds.
        record::InstallRecord parsed;
        ASSERT_EQ(record::parseRecord(record, &parsed), record::RecordResult::Ok);
        for (const record::RecordedFile& file : parsed.files) {
            const auto installed = tree.find(L"\\" + file.path);
            ASSERT_NE(installed, tree.end()) << shown(file.path);
            const std::string& bytes = installed->second;
            EXPECT_EQ(file.size, bytes.size()) << shown(file.path);
            const uLong crc = ::crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
            EXPECT_EQ(file.crc, crc) << shown(file.path);
        }

        ASSERT_TRUE(writeFileBytes(product_ + L"\\" + kProgramName, "changed since"));
        if (c.userFiles) {
            ASSERT_TRUE(writeFileBytes(product_ + L"\\notes.txt", "the user's"));
            ASSERT_TRUE(writeFileBytes(product_ + L"\\data\\jt\\mine.txt", "the user's too"));
        }
        const TempFolder logs(L"uninstall log");
        const HiddenRun run = runExpectingNoWindow(L"\"/LOG=" + (logs / L"u.log") + L"\" /S", uninstaller());
        EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(selfRemoved()) << "left: " << ::testing::PrintToString(removalCopies());
        const std::map<std::wstring, std::string> user = {{L"\\notes.txt", "the user's"},
                                                          {L"\\data", "/"},
                                                          {L"\\data\\jt", "/"},
                                                          {L"\\data\\jt\\mine.txt", "the user's too"}};
        const std::map<std::wstring, std::string> none;
        EXPECT_EQ(listing(product_), c.userFiles ? user : none);
        EXPECT_EQ(folderExists(product_), c.userFiles);
        EXPECT_FALSE(readEntry().exists);
        EXPECT_FALSE(fileExists(desktopShortcut()));
        const std::string log = pelmora::testing::fileText(logs / L"u.log");
        EXPECT_NE(log.find("exit code 0"), std::string::npos) << log;
        EXPECT_EQ(log.find("removal progress"), std::string::npos) << log;
        pelmora::testing::removeTree(product_);
    }
}

// A record that is missing, cut, changed, or (checksum and all) names a file
// outside the product folder: a clear word, exit code 8, nothing removed.
TEST_F(UninstallTest, DamagedRecordRemovesNothing) {
    ASSERT_TRUE(writeFileBytes(dir_ / L"victim.txt", "outside the product folder"));
    record::InstallRecord outside;
    outside.productId = L"Pelmora☆Corvane";
    outside.entry = true;
    outside.files = {{L"..\\victim.txt", 26, 0}, {kProgramName, 1, 0}};
    struct Case {
        const char* what;
        std::string record;  // empty: none
        bool windowed;
    };
    const std::string forged = record::formatRecord(outside);
    ASSERT_EQ(installSilently(dir_.path()), 0);
    const std::string intact = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
    std::string changed = intact;
    changed[changed.size() / 2] ^= 0x01;
    const Case cases[] = {
        {"missing", "", false},
        {"cut", intact.substr(0, intact.size() - 20), false},
        {"one byte changed", changed, true},
        {"a path outside the folder", forged, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileW((product_ + L"\\uninstall.dat").c_str());
        if (!c.record.empty()) {
            ASSERT_TRUE(writeFileBytes(product_ + L"\\uninstall.dat", c.record));
        }
        const std::map<std::wstring, std::string> before = listing(dir_.path());
        if (c.windowed) {
            Installer box(L"", uninstaller(), L"错误");
            ASSERT_TRUE(box.window());
            EXPECT_EQ(messageBoxText(box.window()),
                      L"卸载信息已损坏或缺失：" + product_ +
                          L"\\uninstall.dat\r\n无法确认哪些文件属于本软件，未删除任何文件。");
            EXPECT_TRUE(boxSkinnedAndFadedIn(box.window()));
            clickLater(::GetDlgItem(box.window(), IDOK));
            EXPECT_EQ(box.waitExit(), 8);
        } else {
            const HiddenRun run = runExpectingNoWindow(L"/S", uninstaller());
            EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
            EXPECT_EQ(run.exitCode, 8);
        }
        ::Sleep(200);  // a removal copy, were one started, would be at work by now
        EXPECT_EQ(listing(dir_.path()), before);
        EXPECT_TRUE(readEntry().exists);
        EXPECT_TRUE(fileExists(desktopShortcut()));
    }
}

// In the window: which product and where, "卸载" and "取消"; cancel removes
// nothing; a running program's file gets retry or cancel, and nothing goes on
// cancel; retry once the program has ended finishes the uninstallation.
TEST_F(UninstallTest, WindowedUninstallAsksAndWaitsForARunningProgram) {
    ASSERT_TRUE(installSilently(dir_.path()) == 0);
    const std::map<std::wstring, std::string> installed = listing(dir_.path());
    {
        Installer ask(L"", uninstaller(), kUninstallCaption);
        ASSERT_TRUE(ask.window());
        EXPECT_EQ(messageBoxText(ask.window()), L"即将卸载 Pelmora☆Corvane 7.0.0.1\r\n安装目录：" + product_);
        EXPECT_EQ(textOf(::GetDlgItem(ask.window(), IDOK)), L"卸载");
        EXPECT_EQ(textOf(::GetDlgItem(ask.window(), IDCANCEL)), L"取消");
        EXPECT_TRUE(boxSkinnedAndFadedIn(ask.window()));
        saveScreenshot(screenshotPath(L"uninstall-box"));
        clickLater(::GetDlgItem(ask.window(), IDCANCEL));
        EXPECT_EQ(ask.waitExit(), 0);
    }
    EXPECT_EQ(listing(dir_.path()), installed);

    auto program = std::make_unique<RunningProgram>(product_ + L"\\" + kProgramName);
    ASSERT_TRUE(program->window());
    EXPECT_EQ(runExpectingNoWindow(L"/S", uninstaller()).exitCode, 6);
    EXPECT_EQ(listing(dir_.path()), installed);
    Installer run(L"", uninstaller(), kUninstallCaption);
    ASSERT_TRUE(run.window());
    clickLater(::GetDlgItem(run.window(), IDOK));
    HWND busy = nullptr;
    ASSERT_TRUE(waitFor([&] {
        busy = findDialog(run.processId(), kUninstallCaption);
        return busy && busy != run.window() && messageBoxText(busy).find(L"文件正在使用中") == 0;
    }));
    EXPECT_EQ(messageBoxText(busy),
              L"文件正在使用中：" + product_ + L"\\" + kProgramName + L"\r\n请关闭正在使用该文件的程序后重试。");
    EXPECT_EQ(listing(dir_.path()), installed);
    ASSERT_TRUE(program->close());
    clickLater(::GetDlgItem(busy, IDRETRY));
    HWND done = nullptr;
    ASSERT_TRUE(waitFor([&] {
        done = findDialog(run.processId(), kUninstallCaption);
        return done && done != busy && messageBoxText(done).find(L"已卸载") != std::wstring::npos;
    }));
    EXPECT_EQ(messageBoxText(done), L"Pelmora☆Corvane 已卸载。");
    clickLater(::GetDlgItem(done, IDOK));
    EXPECT_EQ(run.waitExit(), 0);
    EXPECT_TRUE(selfRemoved());
    EXPECT_FALSE(folderExists(product_));
    EXPECT_FALSE(readEntry().exists);
}

// Between "卸载" and the last box a skinned window shows the removal, its bar
// one step per recorded file; it is gone before the last box. Removing 72
// files can be quicker than a look from here, so the log says for certain
// that it was shown and how far its bar went; what a look catches is
// checked as well.
TEST_F(UninstallTest, WindowedUninstallShowsItsProgress) {
    ASSERT_EQ(installSilently(dir_.path()), 0);
    const std::string record = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
    int files = 0;
    for (std::size_t at = record.find("\nfile\t"); at != std::string::npos; at = record.find("\nfile\t", at + 1))
        ++files;
    ASSERT_GT(files, 10);
    const TempFolder logs(L"uninstall progress log");
    Installer run(L"", uninstaller(), kUninstallCaption, L"\"/LOG=" + (logs / L"u.log") + L"\"");
    ASSERT_TRUE(run.window());
    clickLater(::GetDlgItem(run.window(), IDOK));
    HWND progress = nullptr, done = nullptr;
    std::wstring title, line;
    int range = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            HWND found = ::FindWindowW(L"PelmoraUninstallProgress", nullptr);
            DWORD owner = 0;
            if (found) ::GetWindowThreadProcessId(found, &owner);
            if (found && owner == run.processId() && ::IsWindowVisible(found) && !progress) {
                progress = found;
                title = textOf(found);
                line = textOf(::FindWindowExW(found, nullptr, L"Static", nullptr));
                range = static_cast<int>(
                    ::SendMessageW(::FindWindowExW(found, nullptr, PROGRESS_CLASSW, nullptr), PBM_GETRANGE, FALSE, 0));
                saveScreenshot(screenshotPath(L"uninstall-progress"));
            }
            done = findDialog(run.processId(), kUninstallCaption);
            return done && done != run.window() && messageBoxText(done).find(L"已卸载") != std::wstring::npos;
        },
        20000));
    EXPECT_FALSE(progress && ::IsWindow(progress)) << "still there under the last box";
    if (progress) {
        EXPECT_EQ(title, kUninstallCaption);
        EXPECT_EQ(line, L"正在卸载 Pelmora☆Corvane");
        EXPECT_EQ(range, files);
    }
    clickLater(::GetDlgItem(done, IDOK));
    EXPECT_EQ(run.waitExit(), 0);
    const std::string log = pelmora::testing::fileText(logs / L"u.log");
    const std::size_t shown = log.find("removal progress shown, " + std::to_string(files) + " files");
    const std::size_t full =
        log.find("removal progress at " + std::to_string(files) + " of " + std::to_string(files) + " files");
    EXPECT_NE(shown, std::string::npos) << files << " files\n" << log;
    EXPECT_NE(full, std::string::npos) << files << " files\n" << log;
    // Shown before the first file went, full after the last.
    EXPECT_LT(shown, log.find("removed " + utf8FromWide(product_)));
    EXPECT_GT(full, log.rfind("removed " + utf8FromWide(product_ + L"\\")));
    EXPECT_TRUE(selfRemoved());
}

// Cancelled at the running program's box: nothing removed, exit code 6.
TEST_F(UninstallTest, CancelWhileTheProgramRunsRemovesNothing) {
    ASSERT_EQ(installSilently(dir_.path()), 0);
    const std::map<std::wstring, std::string> installed = listing(dir_.path());
    RunningProgram program(product_ + L"\\" + kProgramName);
    ASSERT_TRUE(program.window());
    Installer run(L"", uninstaller(), kUninstallCaption);
    ASSERT_TRUE(run.window());
    clickLater(::GetDlgItem(run.window(), IDOK));
    HWND busy = nullptr;
    ASSERT_TRUE(waitFor([&] {
        busy = findDialog(run.processId(), kUninstallCaption);
        return busy && busy != run.window() && messageBoxText(busy).find(L"文件正在使用中") == 0;
    }));
    clickLater(::GetDlgItem(busy, IDCANCEL));
    EXPECT_EQ(run.waitExit(), 6);
    EXPECT_EQ(listing(dir_.path()), installed);
    EXPECT_TRUE(readEntry().exists);
    EXPECT_TRUE(program.close());
}

// Whether the system opens `link` itself when asked to (Windows), rather
// than what it points to (Wine, for a host's link): only then can a program
// remove a link without following it.
bool opensLinkItself(const std::wstring& link) {
    UniqueFile handle(::CreateFileW(link.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t path[1024];
    const DWORD n = handle ? ::GetFinalPathNameByHandleW(handle.get(), path, 1024, 0) : 0;
    const std::wstring name = link.substr(link.find_last_of(L'\\'));
    return n > name.size() && std::wstring(path, n).substr(n - name.size()) == name;
}

// A folder of the installation replaced by a link after it, and a file by a
// link to a file elsewhere: what they point to stays, whatever happens. The
// links themselves go where the system can remove a link without following
// it; elsewhere (Wine) they stay, and the product folder with them.
TEST_F(UninstallTest, PlantedLinksAreNeverFollowed) {
    ASSERT_EQ(installSilently(dir_.path()), 0);
    const TempFolder elsewhere(L"link target");
    const std::wstring mp3 = product_ + L"\\mp3";
    std::map<std::wstring, std::string> mp3Files;
    collectTree(mp3, L"", &mp3Files, nullptr);
    ASSERT_FALSE(mp3Files.empty());
    for (const auto& [name, bytes] : mp3Files) {
        ASSERT_TRUE(::DeleteFileW((mp3 + name).c_str()));
        ASSERT_TRUE(writeFileBytes(elsewhere.path() + name, "not the product's"));
    }
    ASSERT_TRUE(::RemoveDirectoryW(mp3.c_str()));
    const std::wstring victim = elsewhere / L"victim.txt";
    ASSERT_TRUE(writeFileBytes(victim, "not the product's either"));
    const std::wstring bass = product_ + L"\\bass.dll";
    ASSERT_TRUE(::DeleteFileW(bass.c_str()));
    HostLink folderLink(mp3, elsewhere.path());
    HostLink fileLink(bass, victim);
    ASSERT_TRUE(folderLink.made() && fileLink.made());
    const std::map<std::wstring, std::string> before = listing(elsewhere.path());
    const bool removable = opensLinkItself(mp3) && opensLinkItself(bass);

    EXPECT_EQ(runExpectingNoWindow(L"/S", uninstaller()).exitCode, 0);
    EXPECT_TRUE(waitFor([&] { return !fileExists(uninstaller()) && removalCopies().empty(); }, 15000));
    EXPECT_EQ(listing(elsewhere.path()), before);
    for (const std::wstring& link : {mp3, bass})
        EXPECT_EQ(::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES, removable) << shown(link);
    EXPECT_EQ(folderExists(product_), !removable);
    EXPECT_FALSE(fileExists(product_ + L"\\" + kProgramName));
    EXPECT_FALSE(readEntry().exists);
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

constexpr wchar_t kUpgradeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane Upgrade";

// Two versions of another product made with the builder: 1.0 with a, b and
// sub\c; 2.0 with b and sub\c changed, and d.
class UpgradeTest : public ::testing::Test {
protected:
    void SetUp() override { removeEntry(kUpgradeKey); }
    void TearDown() override { removeEntry(kUpgradeKey); }

    std::wstring build(const std::wstring& version, const std::map<std::wstring, std::string>& files) {
        const std::wstring source = work_ / (L"source " + version);
        ::CreateDirectoryW(source.c_str(), nullptr);
        ::CreateDirectoryW((source + L"\\sub").c_str(), nullptr);
        for (const auto& [name, bytes] : files) EXPECT_TRUE(writeFileBytes(source + L"\\" + name, bytes));
        EXPECT_TRUE(writeFileBytes(work_ / L"about.txt", "Corvane Upgrade"));
        const std::wstring json = L"{\"source\": \"source " + version +
                                  L"\", \"product\": {\"name\": \"Corvane Upgrade\", \"version\": \"" + version +
                                  L"\", \"publisher\": \"Corvane Works\"}, \"program\": \"b.txt\", "
                                  L"\"window\": {\"information\": \"about.txt\"}}";
        const std::wstring description = work_ / (L"v" + version + L".json");
        EXPECT_TRUE(writeFileBytes(description, utf8FromWide(json)));
        const std::wstring setup = work_ / (L"setup " + version + L".exe");
        const std::wstring arguments = L"\"" + description + L"\" --quiet --stub \"" + buildDir() +
                                       L"\\app\\installer-stub.exe\" --output \"" + setup + L"\"";
        EXPECT_EQ(runAndWait(buildDir() + L"\\tools\\pack\\pack.exe", arguments, 120000), 0);
        return setup;
    }

    TempFolder work_{L"upgrade"};
    TempFolder target_{L"upgrade target"};
    std::wstring product_ = target_ / L"Corvane Upgrade";
};

TEST_F(UpgradeTest, NewVersionReplacesTheOldOneAndAnOlderOneAsksFirst) {
    const std::wstring v1 = build(L"1.0", {{L"a.txt", "a1"}, {L"b.txt", "b1"}, {L"sub\\c.txt", "c1"}});
    const std::wstring v2 = build(L"2.0", {{L"b.txt", "b2"}, {L"sub\\c.txt", "c2"}, {L"d.txt", "d2"}});
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(installSilently(target_.path(), v1, L"/NOSHORTCUT "), 0);
    EXPECT_EQ(readEntry(kUpgradeKey).strings[L"DisplayVersion"], L"1.0");
    ASSERT_TRUE(writeFileBytes(product_ + L"\\user.txt", "the user's"));

    // The window knows: it starts at the installed folder and says what replaces what.
    {
        Installer window(L"", v2);
        ASSERT_TRUE(window.window());
        EXPECT_EQ(textOf(window.unit(kPathEdit)), target_.path());
        EXPECT_EQ(textOf(window.unit(kPercentLabel)), L"已安装版本 1.0，将更新为 2.0");
        EXPECT_TRUE(::IsWindowVisible(window.unit(kPercentLabel)));
        saveScreenshot(screenshotPath(L"upgrade-window"));
    }
    ASSERT_EQ(installSilently(target_.path(), v2, L"/NOSHORTCUT "), 0);
    const std::map<std::wstring, std::string> upgraded = {{L"\\b.txt", "b2"},
                                                          {L"\\sub", "/"},
                                                          {L"\\sub\\c.txt", "c2"},
                                                          {L"\\d.txt", "d2"},
                                                          {L"\\user.txt", "the user's"}};
    std::map<std::wstring, std::string> tree;
    collectTree(product_, L"", &tree, nullptr);
    takeUninstallData(&tree);
    EXPECT_EQ(tree, upgraded);
    const Entry entry = readEntry(kUpgradeKey);
    EXPECT_EQ(entry.strings.at(L"DisplayVersion"), L"2.0");
    EXPECT_EQ(entry.strings.at(L"InstallLocation"), product_);
    const std::string record = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
    EXPECT_NE(record.find("\nversion\t2.0\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("a.txt"), std::string::npos) << record;

    // 1.0 over 2.0: the line says so, and installing asks first; "no" changes nothing.
    {
        Installer window(L"", v1);
        ASSERT_TRUE(window.window());
        EXPECT_EQ(textOf(window.unit(kPercentLabel)), L"已安装版本 2.0，将更新为 1.0");
        ::SendMessageW(window.unit(kAgreeCheck), BM_CLICK, 0, 0);
        clickLater(window.unit(kInstallButton));
        HWND ask = waitForBox(window, L"提示");
        ASSERT_TRUE(ask);
        EXPECT_EQ(messageBoxText(ask), L"已安装较新的版本 2.0。\r\n确定要以较旧的版本 1.0 替换它吗？");
        clickLater(::GetDlgItem(ask, IDNO));
        EXPECT_TRUE(waitFor([&] { return findDialog(window.processId(), L"提示") == nullptr; }));
        EXPECT_TRUE(settle(window));
        EXPECT_TRUE(::IsWindowVisible(window.unit(kInstallButton)));
    }
    tree.clear();
    collectTree(product_, L"", &tree, nullptr);
    takeUninstallData(&tree);
    EXPECT_EQ(tree, upgraded);

    // Uninstalled, only the user's file stays.
    EXPECT_EQ(runExpectingNoWindow(L"/S", product_ + L"\\uninstall.exe").exitCode, 0);
    EXPECT_TRUE(waitFor([&] { return !fileExists(product_ + L"\\uninstall.exe") && removalCopies().empty(); }, 15000));
    EXPECT_EQ(listing(product_), (std::map<std::wstring, std::string>{{L"\\user.txt", "the user's"}}));
    EXPECT_FALSE(readEntry(kUpgradeKey).exists);
}

// A file only the old version has, held open by another program when the new
// version would remove it: the same retry or cancel as a file the
// installation replaces, before anything is written. With /S, and on cancel,
// the old version stays whole; retry once it is closed finishes the upgrade.
TEST_F(UpgradeTest, AnOldFileHeldOpenGetsRetryOrCancel) {
    const std::wstring v1 = build(L"1.0", {{L"a.txt", "a1"}, {L"b.txt", "b1"}, {L"sub\\c.txt", "c1"}});
    const std::wstring v2 = build(L"2.0", {{L"b.txt", "b2"}, {L"sub\\c.txt", "c2"}, {L"d.txt", "d2"}});
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(installSilently(target_.path(), v1, L"/NOSHORTCUT "), 0);
    const std::wstring old = product_ + L"\\a.txt";
    const std::map<std::wstring, std::string> before = listing(product_);
    UniqueFile held(::CreateFileW(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    EXPECT_EQ(installSilently(target_.path(), v2, L"/NOSHORTCUT "), 6);
    EXPECT_EQ(listing(product_), before);

    Installer window(L"", v2, kWindowTitle, L"/NOSHORTCUT");
    ASSERT_TRUE(window.window());
    ::SendMessageW(window.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(window.unit(kInstallButton));
    HWND box = waitForBox(window, L"提示");
    ASSERT_TRUE(box);
    EXPECT_EQ(messageBoxText(box), L"文件正在使用中：" + old + L"\r\n请关闭正在使用该文件的程序后重试。");
    clickLater(::GetDlgItem(box, IDCANCEL));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(settle(window));
    EXPECT_TRUE(::IsWindowVisible(window.unit(kInstallButton)));
    EXPECT_EQ(listing(product_), before);
    EXPECT_EQ(readEntry(kUpgradeKey).strings[L"DisplayVersion"], L"1.0");

    clickLater(window.unit(kInstallButton));
    ASSERT_TRUE(box = waitForBox(window, L"提示"));
    held.reset();
    clickLater(::GetDlgItem(box, IDRETRY));
    ASSERT_TRUE(waitFor([&] { return textOf(window.unit(kFinishButton)) == L"退出并启动"; }, 60000));
    EXPECT_FALSE(fileExists(old));
    std::map<std::wstring, std::string> tree;
    collectTree(product_, L"", &tree, nullptr);
    takeUninstallData(&tree);
    EXPECT_EQ(tree, (std::map<std::wstring, std::string>{
                        {L"\\b.txt", "b2"}, {L"\\sub", "/"}, {L"\\sub\\c.txt", "c2"}, {L"\\d.txt", "d2"}}));
    const std::string record = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
    EXPECT_NE(record.find("\nversion\t2.0\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("a.txt"), std::string::npos) << record;
    ::PostMessageW(window.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.waitExit(), 0);
}

// Held so that no program's use shows (attributes only), without letting it
// be deleted: Windows deletes it all the same, Wine only once the handle is
// closed, so its folder is not empty when the upgrade looks. Whatever of the
// old version is still there then is in the new record, and nothing else,
// so the uninstaller leaves nothing behind.
TEST_F(UpgradeTest, WhatOfTheOldVersionStaysIsInTheRecord) {
    const std::wstring v1 = build(L"1.0", {{L"a.txt", "a1"}, {L"b.txt", "b1"}, {L"sub\\c.txt", "c1"}});
    const std::wstring v2 = build(L"2.0", {{L"b.txt", "b2"}, {L"d.txt", "d2"}});
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(installSilently(target_.path(), v1, L"/NOSHORTCUT "), 0);
    const std::wstring old = product_ + L"\\sub\\c.txt";
    UniqueFile held(::CreateFileW(old.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_EQ(installSilently(target_.path(), v2, L"/NOSHORTCUT "), 0);
    held.reset();
    const std::string record = pelmora::testing::fileText(product_ + L"\\uninstall.dat");
    EXPECT_NE(record.find("\nversion\t2.0\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("\tsub\\c.txt\n") != std::string::npos, fileExists(old)) << record;
    EXPECT_EQ(record.find("\nfolder\tsub\n") != std::string::npos, folderExists(product_ + L"\\sub")) << record;
    EXPECT_EQ(record.find("a.txt"), std::string::npos) << record;

    EXPECT_EQ(runExpectingNoWindow(L"/S", product_ + L"\\uninstall.exe").exitCode, 0);
    EXPECT_TRUE(waitFor([&] { return !folderExists(product_) && removalCopies().empty(); }, 15000))
        << ::testing::PrintToString(listing(product_));
}

}  // namespace
}  // namespace pelmora::e2e
