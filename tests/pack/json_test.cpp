#include "tools/pack/json.h"

#include <gtest/gtest.h>

namespace pelmora::pack {
namespace {

TEST(JsonTest, ReadsObjectsListsAndEveryEscape) {
    JsonValue v;
    JsonError e;
    const std::string doc =
        "\xEF\xBB\xBF{\"a\": \"x\\\"\\\\\\/\\b\\f\\n\\r\\t\\u0041\\u00e9\\u4e2d\\ud83d\\ude00\",\n"
        " \"n\": -12.5e+3, \"list\": [true, false, null, 0, {}], \"raw\": \"中文 ünï\"}";
    ASSERT_TRUE(parseJson(doc, &v, &e)) << e.line << ":" << e.column << " " << e.message;
    ASSERT_EQ(v.kind, JsonValue::Kind::Object);
    EXPECT_EQ(v.member("a")->text, "x\"\\/\b\f\n\r\tA\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(v.member("n")->text, "-12.5e+3");
    ASSERT_EQ(v.member("list")->items.size(), 5u);
    EXPECT_TRUE(v.member("list")->items[0].boolean);
    EXPECT_EQ(v.member("list")->items[4].kind, JsonValue::Kind::Object);
    EXPECT_EQ(v.member("raw")->text, "中文 ünï");
    EXPECT_EQ(v.member("n")->line, 2);
    EXPECT_EQ(v.member("n")->column, 7);
    EXPECT_EQ(v.member("missing"), nullptr);
}

TEST(JsonTest, RefusesWhatIsNotStrictJsonAndSaysWhere) {
    const struct {
        std::string doc;
        int line, column;
        const char* message;
    } cases[] = {
        {"{\"a\": 1,}", 1, 9, "comma before '}'"},
        {"[1, 2,]", 1, 7, "comma before ']'"},
        {"{\"a\": 1, \"a\": 2}", 1, 10, "key \"a\" appears twice"},
        {"{'a': 1}", 1, 2, "expected a key in double quotes"},
        {"{\"a\": 'x'}", 1, 7, "strings need double quotes"},
        {"// note\n{}", 1, 1, "unexpected character"},
        {"{\"a\": 01}", 1, 8, "leading zero in a number"},
        {"{\"a\": 1.}", 1, 9, "malformed number"},
        {"{\"a\": tru}", 1, 7, "unknown word; strings need double quotes"},
        {"{\"a\": \"x\n\"}", 1, 9, "control character inside a string; write it as an escape"},
        {"{\"a\": \"\\x\"}", 1, 10, "unknown escape \\x"},
        {"{\"a\": \"\\u12\"}", 1, 12, "\\u needs four hexadecimal digits"},
        {"{\"a\": \"\\ud800\"}", 1, 7, "a \\u escape leaves a surrogate without its pair"},
        {"{\"a\": \"\\udc00\\ud800\"}", 1, 7, "a \\u escape leaves a surrogate without its pair"},
        {"{\"a\": \"x\\u0000y\"}", 1, 7, "a string may not contain \\u0000"},
        {"{\"a\": \"\xC3\x28\"}", 1, 7, "text is not valid UTF-8"},
        {"{\"a\": \"\xED\xA0\x80\"}", 1, 7, "text is not valid UTF-8"},  // an encoded surrogate
        {"{\"a\": \"\xC0\xAF\"}", 1, 7, "text is not valid UTF-8"},      // an overlong "/"
        {"{\"a\": \"open", 1, 12, "string not closed"},
        {"{} {}", 1, 4, "unexpected text after the end of the document"},
        {"", 1, 1, "unexpected end of the document"},
        {std::string(40, '[') + std::string(40, ']'), 1, 34, "nested too deeply"},
    };
    for (const auto& c : cases) {
        JsonValue v;
        JsonError e;
        EXPECT_FALSE(parseJson(c.doc, &v, &e)) << c.doc;
        EXPECT_EQ(e.message, c.message) << c.doc;
        EXPECT_EQ(e.line, c.line) << c.doc;
        EXPECT_EQ(e.column, c.column) << c.doc;
    }
}

}  // namespace
}  // namespace pelmora::pack
