#include "app/earlier_installation.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

// Which version is newer decides whether installing asks first: numbers
// compare as numbers, missing pieces as 0, and the order is the same read
// either way round.
TEST(EarlierInstallationTest, VersionsCompareByTheirPieces) {
    const struct {
        const wchar_t* older;
        const wchar_t* newer;
    } ordered[] = {
        {L"1.0", L"2.0"},  {L"7.0.0.1", L"7.0.0.2"}, {L"7.0.9", L"7.0.10"}, {L"1.9", L"1.10"}, {L"2", L"2.0.1"},
        {L"1.0", L"1.0a"}, {L"1.0-beta", L"1.0-rc"}, {L"099", L"100"},      {L"", L"0.1"},
    };
    for (const auto& c : ordered) {
        EXPECT_LT(compareVersions(c.older, c.newer), 0) << ::testing::PrintToString(std::wstring(c.older));
        EXPECT_GT(compareVersions(c.newer, c.older), 0) << ::testing::PrintToString(std::wstring(c.newer));
    }
    const struct {
        const wchar_t* a;
        const wchar_t* b;
    } same[] = {{L"7.0.0.1", L"7.0.0.1"}, {L"2", L"2.0.0"}, {L"1.01", L"1.1"}, {L"", L"0"}};
    for (const auto& c : same) EXPECT_EQ(compareVersions(c.a, c.b), 0) << ::testing::PrintToString(std::wstring(c.a));
}

}  // namespace
}  // namespace pelmora
