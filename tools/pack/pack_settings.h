// The builder's inputs as given: a description file (JSON) and command-line
// options, the options winning. One table names every setting once, with its
// key in the description file and its option, so the two never drift apart.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/pack/files.h"

namespace pelmora::pack {

enum class ExitCode {
    Ok = 0,
    BuildFailed = 1,    // reading or writing failed while the installer was being made
    Usage = 2,          // the command line or the description file cannot be understood
    BadInput = 3,       // an input is missing, malformed or cannot be packed
    Interrupted = 130,  // stopped by Ctrl+C, a termination request or the terminal closing, as shells count SIGINT
};

struct Problem {
    ExitCode code;
    std::string message;
};

enum class SettingKind {
    Path,    // a file or folder; relative to the description file, or to the current folder on the command line
    Text,    // UTF-8 text
    Number,  // an integer
};

// Whether a setting must be given, and what stands for it when it is not.
enum class SettingNeed {
    Required,  // missing: a Usage problem
    Optional,  // missing: the plan makes do without it, or derives it from other settings
    Default,   // missing: the row's fallback
};

struct SettingInfo {
    const char* key;     // "product.name": the description file's object path
    const char* option;  // "--product-name"
    SettingKind kind;
    const char* help;
    SettingNeed need = SettingNeed::Optional;
    const char* fallback = nullptr;  // SettingNeed::Default: the value taken when the setting is missing
};
const std::vector<SettingInfo>& settingTable();

struct SettingValue {
    std::string value;   // UTF-8; a number as written
    NativePath base;     // the folder a relative path is taken from
    std::string origin;  // for messages: "--source" or "app.json:3:14"
};

struct PackRequest {
    // Keys from the table, and "texts.<key>" for the window's texts.
    std::map<std::string, SettingValue> values;
    NativePath description;  // empty when none was given
    bool quiet = false;
    bool help = false;

    const SettingValue* find(const std::string& key) const;
};

// Reads the arguments (UTF-8, without the program name) and the description
// file they name. Problems are Usage problems: unknown options or keys,
// values of the wrong kind, a description file that is not strict JSON.
bool parseRequest(const std::vector<std::string>& args, const NativePath& currentFolder, PackRequest* request,
                  std::vector<Problem>* problems);

std::string usageText();

}  // namespace pelmora::pack
