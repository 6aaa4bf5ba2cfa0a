// What an installation into a folder will create, worked out before anything
// is written: the product folder, the archive and the target of every entry.
// Long paths and files held open by a running program are found here, while
// the user can still choose another folder or close the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "payload/entry_path.h"
#include "payload/zip_format.h"

namespace pelmora {

struct PlannedPath {
    std::wstring path;
    bool folder = false;
    std::uint64_t size = 0;  // bytes a file will hold
};

// The limits the extractor holds entry names to: a file path of at most 259
// characters, which is also what a shortcut target and a program start take,
// and a folder path of at most 247 (room for an 8.3 name inside it).
using zip::kMaxFilePathLength;
using zip::kMaxFolderPathLength;

// The paths an installation into installDir creates from the ZIP archive in
// `archive`: the product folder, the archive file, every folder and file of the
// archive (the folders above each file too), and the product program, which
// is planned even when the archive cannot be read. No duplicates. Files carry
// their size: the archive's, and each entry's unpacked size.
// The product folder, archive and program are named by the installer's package
// (see package_contents.h).
std::vector<PlannedPath> plannedPaths(const std::wstring& installDir, zip::ByteSource& archive);
std::vector<PlannedPath> plannedPaths(const std::wstring& installDir, const void* archive, std::size_t size);

// The first planned path longer than its limit; nullptr when every one fits.
const PlannedPath* firstTooLongPath(const std::vector<PlannedPath>& plan);

// The first planned path that is a link (payload/link_check.h). Every folder a planned
// path passes through below the installation folder is planned as well, so a
// link anywhere on the way is found as itself.
const PlannedPath* firstLink(const std::vector<PlannedPath>& plan);

// `path` made full ("C:/a/../b" is "C:\b"), with the long names of the part
// of it that exists: the same file always reads the same but for case.
std::wstring comparablePath(const std::wstring& path);

// The planned path that names the same file as `path`: compared as full
// paths without regard to case, the way Windows compares names. nullptr when
// there is none.
const PlannedPath* findPlanned(const std::vector<PlannedPath>& plan, const std::wstring& path);

// The first planned file that exists and that another program holds open, so
// that it cannot be replaced now; empty when there is none.
std::wstring firstFileInUse(const std::vector<PlannedPath>& plan);

}  // namespace pelmora
