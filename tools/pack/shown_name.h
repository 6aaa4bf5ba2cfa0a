// Names, paths and values as messages show them. A name is echoed in every
// message that concerns it; one of 300,000 characters would fill the
// terminal, so a long one is shown by its two ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora::pack {

// Longer than any path Windows opens: nobody reads such a name whole.
inline constexpr std::size_t kShownNameLimit = 260;

// UTF-8 text, whole up to kShownNameLimit characters; otherwise its first 60
// and last 20 characters around "…". Cuts fall between characters (bytes that
// are not UTF-8 count one each).
std::string shownName(std::string_view text);

}  // namespace pelmora::pack
