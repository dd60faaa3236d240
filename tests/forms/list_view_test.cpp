// The report list view's C++ API over its compact model, and its size and
// speed at a million rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QHeaderView>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/gbk.h"
#include "test_support.h"

using namespace tavrin;
using namespace tavrin::forms;
using namespace formtest;

namespace {

constexpr uint32_t W = ids::TestWindow;

class ListViewTest : public testing::Test {
  protected:
    void SetUp() override {
        SetUpWindowLayer();
        ResetWindows();
        ASSERT_TRUE(LoadWindow(W));
        list = FindControlAs<ReportListControl>(W, ids::IncomeList);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override { ResetWindows(); }
    ReportListControl* list = nullptr;
};

size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * size_t(sysconf(_SC_PAGESIZE));
}

TEST_F(ListViewTest, RowsCellsAndTheirWords) {
    EXPECT_EQ(list->itemCount(), 0);
    EXPECT_EQ(list->insertItem(-1, "1"), 0);
    EXPECT_EQ(list->insertItem(-1, "3"), 1);
    EXPECT_EQ(list->insertItem(1, "2"), 1);   // inserted between
    EXPECT_EQ(list->insertItem(99, "4"), 3);  // beyond the end appends
    ASSERT_EQ(list->itemCount(), 4);
    EXPECT_EQ(list->itemText(1, 0), "2");
    EXPECT_EQ(list->itemText(2, 0), "3");
    list->setItemText(1, 2, Utf8ToGbk("工资"));
    list->setItemText(1, 4, Utf8ToGbk("很长的备注信息很长的备注信息"));
    list->setItemText(1, 4, "short");  // rewritten in place
    EXPECT_EQ(GbkToUtf8(list->itemText(1, 2)), "工资");
    EXPECT_EQ(list->itemText(1, 4), "short");
    EXPECT_EQ(list->itemText(1, 9), "");  // no such column
    EXPECT_EQ(list->itemText(-1, 0), "");
    list->setItemData(2, 77);
    EXPECT_EQ(list->itemData(2), 77);
    list->setCheckState(3, 1);
    EXPECT_EQ(list->checkState(3), 1);
    EXPECT_EQ(list->checkState(0), 0);
    list->setItemImage(2, 1, 4);
    EXPECT_EQ(list->itemImage(2, 1), 4);
    EXPECT_EQ(list->itemImage(0, 1), -1);
    // Deleting shifts the later rows with all their words.
    EXPECT_TRUE(list->deleteItem(1));
    EXPECT_FALSE(list->deleteItem(10));
    EXPECT_EQ(list->itemText(1, 0), "3");
    EXPECT_EQ(list->itemData(1), 77);
    EXPECT_EQ(list->itemImage(1, 1), 4);
    EXPECT_EQ(list->checkState(2), 1);
    // The view shows what the storage holds, converted from GBK.
    Pump();
    list->setItemText(0, 2, Utf8ToGbk("奖金"));
    EXPECT_EQ(list->model()->data(list->model()->index(0, 2), Qt::DisplayRole).toString(),
              QString::fromUtf8("奖金"));
    list->deleteAll();
    EXPECT_EQ(list->itemCount(), 0);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(ListViewTest, ColumnsSelectionAndWidths) {
    ASSERT_EQ(list->columnCount(), 5);
    EXPECT_EQ(GbkToUtf8(list->columnTitle(1)), "收入金额");
    EXPECT_EQ(list->columnAlign(1), 2);
    EXPECT_EQ(list->columnAlign(2), 1);
    EXPECT_EQ(list->columnWidth(3), 160);
    EXPECT_EQ(list->columnTitle(5), "");
    list->setColumnWidth(0, 80);
    EXPECT_EQ(list->columnWidth(0), 80);
    for (int i = 0; i < 3; ++i) list->insertItem(-1, std::string(30 + i, 'W'));
    list->setColumnWidth(0, -1);  // fit the contents
    EXPECT_GT(list->columnWidth(0), 150);
    list->setColumnWidth(0, -2);  // fit the header
    EXPECT_LT(list->columnWidth(0), 100);
    EXPECT_EQ(list->currentRow(), -1);
    list->setCurrentRow(2);
    EXPECT_EQ(list->currentRow(), 2);
    list->setCurrentRow(-1);
    EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(ListViewTest, AMillionRowsAppendQuicklyAndCompactly) {
    const size_t before = ResidentBytes();
    const auto start = std::chrono::steady_clock::now();
    char buf[32];
    for (int r = 0; r < 1000000; ++r) {
        std::snprintf(buf, sizeof buf, "%d", r + 1);
        const int32_t row = list->insertItem(-1, buf);
        list->setItemText(row, 1, "1234.50");
        list->setItemText(row, 2, "\xb9\xa4\xd7\xca");  // GBK 工资
        list->setItemText(row, 3,
                          "2012\xc4\xea"
                          "5\xd4\xc2"
                          "1\xc8\xd5");
        list->setItemText(row, 4, "remark");
    }
    Pump(1);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = double(ResidentBytes() - before) / (1 << 20);
    std::printf("1e6 rows x 5 columns: %.2f s, %.0f MB\n", seconds, megabytes);
#ifdef __SANITIZE_ADDRESS__
    const double slowdown = 4;  // instrumented code in the sanitizer build
#else
    const double slowdown = 1;
#endif
    EXPECT_LT(seconds, 2.0 * slowdown);
    EXPECT_LT(megabytes, 400.0);
    ASSERT_EQ(list->model()->rowCount(), 1000000);
    // Scrolling to the end and reading a far row stay cheap.
    const auto scroll = std::chrono::steady_clock::now();
    list->ensureVisible(999999);
    Pump(1);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - scroll).count(),
              0.5);
    EXPECT_EQ(list->itemText(999999, 0), "1000000");
    const QRect last = list->view()->visualRect(list->model()->index(999999, 0));
    EXPECT_TRUE(list->view()->viewport()->rect().intersects(last));
}

}  // namespace
