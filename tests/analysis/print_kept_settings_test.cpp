// Print settings kept with 保存配置 stay kept: through two restarts of the
// program with a preview in between, every choice comes back, the preview in
// between prints with them, and nothing the person did not change is lost.
#include <QFont>

#include "finance_test_support.h"
#include "forms/control.h"
#include "print_test_support.h"
#include "table/cell_model.h"

namespace tavrin::finance::testing {
namespace {

class KeptSettingsTest : public PrintTest {
  protected:
    // The next run of the program: the windows anew and the store read from its file.
    void NextRun() {
        RestartProgram();
        SetSettingsDirectory(dir() + "/config");
        OpenSettings();
    }
    std::vector<std::string> TickedEntries(uint32_t id) {
        auto* l = Get<forms::ListBoxControl>(id);
        std::vector<std::string> out;
        for (int32_t i = 0; i < l->count(); ++i)
            if (l->isChecked(i)) out.push_back(U(l->itemText(i)));
        return out;
    }
    QFont TitleFontChosen() {
        return forms::FontFromRecord(
            Get<forms::CommonDialogControl>(ids::TitleFontDialog)->fontRecord());
    }
    void ExpectEverythingKept() {
        EXPECT_TRUE(Ticked(ids::SaveSettingsCheck));
        ExpectPageSettingsChosen();
        EXPECT_TRUE(Ticked(ids::LineStyle3Radio));
        EXPECT_FALSE(Ticked(ids::LineStyle1Radio));
        EXPECT_EQ(TickedEntries(ids::PrintColumnList),
                  (std::vector<std::string>{"收入金额", "收入时间"}));
        EXPECT_TRUE(Ticked(ids::StatisticsSummaryRadio));
        EXPECT_TRUE(Get<forms::ListBoxControl>(ids::StatisticsColumnList)->widget()->isEnabled());
        EXPECT_EQ(Entries(ids::StatisticsColumnList),
                  (std::vector<std::string>{"收入金额", "收入时间"}));
        EXPECT_EQ(TickedEntries(ids::StatisticsColumnList), (std::vector<std::string>{"收入金额"}));
        const QFont f = TitleFontChosen();
        EXPECT_EQ(f.family().toStdString(), "WenQuanYi Micro Hei");
        EXPECT_EQ(f.pointSize(), 20);
        EXPECT_TRUE(f.bold());
    }
};

TEST_F(KeptSettingsTest, EveryChoiceSurvivesTwoRestartsWithAPreviewBetween) {
    WriteAmounts({10.5f, 20.7f});
    StartProgram();
    OpenSettings();
    ChoosePageSettings();
    ClickIn(ids::LineStyle3Radio);
    TickEntry(ids::PrintColumnList, "收入金额");
    TickEntry(ids::PrintColumnList, "收入时间");
    ClickIn(ids::StatisticsSummaryRadio);
    Get<forms::ListBoxControl>(ids::StatisticsColumnList)->setChecked(1, false);
    ChooseTitleFont(20, true);
    ClickIn(ids::SaveSettingsCheck);
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    ASSERT_NE(Preview(), nullptr);
    Preview()->close();
    SettleEvents();

    // Second run: everything is back, and a preview with nothing changed
    // prints with it and keeps it.
    NextRun();
    ExpectEverythingKept();
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    EXPECT_TRUE(TakeMessages().empty());
    ASSERT_NE(Preview(), nullptr);
    table::CellModel& t = *Table();
    EXPECT_EQ(Cell(1, 1), "家庭收入");
    EXPECT_EQ(t.style(0, 0).fontSize, 66);
    EXPECT_EQ(t.style(0, 0).format & 0x7800u, 0x0800u);
    // The amounts are the first column: their sum follows the label.
    EXPECT_EQ(Cell(7, 1), "统 计 31.2");
    EXPECT_EQ(Cell(7, 2), "");
    EXPECT_EQ(t.style(4, 1).backColor, 0x112233u);
    EXPECT_EQ(Preview()->reportLayout().pages.size(), 1u);
    EXPECT_EQ(StoredInt("ID"), 1);
    Preview()->close();
    SettleEvents();

    // Third run: still all there.
    NextRun();
    ExpectEverythingKept();
}

}  // namespace
}  // namespace tavrin::finance::testing
