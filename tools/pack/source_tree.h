// What goes into the payload archive: every file and folder of the source
// (a folder, or an existing ZIP archive), in one canonical order, with the
// names checked against what the installer's extractor accepts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "payload/zip_format.h"
#include "tools/pack/files.h"
#include "tools/pack/zip_writer.h"

namespace pelmora::pack {

struct SourceEntry {
    std::string name;  // UTF-8, "/" separated; a folder's ends in "/"
    bool folder = false;
    std::uint64_t size = 0;
    NativePath file;               // a file of a source folder
    int archiveIndex = -1;         // an entry of a source archive
    std::uint64_t dataOffset = 0;  // where that entry's data starts
};

struct SourceTree {
    // Folders come before what they hold; names in ascending byte order
    // within a folder, so the same files always give the same archive.
    std::vector<SourceEntry> entries;
    std::uint64_t totalBytes = 0;
    NativePath archive;  // the source archive, if the source is one
    std::vector<zip::CentralEntry> archiveEntries;

    // The data of a file entry.
    std::unique_ptr<DataSource> open(const SourceEntry& entry) const;
    const SourceEntry* find(const std::string& name) const;
};

// Reads the source into *tree; problems (the reason, naming the file) are
// appended and false returned when anything in it cannot be packed: a name
// with no UTF-8 form or with a backslash (a folder separator to Windows),
// an unreadable file, a link to a folder, to nothing or in a loop, a device,
// a damaged or encrypted archive entry, two names for the same file.
bool scanSource(const NativePath& source, SourceTree* tree, std::vector<std::string>* problems);

// Checks every name against the extractor's rules below a destination
// folder of destinationLength UTF-16 units (the default folder and the
// product folder): no absolute names, drive letters, colons, ".." or device
// names, no characters Windows refuses, no trailing dots or spaces (Windows
// drops them), no two names that Windows takes for one file (compared as its
// file systems do: base/windows_case), and no path longer than Windows opens
// there.
void checkNames(const SourceTree& tree, std::size_t destinationLength, std::vector<std::string>* problems);

// "a/b/c" in the "/" form, from a name written with "/" or "\"; empty when it
// is absolute, climbs with "..", or holds an empty component.
std::string normalRelativeName(const std::string& name);

}  // namespace pelmora::pack
