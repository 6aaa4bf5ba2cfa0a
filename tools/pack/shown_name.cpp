#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

constexpr std::size_t kShownHead = 60;
constexpr std::size_t kShownTail = 20;

bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

std::string shownName(std::string_view text) {
    std::size_t characters = 0;
    for (char byte : text) characters += startsCharacter(byte);
    if (characters <= kShownNameLimit) return std::string(text);
    // Byte offsets where character kShownHead and character (count - kShownTail) begin.
    std::size_t headEnd = 0, tailStart = 0, seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!startsCharacter(text[i])) continue;
        if (seen == kShownHead) headEnd = i;
        if (seen == characters - kShownTail) tailStart = i;
        ++seen;
    }
    return std::string(text.substr(0, headEnd)) + "…" + std::string(text.substr(tailStart));
}

}  // namespace pelmora::pack
