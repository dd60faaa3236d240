// The chart area's layout: it sits under the main page control's tabs (which
// stay whole), grows with the window's width and with half of its extra
// height, and hands the rest of the height to the lists below.
#include "chart_area_layout.h"

#include <QFont>
#include <QTabBar>
#include <algorithm>
#include <cmath>

#include "app_tpl_templates.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/window_system.h"
#include "ui/window_access.h"

namespace tavrin::analysis {

namespace {

namespace ids = app_tpl::ids;
namespace Prop = forms::Prop;
constexpr uint32_t kMain = ids::MainWindow;

// The template's geometry of the parts (the main window is 800 × 600 with its frame).
constexpr int kTemplateWindowHeight = 600;
constexpr int kFrameLeft = 257, kFrameWidth = 534, kFrameHeight = 185;
constexpr int kListTop = 185;                            // in the page
constexpr int kPictureWidth = 88, kPictureHeight = 183;  // the picture's own proportions
constexpr int kMonthHeight = 44, kYearWidth = 43, kChartTabs = 23;
constexpr int kLeastFrameWidth = 300;  // year pages, chart tabs and a readable pie

void Place(uint32_t item, int left, int top, int width, int height) {
    ui::WriteIntProperty(kMain, item, Prop::kLeft, left);
    ui::WriteIntProperty(kMain, item, Prop::kTop, top);
    ui::WriteIntProperty(kMain, item, Prop::kWidth, std::max(0, width));
    ui::WriteIntProperty(kMain, item, Prop::kHeight, std::max(0, height));
}

// The chart pages' tabs run down the left edge: small and without scroll
// arrows, "类型饼图" and "时间曲线图" both fit the template's height whole.
void CompactChartTabs() {
    auto* pages = forms::FindControlAs<forms::PageControl>(kMain, ids::ChartPages);
    if (pages == nullptr || pages->tabBar()->property("compactTabs").toBool()) return;
    QTabBar* bar = pages->tabBar();
    bar->setProperty("compactTabs", true);
    QFont font = bar->font();
    font.setPixelSize(11);
    bar->setFont(font);
    bar->setUsesScrollButtons(false);
    bar->setElideMode(Qt::ElideNone);
    bar->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 2px; }"));
}

}  // namespace

void LayoutChartArea() {
    if (!forms::IsWindowLoaded(kMain)) return;
    CompactChartTabs();
    const int width = ui::ClientWidth(kMain);
    const int height = ui::ClientHeight(kMain);
    const QWidget* client = forms::ClientArea(kMain);
    const int menu = client ? client->geometry().top() : 0;
    const int templateHeight = kTemplateWindowHeight - forms::kFrameHeight - menu;
    const int grow = std::max(0, (height - templateHeight) / 2);

    // Under the main tabs, flush with the page's top, so that no tab is covered.
    const int pageTop = ui::ControlTopInWindow(kMain, ids::IncomeList) -
                        ui::ReadIntProperty(kMain, ids::IncomeList, Prop::kTop);
    const int frameTop = pageTop;
    const int frameHeight = kFrameHeight + grow;
    const int pictureHeight = frameHeight - 2;
    const int pictureWidth =
        int(std::lround(double(pictureHeight) * kPictureWidth / kPictureHeight));
    int frameWidth = std::max(kFrameWidth, width - kFrameLeft - 2 - pictureWidth);
    // A window narrower than the template: the chart area narrows to the
    // window's edge rather than run past it, so that the year pages and the
    // legend stay in reach; the side picture is what goes out of sight.
    if (kFrameLeft + frameWidth > width)
        frameWidth = std::max(kLeastFrameWidth, width - kFrameLeft - 2);

    Place(ids::ChartFrame, kFrameLeft, frameTop, frameWidth, frameHeight);
    Place(ids::MonthPages, 0, 0, frameWidth - kYearWidth + 2, kMonthHeight);
    Place(ids::YearPages, frameWidth - kYearWidth + 2, 1, kYearWidth, frameHeight - 1);
    Place(ids::ChartPages, 0, kMonthHeight - 2, frameWidth - kYearWidth, frameHeight - 43);
    for (uint32_t chart : {ids::PieChart1, ids::LineChart1})
        Place(chart, kChartTabs, 1, frameWidth - kYearWidth - kChartTabs + 2, frameHeight - 45);
    Place(ids::Picture1, kFrameLeft + frameWidth + 1, frameTop + 1, pictureWidth, pictureHeight);

    const int statusHeight = ui::ControlHeight(kMain, ids::StatusBar1);
    for (uint32_t list : {ids::IncomeList, ids::ExpenseList}) {
        const int left = ui::ControlLeft(kMain, list);
        const int top = kListTop + grow;
        Place(list, left, top, width, height - statusHeight - (pageTop + top));
    }
}

}  // namespace tavrin::analysis
