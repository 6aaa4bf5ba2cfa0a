#include "tools/pack/pack_settings.h"

#include <algorithm>

#include "payload/package_texts.h"
#include "tools/pack/json.h"
#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

constexpr std::size_t kMaxDescriptionSize = 1 << 20;
constexpr char kTextOption[] = "--text";

const SettingInfo* findByKey(const std::string& key) {
    for (const SettingInfo& s : settingTable()) {
        if (key == s.key) return &s;
    }
    return nullptr;
}

const SettingInfo* findByOption(const std::string& option) {
    for (const SettingInfo& s : settingTable()) {
        if (option == s.option) return &s;
    }
    return nullptr;
}

bool isInteger(const std::string& text) {
    if (text.empty()) return false;
    for (std::size_t i = text[0] == '-' ? 1 : 0; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return text != "-";
}

class DescriptionReader {
public:
    DescriptionReader(const std::string& fileName, const NativePath& base, PackRequest* request,
                      std::vector<Problem>* problems)
        : fileName_(fileName), base_(base), request_(request), problems_(problems) {}

    void readObject(const JsonValue& object, const std::string& prefix) {
        for (const auto& [name, value] : object.members) {
            const std::string key = prefix + name;
            if (prefix.empty() && value.kind == JsonValue::Kind::Object &&
                (name == "product" || name == "window" || name == "texts")) {
                readObject(value, key + ".");
                continue;
            }
            if (prefix == "texts.") {
                readText(name, key, value);
                continue;
            }
            const SettingInfo* info = findByKey(key);
            if (!info) {
                problem(value, "unknown key \"" + shownName(key) + "\"", true);
                continue;
            }
            const bool number = info->kind == SettingKind::Number;
            if (number ? value.kind != JsonValue::Kind::Number || !isInteger(value.text)
                       : value.kind != JsonValue::Kind::String) {
                problem(value, "\"" + shownName(key) + "\" must be " + (number ? "a whole number" : "a string") +
                                   ", not " + value.kindName());
                continue;
            }
            request_->values[key] = {value.text, base_, where(value)};
        }
    }

private:
    void readText(const std::string& name, const std::string& key, const JsonValue& value) {
        if (!package::findWindowText(name)) {
            problem(value, "unknown text \"" + shownName(name) + "\"", true);
        } else if (value.kind != JsonValue::Kind::String) {
            problem(value, "\"" + shownName(key) + "\" must be a string, not " + value.kindName());
        } else {
            request_->values[key] = {value.text, base_, where(value)};
        }
    }

    std::string where(const JsonValue& value, bool atKey = false) const {
        return fileName_ + ":" + std::to_string(atKey ? value.keyLine : value.line) + ":" +
               std::to_string(atKey ? value.keyColumn : value.column);
    }

    void problem(const JsonValue& value, const std::string& message, bool atKey = false) {
        problems_->push_back({ExitCode::Usage, where(value, atKey) + ": " + message});
    }

    std::string fileName_;
    NativePath base_;
    PackRequest* request_;
    std::vector<Problem>* problems_;
};

void readDescription(const NativePath& path, PackRequest* request, std::vector<Problem>* problems) {
    const std::string shown = displayPath(path);
    std::string bytes;
    std::uint64_t size = 0;
    if (followedKind(path) == FileKind::File && fileSize(path, &size) && size > kMaxDescriptionSize) {
        problems->push_back({ExitCode::Usage, "the description file " + shown + " is larger than " +
                                                  std::to_string(kMaxDescriptionSize) +
                                                  " bytes, the most a description file may hold"});
        return;
    }
    if (followedKind(path) != FileKind::File || !readSmallFile(path, kMaxDescriptionSize, &bytes)) {
        problems->push_back({ExitCode::Usage, "cannot read the description file " + shown});
        return;
    }
    JsonValue root;
    JsonError error;
    if (!parseJson(bytes, &root, &error)) {
        problems->push_back({ExitCode::Usage, shown + ":" + std::to_string(error.line) + ":" +
                                                  std::to_string(error.column) + ": " + error.message});
        return;
    }
    if (root.kind != JsonValue::Kind::Object) {
        problems->push_back({ExitCode::Usage, shown + ": the description must be a JSON object"});
        return;
    }
    DescriptionReader(shown, path.parent_path(), request, problems).readObject(root, "");
}

}  // namespace

const std::vector<SettingInfo>& settingTable() {
    using K = SettingKind;
    using N = SettingNeed;
    static const std::vector<SettingInfo> table = {
        {"source", "--source", K::Path, "folder (or ZIP archive) to install", N::Required},
        {"output", "--output", K::Path, "installer to write", N::Required},
        {"stub", "--stub", K::Path, "prebuilt installer to attach to (default: installer-stub.exe here)"},
        {"product.name", "--product-name", K::Text, "product name", N::Required},
        {"product.version", "--product-version", K::Text, "product version", N::Required},
        {"product.publisher", "--product-publisher", K::Text, "publisher", N::Required},
        {"product.id", "--product-id", K::Text,
         "key of the entry among the installed programs (default: product name, \\ as _)"},
        {"uninstallEntry", "--uninstall-entry", K::Text, "yes or no: make that entry (default yes)", N::Default, "yes"},
        {"program", "--program", K::Text, "program in the source that the shortcut starts", N::Required},
        {"shortcut", "--shortcut", K::Text, "desktop shortcut name (default: product name)"},
        {"installFolder", "--install-folder", K::Text, "folder made in the chosen one (default: product name)"},
        {"defaultFolder", "--default-folder", K::Text, "folder offered first (default: C:\\Program Files)", N::Default,
         "C:\\Program Files"},
        {"window.title", "--window-title", K::Text, "window title", N::Default, "软件安装向导"},
        {"window.heading", "--window-heading", K::Text, "heading line (default: name, version)"},
        {"window.information", "--window-information", K::Path, "UTF-8 file: the software information", N::Required},
        {"window.background", "--window-background", K::Path, "500 x 300 PNG window picture"},
        {"window.background2x", "--window-background-2x", K::Path,
         "1000 x 600 PNG: the same picture for screens above 150 % (needs window.background)"},
        {"window.icon", "--window-icon", K::Path, "ICO window icon"},
        {"compression", "--compression", K::Number, "zlib level 0-9 (default 6)", N::Default, "6"},
        {"timestamp", "--timestamp", K::Text, "time of every file, YYYY-MM-DDTHH:MM:SS (default 1980-01-01T00:00:00)",
         N::Default, "1980-01-01T00:00:00"},
    };
    return table;
}

const SettingValue* PackRequest::find(const std::string& key) const {
    const auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

bool parseRequest(const std::vector<std::string>& args, const NativePath& currentFolder, PackRequest* request,
                  std::vector<Problem>* problems) {
    const std::size_t before = problems->size();
    std::map<std::string, SettingValue> options;
    auto usage = [&](const std::string& message) { problems->push_back({ExitCode::Usage, message}); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        if (arg == "--help" || arg == "-h") {
            request->help = true;
            continue;
        }
        if (arg == "--quiet") {
            request->quiet = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!request->description.empty()) {
                usage("only one description file may be given: " + shownName(arg));
            } else if (!pathFromUtf8(arg, &request->description)) {
                usage("the description file's name is not UTF-8");
            }
            continue;
        }
        const std::size_t equals = arg.find('=');
        const bool inlineValue = equals != std::string::npos;
        if (inlineValue) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            usage(shownName(arg) + " needs a value");
            continue;
        }
        if (arg == kTextOption) {
            const std::size_t eq = value.find('=');
            const std::string name = value.substr(0, eq);
            if (eq == std::string::npos || !package::findWindowText(name)) {
                usage("--text needs KEY=VALUE with a known key, not \"" + shownName(value) + "\"");
            } else {
                options["texts." + name] = {value.substr(eq + 1), currentFolder, "--text " + name};
            }
            continue;
        }
        const SettingInfo* info = findByOption(arg);
        if (!info) {
            usage("unknown option " + shownName(arg));
        } else if (info->kind == SettingKind::Number && !isInteger(value)) {
            usage(arg + " needs a whole number, not \"" + shownName(value) + "\"");
        } else {
            options[info->key] = {value, currentFolder, arg};
        }
    }
    if (!request->description.empty()) {
        if (request->description.is_relative()) request->description = currentFolder / request->description;
        readDescription(request->description, request, problems);
    }
    for (auto& [key, value] : options) request->values[key] = std::move(value);
    return problems->size() == before;
}

std::string usageText() {
    std::string text =
        "usage: pack [DESCRIPTION.json] [OPTIONS]\n"
        "Makes an installer from a folder: every setting comes from the description file\n"
        "(JSON, keys as listed) or from its option, which wins.\n\n";
    for (const SettingInfo& s : settingTable()) {
        std::string line = "  " + std::string(s.option) + " VALUE";
        line.resize(std::max<std::size_t>(line.size() + 1, 30), ' ');
        text += line + s.help + "  [" + s.key + "]\n";
    }
    text += "  --text KEY=VALUE            a window text  [texts.KEY]; keys:\n   ";
    std::size_t count = 0;
    const package::TextEntry* texts = package::windowTexts(&count);
    for (std::size_t i = 0; i < count; ++i) text += std::string(" ") + texts[i].key;
    text += "\n  --quiet                     no progress bar\n";
    return text;
}

}  // namespace pelmora::pack
