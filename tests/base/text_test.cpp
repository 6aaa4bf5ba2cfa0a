#include "base/text.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(TextTest, GbkRoundTripIsIndependentOfTheAnsiCodePage) {
    // "Pelmora☆Corvane.exe" as stored in the archive: ☆ is A1 EE in code page 936.
    const std::string gbk = "Pelmora\xA1\xEE" "Corvane.exe";
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
