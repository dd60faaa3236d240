// The fixture of the tests of the analysis part on the program's real windows:
// the finance fixture with the charts, period views and printing installed,
// the main window's page tabs and its pie.
#pragma once

#include <QTabBar>
#include <string>
#include <utility>
#include <vector>

#include "analysis/charts/pie_chart.h"
#include "app/program_wiring.h"
#include "chart_controls.h"
#include "finance_test_support.h"
#include "forms/page_control.h"

namespace tavrin::finance::testing {

class AnalysisTest : public FinanceTest {
  protected:
    // The charts and printed tables are installed before the application starts, as the
    // program's own start does.
    static void SetUpTestSuite() {
        app::InstallChartsAndPrinting();
        imageSource = &app::ProgramImage;
        FinanceTest::SetUpTestSuite();
    }

    forms::PageControl* Pages(uint32_t pageControl) {
        return forms::FindControlAs<forms::PageControl>(ids::MainWindow, pageControl);
    }
    // Selects a page by its caption, as a click on the tab does.
    void SelectPage(uint32_t pageControl, const std::string& utf8Title) {
        forms::PageControl* pages = Pages(pageControl);
        ASSERT_NE(pages, nullptr);
        for (int32_t p = 0; p < pages->pageCount(); ++p) {
            if (U(pages->pageTitle(p)) == utf8Title) {
                pages->tabBar()->setCurrentIndex(p);
                SettleEvents();
                return;
            }
        }
        FAIL() << "no page " << utf8Title;
    }

    charts::PieChart* Pie() {
        auto* pie =
            dynamic_cast<charts::PieChart*>(analysis::FindChart(ids::MainWindow, ids::PieChart1));
        EXPECT_NE(pie, nullptr);
        return pie;
    }
    // The pie's items as (name UTF-8, value); none when there is no pie.
    std::vector<std::pair<std::string, double>> PieItems() {
        std::vector<std::pair<std::string, double>> out;
        charts::PieChart* pie = Pie();
        for (int32_t i = 0; pie && i < pie->itemCount(); ++i)
            out.emplace_back(U(pie->item(i).name), pie->item(i).value);
        return out;
    }
};

}  // namespace tavrin::finance::testing
