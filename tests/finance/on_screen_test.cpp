// The main window on a real X server (run_on_xvfb.sh), driven by real mouse
// events from xdotool: the pop-up menu of a list closes and runs its command
// while the person goes on clicking, and repeated deletes never hit a row the
// person did not choose.
#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

// Counts the events of one type that reach the objects it watches, passing them on.
class EventCounter : public QObject {
  public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) ++count;
        return false;
    }

  private:
    QEvent::Type type_;
};

class OnScreenTest : public FinanceTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run through run_on_xvfb.sh";
        WriteCategoryFile(true, {"工资", "奖金"});
        WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "一"},
                         {"奖金", 20, Days(2012, 1, 2), "二"},
                         {"工资", 30, Days(2012, 1, 3), "三"}});
        StartProgram();
        main_ = forms::WindowWidget(ids::MainWindow);
        ASSERT_NE(main_, nullptr);
        main_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_));
        list_ = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
        ASSERT_NE(list_, nullptr);
    }

    // A real click of the X server's pointer at a point of a widget.
    static void XClick(QWidget* w, QPoint at, int button) {
        EventCounter released(QEvent::MouseButtonRelease);
        qApp->installEventFilter(&released);
        const QPoint p = w->mapToGlobal(at);
        const int rc = QProcess::execute(
            "xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y()), "click",
                        QString::number(button)});
        ASSERT_EQ(rc, 0) << "xdotool failed";
        // The click travels through the X server; it is done when the button's
        // release has come through the event loop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return released.count > 0; }, 5000))
            << "the click never reached the program";
    }
    void XClickRow(int row, int button) {
        list_->model()->flush();
        const QRect r = list_->view()->visualRect(list_->model()->index(row, 1));
        ASSERT_TRUE(r.isValid());
        XClick(list_->view()->viewport(), r.center(), button);
    }
    // Right-clicks a row and chooses an entry of the pop-up menu that opens.
    void ChooseFromPopup(int row, const QString& entry) {
        XClickRow(row, 3);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return forms::LastPopupMenu() && forms::LastPopupMenu()->isVisible(); }));
        QMenu* menu = forms::LastPopupMenu();
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == entry) chosen = a;
        ASSERT_NE(chosen, nullptr) << entry.toStdString();
        XClick(menu, menu->actionGeometry(chosen).center(), 1);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !forms::LastPopupMenu() || !forms::LastPopupMenu()->isVisible(); }));
        // The chosen entry's command is posted, to run once the menu is done.
        QCoreApplication::sendPostedEvents();
    }
    std::string Amount() {
        return U(forms::FindControlAs<forms::EditControl>(ids::MainWindow, ids::IncomeAmountEdit)
                     ->text());
    }

    QWidget* main_ = nullptr;
    forms::ReportListControl* list_ = nullptr;
};

TEST_F(OnScreenTest, ViewFromThePopUpMenuThenAClickInTheList) {
    ChooseFromPopup(1, "查看");
    EXPECT_EQ(Amount(), "20");
    XClickRow(2, 1);
    EXPECT_EQ(Amount(), "30");
    XClickRow(0, 1);
    EXPECT_EQ(Amount(), "10");
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(OnScreenTest, DeleteFromThePopUpMenuThenAClickInTheList) {
    XClickRow(1, 1);
    ChooseFromPopup(1, "删除");
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{10, 30}));
    EXPECT_EQ(Pane(1), "40元");
    XClickRow(1, 1);
    EXPECT_EQ(Amount(), "30");
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(OnScreenTest, ASecondClickOnDeleteAsksForARowInsteadOfDeletingTheNext) {
    QWidget* del = Widget(ids::IncomeDeleteButton);
    XClickRow(0, 1);
    XClick(del, del->rect().center(), 1);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{20, 30}));
    EXPECT_EQ(list_->currentRow(), -1);
    EXPECT_TRUE(TakeMessages().empty());
    XClick(del, del->rect().center(), 1);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "请选中需要删除的某条记录.");
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{20, 30}));
    EXPECT_EQ(Pane(1), "50元");
}

TEST_F(OnScreenTest, AfterTheWindowGrowsTheListsHeaderAndRowsReachItsNewEdge) {
    XClickRow(0, 1);  // row 0 selected, row 1 in the alternate colour, row 2 plain
    const int oldWidth = list_->view()->width();
    const QString id = QString::number(main_->winId());
    ASSERT_EQ(QProcess::execute("xdotool", {"windowsize", id, "1000", "700"}), 0);
    auto* view = list_->view();
    // Done when the list has been painted at its new width.
    EventCounter painted(QEvent::Paint);
    view->viewport()->installEventFilter(&painted);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return main_->size() == QSize(1000, 700) && view->width() == 1000 && painted.count > 0;
        },
        5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(view->width(), 1000);
    ASSERT_GT(view->width(), oldWidth + 100);
    // Take the colours the person sees: the widgets as they were last painted on screen.
    const QImage shot = main_->screen()->grabWindow(main_->winId()).toImage();
    const QPoint origin = view->mapTo(main_, QPoint(0, 0));
    const int lastColumnEnd = view->header()->sectionViewportPosition(4) +
                              view->header()->sectionSize(4) + view->viewport()->x();
    ASSERT_LT(lastColumnEnd, oldWidth) << "the last column was to end at the old width";
    const int inside = lastColumnEnd - 8, beyond = view->width() - 12;
    auto pixel = [&](int x, int y) {
        return shot.pixelColor(origin + QPoint(x, y)).name().toStdString();
    };
    const int headerY = view->header()->height() / 2 + view->header()->y();
    EXPECT_EQ(pixel(beyond, headerY), pixel(inside, headerY)) << "header";
    for (int row = 1; row <= 2; ++row) {
        const int y =
            view->visualRect(list_->model()->index(row, 0)).center().y() + view->viewport()->y();
        EXPECT_EQ(pixel(beyond, y), pixel(inside, y)) << "row " << row;
    }
    EXPECT_NE(pixel(beyond, view->visualRect(list_->model()->index(1, 0)).center().y() +
                                view->viewport()->y()),
              pixel(beyond, view->visualRect(list_->model()->index(2, 0)).center().y() +
                                view->viewport()->y()))
        << "alternating rows";
}

// Runs `step` on the modal widget `find` returns, once it is on the screen
// (from inside the modal loop that shows it); after five seconds closes whatever
// modal widget is open and fails. A window counts from when the display has
// exposed it: a loaded machine can run the timer while the window is still
// being shown, visible in name but not yet at its own size.
void OnModal(std::function<QWidget*()> find, std::function<void(QWidget*)> step, int tries = 250) {
    QTimer::singleShot(20, [=] {
        QWidget* w = find();
        if (w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed()) {
            step(w);
        } else if (tries > 0) {
            OnModal(find, step, tries - 1);
        } else {
            ADD_FAILURE() << "the modal window never came";
            if (QWidget* open = QApplication::activeModalWidget()) open->close();
            if (forms::IsWindowLoaded(ids::AboutWindow)) forms::CloseWindow(ids::AboutWindow, true);
        }
    });
}

TEST_F(OnScreenTest, AMessageBoxSitsOnItsWindowInChineseWithItsWholeCaption) {
    tavrin::SetMessageBoxResponder({});  // the real box
    QRect box, owner;
    QString ok, caption;
    int captionWidth = 0;
    OnModal([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
            [&](QWidget* w) {
                auto* mb = static_cast<QMessageBox*>(w);
                box = mb->frameGeometry();
                owner = main_->frameGeometry();
                ok = mb->button(QMessageBox::Ok) ? mb->button(QMessageBox::Ok)->text() : "";
                caption = mb->windowTitle();
                captionWidth = mb->fontMetrics().horizontalAdvance(caption);
                QTest::keyClick(mb, Qt::Key_Escape);
            });
    QWidget* add = Widget(ids::IncomeAddButton);  // nothing entered: "请选择收入类型！"
    XClick(add, add->rect().center(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.isValid(); }));
    EXPECT_EQ(caption, QString::fromUtf8("信息："));
    EXPECT_EQ(ok, QString::fromUtf8("确定"));
    EXPECT_NEAR(box.center().x(), owner.center().x(), 30);
    EXPECT_NEAR(box.center().y(), owner.center().y(), 30);
    // Beside the caption the title bar holds the window manager's icon and three buttons.
    EXPECT_GE(box.width(), captionWidth + 4 * 24);
}

TEST_F(OnScreenTest, EscapeClosesTheAboutBox) {
    bool shown = false;
    OnModal([] { return forms::WindowWidget(ids::AboutWindow); },
            [&](QWidget* about) {
                shown = true;
                QTimer::singleShot(3000, [] {
                    if (!forms::IsWindowLoaded(ids::AboutWindow)) return;
                    ADD_FAILURE() << "Escape left the about box open";
                    forms::CloseWindow(ids::AboutWindow, true);
                });
                ASSERT_TRUE(QTest::qWaitFor([&] { return about->isActiveWindow(); }));
                ASSERT_EQ(QProcess::execute("xdotool", {"key", "Escape"}), 0);
            });
    ClickToolButton(13);  // "关于"
    EXPECT_TRUE(shown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !forms::IsWindowLoaded(ids::AboutWindow); }));
    EXPECT_TRUE(main_->isEnabled());
}

TEST_F(OnScreenTest, TheDatePickersCalendarSpeaksChineseAndNumbersStayPlain) {
    auto* picker = qobject_cast<QDateTimeEdit*>(Widget(ids::IncomeDatePicker));
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(picker->calendarPopup());
    XClick(picker, QPoint(picker->width() - 8, picker->height() / 2), 1);
    QCalendarWidget* calendar = picker->calendarWidget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return calendar->isVisible(); }));
    auto* month = calendar->findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QLocale(QLocale::Chinese).monthName(calendar->monthShown()));
    EXPECT_TRUE(month->text().endsWith(QString::fromUtf8("月"))) << month->text().toStdString();
    QTest::keyClick(calendar, Qt::Key_Escape);
    // Amounts are converted by the kernel, never by the locale.
    const tavrin::Value text = tavrin::CallKernel(tavrin::ToText, tavrin::MakeDouble(12.5));
    EXPECT_EQ(std::string(tavrin::TextOf(text)), "12.5");
    tavrin::Free(text.pointer());
}

}  // namespace
}  // namespace tavrin::finance::testing
