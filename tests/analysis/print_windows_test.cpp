// The printing windows at the keyboard and on the screen: the preview opens
// wholly on the main window's screen, Escape closes the preview and the
// settings window, Enter confirms the formula window, whose own example is a
// formula it accepts.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "finance_test_support.h"
#include "formula_columns.h"
#include "print_test_support.h"

namespace tavrin::finance::testing {
namespace {

TEST_F(PrintTest, ThePreviewOpensOnTheScreenAndEscapeClosesItAndTheSettings) {
    WriteAmounts({1, 2});
    StartProgram();
    PreviewWith([&] { TickEntry(ids::PrintColumnList, "收入金额"); });
    table::PrintPreviewWindow* preview = Preview();
    ASSERT_NE(preview, nullptr);
    const QScreen* screen = forms::WindowWidget(ids::MainWindow)->screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(preview->screen(), screen);
    EXPECT_TRUE(screen->availableGeometry().contains(preview->frameGeometry()))
        << preview->frameGeometry().width() << "x" << preview->frameGeometry().height() << " in "
        << screen->availableGeometry().width() << "x" << screen->availableGeometry().height()
        << " min " << preview->minimumSizeHint().height();
    QTest::keyClick(preview->pageView()->viewport(), Qt::Key_Escape);
    SettleEvents();
    EXPECT_EQ(Preview(), nullptr);

    OpenSettings();
    QTest::keyClick(Get<forms::EditControl>(ids::PrintTitleEdit)->lineEdit(), Qt::Key_Escape);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(kSettings));
    EXPECT_TRUE(TakeMessages().empty());
}

// The example under the formula is typed as it stands and Enter pressed: the
// formula is accepted and the window closes, as with 确定.
TEST_F(PrintTest, EnterConfirmsTheFormulaWindowAndItsExampleIsAccepted) {
    WriteAmounts({3});
    StartProgram();
    OpenSettings();
    TickEntry(ids::PrintColumnList, "收入金额");
    std::string example;
    WhenShown(ids::FormulaWindow, nullptr, [&] {
        for (QLabel* label : forms::WindowWidget(ids::FormulaWindow)->findChildren<QLabel*>())
            if (label->text().startsWith(QStringLiteral("公式样式:")))
                example = label->text().mid(5).toStdString();
        Get<forms::EditControl>(ids::FormulaTitleEdit, ids::FormulaWindow)
            ->lineEdit()
            ->setText(QStringLiteral("示例"));
        QLineEdit* formula =
            Get<forms::EditControl>(ids::FormulaEdit, ids::FormulaWindow)->lineEdit();
        formula->setText(QString::fromStdString(example));
        QTest::keyClick(formula, Qt::Key_Return);
        // A window that Enter did not confirm is cancelled as a person would,
        // so that the test fails rather than waits.
        if (printing::FormulaColumns().empty())
            Get<forms::ButtonControl>(ids::FormulaCancelButton, ids::FormulaWindow)
                ->button()
                ->click();
    });
    ClickIn(ids::AddFormulaButton);
    SettleEvents();
    EXPECT_EQ(example, "[第一列]*12*(52+13)/(14-3)-[第三列]");
    EXPECT_FALSE(forms::IsWindowLoaded(ids::FormulaWindow));
    EXPECT_TRUE(TakeMessages().empty());
    ASSERT_EQ(printing::FormulaColumns().size(), 1u);
    EXPECT_EQ(U(printing::FormulaColumns()[0].first), "示例");
    EXPECT_EQ(U(printing::FormulaColumns()[0].second), example);
    EXPECT_EQ(Entries(ids::FormulaColumnList), (std::vector<std::string>{"示例"}));
}

}  // namespace
}  // namespace tavrin::finance::testing
