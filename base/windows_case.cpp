#include "base/windows_case.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace pelmora {
namespace {

// Every step-th code unit from first to last upper-cases to itself + delta.
struct CaseRun {
    std::uint16_t first, last;
    std::int32_t delta;
    std::uint8_t step;
};

// Made by tools/make_windows_case.py from Python's Unicode data (the version
// is on the table's first line): a character maps to its upper case when that
// is one UTF-16 code unit. Windows' own table (on NTFS, the one written when
// the volume was formatted) follows the Unicode version of that Windows and
// may differ in a few code points: letters added to Unicode since, and a few
// such as dotless i or long s. Two names that differ only there may be
// judged one file here and two there, or the other way round.
constexpr CaseRun kRuns[] = {
#include "base/windows_case_table.inc"
};

}  // namespace

wchar_t windowsUpperCase(wchar_t unit) {
    const auto value = static_cast<std::uint32_t>(unit);
    if (value > 0xFFFF) return unit;
    // The last run that starts at or before the unit.
    const auto after = std::upper_bound(std::begin(kRuns), std::end(kRuns), value,
                                        [](std::uint32_t v, const CaseRun& run) { return v < run.first; });
    if (after == std::begin(kRuns)) return unit;
    const CaseRun& run = *std::prev(after);
    if (value > run.last || (value - run.first) % run.step != 0) return unit;
    return static_cast<wchar_t>(static_cast<std::int32_t>(value) + run.delta);
}

std::wstring windowsCaseKey(std::wstring_view name) {
    std::wstring key(name);
    for (wchar_t& unit : key) unit = windowsUpperCase(unit);
    return key;
}

bool sameWindowsName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && windowsCaseKey(a) == windowsCaseKey(b);
}

}  // namespace pelmora
