// The script host: values as the language writes them, errors as empty text
// with their error text, nothing of the host reachable, and the watchdog that
// ends scripts which loop or allocate without end.
#include "forms/script_host.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "runtime/gbk.h"

namespace {

using tavrin::forms::ScriptHost;

class ScriptHostTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "script_host_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
};

TEST_F(ScriptHostTest, ValuesInTheLanguagesOwnTextForm) {
    ScriptHost host("JScript");
    ASSERT_TRUE(host.created());
    EXPECT_EQ(host.evaluate(" 5*2"), "10");
    EXPECT_EQ(host.evaluate(" 5/0"), "Infinity");
    EXPECT_EQ(host.evaluate("0.1+0.2"), "0.30000000000000004");
    EXPECT_EQ(host.evaluate("1e21"), "1e+21");
    EXPECT_EQ(host.evaluate("'abc'"), "abc");
    EXPECT_EQ(host.evaluate(tavrin::Utf8ToGbk("'收入'")), tavrin::Utf8ToGbk("收入"));
    EXPECT_EQ(host.evaluate("undefined"), "");
    EXPECT_EQ(host.errorText(), "");
}

TEST_F(ScriptHostTest, AScriptErrorGivesEmptyTextAndKeepsItsErrorText) {
    ScriptHost host("JScript");
    EXPECT_EQ(host.evaluate(" 5*abc"), "");
    EXPECT_EQ(host.errorText(), "Error: abc is not defined; in line 1");
    EXPECT_EQ(host.evaluate("1+\n\nfoo"), "");
    EXPECT_EQ(host.errorText(), "Error: foo is not defined; in line 3");
    EXPECT_EQ(host.evaluate("throw 5"), "");
    EXPECT_EQ(host.errorText(), "Error: 5; in line 1");
    EXPECT_EQ(host.evaluate("throw new Error('x'.repeat(1000))"), "");
    EXPECT_EQ(host.errorText().size(), 255u);
    EXPECT_EQ(host.evaluate("3"), "3");
    EXPECT_EQ(host.errorText(), "");
}

TEST_F(ScriptHostTest, AHostWithoutEngineSaysSoAndEvaluatesToNothing) {
    ScriptHost host("VBScript");
    EXPECT_FALSE(host.created());
    EXPECT_EQ(tavrin::GbkToUtf8(host.errorText()), "脚本组件创建失败,请检查msscript.ocx是否注册!");
    EXPECT_EQ(host.evaluate("1+1"), "");
}

TEST_F(ScriptHostTest, NothingOfTheHostIsReachable) {
    ScriptHost host("JScript");
    for (const char* name : {"require", "process", "Qt", "print", "console", "XMLHttpRequest", "gc",
                             "qsTr", "QT_TRANSLATE_NOOP", "load", "readFile"})
        EXPECT_EQ(host.evaluate(std::string("typeof ") + name), "undefined") << name;
    // Module loading is refused outright.
    EXPECT_EQ(host.evaluate("import('/etc/passwd')"), "");
    EXPECT_EQ(host.evaluate("this.constructor.constructor('return typeof process')()"),
              "undefined");
}

TEST_F(ScriptHostTest, EndlessLoopsAndRunawayMemoryAreInterrupted) {
    ScriptHost host("JScript",
                    ScriptHost::Limits{std::chrono::milliseconds(300), size_t(256) << 20});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(host.evaluate("while(1){}"), "");
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_NE(host.errorText().find("Interrupted"), std::string::npos) << host.errorText();
    // With a long time limit it is the memory cap that ends a runaway allocation.
    ScriptHost greedy("JScript", ScriptHost::Limits{std::chrono::seconds(20), size_t(256) << 20});
    clock.restart();
    EXPECT_EQ(greedy.evaluate("var a=[];while(1){a.push(new ArrayBuffer(50000000))}"), "");
    // Well inside the 20 s time limit even on a loaded machine: the cap ended it.
    EXPECT_LT(clock.elapsed(), 10000);
    // The engine answers again at once.
    EXPECT_EQ(host.evaluate("1+1"), "2");
    const int32_t f = host.compileFunction("(function(a){while(a){}return a})");
    ASSERT_GE(f, 0);
    EXPECT_EQ(host.callFunction(f, {1}), "");
    EXPECT_EQ(host.callFunction(f, {0}), "0");
}

}  // namespace
