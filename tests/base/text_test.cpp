#include "base/text.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace pelmora {
namespace {

TEST(TextTest, GbkRoundTripIsIndependentOfTheAnsiCodePage) {
    // "Pelmora☆Corvane.exe" as stored in the archive: ☆ is A1 EE in code page 936.
    const std::string gbk =
        "Pelmora\xA1\xEE"
        "Corvane.exe";
    EXPECT_EQ(wideFromGbk(gbk), L"Pelmora☆Corvane.exe");
    EXPECT_EQ(gbkFromWide(L"Pelmora☆Corvane.exe"), gbk);
    // 软件安装向导
    EXPECT_EQ(wideFromGbk("\xC8\xED\xBC\xFE\xB0\xB2\xD7\xB0\xCF\xF2\xB5\xBC"), L"软件安装向导");
}

TEST(TextTest, Utf8AndEmptyTexts) {
    EXPECT_EQ(wideFromUtf8("\xE5\x9B\xBE\xE6\xA0\x87.ico"), L"图标.ico");
    EXPECT_EQ(utf8FromWide(L"图标.ico"), "\xE5\x9B\xBE\xE6\xA0\x87.ico");
    EXPECT_EQ(wideFromGbk(""), L"");
    EXPECT_EQ(gbkFromWide(L""), "");
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

// The locale matrix is only worth something if the English run really has a
// Western ANSI code page: guard against a Wine set-up that ignores LC_ALL.
TEST(LocaleTest, RunsUnderTheAnsiCodePageOfTheRequestedLocale) {
    const char* locale = std::getenv("LC_ALL");
    if (!locale) GTEST_SKIP() << "LC_ALL not set";
    const std::string name = locale;
    if (name.rfind("en_US", 0) == 0) {
        EXPECT_EQ(::GetACP(), 1252u);
    }
    if (name.rfind("zh_CN", 0) == 0) {
        EXPECT_EQ(::GetACP(), 936u);
    }
}

}  // namespace
}  // namespace pelmora
