#include "payload/install_record.h"

#include <zlib.h>

#include <cstdio>
#include <cwchar>

#include "base/text.h"
#include "payload/entry_path.h"

namespace pelmora::record {
namespace {

constexpr char kHeader[] = "PelmoraInstallRecord\t1\n";
constexpr char kChecksumKey[] = "crc\t";
// "crc\t" + 8 hex digits + "\n"
constexpr std::size_t kChecksumLineSize = 4 + 8 + 1;

std::uint32_t crcOf(std::string_view bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt: a record never comes near 4 GiB, but feed
    // it in pieces all the same so no length is ever cut.
    while (!bytes.empty()) {
        const std::size_t n = bytes.size() < 0x40000000u ? bytes.size() : 0x40000000u;
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n));
        bytes.remove_prefix(n);
    }
    return static_cast<std::uint32_t>(crc);
}

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

bool parseHex8(std::string_view text, std::uint32_t* value) {
    if (text.size() != 8) return false;
    std::uint32_t v = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return false;
        v = v << 4 | static_cast<std::uint32_t>(digit);
    }
    *value = v;
    return true;
}

bool parseSize(std::string_view text, std::uint64_t* value) {
    if (text.empty() || text.size() > 19) return false;  // below 2^63, no overflow to guard
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    *value = v;
    return true;
}

bool hasControlCharacter(std::wstring_view text) {
    for (wchar_t c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
        if (tab == std::string_view::npos) return fields;
        at = tab + 1;
    }
}

// A value of the record: valid UTF-8 without control characters.
bool readText(std::string_view field, std::wstring* out) {
    if (!isValidUtf8(field)) return false;
    *out = wideFromUtf8(field);
    return !hasControlCharacter(*out);
}

std::string line(std::initializer_list<std::string_view> fields) {
    std::string text;
    for (std::string_view f : fields) {
        if (!text.empty()) text += '\t';
        text += f;
    }
    return text + "\n";
}

// A text on one line: a backslash doubled, a line break (CR LF) as "\\n", a tab as "\\t".
std::string escapedText(const std::wstring& text) {
    std::string out;
    for (char c : utf8FromWide(text)) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            continue;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

bool unescapedText(std::string_view field, std::wstring* out) {
    std::string bytes;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            bytes += field[i];
            continue;
        }
        if (++i == field.size()) return false;
        if (field[i] == '\\') {
            bytes += '\\';
        } else if (field[i] == 'n') {
            bytes += "\r\n";
        } else if (field[i] == 't') {
            bytes += '\t';
        } else {
            return false;
        }
    }
    if (!isValidUtf8(bytes)) return false;
    *out = wideFromUtf8(bytes);
    for (std::size_t i = 0; i < out->size(); ++i) {
        const wchar_t c = (*out)[i];
        const bool lineBreak = (c == L'\r' && i + 1 < out->size() && (*out)[i + 1] == L'\n') ||
                               (c == L'\n' && i > 0 && (*out)[i - 1] == L'\r');
        if ((c < 0x20 || c == 0x7F) && !lineBreak && c != L'\t') return false;
    }
    return true;
}

bool isTextKey(std::string_view key) {
    if (key.empty() || key.size() > 64) return false;
    for (char c : key) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

class Reader {
public:
    explicit Reader(InstallRecord* out) : out_(out) {}

    RecordResult readLine(std::string_view text) {
        const std::vector<std::string_view> f = fieldsOf(text);
        const std::string_view key = f[0];
        if (key == "file") return readFile(f);
        if (key == "text") {
            if (f.size() != 3 || !isTextKey(f[1]) || !unescapedText(f[2], &out_->texts[std::string(f[1])]))
                return RecordResult::BadLine;
            return RecordResult::Ok;
        }
        if (f.size() != 2) return RecordResult::BadLine;
        if (key == "folder") return readPath(f[1], &out_->folders.emplace_back());
        if (key == "id") {
            if (!readText(f[1], &out_->productId) || !isValidProductId(out_->productId))
                return RecordResult::BadIdentity;
            haveId_ = true;
            return RecordResult::Ok;
        }
        if (key == "shortcut") {
            if (!readText(f[1], &out_->shortcut) || !isValidShortcutName(out_->shortcut)) return RecordResult::BadPath;
            return RecordResult::Ok;
        }
        if (key == "entry") {
            if (f[1] != "0" && f[1] != "1") return RecordResult::BadLine;
            out_->entry = f[1] == "1";
            return RecordResult::Ok;
        }
        std::wstring* value = key == "name"        ? &out_->name
                              : key == "version"   ? &out_->version
                              : key == "publisher" ? &out_->publisher
                                                   : nullptr;
        if (!value || !readText(f[1], value)) return RecordResult::BadLine;
        return RecordResult::Ok;
    }

    bool haveId() const { return haveId_; }

private:
    RecordResult readFile(const std::vector<std::string_view>& f) {
        RecordedFile file;
        if (f.size() != 4 || !parseSize(f[1], &file.size) || !parseHex8(f[2], &file.crc)) return RecordResult::BadLine;
        const RecordResult path = readPath(f[3], &file.path);
        if (path == RecordResult::Ok) out_->files.push_back(std::move(file));
        return path;
    }

    static RecordResult readPath(std::string_view field, std::wstring* path) {
        if (!isValidUtf8(field)) return RecordResult::BadPath;
        *path = wideFromUtf8(field);
        return isRecordablePath(*path) ? RecordResult::Ok : RecordResult::BadPath;
    }

    InstallRecord* out_;
    bool haveId_ = false;
};

}  // namespace

const char* recordResultName(RecordResult result) {
    switch (result) {
        case RecordResult::Ok:
            return "ok";
        case RecordResult::NotARecord:
            return "not an install record";
        case RecordResult::Cut:
            return "the record is cut off";
        case RecordResult::BadChecksum:
            return "the record does not match its checksum";
        case RecordResult::BadLine:
            return "the record holds a line it should not";
        case RecordResult::BadPath:
            return "the record names a path outside the product folder";
        case RecordResult::BadIdentity:
            return "the record names no usable product id";
    }
    return "?";
}

bool isRecordablePath(std::wstring_view path) {
    if (path.empty() || hasControlCharacter(path)) return false;
    if (path.find(L'/') != std::wstring_view::npos) return false;
    zip::EntryPath safe;
    if (zip::safeRelativePath(path, &safe) != zip::PathVerdict::Safe || safe.endsInSeparator) return false;
    // Canonical only: the name as given must be the one the checks passed,
    // and a component Windows would trim ("a." opens "a") is not one.
    if (safe.relative != path) return false;
    for (std::size_t at = 0; at <= path.size();) {
        std::size_t end = path.find(L'\\', at);
        if (end == std::wstring_view::npos) end = path.size();
        if (end == at || path[end - 1] == L'.' || path[end - 1] == L' ') return false;
        at = end + 1;
    }
    return true;
}

bool isValidProductId(std::wstring_view id) {
    return !id.empty() && id.size() <= 255 && id.find(L'\\') == std::wstring_view::npos && !hasControlCharacter(id);
}

bool isValidShortcutName(std::wstring_view name) {
    return name.find(L'\\') == std::wstring_view::npos && isRecordablePath(name);
}

std::string formatRecord(const InstallRecord& r) {
    std::string text = kHeader;
    text += line({"id", utf8FromWide(r.productId)});
    text += line({"name", utf8FromWide(r.name)});
    text += line({"version", utf8FromWide(r.version)});
    text += line({"publisher", utf8FromWide(r.publisher)});
    if (!r.shortcut.empty()) text += line({"shortcut", utf8FromWide(r.shortcut)});
    text += line({"entry", r.entry ? "1" : "0"});
    for (const std::wstring& folder : r.folders) text += line({"folder", utf8FromWide(folder)});
    for (const RecordedFile& f : r.files)
        text += line({"file", std::to_string(f.size), hex8(f.crc), utf8FromWide(f.path)});
    for (const auto& [key, value] : r.texts) text += line({"text", key, escapedText(value)});
    text += kChecksumKey + hex8(crcOf(text)) + "\n";
    return text;
}

RecordResult parseRecord(std::string_view bytes, InstallRecord* out) {
    *out = InstallRecord{};
    if (bytes.substr(0, sizeof kHeader - 1) != kHeader) return RecordResult::NotARecord;
    if (bytes.size() < sizeof kHeader - 1 + kChecksumLineSize || bytes.back() != '\n') return RecordResult::Cut;
    const std::string_view checksumLine = bytes.substr(bytes.size() - kChecksumLineSize);
    const std::string_view body = bytes.substr(0, bytes.size() - kChecksumLineSize);
    std::uint32_t stored = 0;
    if (checksumLine.substr(0, 4) != kChecksumKey || !parseHex8(checksumLine.substr(4, 8), &stored) ||
        body.back() != '\n')
        return RecordResult::Cut;
    if (crcOf(body) != stored) return RecordResult::BadChecksum;

    InstallRecord record;
    Reader reader(&record);
    for (std::size_t at = sizeof kHeader - 1; at < body.size();) {
        const std::size_t end = body.find('\n', at);
        const RecordResult result = reader.readLine(body.substr(at, end - at));
        if (result != RecordResult::Ok) return result;
        at = end + 1;
    }
    if (!reader.haveId()) return RecordResult::BadIdentity;
    *out = std::move(record);
    return RecordResult::Ok;
}

}  // namespace pelmora::record
