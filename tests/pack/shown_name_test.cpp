// How a message shows a name: whole when it is of a length people give
// names, its two ends when it is longer.
#include "tools/pack/shown_name.h"

#include <gtest/gtest.h>

namespace pelmora::pack {
namespace {

std::string repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(ShownNameTest, LongNamesKeepTheirFirstSixtyAndLastTwentyCharacters) {
    const struct {
        const char* what;
        std::string name, shown;
    } cases[] = {
        {"empty", "", ""},
        {"short", "bin/app.exe", "bin/app.exe"},
        {"at the limit", repeat("a", 260), repeat("a", 260)},
        {"at the limit in two-byte characters", repeat("Ж", 260), repeat("Ж", 260)},
        {"one past the limit", repeat("a", 60) + repeat("m", 181) + repeat("z", 20),
         repeat("a", 60) + "…" + repeat("z", 20)},
        {"characters, not bytes", repeat("Ж", 100) + repeat("m", 299800) + repeat("語", 100),
         repeat("Ж", 60) + "…" + repeat("語", 20)},
        {"four-byte characters", repeat("😀", 300), repeat("😀", 60) + "…" + repeat("😀", 20)},
        // Bytes that are not UTF-8 (a value from the command line) are each a character.
        {"not UTF-8", repeat("\xFF", 300), repeat("\xFF", 60) + "…" + repeat("\xFF", 20)},
    };
    for (const auto& c : cases) EXPECT_EQ(shownName(c.name), c.shown) << c.what;
}

}  // namespace
}  // namespace pelmora::pack
