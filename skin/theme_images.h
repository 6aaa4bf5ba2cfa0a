// Image processing behind the theme: the average colour of a background
// picture and the picture with one edge and the bottom faded into a colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/win32_util.h"

namespace pelmora {

// The C run-time's linear congruential generator: the sample positions of the
// average colour must be the ones that generator gives for a seed.
class CrtRandom {
public:
    explicit CrtRandom(std::uint32_t seed) : state_(seed) {}
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    int nextInRange(int lo, int hi) { return lo + next() % (hi - lo + 1); }

private:
    std::uint32_t state_;
};

// Local date-time as days since 30 December 1899, the time of day as the fraction.
double dayCountOf(const SYSTEMTIME& time);
double currentDayCount();

constexpr int kAverageSamples = 2000;

// The 2000 sample positions for an image of the given size on day `dayCount`.
// Sample i (1-based) takes x right after seeding with int(dayCount) + 3i and y
// right after seeding with int(dayCount) + i, so positions repeat within a day.
std::vector<POINT> averageSamplePositions(double dayCount, int width, int height);

// Opaque ARGB colour whose channels are the integer means of the sampled
// pixels. 0 when the image cannot be read.
std::uint32_t averageImageColour(const ByteBuffer& image, double dayCount);
inline std::uint32_t averageImageColour(const ByteBuffer& image) {
    return averageImageColour(image, currentDayCount());
}

enum class FadeSide { Left, Right };

// The picture as PNG with a band of 30 % of its width faded into `colour`
// (opaque ARGB) on the given side, and a band as high along the bottom. Empty
// when the image cannot be read.
ByteBuffer fadeBackgroundEdge(const ByteBuffer& image, std::uint32_t colour, FadeSide side);

// A background picture as a window paints it in BackgroundMode `mode`: faded
// into `colour` (opaque ARGB) on the side away from the picture for the two
// faded modes, else as given.
ByteBuffer processedBackground(const ByteBuffer& image, std::uint32_t colour, int mode);

// The picture re-encoded as PNG (for a picture read from a file); empty on failure.
ByteBuffer reencodeAsPng(const ByteBuffer& image);

// Whole file contents; empty when it cannot be read.
ByteBuffer readWholeFile(const std::wstring& path);

}  // namespace pelmora
