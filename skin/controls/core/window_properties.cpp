#include "skin/controls/core/window_properties.h"

#include <atomic>
#include <cwchar>
#include <map>
#include <utility>

namespace pelmora {
namespace {

// Keyed by the name's text, not its address: every translation unit has its
// own copy of the name constants.
struct NameLess {
    bool operator()(const std::pair<HWND, const wchar_t*>& a, const std::pair<HWND, const wchar_t*>& b) const {
        if (a.first != b.first) return a.first < b.first;
        return std::wcscmp(a.second, b.second) < 0;
    }
};

std::atomic<std::uint64_t> generation{1};

struct KeptValues {
    DWORD thread = 0;
    std::uint64_t generation = 0;
    std::map<std::pair<HWND, const wchar_t*>, std::intptr_t, NameLess> values;
};

KeptValues& kept() {
    static KeptValues values;
    return values;
}

// Windows come and go without a property written (a plain window reusing a
// destroyed one's slot); past this many values the map starts afresh, so it
// never grows with the windows a long session made.
constexpr size_t kMaxKeptValues = 512;

}  // namespace

void propertiesChanged() {
    generation.fetch_add(1, std::memory_order_relaxed);
}

std::intptr_t keptPropValue(HWND window, const wchar_t* name) {
    KeptValues& values = kept();
    const DWORD thread = ::GetCurrentThreadId();
    if (!values.thread) values.thread = thread;
    if (values.thread != thread || !window) return propValue(window, name);
    const std::uint64_t now = generation.load(std::memory_order_relaxed);
    if (values.generation != now || values.values.size() >= kMaxKeptValues) {
        values.values.clear();
        values.generation = now;
    }
    const auto key = std::make_pair(window, name);
    const auto found = values.values.find(key);
    if (found != values.values.end()) return found->second;
    const std::intptr_t value = propValue(window, name);
    values.values.emplace(key, value);
    return value;
}

}  // namespace pelmora
