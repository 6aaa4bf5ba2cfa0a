// The installation log: its line format, the system's error texts, and the
// file it keeps (UTF-8, appended run after run).
#include "app/install_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

TEST(InstallLogTest, LinesStartWithTheLocalTimeToTheMillisecond) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = 1;
    t.wHour = 9;
    t.wMinute = 3;
    t.wSecond = 7;
    t.wMilliseconds = 25;
    EXPECT_EQ(logLine(t, L"extracted C:\\安装\\a.txt"), L"2024-05-01 09:03:07.025  extracted C:\\安装\\a.txt\r\n");
}

TEST(InstallLogTest, ErrorTextsGiveTheCodeAndTheSystemsWords) {
    EXPECT_EQ(errorText(5, L"Access denied.\r\n"), L"error 5: Access denied.");
    EXPECT_EQ(errorText(112, L"磁盘空间不足。 \r\n"), L"error 112: 磁盘空间不足。");
    EXPECT_EQ(errorText(3, L""), L"error 3");
    const std::wstring text = systemErrorText(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(text.rfind(L"error 3: ", 0), 0u) << ::testing::PrintToString(text);
    EXPECT_GT(text.size(), 10u) << "the system has words for this error";
    EXPECT_NE(text.back(), L'\n');
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    testing::readFileBytes(path, &bytes);
    return bytes;
}

TEST(InstallLogTest, WritesUtf8LinesAndAppendsOneRunAfterAnother) {
    testing::TempFolder dir(L"pelmora log");
    const std::wstring path = dir / L"安装日志.log";
    {
        InstallLog log;
        ASSERT_TRUE(log.open(path));
        EXPECT_TRUE(log.isOpen());
        log.write(L"installation folder: D:\\软件");
        log.writeFailure(L"cannot write archive", ERROR_ACCESS_DENIED);
        log.writeFailure(L"no error", 0);
    }
    {
        InstallLog log;
        ASSERT_TRUE(log.open(path));
        log.write(L"second run");
    }
    const std::string bytes = fileBytes(path);
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << "a byte-order mark opens the file";
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF", 3), std::string::npos) << "and only once";
    const std::string lines[] = {
        "  installation folder: D:\\\xE8\xBD\xAF\xE4\xBB\xB6\r\n",  // 软件
        "  cannot write archive: error 5",
        "  no error\r\n",
        "  second run\r\n",
    };
    std::size_t at = 0;
    for (const std::string& line : lines) {
        const std::size_t found = bytes.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + line.size();
    }
    int count = 0;
    for (std::size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2)) ++count;
    EXPECT_EQ(count, 4) << "one line each";
}

// Two runs at once with one log: each line lands whole at the end, none over
// another's, and the byte-order mark only once.
TEST(InstallLogTest, TwoRunsAppendToOneLogAtOnce) {
    testing::TempFolder dir(L"pelmora shared log");
    const std::wstring path = dir / L"shared.log";
    {
        InstallLog first, second;
        ASSERT_TRUE(first.open(path));
        ASSERT_TRUE(second.open(path)) << "error " << ::GetLastError();
        first.write(L"first 1");
        second.write(L"second 1");
        first.write(L"first 2");
        second.write(L"second 2");
    }
    const std::string bytes = fileBytes(path);
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF", 3), std::string::npos);
    std::size_t at = 0;
    for (const char* line : {"  first 1\r\n", "  second 1\r\n", "  first 2\r\n", "  second 2\r\n"}) {
        const std::size_t found = bytes.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + std::strlen(line);
    }
    EXPECT_EQ(at, bytes.size());
}

TEST(InstallLogTest, AFileThatCannotBeOpenedIsReportedAndNothingIsKept) {
    testing::TempFolder dir;
    InstallLog log;
    ::SetLastError(0);
    EXPECT_FALSE(log.open(dir / L"missing folder\\setup.log"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(log.isOpen());
    log.write(L"kept nowhere");
    EXPECT_FALSE(testing::folderExists(dir / L"missing folder"));
}

}  // namespace
}  // namespace pelmora
