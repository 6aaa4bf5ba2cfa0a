// The installer started from a script: silent installs and their exit codes,
// the log, the disk-space check, and the command line's effect on the window.
#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"
#include "tests/support/temp_folder.h"

namespace pelmora::e2e {
namespace {

using pelmora::testing::fileExists;
using pelmora::testing::folderExists;
using pelmora::testing::TempFolder;

// Drives the test set-up maps: a small file system, a read-only one, and a
// small read-only one.
constexpr wchar_t kSmallDrive[] = L"T:\\";
constexpr wchar_t kReadOnlyDrive[] = L"U:\\";
constexpr wchar_t kSmallReadOnlyDrive[] = L"V:\\";

std::string shown(const std::wstring& text) {
    return ::testing::PrintToString(text);
}

// The log as text; its lines must each start with a time stamp.
std::wstring readLog(const std::wstring& path) {
    std::string bytes;
    pelmora::testing::readFileBytes(path, &bytes);
    if (bytes.rfind("\xEF\xBB\xBF", 0) != 0) return L"<no UTF-8 log>";
    return wideFromUtf8(bytes.substr(3));
}

std::vector<std::wstring> logLines(const std::wstring& log) {
    std::vector<std::wstring> lines;
    for (std::size_t at = 0, end; (end = log.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
        lines.push_back(log.substr(at, end - at));
    return lines;
}

// "2024-05-01 09:03:07.250  " in front of every line.
void expectTimeStamps(const std::wstring& log) {
    const std::vector<std::wstring> lines = logLines(log);
    EXPECT_GE(lines.size(), 3u) << "at least the start, a step and the exit code";
    const std::wstring pattern = L"####-##-## ##:##:##.###  ";
    for (const std::wstring& line : lines) {
        bool stamped = line.size() > pattern.size() && line[pattern.size()] != L' ';
        for (std::size_t i = 0; stamped && i < pattern.size(); ++i)
            stamped = pattern[i] == L'#' ? iswdigit(line[i]) != 0 : line[i] == pattern[i];
        EXPECT_TRUE(stamped) << shown(line);
    }
}

// Quoted: the temporary folder's path may hold spaces.
std::wstring logOption(const std::wstring& path) {
    return L"\"/LOG=" + path + L"\"";
}

bool logHas(const std::wstring& log, const std::wstring& text) {
    return log.find(text) != std::wstring::npos;
}

std::wstring systemWords(DWORD code) {
    wchar_t text[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512,
                               nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    return std::wstring(text, n);
}

// A path in the installation folder, as the installer makes it: a drive root
// keeps its single backslash.
std::wstring inFolder(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

std::map<std::wstring, std::string> treeOf(const std::wstring& folder) {
    return listing(folder);
}

bool driveIsEmpty(const std::wstring& root) {
    return treeOf(root.substr(0, 2)).empty();
}

std::string bytesOf(const std::wstring& path) {
    std::string bytes;
    pelmora::testing::readFileBytes(path, &bytes);
    return bytes;
}

// The path after `prefix` on the first log line that starts (after its time
// stamp) with it, up to ": " or the line's end; empty when there is none.
std::wstring pathLogged(const std::wstring& log, const std::wstring& prefix) {
    for (const std::wstring& line : logLines(log)) {
        const std::size_t at = line.find(L"  " + prefix);
        if (at == std::wstring::npos) continue;
        const std::wstring rest = line.substr(at + 2 + prefix.size());
        return rest.substr(0, rest.find(L": "));
    }
    return L"";
}

class SilentInstallTest : public ::testing::Test {
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
    TempFolder logs_{L"pelmora logs"};
};

TEST_F(SilentInstallTest, InstallsIntoAFolderWithSpacesLikeTheWindowAndLogsEveryStep) {
    TempFolder dir(L"pelmora silent 安装");
    const std::wstring log = logs_ / L"安装 日志.log";
    const HiddenRun run = runExpectingNoWindow(L"/s " + logOption(log) + L" /D=" + dir.path());
    EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
    ASSERT_EQ(run.exitCode, 0);

    const std::wstring product = dir / L"Pelmora";
    expectPayloadInstalledAt(product);
    EXPECT_FALSE(fileExists(dir / L"Pelmora.zip"));
    EXPECT_EQ(shortcutTarget(desktopShortcut()), product + L"\\Pelmora☆Corvane.exe");
    std::string link;
    pelmora::testing::readFileBytes(desktopShortcut(), &link);
    ASSERT_GE(link.size(), 0x40u);
    EXPECT_EQ(static_cast<unsigned char>(link[0x3C]), SW_SHOW) << "show command stored in the shortcut";
    EXPECT_EQ(findTopLevel(0, kProductTitle), nullptr) << "started without /LAUNCH";

    const std::wstring text = readLog(log);
    expectTimeStamps(text);
    for (const std::wstring& step : {
             L"installation folder: " + dir.path(),
             std::wstring(L"path lengths: all "),
             std::wstring(L"free space: "),
             std::wstring(L"files in use: none"),
             L"created folder " + product,
             L"wrote archive " + dir.path() + L"\\Pelmora.zip: ",
             L"extracted folder " + product + L"\\data",
             L"extracted " + product + L"\\Pelmora☆Corvane.exe (",
             std::wstring(L"extracted 77 entries ("),
             L"created shortcut " + desktopShortcut() + L" to " + product + L"\\Pelmora☆Corvane.exe",
             L"deleted archive " + dir.path() + L"\\Pelmora.zip",
             std::wstring(L"exit code 0\r\n"),
         })
        EXPECT_TRUE(logHas(text, step)) << shown(step) << "\n" << shown(text);
    // Every file of the payload is named as it is extracted.
    std::map<std::wstring, std::string> files;
    collectTree(buildDir() + L"\\resources\\payload_tree", L"", &files, nullptr);
    for (const auto& [name, bytes] : files) {
        const std::wstring line = (bytes == "/" ? L"extracted folder " : L"extracted ") + product + name;
        EXPECT_TRUE(logHas(text, line)) << shown(line);
    }
}

TEST_F(SilentInstallTest, NoShortcutAndLaunchStartTheProgramWithoutAShortcut) {
    TempFolder dir(L"pelmora launch");
    const std::wstring log = logs_ / L"launch.log";
    const HiddenRun run = runExpectingNoWindow(L"/LAUNCH /NOSHORTCUT /S " + logOption(log) + L" /D=" + dir.path());
    EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
    ASSERT_EQ(run.exitCode, 0);
    expectPayloadInstalledAt(dir / L"Pelmora");
    EXPECT_FALSE(fileExists(desktopShortcut()));
    EXPECT_TRUE(waitFor([] { return findTopLevel(0, kProductTitle) != nullptr; })) << "the program did not start";
    const std::wstring text = readLog(log);
    EXPECT_TRUE(logHas(text, L"no desktop shortcut (/NOSHORTCUT)")) << shown(text);
    EXPECT_TRUE(logHas(text, L"started " + dir.path() + L"\\Pelmora\\Pelmora☆Corvane.exe")) << shown(text);
}

// Every way a silent install can fail: its exit code, nothing shown, nothing
// left behind, and a log line that names the step and why.
TEST_F(SilentInstallTest, EachFailureEndsWithItsExitCodeAndLeavesNothingBehind) {
    ASSERT_TRUE(folderExists(kSmallDrive)) << "drive T: is not mapped";
    ASSERT_TRUE(folderExists(kReadOnlyDrive)) << "drive U: is not mapped";
    ASSERT_TRUE(folderExists(kSmallReadOnlyDrive)) << "drive V: is not mapped";
    TempFolder work(L"pelmora fails");
    const std::wstring damaged = work / L"PelmoraSetup.exe";
    ASSERT_TRUE(writeDamagedCopy(damaged));

    // A folder so deep that the installed program's path reaches 260 characters.
    const size_t programSuffix = std::wstring(L"\\Pelmora\\Pelmora☆Corvane.exe").size();
    std::wstring deep = work / L"deep";
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    while (deep.size() + programSuffix < 260) {
        deep += L"\\" + std::wstring(std::min<size_t>(40, 260 - programSuffix - deep.size() - 1), L'长');
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    }

    // An earlier installation whose program still runs.
    const std::wstring busy = work / L"busy";
    const std::wstring busyProgram = busy + L"\\Pelmora\\Pelmora☆Corvane.exe";
    ASSERT_TRUE(::CreateDirectoryW(busy.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((busy + L"\\Pelmora").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW((buildDir() + L"\\resources\\payload_tree\\Pelmora☆Corvane.exe").c_str(),
                            busyProgram.c_str(), FALSE));
    ASSERT_TRUE(writeFileBytes(busy + L"\\Pelmora\\bass.dll", "old library"));
    RunningProgram running(busyProgram);
    ASSERT_TRUE(running.window()) << "the installed program did not start";

    // Links below the chosen folder, planted by someone who can write there:
    // as the product folder, as a folder of the payload, as the archive's
    // name. Each leads to a folder of its own, which must stay empty.
    const std::wstring elsewhere = work / L"elsewhere";
    const std::wstring linkedProduct = work / L"linked product", linkedPayload = work / L"linked payload",
                       linkedArchive = work / L"linked archive";
    for (const std::wstring& folder :
         {elsewhere, linkedProduct, linkedPayload, linkedPayload + L"\\Pelmora", linkedArchive})
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const HostLink productLink(linkedProduct + L"\\Pelmora", elsewhere);
    const HostLink payloadLink(linkedPayload + L"\\Pelmora\\mp3", elsewhere);
    const HostLink archiveLink(linkedArchive + L"\\Pelmora.zip", elsewhere);
    ASSERT_TRUE(productLink.made() && payloadLink.made() && archiveLink.made());

    // A file where the product folder goes.
    const std::wstring fileInTheWay = work / L"file in the way";
    ASSERT_TRUE(::CreateDirectoryW(fileInTheWay.c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(fileInTheWay + L"\\Pelmora", "not a folder"));

    const std::wstring missing = work / L"not there";
    const struct {
        const char* name;
        std::wstring program;
        std::wstring folder;
        std::wstring options;
        long exitCode;
        std::wstring logLine;  // empty: no log can be written
    } cases[] = {
        {"damaged copy", damaged, work / L"dest", L"/S", 2, L"the installer is damaged"},
        {"missing folder", installerPath(), missing, L"/S", 3,
         L"cannot write archive " + missing + L"\\Pelmora.zip: error 3: " + systemWords(ERROR_PATH_NOT_FOUND)},
        {"read-only drive", installerPath(), kReadOnlyDrive, L"/S", 3, L"cannot write archive U:\\Pelmora.zip: error "},
        {"path too long", installerPath(), deep, L"/S", 3,
         L"path too long: " + deep + L"\\Pelmora\\Pelmora☆Corvane.exe"},
        {"full drive", installerPath(), kSmallDrive, L"/S", 4, L"not enough space on the volume of T:\\"},
        // Too small as well: what cannot be written at all says so.
        {"small read-only drive", installerPath(), kSmallReadOnlyDrive, L"/S", 3,
         L"installation folder not writable: V:\\: error "},
        {"linked product folder", installerPath(), linkedProduct, L"/S", 3,
         L"link below the installation folder: " + linkedProduct + L"\\Pelmora"},
        {"linked payload folder", installerPath(), linkedPayload, L"/S", 3,
         L"link below the installation folder: " + linkedPayload + L"\\Pelmora\\mp3"},
        {"linked archive name", installerPath(), linkedArchive, L"/S", 3,
         L"link below the installation folder: " + linkedArchive + L"\\Pelmora.zip"},
        {"product folder is a file", installerPath(), fileInTheWay, L"/S", 3,
         L"a file stands where the product folder goes: " + fileInTheWay + L"\\Pelmora"},
        // The options after the folder are not lost in it: /S among them
        // keeps the run silent.
        {"/D= not last", installerPath(), work / L"dest /S /NOSHORTCUT", L"", 5,
         L"bad command line: /D= not last on the line: /D=" + work / L"dest /S /NOSHORTCUT"},
        {"bad option", installerPath(), work / L"dest", L"/S /BOGUS", 5, L"bad command line: unknown option: /BOGUS"},
        {"repeated option", installerPath(), work / L"dest", L"/S /LAUNCH /LAUNCH", 5,
         L"bad command line: option given twice: /LAUNCH"},
        {"program in use", installerPath(), busy, L"/S", 6, L"file in use by another program: " + busyProgram},
    };
    // The watch sees a box when there is one: the bad option without /S.
    const HiddenRun boxed = runExpectingNoWindow(L"/BOGUS", installerPath(), L"", 10000);
    EXPECT_TRUE(boxed.windowShown);
    EXPECT_EQ(boxed.windowTitle, L"错误");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring logName(c.name, c.name + std::strlen(c.name));
        std::replace(logName.begin(), logName.end(), L'/', L'-');
        const std::wstring log = logs_ / (logName + L".log");
        const bool productBefore = folderExists(inFolder(c.folder, L"Pelmora"));
        const HiddenRun run = runExpectingNoWindow(c.options + L" " + logOption(log) + L" /D=" + c.folder, c.program);
        EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
        EXPECT_EQ(run.exitCode, c.exitCode);
        const std::wstring text = readLog(log);
        EXPECT_TRUE(logHas(text, c.logLine)) << shown(c.logLine) << "\n" << shown(text);
        EXPECT_TRUE(logHas(text, L"exit code " + std::to_wstring(c.exitCode) + L"\r\n")) << shown(text);
        expectTimeStamps(text);
        EXPECT_FALSE(fileExists(desktopShortcut()));
        EXPECT_FALSE(fileExists(inFolder(c.folder, L"Pelmora.zip")));
        EXPECT_EQ(folderExists(inFolder(c.folder, L"Pelmora")), productBefore);
    }
    EXPECT_TRUE(driveIsEmpty(kSmallDrive));
    EXPECT_TRUE(driveIsEmpty(kSmallReadOnlyDrive));
    // Nothing went through a link, nothing replaced the file in the way.
    EXPECT_TRUE(treeOf(elsewhere).empty());
    const std::map<std::wstring, std::string> linkOnly = {{L"\\mp3", "/"}};
    EXPECT_EQ(treeOf(linkedPayload + L"\\Pelmora"), linkOnly);
    EXPECT_EQ(bytesOf(fileInTheWay + L"\\Pelmora"), "not a folder");
    // The running program's installation is as it was.
    std::string library;
    pelmora::testing::readFileBytes(busy + L"\\Pelmora\\bass.dll", &library);
    EXPECT_EQ(library, "old library");
    EXPECT_FALSE(folderExists(busy + L"\\Pelmora\\data"));
}

// The extraction fails at its last file, where a folder stands. Exit 1, no
// box, and only what was there before is left.
TEST_F(SilentInstallTest, FailedExtractionEndsWithOneAndTheLogNamesTheFile) {
    TempFolder dir(L"pelmora silent fail");
    const std::wstring product = dir / L"Pelmora";
    const std::wstring program = product + L"\\Pelmora☆Corvane.exe";
    ASSERT_TRUE(::CreateDirectoryW(product.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(program.c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(product + L"\\bass.dll", "old library"));
    const std::wstring log = logs_ / L"fail.log";
    const HiddenRun run = runExpectingNoWindow(L"/S " + logOption(log) + L" /D=" + dir.path());
    EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
    EXPECT_EQ(run.exitCode, 1);

    // What was there before stays (the library replaced by the archive's);
    // nothing else does.
    std::map<std::wstring, std::string> tree;
    collectTree(product, L"", &tree, nullptr);
    std::map<std::wstring, bool> left;  // name, folder
    for (const auto& [name, bytes] : tree) left[name] = bytes == "/";
    const std::map<std::wstring, bool> before = {{L"\\Pelmora☆Corvane.exe", true}, {L"\\bass.dll", false}};
    EXPECT_EQ(left, before);
    EXPECT_FALSE(fileExists(dir / L"Pelmora.zip"));
    EXPECT_FALSE(fileExists(desktopShortcut()));
    const std::wstring text = readLog(log);
    for (const std::wstring& line :
         {L"extraction failed at " + program + L" (", std::wstring(L"removed everything this run created"),
          std::wstring(L"exit code 1\r\n")})
        EXPECT_TRUE(logHas(text, line)) << shown(line) << "\n" << shown(text);
}

// A log that cannot be written is a bad command line: exit 5, nothing installed.
TEST_F(SilentInstallTest, ALogThatCannotBeWrittenStopsTheRunBeforeAnything) {
    TempFolder dir(L"pelmora no log");
    const HiddenRun run = runExpectingNoWindow(L"/S " + logOption(dir / L"missing\\setup.log") + L" /D=" + dir.path());
    EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_FALSE(folderExists(dir / L"Pelmora"));
}

// A log naming a file the installation writes (one of the payload, however
// spelt, or the archive) is a bad command line: exit 5, and neither that file
// nor anything else is written.
TEST_F(SilentInstallTest, ALogNamingAFileTheInstallationWritesIsABadCommandLine) {
    TempFolder dir(L"pelmora log target");
    const std::wstring product = dir / L"Pelmora";
    ASSERT_TRUE(::CreateDirectoryW(product.c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(product + L"\\bass.dll", "old library"));
    const std::map<std::wstring, std::string> before = treeOf(dir.path());
    for (const std::wstring& log : {product + L"\\bass.dll", dir.path() + L"\\pelmora\\BASS.DLL",
                                    product + L"\\Pelmora☆Corvane.exe", dir / L"Pelmora.zip"}) {
        SCOPED_TRACE(shown(log));
        const HiddenRun run = runExpectingNoWindow(L"/S /NOSHORTCUT " + logOption(log) + L" /D=" + dir.path());
        EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
        EXPECT_EQ(run.exitCode, 5);
        EXPECT_EQ(treeOf(dir.path()), before);
    }
}

// Names already taken where the archive goes, by a file of the user's or by a
// link to one: the run writes its archive under a free name, deletes only
// that, and the user's file stays as it was.
TEST_F(SilentInstallTest, TheArchiveIsAFileOfThisRunAndTheUsersOwnStays) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "a link to the user's file" : "the user's own file");
        TempFolder dir(L"pelmora own archive");
        const std::wstring taken = dir / L"Pelmora.zip";
        const std::wstring users = link ? dir / L"mine.zip" : taken;
        ASSERT_TRUE(writeFileBytes(users, "the user's own"));
        std::optional<HostLink> planted;
        if (link) {
            ASSERT_TRUE(planted.emplace(taken, users).made());
        }
        const std::wstring log = logs_ / L"own archive.log";
        ::DeleteFileW(log.c_str());
        const HiddenRun run = runExpectingNoWindow(L"/S /NOSHORTCUT " + logOption(log) + L" /D=" + dir.path());
        EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
        ASSERT_EQ(run.exitCode, 0);
        expectPayloadInstalledAt(dir / L"Pelmora");
        EXPECT_EQ(bytesOf(users), "the user's own");
        EXPECT_EQ(bytesOf(taken), "the user's own");
        const std::wstring text = readLog(log);
        const std::wstring archive = pathLogged(text, L"wrote archive ");
        EXPECT_FALSE(archive.empty()) << shown(text);
        EXPECT_NE(archive, taken);
        EXPECT_TRUE(logHas(text, L"deleted archive " + archive + L"\r\n")) << shown(text);
        // Besides the product folder, only what the user had.
        std::map<std::wstring, std::string> top;
        for (const auto& [name, bytes] : treeOf(dir.path()))
            if (name.rfind(L"\\Pelmora\\", 0) != 0) top[name] = bytes;
        std::map<std::wstring, std::string> expected = {{L"\\Pelmora", "/"}, {L"\\Pelmora.zip", "the user's own"}};
        if (link) expected[L"\\mine.zip"] = "the user's own";
        EXPECT_EQ(top, expected);
    }
}

// A second installation into the folder of one still running finds it and
// says so (exit 6); one into another folder goes ahead. All of them append
// to the same log, none over another's lines.
TEST_F(SilentInstallTest, ASecondInstallationIntoTheSameFolderFindsTheFirstAndTheyShareALog) {
    TempFolder dir(L"pelmora first"), other(L"pelmora beside");
    const std::wstring log = logs_ / L"shared.log";
    Installer first(L"", installerPath(), kWindowTitle, L"/NOSHORTCUT " + logOption(log) + L" /D=" + dir.path());
    ASSERT_TRUE(first.window());
    ::SendMessageW(first.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(first.unit(kInstallButton));
    ASSERT_TRUE(waitFor([&] { return textOf(first.unit(kFinishButton)) == L"退出并启动"; }, 60000));
    const struct {
        const TempFolder& folder;
        long exitCode;
    } runs[] = {{dir, 6}, {other, 0}};
    for (const auto& r : runs) {
        SCOPED_TRACE(shown(r.folder.path()));
        const HiddenRun run = runExpectingNoWindow(L"/S /NOSHORTCUT " + logOption(log) + L" /D=" + r.folder.path());
        EXPECT_FALSE(run.windowShown) << shown(run.windowTitle);
        EXPECT_EQ(run.exitCode, r.exitCode);
    }
    expectPayloadInstalledAt(other / L"Pelmora");
    ::PostMessageW(first.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitExit(), 0);

    const std::wstring text = readLog(log);
    expectTimeStamps(text);
    std::size_t at = 0;
    for (const std::wstring& line : {
             std::wstring(L"the installer window opens"),
             L"another installation into " + dir.path() + L"\\Pelmora is running",
             std::wstring(L"exit code 6\r\n"),
             std::wstring(L"extracted 77 entries ("),
             std::wstring(L"exit code 0\r\n"),
             std::wstring(L"exit code 0\r\n"),
         }) {
        const std::size_t found = text.find(line, at);
        ASSERT_NE(found, std::wstring::npos) << shown(line) << " after offset " << at << "\n" << shown(text);
        at = found + line.size();
    }
}

// A relative log path is the caller's: it lands in the folder the installer
// was started in, not in the installer's own.
TEST_F(SilentInstallTest, ARelativeLogPathIsTakenFromWhereTheInstallerWasStarted) {
    const HiddenRun run =
        runExpectingNoWindow(L"/S /LOG=relative.log /D=" + (logs_ / L"not there"), installerPath(), logs_.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(logHas(readLog(logs_ / L"relative.log"), L"exit code 3"));
}

// In the window, /D= presets the folder box, /NOSHORTCUT and /LOG= apply as
// they do without it.
TEST_F(SilentInstallTest, WindowStartsWithTheFolderGivenAndLogsItsSteps) {
    TempFolder dir(L"pelmora preset 目录");
    const std::wstring log = logs_ / L"window.log";
    Installer installer(L"", installerPath(), kWindowTitle, L"/NOSHORTCUT " + logOption(log) + L" /D=" + dir.path());
    ASSERT_TRUE(installer.window());
    EXPECT_EQ(textOf(installer.unit(kPathEdit)), dir.path());
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    ASSERT_TRUE(waitFor([&] { return textOf(installer.unit(kFinishButton)) == L"退出并启动"; }, 60000));
    expectPayloadInstalledAt(dir / L"Pelmora");
    EXPECT_FALSE(fileExists(desktopShortcut()));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
    const std::wstring text = readLog(log);
    expectTimeStamps(text);
    for (const std::wstring& line :
         {std::wstring(L"the installer window opens"), L"wrote archive " + dir.path() + L"\\Pelmora.zip: ",
          std::wstring(L"extracted 77 entries ("), std::wstring(L"no desktop shortcut (/NOSHORTCUT)"),
          std::wstring(L"exit code 0\r\n")})
        EXPECT_TRUE(logHas(text, line)) << shown(line) << "\n" << shown(text);
}

// A drive too small for the installation: the box says how much is needed
// and how much is free, the window stays idle, and nothing is written.
TEST_F(SilentInstallTest, WindowReportsTooLittleSpaceAndWritesNothing) {
    ASSERT_TRUE(folderExists(kSmallDrive)) << "drive T: is not mapped";
    ULARGE_INTEGER free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(kSmallDrive, &free, nullptr, nullptr));
    Installer installer(L"", installerPath(), kWindowTitle, std::wstring(L"/D=") + kSmallDrive);
    ASSERT_TRUE(installer.window());
    ASSERT_EQ(textOf(installer.unit(kPathEdit)), kSmallDrive);
    ::SendMessageW(installer.unit(kAgreeCheck), BM_CLICK, 0, 0);
    clickLater(installer.unit(kInstallButton));
    HWND box = waitForBox(installer, L"错误");
    ASSERT_TRUE(box);
    saveScreenshot(screenshotPath(L"not-enough-space"));
    const std::wstring text = messageBoxText(box);
    double needed = 0, available = 0;
    EXPECT_EQ(std::swscanf(text.c_str(), L"磁盘空间不足：T:\\\r\n安装需要 %lf MB，可用空间只有 %lf MB。", &needed,
                           &available),
              2)
        << shown(text);
    EXPECT_TRUE(text.size() > 20 && text.substr(text.size() - 20) == L"。\r\n请释放磁盘空间或选择其他安装目录。")
        << shown(text);
    // What is needed: the archive, the files unpacked from it and the
    // uninstaller (the stub).
    std::map<std::wstring, std::string> files;
    collectTree(buildDir() + L"\\resources\\payload_tree", L"", &files, nullptr);
    std::string archive, stub;
    pelmora::testing::readFileBytes(buildDir() + L"\\resources\\payload.zip", &archive);
    pelmora::testing::readFileBytes(buildDir() + L"\\app\\installer-stub.exe", &stub);
    ASSERT_FALSE(stub.empty());
    double unpacked = static_cast<double>(archive.size() + stub.size());
    for (const auto& [name, bytes] : files) unpacked += bytes == "/" ? 0 : bytes.size();
    EXPECT_GE(needed, unpacked / 1048576);
    EXPECT_LE(needed, unpacked / 1048576 + 2);
    EXPECT_NEAR(available, static_cast<double>(free.QuadPart) / 1048576, 0.1);
    clickLater(::GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    ASSERT_TRUE(settle(installer));
    EXPECT_TRUE(::IsWindowVisible(installer.unit(kInstallButton)));
    EXPECT_FALSE(::IsWindowVisible(installer.unit(kFinishButton)));
    EXPECT_TRUE(driveIsEmpty(kSmallDrive));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
}

// Without /S the command line answers in a box before any window.
TEST_F(SilentInstallTest, OptionsBoxAndBadCommandLineBoxComeBeforeAnyWindow) {
    const std::wstring unwritableLog = logs_ / L"missing\\setup.log";
    const struct {
        std::wstring arguments;
        const wchar_t* caption;
        std::wstring firstLine;
        bool listsOptions;
        long exitCode;
    } cases[] = {
        {L"/?", L"命令行参数", L"用法：PelmoraSetup.exe [/S] [/NOSHORTCUT] [/LAUNCH] [/LOG=日志文件] [/D=安装目录]",
         true, 0},
        {L"/BOGUS", L"错误", L"无法识别的参数：/BOGUS", true, 5},
        {L"/LAUNCH", L"错误", L"/LAUNCH 只能与 /S 一起使用。", true, 5},
        {L"/D=relative", L"错误", L"安装目录须为完整路径：/D=relative", true, 5},
        {L"/D=C:\\x /noshortcut", L"错误", L"/D= 须放在命令行最后：/D=C:\\x /noshortcut", true, 5},
        {logOption(logs_ / L"Pelmora.zip") + L" /D=" + logs_.path(), L"错误",
         L"日志文件是安装要写入的文件：" + logs_ / L"Pelmora.zip", true, 5},
        {logOption(unwritableLog), L"错误", L"无法写入日志文件：" + unwritableLog, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(shown(c.arguments));
        Installer installer(L"", installerPath(), c.caption, c.arguments);
        ASSERT_TRUE(installer.window()) << "no box";
        const std::wstring text = messageBoxText(installer.window());
        EXPECT_EQ(text.substr(0, text.find(L"\r\n")), c.firstLine);
        if (c.listsOptions) {
            for (const wchar_t* option : {L"/S", L"/D=", L"/NOSHORTCUT", L"/LAUNCH", L"/LOG=", L"/?", L"6 "})
                EXPECT_TRUE(logHas(text, option)) << "the box lists " << shown(option);
        } else {
            EXPECT_FALSE(logHas(text, L"/NOSHORTCUT")) << shown(text);
        }
        EXPECT_EQ(findTopLevel(installer.processId(), kWindowTitle), nullptr);
        clickLater(::GetDlgItem(installer.window(), IDOK));
        EXPECT_EQ(installer.waitExit(), c.exitCode);
    }
}

}  // namespace
}  // namespace pelmora::e2e
