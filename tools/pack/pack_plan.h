// Everything an installer is made of, checked before a byte is written: the
// source tree, the stub, the texts and pictures, where the output goes. Each
// input that cannot be used gives its own problem, so one run reports them
// all.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/pack/pack_settings.h"
#include "tools/pack/program_image.h"
#include "tools/pack/source_tree.h"
#include "tools/pack/zip_writer.h"

namespace pelmora::pack {

inline constexpr char kDefaultStubName[] = "installer-stub.exe";

struct PackPlan {
    NativePath output, stub;
    ProgramImage stubImage;
    SourceTree tree;
    std::map<std::string, std::string> texts;    // the block's text table, every key filled in
    std::string background, background2x, icon;  // file bytes; empty when not given
    ZipWriterSettings zip;
    // The settings the plan read (table keys and "texts.<key>"): a setting
    // added to the table without a step here shows up missing from it.
    std::set<std::string> consulted;
};

// stubFolder: where the default stub is looked for (the builder's own folder).
bool planPackage(const PackRequest& request, const NativePath& stubFolder, PackPlan* plan,
                 std::vector<Problem>* problems);

// Pure checks, also used by the tests.
// A text for the window: empty when it can be used as it is (line breaks
// already CR LF), otherwise why not. *normal receives the text with its line
// breaks made CR LF.
std::string checkWindowText(const std::string& text, bool multiline, const std::string& placeholders,
                            std::string* normal);
// One name for a file or folder Windows accepts (the shortcut, the product folder).
std::string checkSingleName(const std::string& name);
// An absolute folder: "X:\..." or "\\server\share\..."; *normal without a trailing "\" unless a drive root.
std::string checkDefaultFolder(const std::string& folder, std::string* normal);
// "YYYY-MM-DDTHH:MM:SS" between 1980 and 2107, on even seconds (the ZIP time's step).
std::string parseTimestamp(const std::string& text, std::uint16_t* dosDate, std::uint16_t* dosTime);

}  // namespace pelmora::pack
