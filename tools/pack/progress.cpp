#include "tools/pack/progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pelmora::pack {
namespace {

constexpr std::size_t kBarWidth = 30;

std::string mebibytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

// Tenths of a percent done; a job with nothing to do is done.
std::uint64_t permille(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return 1000;
    if (done >= total) return 1000;
    // Divides first where the product could overflow.
    return total > (~0ull / 1000) ? done / (total / 1000) : done * 1000 / total;
}

}  // namespace

std::string renderProgress(std::uint64_t done, std::uint64_t total, std::size_t barWidth) {
    const std::uint64_t p = permille(done, total);
    const std::size_t filled = static_cast<std::size_t>(p * barWidth / 1000);
    char percent[16];
    std::snprintf(percent, sizeof percent, "%5.1f%%", static_cast<double>(p) / 10);
    return "[" + std::string(filled, '#') + std::string(barWidth - filled, '-') + "] " + percent + "  " +
           mebibytes(done < total ? done : total) + " of " + mebibytes(total);
}

void ProgressBar::start(std::uint64_t total) {
    total_ = total;
    done_ = 0;
    shown_ = ~0ull;
    draw();
}

void ProgressBar::advance(std::uint64_t bytes) {
    done_ += bytes;
    draw();
}

void ProgressBar::draw() {
    if (quiet_) return;
    const std::uint64_t p = permille(done_, total_);
    const std::uint64_t step = interactive_ ? p : p / 100;
    if (step == shown_) return;
    shown_ = step;
    if (interactive_) {
        std::fprintf(out_, "\r%s", renderProgress(done_, total_, kBarWidth).c_str());
    } else {
        std::fprintf(out_, "%s\n", renderProgress(done_, total_, kBarWidth).c_str());
    }
    std::fflush(out_);
}

void ProgressBar::finish() {
    if (!quiet_ && interactive_) std::fprintf(out_, "\n");
}

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return ::_isatty(::_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

}  // namespace pelmora::pack
