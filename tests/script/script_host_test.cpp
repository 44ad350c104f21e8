#include "script/script_host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "script/script_engine.h"
#include "text/code_page.h"

namespace korvane::script {
namespace {

using text::Utf8ToLocal;

class ScriptHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.ExecuteStatement(
            "function argc() { return arguments.length; }"
            "function kinds() { var s = ''; for (var i = 0; i < arguments.length; i++)"
            " s += typeof arguments[i] + ','; return s; }"
            "function echo(t) { return t; }"));
    }
    ScriptHost host;
};

TEST_F(ScriptHostTest, RunPassesTheLeadingRunOfGivenArguments) {
    using Arg = std::optional<std::string_view>;
    const Arg x = "x";
    const Arg none;
    struct Case {
        std::vector<Arg> args;
        const char* passed;
    };
    const Case cases[] = {
        {{}, "0"},
        {{x}, "1"},
        {{x, x, none, x}, "2"},
        {{x, x, x, none, x}, "3"},
        {{none, x}, "0"},
        {{x, x, x, x, x, x}, "6"},
    };
    for (const Case& c : cases) {
        std::vector<Arg> a = c.args;
        a.resize(6);
        EXPECT_EQ(host.Run("argc", a[0], a[1], a[2], a[3], a[4], a[5]), c.passed)
            << c.args.size() << " slots";
    }
    EXPECT_EQ(host.Run("kinds", "1", "", "0"), "string,string,string,");
}

TEST_F(ScriptHostTest, ResultsConvertToText) {
    EXPECT_EQ(host.Eval("1+1"), "2");
    EXPECT_EQ(host.Eval("0.5"), "0.5");
    EXPECT_EQ(host.Eval("true"), "true");
    EXPECT_EQ(host.Eval("null"), "");
    EXPECT_EQ(host.Eval("undefined"), "");
    EXPECT_EQ(host.Eval("var t = 'a'; t + 'b'"), "ab");
}

TEST_F(ScriptHostTest, TextCrossesAsClientText) {
    const std::string chinese = Utf8ToLocal("中文誠");
    EXPECT_EQ(host.Run("echo", chinese), chinese);
    EXPECT_EQ(host.Eval("'" + chinese + "'.length"), "3");
    EXPECT_EQ(host.Eval("'\\u4e2d'"), Utf8ToLocal("中"));
    // What code page 936 cannot hold comes back as "?", a non-BMP character as one "?".
    EXPECT_EQ(host.Eval("'a\\u0e01b'"), "a?b");
    EXPECT_EQ(host.Eval("'a' + String.fromCharCode(0xD83D, 0xDE00) + 'b'"), "a?b");
}

TEST_F(ScriptHostTest, FailuresGiveEmptyResults) {
    EXPECT_FALSE(host.ExecuteStatement("throw new Error('x')"));
    EXPECT_EQ(host.Eval("no_such_name"), "");
    EXPECT_EQ(host.Run("no_such_function"), "");
    EXPECT_EQ(host.Run("Math"), "");
}

TEST_F(ScriptHostTest, SyntaxErrorKeepsEarlierCode) {
    EXPECT_FALSE(host.ExecuteStatement("function broken( {"));
    EXPECT_EQ(host.Run("echo", "still"), "still");
}

TEST_F(ScriptHostTest, ResetDropsCode) {
    host.AddCode("var added = 1;");
    EXPECT_EQ(host.Eval("added"), "1");
    host.Reset();
    EXPECT_EQ(host.Eval("typeof added"), "undefined");
    EXPECT_EQ(host.Run("echo", "x"), "");
}

TEST_F(ScriptHostTest, CopySharesTheEngine) {
    ScriptHost copy(host);
    EXPECT_EQ(copy.Engine(), host.Engine());
    copy.AddCode("var shared = 'both';");
    EXPECT_EQ(host.Eval("shared"), "both");
    copy.Timeout(1234);
    EXPECT_EQ(host.Timeout(1234), 1234);
}

TEST_F(ScriptHostTest, Properties) {
    EXPECT_EQ(host.Language(2), "JScript");
    EXPECT_EQ(host.Language(1), "vbs");
    EXPECT_EQ(host.Language(7), "vbs");
    EXPECT_EQ(host.Language(), "JScript");

    EXPECT_EQ(host.Timeout(), -1);
    EXPECT_EQ(host.Timeout(0), 0);
    EXPECT_EQ(host.Timeout(), -1);

    EXPECT_EQ(host.State(), 0);
    EXPECT_EQ(host.State(1), 1);
    EXPECT_EQ(host.State(), 1);
    EXPECT_EQ(host.State(9), 1);  // refused by the control, read back unchanged

    EXPECT_TRUE(host.AllowUI());
    EXPECT_FALSE(host.AllowUI(false));
    EXPECT_FALSE(host.AllowUI());

    EXPECT_EQ(host.SitehWnd(), 0);
    EXPECT_EQ(host.SitehWnd(0x1234), 0x1234);
    EXPECT_EQ(host.SitehWnd(), 0x1234);
}

TEST_F(ScriptHostTest, RunawayCodeIsStopped) {
    host.Timeout(50);
    EXPECT_FALSE(host.ExecuteStatement("for (;;) {}"));
    EXPECT_FALSE(host.ExecuteStatement("for (;;) { try { for (;;) {} } catch (e) {} }"));
    EXPECT_EQ(host.Eval("(function () { while (true) {} })()"), "");
    // The limit of one call does not carry over to the next.
    EXPECT_EQ(host.Run("echo", "alive"), "alive");
}

TEST_F(ScriptHostTest, MemoryIsCapped) {
    EXPECT_FALSE(host.ExecuteStatement("var s = 'x'; for (;;) { s += s; }"));
    EXPECT_FALSE(host.ExecuteStatement(
        "var b = new Array(65537).join('y'), a = []; for (;;) { a.push(b + a.length); }"));
    host.AddCode("s = null; a = null; b = null;");
    EXPECT_EQ(host.Run("echo", "alive"), "alive");
}

TEST(FailedScriptHost, StaysUsable) {
    ScriptHost host(nullptr);
    EXPECT_FALSE(host.ExecuteStatement("var x = 1;"));
    EXPECT_EQ(host.Eval("1"), "");
    EXPECT_EQ(host.Run("f", "a"), "");
    EXPECT_EQ(host.Language(), "");
    EXPECT_EQ(host.Timeout(5), 0);
    host.AddCode("var y = 2;");
    host.Reset();
    ScriptHost copy(host);
    EXPECT_EQ(copy.Engine(), nullptr);
}

}  // namespace
}  // namespace korvane::script
