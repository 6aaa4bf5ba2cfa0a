#include "tools/pack/pack_plan.h"

#include <gtest/gtest.h>

#include "payload/package_texts.h"

namespace pelmora::pack {
namespace {

TEST(PackPlanTest, WindowTexts) {
    const struct {
        const char* what;
        std::string text;
        bool multiline;
        std::string placeholders, problem, normal;
    } cases[] = {
        {"plain", "开始安装", false, "", "", "开始安装"},
        {"other scripts", "Установить — 설치 ☆", false, "", "", "Установить — 설치 ☆"},
        {"beyond the BMP", "Go 🚀", false, "", "", "Go 🚀"},
        {"line break in one line", "a\nb", false, "", "the text must be one line without control characters", ""},
        {"tab in one line", "a\tb", false, "", "the text must be one line without control characters", ""},
        {"line breaks made CR LF", "a\nb\r\nc\rd", true, "", "", "a\r\nb\r\nc\r\nd"},
        {"tab in lines", "a\tb", true, "", "", "a\tb"},
        {"bell", "a\x07", true, "", "the text holds a control character", ""},
        {"delete", "a\x7F", false, "", "the text holds a control character", ""},
        {"NUL", std::string("a\0b", 3), false, "",
         "the text holds a NUL character, which cannot be encoded for Windows", ""},
        {"not UTF-8", "caf\xE9", false, "", "the text is not valid UTF-8, so it cannot be encoded for Windows", ""},
        {"encoded surrogate", "\xED\xA0\x80", false, "",
         "the text is not valid UTF-8, so it cannot be encoded for Windows", ""},
        {"too long", std::string(1025, 'x'), false, "", "the text is too long", ""},
        {"placeholder kept", "Cannot write {path}.", true, "{path}", "", "Cannot write {path}."},
        {"placeholder lost", "Cannot write.", true, "{path}", "the text must hold {path} exactly once", ""},
        {"placeholder twice", "{file} {file} {leftover}", true, "{file}{leftover}",
         "the text must hold {file} exactly once", ""},
    };
    for (const auto& c : cases) {
        std::string normal;
        EXPECT_EQ(checkWindowText(c.text, c.multiline, c.placeholders, &normal), c.problem) << c.what;
        if (c.problem.empty()) {
            EXPECT_EQ(normal, c.normal) << c.what;
        }
    }
}

TEST(PackPlanTest, NamesForTheShortcutAndProductFolder) {
    const struct {
        std::string name, problem;
    } cases[] = {
        {"Pelmora", ""},
        {"Pelmora☆Corvane 7", ""},
        {"", "the name is empty"},
        {"a/b", "a name, not a path, is needed here"},
        {"a\\b", "a name, not a path, is needed here"},
        {"..", "Windows would refuse it: parent-folder component"},
        {"CON", "Windows would refuse it: reserved device name"},
        {"lpt1.txt", "Windows would refuse it: reserved device name"},
        {"a:b", "Windows would refuse it: drive letter or stream name"},
        {"a?b", "Windows would refuse it: character not allowed in file names"},
        {"name.", "it ends in a dot or space, which Windows drops"},
        {std::string(256, 'n'), "Windows would refuse it: path too long for Windows"},
    };
    for (const auto& c : cases) EXPECT_EQ(checkSingleName(c.name), c.problem) << c.name;
}

TEST(PackPlanTest, DefaultFolders) {
    const struct {
        std::string folder, problem, normal;
    } cases[] = {
        {"C:\\Program Files", "", "C:\\Program Files"},
        {"D:/Games/", "", "D:\\Games"},
        {"e:\\", "", "e:\\"},
        {"C:\\应用\\工具", "", "C:\\应用\\工具"},
        {"Program Files", "an absolute folder with a drive letter is needed, such as C:\\Program Files", ""},
        {"\\\\server\\share", "an absolute folder with a drive letter is needed, such as C:\\Program Files", ""},
        {"C:\\a\\..\\b", "Windows would refuse it: parent-folder component", ""},
        {"C:\\a:b", "Windows would refuse it: drive letter or stream name", ""},
        {"C:\\NUL\\x", "Windows would refuse it: reserved device name", ""},
    };
    for (const auto& c : cases) {
        std::string normal;
        EXPECT_EQ(checkDefaultFolder(c.folder, &normal), c.problem) << c.folder;
        if (c.problem.empty()) {
            EXPECT_EQ(normal, c.normal) << c.folder;
        }
    }
}

TEST(PackPlanTest, Timestamps) {
    const struct {
        std::string text, problem;
        std::uint16_t date, time;
    } cases[] = {
        {"2021-12-30T06:50:20", "", (41 << 9) | (12 << 5) | 30, (6 << 11) | (50 << 5) | 10},
        {"1980-01-01 00:00:00", "", (0 << 9) | (1 << 5) | 1, 0},
        {"2107-12-31T23:59:58", "", (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
        {"2024-02-29T00:00:00", "", (44 << 9) | (2 << 5) | 29, 0},
        {"2023-02-29T00:00:00", "no such date or time", 0, 0},
        {"2021-12-30T06:50:21", "ZIP archives hold times in steps of two seconds", 0, 0},
        {"1979-12-31T23:59:58", "ZIP archives hold times from 1980 to 2107 only", 0, 0},
        {"2021-12-30", "the time must be written YYYY-MM-DDTHH:MM:SS", 0, 0},
        {"2021-13-01T00:00:00", "no such date or time", 0, 0},
    };
    for (const auto& c : cases) {
        std::uint16_t date = 0, time = 0;
        EXPECT_EQ(parseTimestamp(c.text, &date, &time), c.problem) << c.text;
        if (!c.problem.empty()) continue;
        EXPECT_EQ(date, c.date) << c.text;
        EXPECT_EQ(time, c.time) << c.text;
    }
}

// The plan is driven by the settings table: every row is read, a required
// row missing is reported with its option, and a row's fallback is what the
// plan holds when the setting is not given.
TEST(PackPlanTest, EverySettingOfTheTableReachesThePlan) {
    PackPlan plan;
    std::vector<Problem> problems;
    EXPECT_FALSE(planPackage(PackRequest{}, NativePath("nowhere"), &plan, &problems));

    std::set<std::string> expected;
    for (const SettingInfo& row : settingTable()) expected.insert(row.key);
    std::size_t count = 0;
    const package::TextEntry* texts = package::windowTexts(&count);
    for (std::size_t i = 0; i < count; ++i) expected.insert(std::string(package::kTextKeyPrefix) + texts[i].key);
    EXPECT_EQ(plan.consulted, expected);

    for (const SettingInfo& row : settingTable()) {
        const std::string missing =
            "missing " + std::string(row.key) + " (" + row.option + ", or \"" + row.key + "\" in the description file)";
        bool reported = false;
        for (const Problem& p : problems) reported |= p.code == ExitCode::Usage && p.message == missing;
        EXPECT_EQ(reported, row.need == SettingNeed::Required) << row.key;
    }
    EXPECT_EQ(plan.texts[package::kKeyDefaultFolder], "C:\\Program Files");
    EXPECT_EQ(plan.texts[package::kKeyTitle], "软件安装向导");
    EXPECT_EQ(plan.zip.level, 6);
    EXPECT_EQ(plan.zip.dosDate, (0 << 9) | (1 << 5) | 1);  // 1980-01-01
    EXPECT_EQ(plan.zip.dosTime, 0);
}

}  // namespace
}  // namespace pelmora::pack
