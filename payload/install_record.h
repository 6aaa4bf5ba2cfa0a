// The install record: what one installation put into its product folder, kept
// there beside the uninstaller so that it removes exactly that and nothing
// else. Plain C++ (formatting and reading are pure functions); the file's
// layout is described in docs/install-record.md.
//
// Every path in a record is relative to the product folder. The reader
// refuses a record whose checksum does not match its bytes (a cut or changed
// record) and every path that could lead outside the product folder, so a
// record can never make the uninstaller delete anything that is not below it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::record {

inline constexpr wchar_t kRecordFileName[] = L"uninstall.dat";
inline constexpr wchar_t kUninstallerFileName[] = L"uninstall.exe";

struct RecordedFile {
    std::wstring path;  // relative, components joined by "\"
    std::uint64_t size = 0;
    std::uint32_t crc = 0;  // CRC-32 of the bytes as installed
};

struct InstallRecord {
    std::wstring productId;  // the uninstall entry's key name; never empty, no "\"
    std::wstring name, version, publisher;
    std::wstring shortcut;              // the desktop shortcut's file name ("Pelmora.lnk"); empty: none made
    bool entry = false;                 // whether the installation made an entry among the installed programs
    std::vector<std::wstring> folders;  // made for the payload, relative; parents before what they hold
    std::vector<RecordedFile> files;
    // The uninstaller's texts by their keys in the package ("uninstall", ...);
    // line breaks are CR LF.
    std::map<std::string, std::wstring> texts;
};

enum class RecordResult {
    Ok,
    NotARecord,   // no header: not a record of ours, or a newer format
    Cut,          // no checksum line at the end
    BadChecksum,  // the bytes were changed after they were written
    BadLine,      // an unknown key, a missing field, a number that is not one
    BadPath,      // absolute, a drive or stream, "..", a device name or otherwise able to leave the folder
    BadIdentity,  // no product id, or one holding a backslash or a control character
};
const char* recordResultName(RecordResult result);

// The record's bytes: UTF-8 text, one item per line, ending in its checksum.
std::string formatRecord(const InstallRecord& record);
// Reads what formatRecord wrote; anything else is refused whole (*out then
// holds nothing of it).
RecordResult parseRecord(std::string_view bytes, InstallRecord* out);

// Whether `path` is one a record may hold: relative, canonical ("\"
// separated, no empty, "." or ".." components, no trailing dots or spaces),
// no drive, stream, device name or control character.
bool isRecordablePath(std::wstring_view path);
// Whether `id` can name an uninstall entry: not empty, at most 255
// characters, no backslash or control character.
bool isValidProductId(std::wstring_view id);
// A single file name for the desktop shortcut (the shell adds no ".lnk" to a
// name holding a dot, so none is required).
bool isValidShortcutName(std::wstring_view name);

}  // namespace pelmora::record
