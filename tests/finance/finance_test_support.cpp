// Test support for the finance end-to-end tests.
#include "finance_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QDateTime>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "recordstore/current_database.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"

namespace tavrin::finance::testing {

using namespace tavrin;

std::string G(const std::string& utf8) {
    return Utf8ToGbk(utf8);
}
std::string U(const std::string& gbk) {
    return GbkToUtf8(gbk);
}

double Days(int year, int month, int day, int hour, int minute, int second) {
    const QDateTime t(QDate(year, month, day), QTime(hour, minute, second));
    return forms::DateTimeToDays(t);
}

namespace {

void PollShown(uint32_t window, std::function<bool()> ready, std::function<void()> step,
               int tries) {
    QTimer::singleShot(tries == 300 ? 0 : 10, [=] {
        const bool shown = forms::IsWindowLoaded(window) && forms::WindowWidget(window) &&
                           forms::WindowWidget(window)->isVisible();
        if (shown && (!ready || ready())) {
            step();
        } else if (tries > 0) {
            PollShown(window, ready, step, tries - 1);
        } else {
            ADD_FAILURE() << "window " << std::hex << window << " was never ready";
            if (forms::IsWindowLoaded(window)) forms::CloseWindow(window, false);
        }
    });
}

}  // namespace

QTableView* CategoryGrid(bool income) {
    forms::Control* c =
        forms::FindControl(income ? ids::IncomeCategoryWindow : ids::ExpenseCategoryWindow,
                           income ? ids::IncomeCategoryGrid : ids::ExpenseCategoryGrid);
    return c ? qobject_cast<QTableView*>(c->widget()) : nullptr;
}

void WhenCategoryGridShows(bool income, int rows, std::function<void()> step) {
    WhenShown(
        income ? ids::IncomeCategoryWindow : ids::ExpenseCategoryWindow,
        [=] { return CategoryGrid(income) && CategoryGrid(income)->model()->rowCount() > rows; },
        std::move(step));
}

void ShowRows(uint32_t list, const std::vector<ShownRow>& rows) {
    auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
    l->deleteAll();
    for (const auto& [serial, amount, remark] : rows) {
        const int32_t row = l->insertItem(-1, {}, -1, 0, 0, serial);
        l->setItemText(row, 0, std::to_string(row + 1));
        l->setItemText(row, 1, amount);
        l->setItemText(row, 2, G("工资"));
        l->setItemText(row, 3, G("2012年1月1日"));
        l->setItemText(row, 4, G(remark));
    }
}

void WhenShown(uint32_t window, std::function<bool()> ready, std::function<void()> step) {
    PollShown(window, std::move(ready), std::move(step), 300);
}

void FinanceTest::SetUpTestSuite() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    static int argc = 1;
    static char name[] = "finance_test";
    static char* argv[] = {name, nullptr};
    InstallProgramWindowSystem();
    InitializeForTests(argc, argv, imageSource());
}

void FinanceTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    SetProgramDirectory(Utf8ToGbk(temp_.path().toStdString()), true);
    ResetRunStateForTests();
    SetMessageBoxResponder([this](const MessageBoxRequest& r) {
        shown_.push_back({GbkToUtf8(r.text), GbkToUtf8(r.caption), r.style});
        if (answers_.empty()) return int32_t(kButtonOk);
        const int32_t a = answers_.front();
        answers_.pop_front();
        return a;
    });
}

void FinanceTest::TearDown() {
    for (uint32_t w :
         {ids::ExpenseCategoryWindow, ids::IncomeCategoryWindow, ids::AboutWindow, ids::MainWindow})
        if (forms::IsWindowLoaded(w)) forms::CloseWindow(w, true);
    SettleEvents();
    CallKernel(CloseAllDatabases);
    SetMessageBoxResponder({});
    SetProgramDirectory(Utf8ToGbk(QDir::tempPath().toStdString()), true);
}

std::string FinanceTest::dir() const {
    return temp_.path().toStdString();
}
std::string FinanceTest::path(const std::string& utf8Name) const {
    return dir() + "/" + utf8Name;
}

void FinanceTest::StartProgram() {
    ASSERT_TRUE(forms::LoadWindow(ids::MainWindow, 0, false, true));
    SettleEvents();
}

void FinanceTest::RestartProgram() {
    forms::CloseWindow(ids::MainWindow, true);
    SettleEvents();
    CallKernel(CloseAllDatabases);
    ResetRunStateForTests();
    StartProgram();
}

std::vector<ShownMessage> FinanceTest::TakeMessages() {
    std::vector<ShownMessage> out;
    out.swap(shown_);
    return out;
}

void FinanceTest::AnswerNext(int32_t button) {
    answers_.push_back(button);
}

namespace {

void WriteItems(const char* file, const char* const fields[4], const std::vector<Item>& items) {
    ArrayBlock* array = NewFieldInfArray(4);
    FieldInf* f = FieldInfElements(array);
    const int32_t types[4] = {10, 5, 8, 10};
    const int32_t sizes[4] = {20, 20, 20, 50};
    std::string names[4];
    for (int i = 0; i < 4; ++i) {
        names[i] = G(fields[i]);
        f[i].name = names[i].c_str();
        f[i].type = types[i];
        f[i].size = sizes[i];
    }
    const std::string name = G(file);
    ASSERT_TRUE(
        CallKernel(CreateDatabase, MakeTextRef(name.c_str()), MakeFieldInfArray(array)).asBool());
    Free(array);
    ASSERT_TRUE(CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool());
    for (const Item& item : items) {
        ASSERT_TRUE(CallKernel(AppendBlankRecord).asBool());
        const std::string category = G(item.category), remark = G(item.remark);
        CallKernel(WriteField, MakeTextRef(names[0].c_str()), MakeTextRef(category.c_str()));
        CallKernel(WriteField, MakeTextRef(names[1].c_str()), MakeFloat(item.amount));
        CallKernel(WriteField, MakeTextRef(names[2].c_str()), MakeDateTime(item.time));
        CallKernel(WriteField, MakeTextRef(names[3].c_str()), MakeTextRef(remark.c_str()));
    }
    CallKernel(CloseDatabase);
}

}  // namespace

void FinanceTest::WriteIncomeFile(const std::vector<Item>& items) {
    static const char* const fields[4] = {"收入类型", "收入金额", "收入时间", "收入备注信息"};
    WriteItems("财务收入.edb", fields, items);
}

void FinanceTest::WriteExpenseFile(const std::vector<Item>& items) {
    static const char* const fields[4] = {"支出类型", "支出金额", "支出时间", "备注信息"};
    WriteItems("财务支出.edb", fields, items);
}

void FinanceTest::WriteCategoryFile(bool income, const std::vector<std::string>& texts) {
    const std::string name = G(income ? "收入类型.edb" : "支出类型.edb");
    const std::string field = G(income ? "收入类型值" : "支出类型值");
    ArrayBlock* array = NewFieldInfArray(1);
    FieldInf* f = FieldInfElements(array);
    f->name = field.c_str();
    f->type = 10;
    f->size = 20;
    ASSERT_TRUE(
        CallKernel(CreateDatabase, MakeTextRef(name.c_str()), MakeFieldInfArray(array)).asBool());
    Free(array);
    ASSERT_TRUE(CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool());
    for (const std::string& t : texts) {
        CallKernel(AppendBlankRecord);
        const std::string g = G(t);
        CallKernel(WriteField, MakeTextRef(field.c_str()), MakeTextRef(g.c_str()));
    }
    CallKernel(CloseDatabase);
}

std::vector<std::string> FinanceTest::FieldsOf(const std::string& utf8Name) {
    std::vector<std::string> out;
    const std::string name = G(utf8Name);
    if (!CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool()) return out;
    for (const rs::FieldInfo& f : rs::CurrentDatabaseFields())
        out.push_back(U(f.name) + ":" + std::to_string(f.type) + ":" + std::to_string(f.size));
    CallKernel(CloseDatabase);
    return out;
}

int32_t FinanceTest::RecordCountOf(const std::string& utf8Name) {
    const std::string name = G(utf8Name);
    if (!CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool()) return -1;
    const int32_t n = CallKernel(GetRecordCount).asInt();
    CallKernel(CloseDatabase);
    return n;
}

std::vector<std::string> FinanceTest::TextsOf(const std::string& utf8Name,
                                              const std::string& utf8Field) {
    std::vector<std::string> out;
    const std::string name = G(utf8Name), field = G(utf8Field);
    if (!CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool()) return out;
    const int32_t n = CallKernel(GetRecordCount).asInt();
    CallKernel(GoToFirstRecord);
    for (int32_t i = 0; i < n; ++i) {
        const Value v = CallKernel(ReadField, MakeTextRef(field.c_str()));
        out.push_back(U(std::string(TextOf(v))));
        Free(v.pointer());
        CallKernel(SkipRecords, MakeInt(1));
    }
    CallKernel(CloseDatabase);
    return out;
}

std::vector<float> FinanceTest::AmountsOf(const std::string& utf8Name,
                                          const std::string& utf8Field) {
    std::vector<float> out;
    const std::string name = G(utf8Name), field = G(utf8Field);
    if (!CallKernel(OpenDatabase, MakeTextRef(name.c_str())).asBool()) return out;
    const int32_t n = CallKernel(GetRecordCount).asInt();
    CallKernel(GoToFirstRecord);
    for (int32_t i = 0; i < n; ++i) {
        out.push_back(CallKernel(ReadField, MakeTextRef(field.c_str())).asFloat());
        CallKernel(SkipRecords, MakeInt(1));
    }
    CallKernel(CloseDatabase);
    return out;
}

QWidget* FinanceTest::Widget(uint32_t control, uint32_t window) {
    forms::Control* c = forms::FindControl(window, control);
    return c ? c->widget() : nullptr;
}

std::string FinanceTest::Pane(int32_t pane) {
    auto* s = forms::FindControlAs<forms::StatusBarControl>(ids::MainWindow, ids::StatusBar1);
    return s ? U(s->paneText(pane)) : std::string("<no status bar>");
}

std::vector<std::vector<std::string>> FinanceTest::Rows(uint32_t list) {
    std::vector<std::vector<std::string>> rows;
    auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
    if (!l) return rows;
    for (int32_t r = 0; r < l->itemCount(); ++r) {
        rows.emplace_back();
        for (int32_t c = 0; c < l->columnCount(); ++c) rows.back().push_back(U(l->itemText(r, c)));
    }
    return rows;
}

std::vector<std::string> FinanceTest::Column(uint32_t list, size_t column) {
    std::vector<std::string> out;
    for (const std::vector<std::string>& row : Rows(list)) out.push_back(row.at(column));
    return out;
}

std::vector<std::string> FinanceTest::ComboEntries(uint32_t combo) {
    std::vector<std::string> out;
    auto* c = forms::FindControlAs<forms::ComboControl>(ids::MainWindow, combo);
    if (!c) return out;
    for (int32_t i = 0; i < c->count(); ++i) out.push_back(U(c->itemText(i)));
    return out;
}

std::string FinanceTest::ComboText(uint32_t combo) {
    auto* c = forms::FindControlAs<forms::ComboControl>(ids::MainWindow, combo);
    return c ? U(c->text()) : std::string();
}

void FinanceTest::Click(uint32_t control, uint32_t window) {
    QWidget* w = Widget(control, window);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

void FinanceTest::ClickToolButton(int32_t index) {
    auto* bar = forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1);
    ASSERT_NE(bar, nullptr);
    QToolButton* b = bar->button(index);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
}

void FinanceTest::ClickRow(uint32_t list, int32_t row, bool right) {
    auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
    ASSERT_NE(l, nullptr);
    l->model()->flush();
    auto* view = l->view();
    const QRect rect = view->visualRect(l->model()->index(row, 1));
    ASSERT_TRUE(rect.isValid()) << "row " << row << " not visible";
    QTest::mouseClick(view->viewport(), right ? Qt::RightButton : Qt::LeftButton, {},
                      rect.center());
}

}  // namespace tavrin::finance::testing
