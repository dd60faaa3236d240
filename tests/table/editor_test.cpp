// A grid over a record file through the database provider: the editor's
// cell limit in GBK bytes, records added, renamed and deleted in the file,
// and the file closed by the time the window's event 2 runs.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include "forms/properties.h"
#include "recordstore/detached_database.h"
#include "recordstore/record_commands.h"
#include "table_fixture.h"

using namespace table_test;

namespace {

void Key(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

QLineEdit* CellEditor(QTableView* view) {
    for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

// Types into the cell one character at a time, as a person does; the editor's
// text afterwards.
QString TypeIntoCell(QTableView* view, int row, const QString& text) {
    view->setFocus();
    view->setCurrentIndex(view->model()->index(row, 0));
    Key(view, Qt::Key_F2);
    QLineEdit* editor = CellEditor(view);
    if (!editor) return QStringLiteral("<no editor>");
    editor->selectAll();
    for (QChar ch : text) Key(editor, Qt::Key_A, QString(ch));
    const QString typed = editor->text();
    Key(editor, Qt::Key_Return);
    SettleEvents();
    return typed;
}

std::vector<std::string> Texts(const std::string& gbkPath) {
    rs::DetachedDatabase db;
    std::vector<std::string> out;
    if (db.open(gbkPath, false, 4) != rs::Code::kOk) return {"<in use>"};  // exclusive
    const int32_t n = db.recordCount();
    for (int32_t i = 0; i < n; ++i) {
        std::string bytes;
        EXPECT_EQ(db.readField(i, 0, &bytes), rs::Code::kOk);
        out.emplace_back(GbkToUtf8(bytes.c_str()));
    }
    return out;
}

TEST(DatabaseProviderTest, TheGridEditsTheFileWithinTheFieldWidthAndEvent2FindsItClosed) {
    StartWindowSystemOnce();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("types.edb")).toStdString();
    {
        const std::string field = G("类型值");
        ArrayBlock* array = NewFieldInfArray(1);
        FieldInfElements(array)[0] = FieldInf{field.c_str(), 10, 20};
        ASSERT_TRUE(CallKernel(CreateDatabase, MakeTextRef(path.c_str()), MakeFieldInfArray(array))
                        .asBool());
        Free(array);
    }
    ASSERT_TRUE(forms::LoadWindow(ids::EditorWindow));
    WriteProperty(ids::EditorWindow, ids::EditorProvider, forms::Prop::kOwn + 0, -1,
                  uint32_t(reinterpret_cast<uintptr_t>(path.c_str())),
                  uint32_t(uint64_t(reinterpret_cast<uintptr_t>(path.c_str())) >> 32));
    CallKernel(DsRefresh, MakeControlRef(ids::EditorWindow, ids::EditorSource,
                                         forms::TypeId::kTableDataSource));
    SettleEvents();
    auto* view =
        qobject_cast<QTableView*>(forms::FindControl(ids::EditorWindow, ids::EditorGrid)->widget());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 1);  // no records, the new-row line
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("类型值"));
    QApplication::setActiveWindow(view->window());
    view->setFocus();

    // Twelve characters typed: the editor takes ten (20 GBK bytes) and says so by not taking more.
    EXPECT_EQ(TypeIntoCell(view, 0, QStringLiteral("一二三四五六七八九十壹贰")),
              QStringLiteral("一二三四五六七八九十"));
    // Nineteen bytes of letters leave no room for a double-byte character.
    EXPECT_EQ(TypeIntoCell(view, 1, QStringLiteral("abcdefghijklmnopqrs字t")),
              QStringLiteral("abcdefghijklmnopqrst"));
    EXPECT_EQ(TypeIntoCell(view, 2, QStringLiteral("奖金")), QStringLiteral("奖金"));
    EXPECT_EQ(TypeIntoCell(view, 0, QStringLiteral("工资")), QStringLiteral("工资"));
    view->setCurrentIndex(view->model()->index(1, 0));
    Key(view, Qt::Key_Delete);
    EXPECT_EQ(view->model()->rowCount(), 3);

    // Event 2 comes after the provider let go of the file: an exclusive open works.
    std::vector<std::string> seen;
    OnEditorDestroyed() = [&] { seen = Texts(path); };
    forms::CloseWindow(ids::EditorWindow, false);
    SettleEvents();
    OnEditorDestroyed() = nullptr;
    EXPECT_FALSE(forms::IsWindowLoaded(ids::EditorWindow));
    EXPECT_EQ(seen, (std::vector<std::string>{"工资", "奖金"}));
}

}  // namespace
