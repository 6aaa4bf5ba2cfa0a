// Whether the target volume can take an installation, decided before
// anything is written: a drive that fills up halfway leaves a broken
// installation and a user who waited for nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/install_plan.h"

namespace pelmora {

// File systems hand out whole clusters; 4 KiB is what NTFS, FAT32 and exFAT
// use on every drive of the sizes installers meet.
inline constexpr std::uint64_t kClusterBytes = 4096;
// Room for the folder records, the shortcut, the log and what the file
// system keeps for itself.
inline constexpr std::uint64_t kSpaceMargin = 1024 * 1024;

// Space an installation takes at its fullest, while the archive and every
// file unpacked from it exist together, and then the uninstaller written
// beside them (`uninstallerBytes`; the archive may be gone by then, but a
// full drive must not stop an installation that has already unpacked
// everything): each file rounded up to whole clusters, plus the margin, which
// also holds the install record. Files the folder already holds (an earlier
// installation, its uninstaller) are counted as new, so the need is never
// underrated.
std::uint64_t spaceNeeded(const std::vector<PlannedPath>& plan, std::uint64_t uninstallerBytes);

// Whether `needed` bytes fit. Unknown free space counts as enough: the
// writing that follows reports a folder that cannot be written to.
bool enoughSpace(std::optional<std::uint64_t> freeBytes, std::uint64_t needed);

// Bytes free to this user (quotas count) on the volume holding `folder`;
// nothing when the system cannot tell (a folder that does not exist, say).
std::optional<std::uint64_t> freeSpaceOf(const std::wstring& folder);

enum class Rounding { Down, Up };
// "512 KB", "19.4 MB", "1.5 GB" (binary units, one decimal from MB on). What
// is needed is rounded up and what is free down, so that a shortfall never
// reads as two equal figures.
std::wstring sizeText(std::uint64_t bytes, Rounding rounding);

}  // namespace pelmora
