// The texts an installer shows, by the keys the package block stores them
// under, with the product's own Chinese texts as the defaults. The builder
// fills in every key (a publisher's translation or the default) so the
// installer never needs a default of its own; the few texts shown when the
// block itself cannot be read stay built into the installer.
#pragma once

#include <cstddef>
#include <string_view>

namespace pelmora::package {

enum class TextForm {
    Line,   // one line: no line breaks, no control characters
    Lines,  // line breaks allowed (stored as CR LF)
};

struct TextEntry {
    const char* key;           // as stored in the block; in a description file, the part after "texts."
    const char* defaultValue;  // UTF-8
    TextForm form;
    // Placeholders the installer fills in ("{path}", "{file}", "{leftover}"),
    // each of which a translation must keep exactly once.
    const char* placeholders;
};

// Every text of the window and its boxes that a publisher may replace.
const TextEntry* windowTexts(std::size_t* count);
const TextEntry* findWindowText(std::string_view key);

// Keys of the product's own values in the block.
inline constexpr char kKeyProductName[] = "product.name";
inline constexpr char kKeyProductVersion[] = "product.version";
inline constexpr char kKeyProductPublisher[] = "product.publisher";
inline constexpr char kKeyProgram[] = "program";              // relative to the product folder, "\" separated
inline constexpr char kKeyShortcut[] = "shortcut";            // the desktop shortcut's name, without ".lnk"
inline constexpr char kKeyInstallFolder[] = "installFolder";  // the product folder made in the chosen folder
inline constexpr char kKeyDefaultFolder[] = "defaultFolder";  // the folder the window offers first
inline constexpr char kKeyTitle[] = "window.title";
inline constexpr char kKeyHeading[] = "window.heading";
inline constexpr char kKeyInformation[] = "information";        // the software-information box's text
inline constexpr char kKeyProductId[] = "product.id";           // the entry's key among the installed programs
inline constexpr char kKeyUninstallEntry[] = "uninstallEntry";  // "yes" or "no": whether to make that entry
inline constexpr char kTextKeyPrefix[] = "texts.";              // followed by a windowTexts() key

}  // namespace pelmora::package
