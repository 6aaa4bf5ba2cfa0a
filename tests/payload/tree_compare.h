// Compares an extracted folder with the tree it should reproduce.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelmora::testing {

// "Z:" + the Unix path in the environment variable, with backslashes.
std::wstring windowsPathFromEnv(const char* variable);
std::wstring sourceDir();  // PELMORA_SOURCE_DIR
std::wstring buildDir();   // PELMORA_BUILD_DIR

bool writeFileBytes(const std::wstring& path, const std::string& bytes);

struct TreeFile {
    std::wstring relative;
    DWORD attributes = 0;
    FILETIME writeTime{};
};

// Differences between the two trees, one line each: names present on one
// side only, kinds that differ, contents that differ. Empty when equal.
std::vector<std::wstring> compareTrees(const std::wstring& expected, const std::wstring& actual);

// Every file below root, with its attributes and write time.
std::vector<TreeFile> listFiles(const std::wstring& root);

// What a plain file shows after its attributes were set to FILE_ATTRIBUTE_NORMAL:
// not read-only, hidden or system. (Wine reports the archive bit on every
// regular file, Windows reports NORMAL alone.)
bool hasNormalAttributes(DWORD attributes);

std::uint64_t ticksOf(const FILETIME& t);
std::uint64_t ticksAtUnix(std::int64_t seconds);

}  // namespace pelmora::testing
