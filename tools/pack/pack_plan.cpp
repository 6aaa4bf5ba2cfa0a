#include "tools/pack/pack_plan.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "base/text.h"
#include "payload/entry_path.h"
#include "payload/package_texts.h"
#include "tools/pack/picture_check.h"
#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

constexpr std::size_t kMaxLineLength = 1024;        // UTF-16 units
constexpr std::size_t kMaxMultilineLength = 16384;  // UTF-16 units
constexpr std::size_t kMaxInformationSize = 64 * 1024;
constexpr std::size_t kMaxBackgroundSize = 16 << 20;
constexpr std::size_t kMaxIconSize = 4 << 20;

std::size_t utf16Length(const std::string& utf8) {
    std::wstring units;
    return utf16FromUtf8(utf8, &units) ? units.size() : utf8.size();
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

class Planner {
public:
    Planner(const PackRequest& request, PackPlan* plan, std::vector<Problem>* problems)
        : request_(request), plan_(plan), problems_(problems) {}

    void bad(const std::string& key, const std::string& message) {
        problems_->push_back({ExitCode::BadInput, key + ": " + message});
    }

    // The setting's value; when it is missing, `derived` if given, else what
    // its row says (its fallback, or a problem when it is required).
    bool text(const std::string& key, std::string* value, const char* derived = nullptr) {
        const SettingInfo& row = rowOf(key);
        const SettingValue* v = request_.find(key);
        if (v) {
            *value = v->value;
            return true;
        }
        const char* fallback = derived ? derived : row.need == SettingNeed::Default ? row.fallback : nullptr;
        if (fallback) {
            *value = fallback;
            return true;
        }
        if (row.need == SettingNeed::Required) missing(key);
        return false;
    }

    bool given(const std::string& key) const { return request_.find(key) != nullptr; }

    // A window text of the package's table ("texts.<key>"), or its default.
    std::string windowTextValue(const std::string& key, const char* fallback) {
        plan_->consulted.insert(key);
        const SettingValue* v = request_.find(key);
        return v ? v->value : fallback;
    }

    // Checks a one-line (or multi-line) text and stores it in the block's table.
    bool windowText(const std::string& key, const std::string& blockKey, const std::string& value, bool multiline,
                    const std::string& placeholders = {}) {
        std::string normal;
        const std::string problem = checkWindowText(value, multiline, placeholders, &normal);
        if (!problem.empty()) {
            bad(key, problem);
            return false;
        }
        plan_->texts[blockKey] = normal;
        return true;
    }

    // The setting's path, relative ones taken from where they were given;
    // false when it is missing (a problem when its row requires it).
    bool path(const std::string& key, NativePath* out) {
        const SettingInfo& row = rowOf(key);
        const SettingValue* v = request_.find(key);
        if (!v) {
            if (row.need == SettingNeed::Required) missing(key);
            return false;
        }
        NativePath p;
        if (v->value.empty() || !pathFromUtf8(v->value, &p)) {
            bad(key, "not a usable path: \"" + shownName(v->value) + "\"");
            return false;
        }
        *out = p.is_relative() ? v->base / p : p;
        out->make_preferred();
        return true;
    }

    bool readFile(const std::string& key, const NativePath& file, std::size_t maxSize, std::string* bytes) {
        if (followedKind(file) != FileKind::File) {
            bad(key, "no such file: " + displayPath(file));
            return false;
        }
        std::uint64_t size = 0;
        if (fileSize(file, &size) && size > maxSize) {
            bad(key, displayPath(file) + " is larger than " + std::to_string(maxSize) + " bytes");
            return false;
        }
        if (!readSmallFile(file, maxSize, bytes)) {
            bad(key, "cannot read " + displayPath(file));
            return false;
        }
        return true;
    }

    // The table's row of a key; every key planPackage reads is one of them.
    const SettingInfo& rowOf(const std::string& key) {
        plan_->consulted.insert(key);
        for (const SettingInfo& s : settingTable()) {
            if (key == s.key) return s;
        }
        static const SettingInfo unknown{"", "", SettingKind::Text, ""};
        return unknown;
    }

    void missing(const std::string& key) {
        problems_->push_back({ExitCode::Usage, "missing " + key + " (" + rowOf(key).option + ", or \"" + key +
                                                   "\" in the description file)"});
    }

    const PackRequest& request_;
    PackPlan* plan_;
    std::vector<Problem>* problems_;
};

}  // namespace

std::string checkWindowText(const std::string& text, bool multiline, const std::string& placeholders,
                            std::string* normal) {
    std::wstring units;
    if (!utf16FromUtf8(text, &units)) return "the text is not valid UTF-8, so it cannot be encoded for Windows";
    normal->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (multiline && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            *normal += "\r\n";
            continue;
        }
        if (c == 0) return "the text holds a NUL character, which cannot be encoded for Windows";
        if (c < 0x20 && !(multiline && c == '\t')) {
            return multiline ? "the text holds a control character"
                             : "the text must be one line without control characters";
        }
        if (c == 0x7F) return "the text holds a control character";
        *normal += static_cast<char>(c);
    }
    if (utf16Length(*normal) > (multiline ? kMaxMultilineLength : kMaxLineLength)) return "the text is too long";
    for (std::size_t at = placeholders.find('{'); at != std::string::npos; at = placeholders.find('{', at + 1)) {
        const std::string placeholder = placeholders.substr(at, placeholders.find('}', at) - at + 1);
        if (countOf(*normal, placeholder) != 1) return "the text must hold " + placeholder + " exactly once";
    }
    return {};
}

std::string checkSingleName(const std::string& name) {
    std::wstring wide;
    if (name.empty()) return "the name is empty";
    if (!utf16FromUtf8(name, &wide)) return "the name is not valid UTF-8";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        return "a name, not a path, is needed here";
    }
    zip::EntryPath path;
    const zip::PathVerdict verdict = zip::safeRelativePath(wide, &path);
    if (verdict != zip::PathVerdict::Safe)
        return std::string("Windows would refuse it: ") + zip::pathVerdictName(verdict);
    if (name.back() == '.' || name.back() == ' ') return "it ends in a dot or space, which Windows drops";
    return {};
}

std::string checkDefaultFolder(const std::string& folder, std::string* normal) {
    std::wstring wide;
    if (!utf16FromUtf8(folder, &wide)) return "the folder is not valid UTF-8";
    const bool drive = wide.size() >= 3 &&
                       ((wide[0] >= L'A' && wide[0] <= L'Z') || (wide[0] >= L'a' && wide[0] <= L'z')) &&
                       wide[1] == L':' && (wide[2] == L'\\' || wide[2] == L'/');
    if (!drive) return "an absolute folder with a drive letter is needed, such as C:\\Program Files";
    std::string rest = folder.substr(3);
    while (!rest.empty() && (rest.back() == '\\' || rest.back() == '/')) rest.pop_back();
    *normal = folder.substr(0, 2) + "\\";
    if (rest.empty()) return {};
    std::wstring restWide;
    utf16FromUtf8(rest, &restWide);
    zip::EntryPath path;
    const zip::PathVerdict verdict = zip::safeRelativePath(restWide, &path);
    if (verdict != zip::PathVerdict::Safe)
        return std::string("Windows would refuse it: ") + zip::pathVerdictName(verdict);
    std::string joined;
    utf8FromUtf16(path.relative, &joined);
    *normal += joined;
    return {};
}

std::string parseTimestamp(const std::string& text, std::uint16_t* dosDate, std::uint16_t* dosTime) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char t = 0;
    const bool shaped =
        text.size() == 19 &&
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &year, &month, &day, &t, &hour, &minute, &second) == 7 &&
        (t == 'T' || t == ' ');
    if (!shaped) return "the time must be written YYYY-MM-DDTHH:MM:SS";
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1980 || year > 2107) return "ZIP archives hold times from 1980 to 2107 only";
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || (month == 2 && day == 29 && !leap) ||
        hour > 23 || minute > 59 || second > 59) {
        return "no such date or time";
    }
    if (second % 2) return "ZIP archives hold times in steps of two seconds";
    *dosDate = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    *dosTime = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
    return {};
}

bool planPackage(const PackRequest& request, const NativePath& stubFolder, PackPlan* plan,
                 std::vector<Problem>* problems) {
    const std::size_t before = problems->size();
    Planner p(request, plan, problems);
    *plan = PackPlan{};

    std::string name, version, publisher, installFolder, shortcut, defaultFolder, program;
    if (p.text("product.name", &name)) p.windowText("product.name", package::kKeyProductName, name, false);
    if (p.text("product.version", &version)) {
        p.windowText("product.version", package::kKeyProductVersion, version, false);
    }
    if (p.text("product.publisher", &publisher)) {
        p.windowText("product.publisher", package::kKeyProductPublisher, publisher, false);
    }
    // The entry's key name: a registry key's name takes no backslash.
    std::string derivedId = name, id, entry;
    std::replace(derivedId.begin(), derivedId.end(), '\\', '_');
    if (p.text("product.id", &id, derivedId.c_str())) {
        if (id.empty() || id.find('\\') != std::string::npos || utf16Length(id) > 255) {
            p.bad("product.id", "\"" + shownName(id) + "\": an id is 1 to 255 characters without a backslash");
        } else {
            p.windowText("product.id", package::kKeyProductId, id, false);
        }
    }
    p.text("uninstallEntry", &entry);
    if (entry == "yes" || entry == "no") {
        plan->texts[package::kKeyUninstallEntry] = entry;
    } else {
        p.bad("uninstallEntry", "\"" + shownName(entry) + "\" must be yes or no");
    }
    for (const auto& [key, blockKey, value] : {std::tuple{"installFolder", package::kKeyInstallFolder, &installFolder},
                                               std::tuple{"shortcut", package::kKeyShortcut, &shortcut}}) {
        if (!p.text(key, value, name.c_str())) continue;
        const std::string problem = checkSingleName(*value);
        if (!problem.empty()) {
            p.bad(key, "\"" + shownName(*value) + "\": " + problem);
            value->clear();
        } else {
            plan->texts[blockKey] = *value;
        }
    }
    std::string folder;
    p.text("defaultFolder", &defaultFolder);
    const std::string folderProblem = checkDefaultFolder(defaultFolder, &folder);
    if (!folderProblem.empty()) p.bad("defaultFolder", "\"" + shownName(defaultFolder) + "\": " + folderProblem);
    plan->texts[package::kKeyDefaultFolder] = folder;
    // Where the files land when the offered folder is kept: the installer
    // joins the two with a backslash, even after a drive root's own.
    const std::size_t destination = utf16Length(folder) + 1 + utf16Length(installFolder);
    if (folderProblem.empty() && !installFolder.empty() && destination > zip::kMaxFolderPathLength) {
        p.bad("defaultFolder",
              "the product folder " + shownName(folder + "\\" + installFolder) + " is longer than Windows opens");
    }

    NativePath source;
    bool haveTree = false;
    if (p.path("source", &source)) {
        std::vector<std::string> found;
        if (scanSource(source, &plan->tree, &found)) checkNames(plan->tree, destination, &found);
        for (const std::string& f : found) p.bad("source", f);
        haveTree = !plan->tree.entries.empty() || found.empty();
    }
    // Without a source there is nothing to look the program up in.
    if (p.text("program", &program) && haveTree) {
        const std::string relative = normalRelativeName(program);
        const SourceEntry* entry = relative.empty() ? nullptr : plan->tree.find(relative);
        if (relative.empty()) {
            p.bad("program", "\"" + shownName(program) + "\" must be a path inside the source, such as bin/app.exe");
        } else if (!entry || entry->folder) {
            p.bad("program", "\"" + shownName(program) + "\" is not a file inside the source");
        } else {
            std::string stored = relative;
            std::replace(stored.begin(), stored.end(), '/', '\\');
            plan->texts[package::kKeyProgram] = stored;
        }
    }

    std::string title, heading;
    p.text("window.title", &title);
    p.windowText("window.title", package::kKeyTitle, title, false);
    const std::string defaultHeading = name + "“" + version + "”安装程序";
    p.text("window.heading", &heading, defaultHeading.c_str());
    p.windowText("window.heading", package::kKeyHeading, heading, false);
    std::size_t count = 0;
    const package::TextEntry* texts = package::windowTexts(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string key = std::string(package::kTextKeyPrefix) + texts[i].key;
        const std::string value = p.windowTextValue(key, texts[i].defaultValue);
        p.windowText(key, key, value, texts[i].form == package::TextForm::Lines, texts[i].placeholders);
    }

    NativePath file;
    std::string bytes;
    if (p.path("window.information", &file) && p.readFile("window.information", file, kMaxInformationSize, &bytes)) {
        if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
        p.windowText("window.information", package::kKeyInformation, bytes, true);
    }
    if (p.path("window.background", &file) && p.readFile("window.background", file, kMaxBackgroundSize, &bytes)) {
        const std::string problem = checkBackgroundPng(bytes);
        if (problem.empty())
            plan->background = bytes;
        else
            p.bad("window.background", displayPath(file) + ": " + problem);
    }
    if (p.path("window.background2x", &file) && p.readFile("window.background2x", file, kMaxBackgroundSize, &bytes)) {
        const std::string problem = checkBackgroundPng(bytes, true);
        if (!problem.empty())
            p.bad("window.background2x", displayPath(file) + ": " + problem);
        else if (!p.given("window.background"))
            p.bad("window.background2x", "is the window picture at twice the size; give window.background too");
        else
            plan->background2x = bytes;
    }
    if (p.path("window.icon", &file) && p.readFile("window.icon", file, kMaxIconSize, &bytes)) {
        const std::string problem = checkIco(bytes);
        if (problem.empty())
            plan->icon = bytes;
        else
            p.bad("window.icon", displayPath(file) + ": " + problem);
    }

    if (!p.path("stub", &plan->stub)) plan->stub = stubFolder / kDefaultStubName;
    FileSource stub;
    if (!stub.open(plan->stub)) {
        p.bad("stub", "cannot read the installer stub " + displayPath(plan->stub));
    } else {
        const std::string problem = inspectStub(stub, &plan->stubImage);
        if (!problem.empty()) p.bad("stub", displayPath(plan->stub) + ": " + problem);
    }

    std::string level;
    p.text("compression", &level);
    plan->zip.level = level.size() == 1 && level[0] >= '0' && level[0] <= '9' ? level[0] - '0' : -1;
    if (plan->zip.level < 0)
        p.bad("compression", "the level must be 0 (store) to 9 (smallest), not " + shownName(level));
    std::string stamp;
    p.text("timestamp", &stamp);
    const std::string stampProblem = parseTimestamp(stamp, &plan->zip.dosDate, &plan->zip.dosTime);
    if (!stampProblem.empty()) p.bad("timestamp", "\"" + shownName(stamp) + "\": " + stampProblem);

    if (p.path("output", &plan->output)) {
        const NativePath& out = plan->output;
        const NativePath parent = out.has_parent_path() ? out.parent_path() : NativePath(".");
        if (followedKind(parent) != FileKind::Folder) {
            p.bad("output", "the folder " + displayPath(parent) + " does not exist");
        } else if (followedKind(out) == FileKind::Folder) {
            p.bad("output", displayPath(out) + " is a folder");
        } else if (!source.empty() && isSameOrInside(out, source)) {
            p.bad("output",
                  displayPath(out) + " lies inside the source " + displayPath(source) + "; it would pack itself");
        }
        // Every other file the builder reads is an input the output must not overwrite.
        for (const SettingInfo& row : settingTable()) {
            const std::string key = row.key;
            if (row.kind != SettingKind::Path || key == "output" || key == "source") continue;
            NativePath input;
            const SettingValue* v = request.find(key);
            const bool given = v && pathFromUtf8(v->value, &input);
            if (given && isSameOrInside(out, input.is_relative() ? v->base / input : input)) {
                p.bad("output", displayPath(out) + " would overwrite the " + key + " input");
            }
        }
        if (!request.description.empty() && isSameOrInside(out, request.description)) {
            p.bad("output", displayPath(out) + " would overwrite the description file");
        }
    }
    return problems->size() == before;
}

}  // namespace pelmora::pack
