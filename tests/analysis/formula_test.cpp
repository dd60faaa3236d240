// The formula window, the formula-column list with its mirrors and its
// delete, and row substitution, on real widgets offscreen: the formula
// window compiled from the program's own source beside a window that stands
// in for the print settings window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <random>

#include "analysis/analysis_setup.h"
#include "finance/start_routine.h"
#include "forms/commands/control_commands.h"
#include "forms/commands/script_commands.h"
#include "forms/controls.h"
#include "forms/script_component.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "formula_evaluation.h"
#include "formula_stand_in.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "settle_events.h"

namespace {

using namespace tavrin;
namespace ids = fst::ids;
namespace fc = tavrin::form_commands;
using printing::FormulaRowEvaluator;

std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}
std::string U(std::string_view gbk) {
    return GbkToUtf8(gbk);
}

// Types a text key by key, Chinese characters included (as an input method delivers them).
void Type(QWidget* w, const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {});
}

struct Shown {
    std::string text, caption;  // UTF-8
    uint32_t style;
};

class FormulaTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static const bool started = [] {
            static int argc = 1;
            static char name[] = "analysis_formula";
            static char* argv[] = {name, nullptr};
            printing::stand_in::Start(argc, argv);
            return true;
        }();
        (void)started;
    }
    void SetUp() override {
        finance::ResetRunStateForTests();
        SetMessageBoxResponder([this](const MessageBoxRequest& r) {
            shown_.push_back({U(r.text), U(r.caption), r.style});
            return int32_t(kButtonOk);
        });
        ASSERT_TRUE(printing::stand_in::OpenStandIn());
        SettleEvents();
    }
    void TearDown() override {
        forms::CloseWindow(ids::FormulaWindow, true);
        forms::CloseWindow(ids::StandInWindow, true);
        SettleEvents();
        SetMessageBoxResponder({});
    }

    std::vector<Shown> TakeMessages() { return std::exchange(shown_, {}); }

    template <typename T>
    T* Get(uint32_t window, uint32_t id) {
        T* c = forms::FindControlAs<T>(window, id);
        EXPECT_NE(c, nullptr) << std::hex << id;
        return c;
    }
    QLineEdit* Edit(uint32_t id) {
        return Get<forms::EditControl>(ids::FormulaWindow, id)->lineEdit();
    }
    void Tick(int32_t entry) {
        Get<forms::ListBoxControl>(ids::StandInWindow, ids::DisplayList)->setChecked(entry, true);
    }
    std::vector<std::string> Entries(uint32_t list) {
        auto* l = Get<forms::ListBoxControl>(ids::StandInWindow, list);
        std::vector<std::string> out;
        for (int32_t i = 0; i < l->count(); ++i) out.push_back(U(l->itemText(i)));
        return out;
    }
    std::vector<std::string> ColumnTexts() {
        std::vector<std::string> out;
        for (const std::string& t : printing::FormulaColumnTexts()) out.push_back(U(t));
        return out;
    }
    void OpenFormulaWindow() {
        ASSERT_TRUE(forms::LoadWindow(ids::FormulaWindow, ids::StandInWindow, false));
        SettleEvents();
    }
    // Types a title and a formula as a person does and presses 确定.
    void Submit(const QString& title, const QString& formula) {
        Edit(ids::FormulaTitleEdit)->clear();
        Type(Edit(ids::FormulaTitleEdit), title);
        Edit(ids::FormulaEdit)->clear();
        Type(Edit(ids::FormulaEdit), formula);
        QTest::mouseClick(
            Get<forms::ButtonControl>(ids::FormulaWindow, ids::FormulaOkButton)->button(),
            Qt::LeftButton);
        SettleEvents();
    }

    std::vector<Shown> shown_;
};

TEST_F(FormulaTest, TheWindowOffersTheTickedColumnsAndChoosingOneAppendsItsReference) {
    Tick(1);
    Tick(3);
    OpenFormulaWindow();
    QComboBox* combo =
        Get<forms::ComboControl>(ids::FormulaWindow, ids::FormulaColumnCombo)->combo();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("收入金额"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("备注信息"));
    EXPECT_EQ(Edit(ids::FormulaTitleEdit)->hasFocus() ||
                  QApplication::focusWidget() == Edit(ids::FormulaTitleEdit),
              true);

    QTest::keyClicks(Edit(ids::FormulaEdit), "2*");
    QTest::keyClick(combo, Qt::Key_Down);  // the person picks 收入金额, then 备注信息
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(Edit(ids::FormulaEdit)->text(), QStringLiteral("2*[收入金额][备注信息]"));
    EXPECT_EQ(Edit(ids::FormulaEdit)->cursorPosition(), Edit(ids::FormulaEdit)->text().size());
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FormulaTest, AnAcceptedFormulaJoinsTheListAndBothMirrors) {
    Tick(1);
    OpenFormulaWindow();
    Submit("双倍", "[收入金额]*2");
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ColumnTexts(), (std::vector<std::string>{"双倍", "[收入金额]*2"}));
    EXPECT_EQ(Entries(ids::NewColumnList), std::vector<std::string>{"双倍"});
    EXPECT_EQ(Entries(ids::StatisticsList), std::vector<std::string>{"双倍"});
    EXPECT_FALSE(forms::IsWindowLoaded(ids::FormulaWindow));
}

TEST_F(FormulaTest, TheTestEvaluationAcceptsInfinityAndRejectsWhatDoesNotEvaluate) {
    OpenFormulaWindow();
    // The test text of "[收入金额]*2" is " 5*2", which the window's script gives as 10.
    const Value script =
        MakeControlRef(ids::FormulaWindow, ids::FormulaScript, forms::TypeId::kScript);
    const std::string test = *printing::FormulaTestText(G("[收入金额]*2"));
    EXPECT_EQ(test, " 5*2");
    const Value ten =
        CallLibrary(kScriptLibrary, fc::ScriptEvaluate, script, MakeTextRef(test.c_str()));
    EXPECT_EQ(std::string(TextOf(ten)), "10");
    Free(ten.pointer());

    Submit("除零", "[收入金额]/0");
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ColumnTexts(), (std::vector<std::string>{"除零", "[收入金额]/0"}));

    const struct {
        const char* title;
        const char* formula;
        const char* message;
        uint32_t icon;
    } rejected[] = {
        {"未定义", "[收入金额]*abc", "公式设置有误！", tavrin::kIconInformation},
        {"反括号", "]abc[", "公式设置有误！", tavrin::kIconInformation},
        {"缺括号", "[abc", "公式设置有误！", tavrin::kIconInformation},
        {"", "[收入金额]", "自定义列标题或者公式填写错误！", tavrin::kIconStop},
        {"无公式", "", "自定义列标题或者公式填写错误！", tavrin::kIconStop},
    };
    for (const auto& r : rejected) {
        OpenFormulaWindow();
        QElapsedTimer clock;
        clock.start();
        Submit(QString::fromUtf8(r.title), QString::fromUtf8(r.formula));
        EXPECT_LT(clock.elapsed(), 2000) << r.formula;
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << r.formula;
        EXPECT_EQ(shown[0].text, r.message) << r.formula;
        EXPECT_EQ(shown[0].caption, "提示");
        EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, r.icon);
        EXPECT_TRUE(forms::IsWindowLoaded(ids::FormulaWindow)) << "the window stays open";
    }
    EXPECT_EQ(ColumnTexts().size(), 2u);
}

TEST_F(FormulaTest, CancelAndTheModalWindowOfTheAddButton) {
    OpenFormulaWindow();
    QTest::keyClicks(Edit(ids::FormulaTitleEdit), "x");
    QTest::mouseClick(
        Get<forms::ButtonControl>(ids::FormulaWindow, ids::FormulaCancelButton)->button(),
        Qt::LeftButton);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(ids::FormulaWindow));
    EXPECT_TRUE(ColumnTexts().empty());

    // Opened as 添加 opens it: modal, the person fills it in inside its loop.
    Tick(2);
    bool acted = false;
    QTimer::singleShot(0, [&] {
        acted = forms::IsWindowLoaded(ids::FormulaWindow);
        if (acted) Submit("类型", "[收入类型]+1");
    });
    printing::OpenFormulaWindow(ids::StandInWindow);
    EXPECT_TRUE(acted);
    EXPECT_FALSE(forms::IsWindowLoaded(ids::FormulaWindow));
    EXPECT_EQ(ColumnTexts(), (std::vector<std::string>{"类型", "[收入类型]+1"}));
}

TEST_F(FormulaTest, DeletingTheSecondOfThreeRemovesItsPairAndMirrorsOnly) {
    printing::AddFormulaColumn(G("甲"), G("[收入金额]*1"));
    printing::AddFormulaColumn(G("乙"), G("[收入金额]*2"));
    printing::AddFormulaColumn(G("丙"), G("[收入金额]*3"));
    auto* statistics = Get<forms::ListBoxControl>(ids::StandInWindow, ids::StatisticsList);
    statistics->addItem(G("乙"));  // a second entry with the same text goes too

    // Nothing selected: the menu item says so and changes nothing.
    ASSERT_TRUE(forms::ChooseMenuCommand(ids::StandInWindow, 20001));
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "没有选择任何要删除的列名！");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, tavrin::kIconInformation);
    EXPECT_EQ(ColumnTexts().size(), 6u);

    QListWidget* list = Get<forms::ListBoxControl>(ids::StandInWindow, ids::NewColumnList)->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_TRUE(forms::ChooseMenuCommand(ids::StandInWindow, 20001));
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ColumnTexts(),
              (std::vector<std::string>{"甲", "[收入金额]*1", "丙", "[收入金额]*3"}));
    EXPECT_EQ(Entries(ids::NewColumnList), (std::vector<std::string>{"甲", "丙"}));
    EXPECT_EQ(Entries(ids::StatisticsList), (std::vector<std::string>{"甲", "丙"}));

    printing::EmptyFormulaColumns();
    EXPECT_TRUE(ColumnTexts().empty());
}

// ---- row substitution ------------------------------------------------------------

std::vector<std::string> Headers() {
    return {G("序号"), G("收入金额"), G("收入类型"), G("备注信息")};
}

TEST_F(FormulaTest, SubstituteRowReplacesPrintedColumnsAndLeavesFormulaColumns) {
    const std::string category = G("工资");  // the cells below only view it
    const std::vector<std::string_view> cells{"1", "100", category, "x"};
    EXPECT_EQ(
        U(printing::SubstituteRow(G("[序号]+[收入金额]*[收入金额]-[双倍]"), Headers(), cells)),
        "1+100*100-[双倍]");
    forms::ScriptHost& host =
        Get<forms::ScriptControl>(ids::StandInWindow, ids::PrintScript)->host();
    FormulaRowEvaluator evaluator(host, G("[收入金额]*2+[序号]"), Headers());
    EXPECT_TRUE(evaluator.compiled());
    EXPECT_EQ(evaluator.evaluate(cells), "201");
    // A cell that is not a number fails the evaluation: an empty cell.
    FormulaRowEvaluator byType(host, G("[收入类型]*2"), Headers());
    EXPECT_EQ(byType.evaluate(cells), "");
}

TEST_F(FormulaTest, ACellThatRunsForeverGivesAnEmptyCellAndTheProgramAnswersAfterwards) {
    forms::ScriptHost& host =
        Get<forms::ScriptControl>(ids::StandInWindow, ids::PrintScript)->host();
    FormulaRowEvaluator evaluator(host, G("[备注信息]"), Headers());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(evaluator.evaluate({"1", "100", G("工资"), "while(1){}"}), "");
    EXPECT_LT(clock.elapsed(), 2000);
    clock.restart();
    EXPECT_EQ(evaluator.evaluate({"1", "100", G("工资"), "var s='ab';while(1){s=s+s}"}), "");
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(evaluator.evaluate({"1", "100", G("工资"), "6*7"}), "42");
    // The window still answers: a button click goes through.
    OpenFormulaWindow();
    Submit("双倍", "[收入金额]*2");
    EXPECT_EQ(ColumnTexts().size(), 2u);
}

// The compiled form must give exactly what substitution and evaluation give,
// for any formula and any cells.
TEST_F(FormulaTest, TheCompiledFormulaGivesTheSameTextAsSubstitutionForAnyRow) {
    forms::ScriptHost& host =
        Get<forms::ScriptControl>(ids::StandInWindow, ids::PrintScript)->host();
    const std::vector<std::string> pieces{
        "[序号]", "[收入金额]", "[备注信息]", "[收入类型]", "[双倍]", "2", "0.5", "10", "(",
        ")",      "+",          "-",          "*",          "/",      " ", ".",   "++", "e"};
    const std::vector<std::string> cellTexts{
        "100", "20", "0", "12.5", "007", "-5", "", "abc", "1e3", "3 ", "0.1", "9007199254740993"};
    std::mt19937 random(14);
    int compiled = 0;
    const std::vector<std::string> terms{"[序号]", "[收入金额]", "[备注信息]",
                                         "2",      "0.5",        "(1+[收入金额])"};
    const std::vector<std::string> operators{"+", "-", "*", "/", " - ", "*-"};
    for (int f = 0; f < 400; ++f) {
        std::string formula;
        if (f % 2 == 0) {  // arithmetic as a person writes it
            formula = terms[random() % terms.size()];
            for (int i = int(random() % 4); i > 0; --i)
                formula += operators[random() % operators.size()] + terms[random() % terms.size()];
        } else {  // anything
            for (int i = 1 + int(random() % 7); i > 0; --i)
                formula += pieces[random() % pieces.size()];
        }
        FormulaRowEvaluator evaluator(host, G(formula), Headers());
        compiled += evaluator.compiled();
        for (int r = 0; r < 8; ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < 4; ++c) row.push_back(cellTexts[random() % cellTexts.size()]);
            const std::vector<std::string_view> cells(row.begin(), row.end());
            const std::string expected =
                host.evaluate(printing::SubstituteRow(G(formula), Headers(), cells));
            ASSERT_EQ(evaluator.evaluate(cells), expected)
                << formula << " with " << row[0] << "|" << row[1] << "|" << row[2] << "|" << row[3];
        }
    }
    EXPECT_GT(compiled, 150);  // the comparison covered the compiled form
}

}  // namespace
