// The main window's chart area as the window changes size: at the template's
// size every part has its template size and no tab is covered; a larger
// window gives the charts the room (the lists keep the space below, the side
// picture its proportions); a smaller one never shrinks them.
#include <QFontMetrics>
#include <QTabBar>

#include "analysis_test_support.h"
#include "forms/window_system.h"

namespace tavrin::finance::testing {
namespace {

class ChartAreaTest : public AnalysisTest {
  protected:
    QWidget* Client() { return forms::ClientArea(ids::MainWindow); }
    // A control's rectangle in the client area.
    QRect Place(uint32_t id) {
        QWidget* w = Widget(id);
        return QRect(w->mapTo(Client(), QPoint(0, 0)), w->size());
    }
    void ClientSize(int width, int height) {
        forms::WindowWidget(ids::MainWindow)->resize(width, height + Client()->geometry().top());
        SettleEvents();
        ASSERT_EQ(Client()->size(), QSize(width, height));
    }
    QTabBar* Tabs(uint32_t pages) { return Pages(pages)->tabBar(); }
    // Every tab of a page control lies in sight whole, its text at full length.
    void ExpectTabsWhole(uint32_t pages, bool upright) {
        QTabBar* bar = Tabs(pages);
        const QFontMetrics metrics(bar->font());
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            EXPECT_TRUE(bar->rect().contains(tab)) << bar->tabText(i).toStdString();
            const int length = upright ? tab.width() : tab.height();
            EXPECT_GE(length, metrics.horizontalAdvance(bar->tabText(i)))
                << bar->tabText(i).toStdString();
            // Nothing of the window lies over it.
            const QRect inClient(bar->mapTo(Client(), tab.topLeft()), tab.size());
            EXPECT_FALSE(Place(ids::ChartFrame).intersects(inClient) && pages == ids::MainPages)
                << bar->tabText(i).toStdString();
            EXPECT_TRUE(Client()->rect().contains(inClient) || pages != ids::MainPages);
        }
    }
    // The picture keeps the proportions of the 88 × 183 picture it shows.
    void ExpectPictureProportions() {
        const QRect p = Place(ids::Picture1);
        EXPECT_NEAR(double(p.width()) / p.height(), 88.0 / 183.0, 0.01)
            << p.width() << "x" << p.height();
    }
};

TEST_F(ChartAreaTest, TheChartsGrowWithTheWindowAndTheListsKeepTheRoomBelow) {
    WriteCategoryFile(true, {"工资", "奖金"});
    WriteIncomeFile({{"工资", 3000, Days(2012, 3, 5), ""}});
    StartProgram();
    const QSize templateSize = Client()->size();
    auto expectTemplateParts = [&] {
        EXPECT_EQ(Place(ids::ChartFrame).size(), QSize(534, 185));
        EXPECT_EQ(Place(ids::PieChart1).size(), QSize(470, 140));
        EXPECT_EQ(Place(ids::LineChart1).size(), QSize(470, 140));
        EXPECT_EQ(Place(ids::ChartFrame).left(), 257);
        EXPECT_GE(Place(ids::IncomeList).top(), Place(ids::ChartFrame).bottom());
    };
    expectTemplateParts();
    ExpectTabsWhole(ids::MainPages, true);
    ExpectTabsWhole(ids::ChartPages, false);
    ExpectPictureProportions();

    ClientSize(1920, 1000);
    const QRect frame = Place(ids::ChartFrame);
    const QRect list = Place(ids::IncomeList);
    const QRect status = Place(ids::StatusBar1);
    const QRect picture = Place(ids::Picture1);
    EXPECT_GT(frame.width(), 534 + 900);
    EXPECT_GT(frame.height(), 185 + 150);
    EXPECT_GT(Place(ids::PieChart1).width(), 470 + 900);
    EXPECT_GT(Place(ids::PieChart1).height(), 140 + 150);
    EXPECT_EQ(Place(ids::PieChart1).bottom(), frame.bottom() - 2);  // as in the template
    EXPECT_GT(picture.left(), frame.right());
    EXPECT_LE(picture.right(), 1920);
    EXPECT_GE(picture.right(), 1900);  // the picture takes the right edge
    ExpectPictureProportions();
    EXPECT_GE(list.top(), frame.bottom());
    EXPECT_EQ(list.bottom() + 1, status.top());
    EXPECT_GE(list.height(), 323);  // no less than the template gives the list
    ExpectTabsWhole(ids::MainPages, true);

    // Below the template's width the chart area keeps its height and narrows
    // to the window's edge: the year pages stay in reach.
    ClientSize(660, 420);
    EXPECT_EQ(Place(ids::ChartFrame).left(), 257);
    EXPECT_EQ(Place(ids::ChartFrame).height(), 185);
    EXPECT_LE(Place(ids::ChartFrame).right(), 659);
    EXPECT_GE(Place(ids::ChartFrame).right(), 650);
    EXPECT_LE(Place(ids::YearPages).right(), 659);
    EXPECT_EQ(Place(ids::PieChart1).height(), 140);
    EXPECT_EQ(Place(ids::IncomeList).bottom() + 1, Place(ids::StatusBar1).top());
    ClientSize(templateSize.width(), templateSize.height());
    expectTemplateParts();
}

}  // namespace
}  // namespace tavrin::finance::testing
