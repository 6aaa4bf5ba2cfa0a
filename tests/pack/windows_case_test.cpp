// base/windows_case: one code unit upper-cased to one, as Windows' file
// systems compare names. Here beside the builder's tests, its first user.
#include "base/windows_case.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(WindowsCaseTest, UpperCasesEachCodeUnitOnItsOwn) {
    const struct {
        wchar_t unit, upper;
    } cases[] = {
        {L'a', L'A'},           {L'z', L'Z'},           {L'A', L'A'},
        {L'1', L'1'},           {L'{', L'{'},           {L'\u00E4', L'\u00C4'},  // ä
        {L'\u00FF', L'\u0178'},  // ÿ: its capital lies in Latin Extended-A
        {L'\u0101', L'\u0100'}, {L'\u0100', L'\u0100'}, {L'\u0103', L'\u0102'},  // alternating capital and small
        {L'\u03C3', L'\u03A3'}, {L'\u03C2', L'\u03A3'},                          // σ and final ς
        {L'\u0436', L'\u0416'},                                                  // ж
        {L'\uFF41', L'\uFF21'},                                                  // fullwidth a
        {L'\u00DF', L'\u00DF'},                                                  // ß: its upper case is two letters
        {L'\u4E2D', L'\u4E2D'},                                                  // 中
        {L'\xD801', L'\xD801'}, {L'\xDC28', L'\xDC28'},                          // halves of a surrogate pair stay
        {L'\uFFFF', L'\uFFFF'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<unsigned>(windowsUpperCase(c.unit)), static_cast<unsigned>(c.upper))
            << std::hex << static_cast<unsigned>(c.unit);
    }
}

TEST(WindowsCaseTest, NamesAreTheSameFileOnlyUnitForUnit) {
    const struct {
        const wchar_t *a, *b;
        bool same;
    } cases[] = {
        {L"readme.txt", L"README.TXT", true},
        {L"\u00C4.txt", L"\u00E4.txt", true},                                          // Ä ä
        {L"\u03A3\u039F\u03A6\u0399\u0391", L"\u03C3\u03BF\u03C6\u03B9\u03B1", true},  // ΣΟΦΙΑ σοφια
        {L"stra\u00DFe", L"STRASSE", false},                                           // ß is not SS
        {L"\u00E9", L"e\u0301", false},                                                // é composed and decomposed
        {L"\xD801\xDC28", L"\xD801\xDC00", false},  // 𐐨 𐐀: beyond the table's units
        {L"a", L"a ", false},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sameWindowsName(c.a, c.b), c.same) << static_cast<int>(&c - cases);
        EXPECT_EQ(windowsCaseKey(c.a) == windowsCaseKey(c.b), c.same) << static_cast<int>(&c - cases);
    }
}

}  // namespace
}  // namespace pelmora
