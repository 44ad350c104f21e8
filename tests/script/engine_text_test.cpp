#include "script/engine_text.h"

#include <gtest/gtest.h>

#include "script/script_literal.h"
#include "text/code_page.h"

namespace korvane::script {
namespace {

using text::Utf8ToLocal;

TEST(EngineText, ClientTextBecomesCesu8AndBack) {
    for (const char* utf8 : {"", "plain ascii", "中文", "誠実", "a\xE3\x80\x80z", "€"}) {
        const std::string client = Utf8ToLocal(utf8);
        EXPECT_EQ(ToEngineText(client), utf8);
        EXPECT_EQ(FromEngineText(ToEngineText(client)), client);
    }
}

TEST(EngineText, EngineStringsTheCodePageCannotHold) {
    // U+1F600 as a CESU-8 surrogate pair and as a 4-byte sequence: one "?" each.
    EXPECT_EQ(FromEngineText("a\xED\xA0\xBD\xED\xB8\x80z"), "a?z");
    EXPECT_EQ(FromEngineText("a\xF0\x9F\x98\x80z"), "a?z");
    EXPECT_EQ(FromEngineText("a\xE0\xB8\x81z"), "a?z");  // Thai
    EXPECT_EQ(FromEngineText("a\xED\xA0\xBDz"), "a?z");  // a lone surrogate
    EXPECT_EQ(FromEngineText("a\xFF\xC3z"), "a??z");     // malformed bytes
    // Client texts end at their first zero, on either side.
    EXPECT_EQ(FromEngineText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(ToEngineText(std::string("ab\0cd", 5)), "ab");
}

TEST(ScriptLiteral, EscapesWhatWouldEndOrChangeTheLiteral) {
    struct Case {
        const char* utf8;
        const char* escaped;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a';x='b", "a\\';x=\\'b"},
        {"back\\slash", "back\\\\slash"},
        {"line\nbreak\r", "line\\nbreak\\r"},
        {"\xE8\xAA\xA0'", "\xE8\xAA\xA0\\'"},  // 誠 ends in a 0x5C byte in code page 936
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeForSingleQuotes(Utf8ToLocal(c.utf8)), Utf8ToLocal(c.escaped)) << c.utf8;
    }
}

}  // namespace
}  // namespace korvane::script
