#include "script/json_support_script.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "script/json_doc.h"
#include "script/script_engine.h"

namespace korvane::script {
namespace {

// The support script as a document's engine holds it, driven directly.
class JsonSupportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(engine, nullptr);
        JsonDoc doc(engine);  // sets the engine up
    }
    std::string Eval(const std::string& code) { return engine->EvalText(code).value_or("<error>"); }

    std::shared_ptr<ScriptEngine> engine = ScriptEngine::Create();
};

TEST_F(JsonSupportTest, ItsJsonIsInForce) {
    EXPECT_EQ(Eval("JSON.stringify(new Date(Date.UTC(2024, 0, 5, 3, 4, 5, 678)))"),
              "\"2024-01-05T03:04:05Z\"");
    EXPECT_EQ(Eval("JSON.stringify(new Date(NaN))"), "null");
    EXPECT_EQ(Eval("JSON.stringify({d: new Date(0)})"), "{\"d\":\"1970-01-01T00:00:00Z\"}");
    EXPECT_EQ(Eval("typeof String.prototype.toJSON + typeof Number.prototype.toJSON"),
              "functionfunction");
    EXPECT_EQ(Eval("new Number(5).toJSON() + new String('s').toJSON()"), "5s");
}

TEST_F(JsonSupportTest, Stringify) {
    struct Case {
        const char* expression;
        const char* json;
    };
    const Case cases[] = {
        {"JSON.stringify({a: [1, 'x', null, true], b: {}})",
         "{\"a\":[1,\"x\",null,true],\"b\":{}}"},
        {"JSON.stringify([NaN, Infinity, -0, 1e21, undefined, function () {}])",
         "[null,null,0,1e+21,null,null]"},
        {"JSON.stringify({u: undefined, f: function () {}, k: 1})", "{\"k\":1}"},
        {"JSON.stringify(new String('s')) + JSON.stringify([new Number(2), new Boolean(false)])",
         "\"s\"[2,false]"},
        {"JSON.stringify({a: [1, {b: 2}], c: []}, null, 2)",
         "{\n  \"a\": [\n    1,\n    {\n      \"b\": 2\n    }\n  ],\n  \"c\": []\n}"},
        {"JSON.stringify([1, [2]], null, '--')", "[\n--1,\n--[\n----2\n--]\n]"},
        {"JSON.stringify([1], null, 20) === JSON.stringify([1], null, 10)", "true"},
        {"JSON.stringify({a: 1, b: 2, c: {a: 3, d: 4}}, ['a', 'c', 'a'])",
         "{\"a\":1,\"c\":{\"a\":3}}"},
        {"JSON.stringify({a: 1, b: 's'}, function (k, v) { return typeof v === 'number' ?"
         " v * 10 : v; })",
         "{\"a\":10,\"b\":\"s\"}"},
        {"JSON.stringify({toJSON: function (key) { return 'key:' + key; }})", "\"key:\""},
        {"typeof JSON.stringify(undefined)", "undefined"},
        {"JSON.stringify('\\u0000\\u2029\\u206f\\ufff5/') + JSON.stringify('\\u0100').length",
         "\"\\u0000\\u2029\\u206f\\ufff5/\"3"},
        {"var o = {}; Object.defineProperty(o, 'hidden', {value: 1, enumerable: false});"
         " o.shown = 2; JSON.stringify(o)",
         "{\"shown\":2}"},
        {"function P() { this.own = 1; } P.prototype.inherited = 2; JSON.stringify(new P())",
         "{\"own\":1}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.expression), c.json) << c.expression;
    }
}

TEST_F(JsonSupportTest, StringifyErrors) {
    EXPECT_EQ(Eval("try { JSON.stringify({}, 5); } catch (e) { e.message; }"), "JSON.stringify");
    EXPECT_EQ(Eval("try { JSON.stringify({}, {}); } catch (e) { e.message; }"), "JSON.stringify");
    EXPECT_EQ(Eval("var c = {}; c.self = c; try { JSON.stringify(c); } catch (e) { e.name; }"),
              "TypeError");
    EXPECT_EQ(Eval("JSON.stringify({a: 1}, null)"), "{\"a\":1}");
}

TEST_F(JsonSupportTest, Parse) {
    struct Case {
        const char* expression;
        const char* result;
    };
    const Case cases[] = {
        {"JSON.parse('{\"a\":[1,2,{\"b\":null}],\"c\":\"\\\\u4e2d\"}').a[2].b === null", "true"},
        {"JSON.parse(' [true, false, -1.5e3] ').join('|')", "true|false|-1500"},
        {"JSON.parse('\"\\u2028\"').charCodeAt(0)", "8232"},
        {"JSON.stringify(JSON.parse('{\"a\":1,\"b\":{\"c\":2}}', function (k, v) {"
         " return typeof v === 'number' ? v + 1 : v; }))",
         "{\"a\":2,\"b\":{\"c\":3}}"},
        {"JSON.stringify(JSON.parse('[1,2,3]', function (k, v) { return v === 2 ? undefined : v;"
         " }))",
         "[1,null,3]"},
        {"JSON.stringify(JSON.parse('{\"a\":1,\"b\":2}', function (k, v) {"
         " return k === 'a' ? undefined : v; }))",
         "{\"b\":2}"},
        {"'[1]'.parseJSON()[0]", "1"},
        {"({x: [1]}).toJSONString()", "{\"x\":[1]}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.expression), c.result) << c.expression;
    }
}

TEST_F(JsonSupportTest, ParseRejectsWhatIsNotJson) {
    const std::string_view probe =
        "(function (t) { try { JSON.parse(t); return 'parsed'; }"
        " catch (e) { return e.name + ':' + e.message; } })";
    for (std::string_view text :
         {"", "alert(1)", "{\"a\":1}.a", "[1][0]", "{a:1}", "'single'", "\"\\x41\"", "\"a\"+1",
          "{\"a\":", "truefalse", "0x10", "[1,2](0)", "1;2"}) {
        const std::string_view args[] = {text};
        EXPECT_EQ(engine->CallExpression(probe, args).value_or("<error>"), "SyntaxError:JSON.parse")
            << text;
    }
    const std::string_view ok[] = {"{\"a\":[1,\"\\u0041\"]}"};
    EXPECT_EQ(engine->CallExpression(probe, ok).value_or("<error>"), "parsed");
    // Invisible format characters outside strings are escaped first, and so fail.
    const std::string call =
        std::string(probe) + "('\\ufeff1') + " + std::string(probe) + "('[1,\\u2028 2]')";
    EXPECT_EQ(Eval(call), "SyntaxError:JSON.parseSyntaxError:JSON.parse");
}

TEST_F(JsonSupportTest, CountAndTheTwoObjectMembers) {
    EXPECT_EQ(Eval("get__count({a: 1, b: 2})"), "2");
    EXPECT_EQ(Eval("get__count([])"), "0");
    EXPECT_EQ(Eval("var names = ''; for (var n in {}) names += n + ','; names"),
              "toJSONString,parseJSON,");
}

}  // namespace
}  // namespace korvane::script
