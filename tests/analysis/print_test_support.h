// The fixture of the printing tests: the program's real windows over a
// temporary program directory, the print settings window driven as a person does.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/analysis_setup.h"
#include "analysis_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/value.h"
#include "table/data_source.h"
#include "table/print_preview.h"

namespace tavrin::finance::testing {

constexpr uint32_t kSettings = ids::PrintSettingsWindow;
constexpr uint32_t kBackground = ids::PrintBackgroundWindow;
inline const char* const kChildDir = "TAVRIN_PRINT_CHILD_SETTINGS";

class PrintTest : public AnalysisTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        const char* child = std::getenv(kChildDir);
        SetSettingsDirectory(child ? child : dir() + "/config");
        AnswerNoDialog();
    }
    // A dialog nobody in the test answers fails the test (and is cancelled),
    // instead of waiting for a person.
    static void AnswerNoDialog() {
        SetDialogResponder([](const DialogRequest& r) -> std::optional<DialogReply> {
            ADD_FAILURE() << "a " << r.kind << " dialog that the test does not answer";
            return DialogReply{};
        });
    }
    // The preview printed to `pdf`: the PDF file named in the save dialog when
    // the system has no printer, else the printer dialog's output file. The
    // requests shown are kept in `asked` when given.
    bool PrintPreviewTo(const QString& pdf, std::vector<DialogRequest>* asked = nullptr) {
        SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
            if (asked) asked->push_back(r);
            DialogReply reply{r.kind == "print" || r.kind == "save-file", {}};
            reply.fields[r.kind == "print" ? "output" : "file"] = pdf.toStdString();
            return reply;
        });
        const bool printed = Preview() != nullptr && Preview()->print();
        AnswerNoDialog();
        return printed;
    }
    // The settings window opened from the tool bar, `choose` run on it, then 打印预览.
    template <typename Choose>
    void PreviewWith(Choose choose) {
        OpenSettings();
        choose();
        ClickIn(ids::PrintPreviewButton);
        SettleEvents();
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<table::PrintPreviewWindow*>(w)) w->close();
        for (uint32_t w : {ids::FormulaWindow, kSettings, kBackground})
            if (forms::IsWindowLoaded(w)) forms::CloseWindow(w, true);
        SettleEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetSettingsDirectory("");
        SetDialogResponder({});
        FinanceTest::TearDown();
    }

    template <typename T>
    T* Get(uint32_t id, uint32_t window = kSettings) {
        T* c = forms::FindControlAs<T>(window, id);
        EXPECT_NE(c, nullptr) << std::hex << id;
        return c;
    }
    void OpenSettings() {
        ClickToolButton(7);
        SettleEvents();
        ASSERT_TRUE(forms::IsWindowLoaded(kSettings));
    }
    std::string EditText(uint32_t id) { return U(Get<forms::EditControl>(id)->text()); }
    void Type(uint32_t id, const std::string& utf8) {
        QLineEdit* e = Get<forms::EditControl>(id)->lineEdit();
        e->clear();
        for (QChar c : QString::fromStdString(utf8))
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), {});
    }
    bool Ticked(uint32_t id) { return Get<forms::CheckControl>(id)->isChecked(); }
    void ClickIn(uint32_t id) { Click(id, kSettings); }
    std::vector<std::string> Entries(uint32_t id) {
        auto* l = Get<forms::ListBoxControl>(id);
        std::vector<std::string> out;
        for (int32_t i = 0; i < l->count(); ++i) out.push_back(U(l->itemText(i)));
        return out;
    }
    // Ticks or unticks an entry as the person does (the list raises its event).
    void TickEntry(uint32_t id, const std::string& utf8, bool on = true) {
        QListWidget* l = Get<forms::ListBoxControl>(id)->list();
        const auto found = l->findItems(QString::fromStdString(utf8), Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << utf8;
        found.front()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    // The page settings a person changes most: the title, rows per page, the
    // font size, page numbers below the middle, landscape, and custom row
    // colours with an odd-row colour of its own.
    void ChoosePageSettings() {
        Type(ids::PrintTitleEdit, "家庭收入");
        Type(ids::RowsPerPageEdit, "25");
        Type(ids::FontSizeEdit, "40");
        Get<forms::ComboControl>(ids::PageNumberCombo)->setCurrent(5);
        ClickIn(ids::LandscapeRadio);
        ClickIn(ids::CustomRowsCheck);
        Get<forms::ColorPickerControl>(ids::OddRowColor)->setColor(0x112233);
    }
    // The settings window shows what ChoosePageSettings chose.
    void ExpectPageSettingsChosen() {
        EXPECT_EQ(EditText(ids::PrintTitleEdit), "家庭收入");
        EXPECT_EQ(EditText(ids::RowsPerPageEdit), "25");
        EXPECT_EQ(EditText(ids::FontSizeEdit), "40");
        EXPECT_EQ(Get<forms::ComboControl>(ids::PageNumberCombo)->current(), 5);
        EXPECT_TRUE(Ticked(ids::LandscapeRadio));
        EXPECT_TRUE(Ticked(ids::CustomRowsCheck));
        EXPECT_EQ(Get<forms::ColorPickerControl>(ids::OddRowColor)->color(), 0x112233u);
    }
    // The title font as the font dialog gives it (WenQuanYi Micro Hei); only
    // the font dialog may be asked.
    void ChooseTitleFont(int size, bool bold) {
        SetDialogResponder([=](const DialogRequest& r) -> std::optional<DialogReply> {
            EXPECT_EQ(r.kind, "font");
            return DialogReply{r.kind == "font",
                               {{"face", "WenQuanYi Micro Hei"},
                                {"size", std::to_string(size)},
                                {"bold", bold ? "1" : "0"}}};
        });
        ClickIn(ids::TitleFontButton);
        AnswerNoDialog();
    }
    void AddFormula(const std::string& title, const std::string& formula) {
        WhenShown(ids::FormulaWindow, nullptr, [=, this] {
            Get<forms::EditControl>(ids::FormulaTitleEdit, ids::FormulaWindow)
                ->lineEdit()
                ->setText(QString::fromStdString(title));
            Get<forms::EditControl>(ids::FormulaEdit, ids::FormulaWindow)
                ->lineEdit()
                ->setText(QString::fromStdString(formula));
            Click(ids::FormulaOkButton, ids::FormulaWindow);
        });
        ClickIn(ids::AddFormulaButton);
        SettleEvents();
    }
    std::string Stored(const char* utf8Name) {
        const std::string path = G(std::string("software\\打印设置\\") + utf8Name);
        const Value v = CallKernel(ReadRegistryText, MakeInt(3), MakeTextRef(path.c_str()));
        std::string out = U(std::string(TextOf(v)));
        Free(v.pointer());
        return out;
    }
    int32_t StoredInt(const char* utf8Name) {
        const std::string path = G(std::string("software\\打印设置\\") + utf8Name);
        return CallKernel(ReadRegistryInt, MakeInt(3), MakeTextRef(path.c_str()), MakeInt(-99))
            .asInt();
    }
    void Store(const char* utf8Name, const std::string& utf8Text) {
        const std::string path = G(std::string("software\\打印设置\\") + utf8Name);
        const std::string text = G(utf8Text);
        CallKernel(WriteRegistry, MakeInt(3), MakeTextRef(path.c_str()), MakeTextRef(text.c_str()));
    }
    void StoreInt(const char* utf8Name, int32_t v) {
        const std::string path = G(std::string("software\\打印设置\\") + utf8Name);
        CallKernel(WriteRegistry, MakeInt(3), MakeTextRef(path.c_str()), MakeInt(v));
    }

    // The print table of the background window.
    table::CellModel* Table() {
        auto* s = forms::FindControlAs<table::DataSourceControl>(kBackground, ids::PrintSource);
        return s ? s->cells() : nullptr;
    }
    std::string Cell(int32_t row, int32_t column) {  // 1-based, UTF-8
        return U(Table()->text(row - 1, column - 1));
    }
    std::vector<std::string> Row(int32_t row) {  // every cell of it
        std::vector<std::string> out;
        for (int32_t c = 1; c <= Table()->columnCount(); ++c) out.push_back(Cell(row, c));
        return out;
    }
    // The text of every page of a PDF file, as pdftotext reads it.
    static QStringList PageTexts(const QString& pdf) {
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        text.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f');
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
        return pages;
    }
    table::PrintPreviewWindow* Preview() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<table::PrintPreviewWindow*>(w); p && p->isVisible())
                return p;
        return nullptr;
    }

    // Items with the given amounts (categories and days cycle).
    void WriteAmounts(const std::vector<float>& amounts) {
        std::vector<Item> items;
        for (size_t i = 0; i < amounts.size(); ++i)
            items.push_back({i % 2 ? "工资" : "奖金", amounts[i],
                             Days(2012, 1 + int(i % 12), 1 + int(i % 28)), "备注"});
        WriteIncomeFile(items);
    }
};

}  // namespace tavrin::finance::testing
