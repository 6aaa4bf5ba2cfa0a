// Checks of the pictures a publisher hands the builder, on their bytes alone:
// the window background must be a complete PNG of exactly 500 x 300 pixels,
// the icon a complete ICO file. "Complete" means every chunk's CRC holds and
// the compressed image data inflates to exactly the rows the header
// announces, so a cut-off or damaged file is caught here, not on a
// customer's screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora::pack {

constexpr std::uint32_t kBackgroundWidth = 500;
constexpr std::uint32_t kBackgroundHeight = 300;
// The optional picture for screens above 150 %: the same one at twice the size.
constexpr std::uint32_t kBackground2xWidth = 2 * kBackgroundWidth;
constexpr std::uint32_t kBackground2xHeight = 2 * kBackgroundHeight;

struct PngInfo {
    std::uint32_t width = 0, height = 0;
    std::uint8_t bitDepth = 0, colourType = 0;
};

// Empty when the bytes are a complete PNG file; otherwise why not.
std::string checkPng(std::string_view bytes, PngInfo* info);
// checkPng, and the size the window needs: 500 x 300, or 1000 x 600 when
// `doubleSize` (the picture for screens above 150 %).
std::string checkBackgroundPng(std::string_view bytes, bool doubleSize = false);
// Empty when the bytes are an ICO file whose every image is complete (PNG or
// bitmap); otherwise why not.
std::string checkIco(std::string_view bytes);

}  // namespace pelmora::pack
