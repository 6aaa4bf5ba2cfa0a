#include "app/disk_space.h"

#include <windows.h>

namespace pelmora {
namespace {

std::uint64_t roundedUp(std::uint64_t bytes, std::uint64_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// value / unit in tenths, rounded as asked.
std::uint64_t tenths(std::uint64_t bytes, std::uint64_t unit, Rounding rounding) {
    const std::uint64_t scaled = bytes * 10;  // bytes stay far below 2^60 on any disk there is
    return rounding == Rounding::Up ? (scaled + unit - 1) / unit : scaled / unit;
}

}  // namespace

std::uint64_t spaceNeeded(const std::vector<PlannedPath>& plan, std::uint64_t uninstallerBytes) {
    std::uint64_t total = kSpaceMargin + roundedUp(uninstallerBytes, kClusterBytes);
    for (const PlannedPath& p : plan) {
        if (!p.folder) total += roundedUp(p.size, kClusterBytes);
    }
    return total;
}

bool enoughSpace(std::optional<std::uint64_t> freeBytes, std::uint64_t needed) {
    return !freeBytes || *freeBytes >= needed;
}

std::optional<std::uint64_t> freeSpaceOf(const std::wstring& folder) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

std::wstring sizeText(std::uint64_t bytes, Rounding rounding) {
    constexpr std::uint64_t kKilo = 1024, kMega = kKilo * 1024, kGiga = kMega * 1024;
    if (bytes < kMega) {
        const std::uint64_t kb = rounding == Rounding::Up ? (bytes + kKilo - 1) / kKilo : bytes / kKilo;
        // 1023.5 KB rounded up is no longer under a megabyte.
        if (kb < 1024) return std::to_wstring(kb) + L" KB";
    }
    const bool giga = bytes >= kGiga;
    const std::uint64_t t = tenths(bytes, giga ? kGiga : kMega, rounding);
    return std::to_wstring(t / 10) + L"." + std::to_wstring(t % 10) + (giga ? L" GB" : L" MB");
}

}  // namespace pelmora
