#include "tools/pack/json.h"

#include "base/text.h"
#include "tools/pack/shown_name.h"

namespace pelmora::pack {
namespace {

constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool document(JsonValue* value, JsonError* error) {
        // A byte-order mark is not JSON, but editors on Windows write one.
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") advance(3);
        skipSpace();
        if (!parseValue(value, 0)) return report(error);
        skipSpace();
        if (pos_ != text_.size()) {
            fail("unexpected text after the end of the document");
            return report(error);
        }
        return true;
    }

private:
    bool report(JsonError* error) {
        *error = error_;
        return false;
    }

    bool fail(std::string message) {
        if (error_.message.empty()) error_ = {line_, column_, std::move(message)};
        return false;
    }

    void advance(std::size_t n = 1) {
        for (std::size_t i = 0; i < n && pos_ < text_.size(); ++i, ++pos_) {
            if (text_[pos_] == '\n') {
                ++line_;
                column_ = 1;
            } else if ((static_cast<unsigned char>(text_[pos_]) & 0xC0) != 0x80) {
                ++column_;  // columns count characters, not UTF-8 bytes
            }
        }
    }

    bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

    void skipSpace() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
            advance();
        }
    }

    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return fail("unknown word; strings need double quotes");
        advance(word.size());
        return true;
    }

    bool parseValue(JsonValue* v, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        v->line = line_;
        v->column = column_;
        if (pos_ == text_.size()) return fail("unexpected end of the document");
        switch (text_[pos_]) {
            case '{':
                return parseObject(v, depth);
            case '[':
                return parseArray(v, depth);
            case '"':
                v->kind = JsonValue::Kind::String;
                return parseString(&v->text);
            case 't':
                v->kind = JsonValue::Kind::Bool;
                v->boolean = true;
                return literal("true");
            case 'f':
                v->kind = JsonValue::Kind::Bool;
                return literal("false");
            case 'n':
                v->kind = JsonValue::Kind::Null;
                return literal("null");
            default:
                if (text_[pos_] == '-' || (text_[pos_] >= '0' && text_[pos_] <= '9')) return parseNumber(v);
                if (text_[pos_] == '\'') return fail("strings need double quotes");
                return fail("unexpected character");
        }
    }

    bool parseObject(JsonValue* v, int depth) {
        v->kind = JsonValue::Kind::Object;
        advance();
        skipSpace();
        if (at('}')) return advance(), true;
        for (;;) {
            skipSpace();
            if (!at('"')) return fail(at('}') ? "comma before '}'" : "expected a key in double quotes");
            std::string key;
            const int keyLine = line_, keyColumn = column_;
            if (!parseString(&key)) return false;
            for (const auto& m : v->members) {
                if (m.first == key) {
                    line_ = keyLine;
                    column_ = keyColumn;
                    return fail("key \"" + shownName(key) + "\" appears twice");
                }
            }
            skipSpace();
            if (!at(':')) return fail("expected ':' after the key");
            advance();
            skipSpace();
            JsonValue member;
            if (!parseValue(&member, depth + 1)) return false;
            member.keyLine = keyLine;
            member.keyColumn = keyColumn;
            v->members.emplace_back(std::move(key), std::move(member));
            skipSpace();
            if (at(',')) {
                advance();
                continue;
            }
            if (at('}')) return advance(), true;
            return fail("expected ',' or '}'");
        }
    }

    bool parseArray(JsonValue* v, int depth) {
        v->kind = JsonValue::Kind::Array;
        advance();
        skipSpace();
        if (at(']')) return advance(), true;
        for (;;) {
            skipSpace();
            if (at(']')) return fail("comma before ']'");
            JsonValue item;
            if (!parseValue(&item, depth + 1)) return false;
            v->items.push_back(std::move(item));
            skipSpace();
            if (at(',')) {
                advance();
                continue;
            }
            if (at(']')) return advance(), true;
            return fail("expected ',' or ']'");
        }
    }

    bool parseNumber(JsonValue* v) {
        v->kind = JsonValue::Kind::Number;
        const std::size_t start = pos_;
        auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') advance();
            return pos_ > from;
        };
        if (at('-')) advance();
        if (at('0')) {
            advance();
            if (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
                return fail("leading zero in a number");
        } else if (!digits()) {
            return fail("malformed number");
        }
        if (at('.')) {
            advance();
            if (!digits()) return fail("malformed number");
        }
        if (at('e') || at('E')) {
            advance();
            if (at('+') || at('-')) advance();
            if (!digits()) return fail("malformed number");
        }
        v->text.assign(text_.substr(start, pos_ - start));
        return true;
    }

    int hexDigit(char c) const {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    bool hex4(unsigned* value) {
        *value = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = pos_ < text_.size() ? hexDigit(text_[pos_]) : -1;
            if (d < 0) return fail("\\u needs four hexadecimal digits");
            *value = *value * 16 + static_cast<unsigned>(d);
            advance();
        }
        return true;
    }

    // Collects the string as UTF-16 units, so escapes and raw characters
    // meet in one form and a surrogate left alone shows up at the end.
    bool parseString(std::string* out) {
        const int startLine = line_, startColumn = column_;
        // Errors in what the string holds point at the string.
        auto failAtStart = [&](const char* message) {
            line_ = startLine;
            column_ = startColumn;
            return fail(message);
        };
        advance();  // the opening quote
        std::wstring units;
        std::size_t runStart = pos_;
        auto flushRun = [&]() {
            std::wstring run;
            if (!utf16FromUtf8(text_.substr(runStart, pos_ - runStart), &run))
                return failAtStart("text is not valid UTF-8");
            units += run;
            return true;
        };
        for (;;) {
            if (pos_ == text_.size()) return fail("string not closed");
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') break;
            if (c < 0x20) return fail("control character inside a string; write it as an escape");
            if (c != '\\') {
                advance();
                continue;
            }
            if (!flushRun()) return false;
            advance();
            if (pos_ == text_.size()) return fail("string not closed");
            const char e = text_[pos_];
            advance();
            static const char kPlain[] = "\"\\/bfnrt";
            static const wchar_t kValue[] = L"\"\\/\b\f\n\r\t";
            bool known = false;
            for (int i = 0; kPlain[i]; ++i) {
                if (e == kPlain[i]) {
                    units += kValue[i];
                    known = true;
                }
            }
            if (e == 'u') {
                unsigned value = 0;
                if (!hex4(&value)) return false;
                units += static_cast<wchar_t>(value);
                known = true;
            }
            if (!known) return fail(std::string("unknown escape \\") + e);
            runStart = pos_;
        }
        if (!flushRun()) return false;
        advance();  // the closing quote
        if (units.find(L'\0') != std::wstring::npos) return failAtStart("a string may not contain \\u0000");
        if (!utf8FromUtf16(units, out)) return failAtStart("a \\u escape leaves a surrogate without its pair");
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1, column_ = 1;
    JsonError error_;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view key) const {
    for (const auto& m : members) {
        if (m.first == key) return &m.second;
    }
    return nullptr;
}

const char* JsonValue::kindName() const {
    switch (kind) {
        case Kind::Null:
            return "null";
        case Kind::Bool:
            return "true or false";
        case Kind::Number:
            return "a number";
        case Kind::String:
            return "a string";
        case Kind::Array:
            return "a list";
        case Kind::Object:
            return "an object";
    }
    return "a value";
}

bool parseJson(std::string_view document, JsonValue* value, JsonError* error) {
    *value = JsonValue{};
    return Parser(document).document(value, error);
}

}  // namespace pelmora::pack
