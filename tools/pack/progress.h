// The progress bar the builder prints while it compresses. Drawn again in
// place on a terminal each time the shown tenth of a percent changes, and
// as one line per tenth of the work when the output goes to a file or pipe,
// so logs stay short.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace pelmora::pack {

// "[########------------]  40.0%  12.3 MiB of 30.7 MiB"
std::string renderProgress(std::uint64_t done, std::uint64_t total, std::size_t barWidth);

class ProgressBar {
public:
    ProgressBar(std::FILE* out, bool interactive, bool quiet) : out_(out), interactive_(interactive), quiet_(quiet) {}
    void start(std::uint64_t total);
    void advance(std::uint64_t bytes);
    void finish();

private:
    void draw();
    std::FILE* out_;
    bool interactive_, quiet_;
    std::uint64_t total_ = 0, done_ = 0;
    std::uint64_t shown_ = ~0ull;  // what was last drawn: tenths of a percent, or tenths of the work
};

// Whether the stream is a terminal.
bool isTerminal(std::FILE* stream);

}  // namespace pelmora::pack
