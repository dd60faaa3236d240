// End-to-end test support: the real program logic on offscreen widgets in a
// temporary program directory, message boxes answered and recorded, and the
// data files written and read with the record commands.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app_tpl_templates.h"
#include "finance/start_routine.h"
#include "settle_events.h"

class QTableView;
class QWidget;
namespace tavrin::forms {}
namespace tavrin::rs {}

namespace tavrin::finance::testing {

namespace ids = app_tpl::ids;
namespace forms = tavrin::forms;
namespace rs = tavrin::rs;

// UTF-8 ⇄ GBK for assertions.
std::string G(const std::string& utf8);
std::string U(const std::string& gbk);

struct ShownMessage {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    uint32_t style = 0;
};

struct Item {
    std::string category;  // UTF-8
    float amount = 0;
    double time = 0;     // days since 1899-12-30
    std::string remark;  // UTF-8
};

// Days since 1899-12-30 of a local date and time.
double Days(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Runs `step` inside a modal window's nested loop once the window is shown and
// `ready` holds (a creation handler may let queued events run before it ends).
// Gives up after about three seconds and closes the window.
void WhenShown(uint32_t window, std::function<bool()> ready, std::function<void()> step);

// The grid of the income or the expense category editor; null while the
// editor is not open.
QTableView* CategoryGrid(bool income);
// Runs `step` inside the category editor's nested loop once its grid shows
// more than `rows` rows (the file's values and the line for a new one).
void WhenCategoryGridShows(bool income, int rows, std::function<void()> step);

class FinanceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    // The program image the suite starts: the record keeping's own; the
    // analysis tests start the whole program's.
    static inline tavrin::ApplicationImage (*imageSource)() = &finance::ProgramImage;
    void SetUp() override;
    void TearDown() override;

    // The program directory (UTF-8) and a file in it.
    std::string dir() const;
    std::string path(const std::string& utf8Name) const;

    // Loads the main window as the start routine does (MainWindowStartUp runs).
    void StartProgram();
    // Closes the main window and starts afresh over the same files, as the next
    // run of the program would.
    void RestartProgram();

    // Messages shown since the last call; answers for the next boxes (OK when none).
    std::vector<ShownMessage> TakeMessages();
    void AnswerNext(int32_t button);

    // Files: item files with the program's fields, category files with one field.
    void WriteIncomeFile(const std::vector<Item>& items);
    void WriteExpenseFile(const std::vector<Item>& items);
    void WriteCategoryFile(bool income, const std::vector<std::string>& utf8Texts);
    // Two categories a side: 工资 and 奖金, 餐饮 and 交通.
    void WriteTwoCategoriesASide() {
        WriteCategoryFile(true, {"工资", "奖金"});
        WriteCategoryFile(false, {"餐饮", "交通"});
    }
    // Field names, types and sizes of a record file ("name:type:size" each, UTF-8).
    std::vector<std::string> FieldsOf(const std::string& utf8Name);
    int32_t RecordCountOf(const std::string& utf8Name);
    // Every record's texts of one field (UTF-8), and amounts.
    std::vector<std::string> TextsOf(const std::string& utf8Name, const std::string& utf8Field);
    std::vector<float> AmountsOf(const std::string& utf8Name, const std::string& utf8Field);

    // Main-window widgets and texts.
    QWidget* Widget(uint32_t control, uint32_t window = ids::MainWindow);
    std::string Pane(int32_t pane);
    std::vector<std::vector<std::string>> Rows(uint32_t list);
    std::vector<std::string> Column(uint32_t list, size_t column);  // of every row
    std::vector<std::string> ComboEntries(uint32_t combo);
    std::string ComboText(uint32_t combo);
    void Click(uint32_t control, uint32_t window = ids::MainWindow);
    void ClickToolButton(int32_t index);
    void ClickRow(uint32_t list, int32_t row, bool right = false);

  private:
    QTemporaryDir temp_;
    std::vector<ShownMessage> shown_;
    std::deque<int32_t> answers_;
};

// The fixture of the tests that enter items: two categories a side written
// before each test.
class EntryTest : public FinanceTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        WriteTwoCategoriesASide();
    }
};

// A row of a main-window list as a sort or a period view leaves it: the
// record's serial, its amount and remark (UTF-8); category 工资 on 2012-01-01.
struct ShownRow {
    int32_t serial;
    std::string amount, remark;
};
// Fills the list with these rows, numbered in this order.
void ShowRows(uint32_t list, const std::vector<ShownRow>& rows);

}  // namespace tavrin::finance::testing
