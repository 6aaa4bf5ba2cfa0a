// The running Windows version as text, e.g. "Windows 7" or, with every option,
// "Windows 7 Ultimate Edition x64 (Service Pack 1,Build:7601)".
#pragma once

#include <optional>
#include <string>

#include "sysinfo/os_version_text.h"

namespace pelmora {

// Asks the system for everything the version text depends on; nullopt when
// even the version record cannot be read.
std::optional<OsFacts> gatherOsFacts();

// The description of the running system, or the empty text when the version
// record cannot be read. major and minor, when given, receive the true version
// numbers.
std::wstring osVersionText(int* major = nullptr, int* minor = nullptr, bool withEdition = false,
                           bool withArchitecture = false, bool withServicePack = false, bool withBuild = false);

}  // namespace pelmora
