// The find bar: a row of fields over the top of the shown list, which moves
// down by the bar's height while it shows. The list's view shows the rows
// through an ItemFindFilter; the list itself keeps every row, so everything
// the program does to rows meanwhile goes on as before.
#include "find_bar.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "finance/sides.h"
#include "find_filter.h"
#include "find_text_constants.h"
#include "forms/bars.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "money/money_text.h"
#include "runtime/gbk.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

constexpr int kBarHeight = 30;
// The status bar panes beside the totals that show the filter while it is on.
constexpr int32_t kFilterPane = 6, kFilterPaneWidth = 230, kHiddenPane = 7;

forms::ReportListControl* ListOf(const Side& side) {
    return forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, side.list);
}

forms::StatusBarControl* StatusBar() {
    return forms::FindControlAs<forms::StatusBarControl>(ids::MainWindow, ids::StatusBar1);
}

// The model row of the item with this serial, -1 when the list has none.
int32_t RowOfSerial(forms::ReportListControl* list, int32_t serial) {
    for (int32_t r = 0, n = list->itemCount(); r < n; ++r)
        if (list->itemData(r) == serial) return r;
    return -1;
}

// An amount bound as typed: nothing (no bound), or a number (in cents).
std::optional<int64_t> CentsOf(QLineEdit* edit, bool* bad) {
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e15) {
        *bad = true;
        return std::nullopt;
    }
    return std::llround(v * 100.0);
}

int32_t DayOf(const QDate& d) {
    return d.year() * 10000 + d.month() * 100 + d.day();
}

class FindBar : public QWidget {
  public:
    explicit FindBar(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(4, 2, 4, 2);
        row->setSpacing(4);
        auto label = [&](const char* gbk) { row->addWidget(new QLabel(GbkToQString(gbk), this)); };
        label(find_text::FindLabel);
        setObjectName(QStringLiteral("findBar"));
        text_ = new QLineEdit(this);
        text_->setObjectName(QStringLiteral("findText"));
        text_->setToolTip(GbkToQString(find_text::FindTip));
        text_->setMinimumWidth(150);
        row->addWidget(text_, 2);
        label(find_text::AmountFrom);
        from_ = new QLineEdit(this);
        to_ = new QLineEdit(this);
        from_->setObjectName(QStringLiteral("findFrom"));
        to_->setObjectName(QStringLiteral("findTo"));
        for (QLineEdit* e : {from_, to_}) e->setFixedWidth(70);
        row->addWidget(from_);
        label(find_text::RangeTo);
        row->addWidget(to_);
        dates_ = new QCheckBox(GbkToQString(find_text::DateFrom), this);
        dates_->setObjectName(QStringLiteral("findDates"));
        row->addWidget(dates_);
        fromDate_ = new QDateEdit(QDate(QDate::currentDate().year(), 1, 1), this);
        toDate_ = new QDateEdit(QDate::currentDate(), this);
        fromDate_->setObjectName(QStringLiteral("findFromDay"));
        toDate_->setObjectName(QStringLiteral("findToDay"));
        for (QDateEdit* d : {fromDate_, toDate_}) {
            d->setCalendarPopup(true);
            d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            d->setEnabled(false);
        }
        row->addWidget(fromDate_);
        label(find_text::RangeTo);
        row->addWidget(toDate_);
        close_ = new QToolButton(this);
        close_->setObjectName(QStringLiteral("findClose"));
        close_->setText(QStringLiteral("\u00D7"));
        close_->setToolTip(GbkToQString(find_text::CloseTip));
        close_->setAutoRaise(true);
        row->addWidget(close_);
        row->addStretch(0);

        for (QLineEdit* e : {text_, from_, to_})
            connect(e, &QLineEdit::textEdited, this, [this] { schedule(); });
        connect(dates_, &QCheckBox::toggled, this, [this](bool on) {
            fromDate_->setEnabled(on);
            toDate_->setEnabled(on);
            schedule();
        });
        for (QDateEdit* d : {fromDate_, toDate_})
            connect(d, &QDateEdit::dateChanged, this, [this] { schedule(); });
        connect(close_, &QToolButton::clicked, this, [] { CloseFindBar(); });
        hide();
    }

    bool open() const { return side_ != nullptr; }
    const Side* side() const { return side_; }
    QLineEdit* textBox() const { return text_; }

    void attach(const Side& side) {
        forms::ReportListControl* list = ListOf(side);
        if (list == nullptr) return;
        side_ = &side;
        const int32_t row = list->currentRow();
        serialBefore_ = row >= 0 ? list->itemData(row) : 0;
        scrollBefore_ = list->view()->verticalScrollBar()->value();
        filter_ = new ItemFindFilter(list->model(), this);
        connect(filter_, &ItemFindFilter::shownChanged, this, [this] { showStatus(); });
        filter_->setQuery(query());
        list->showThrough(filter_);
        // The list moves down under the bar; the layout keeps it so on resizes,
        // as it sizes a list from where its top is.
        QWidget* w = list->view();
        setParent(w->parentWidget());
        listTop_ = ReadIntProperty(ids::MainWindow, side.list, forms::Prop::kTop);
        const int32_t height = ReadIntProperty(ids::MainWindow, side.list, forms::Prop::kHeight);
        WriteIntProperty(ids::MainWindow, side.list, forms::Prop::kTop, listTop_ + kBarHeight);
        WriteIntProperty(ids::MainWindow, side.list, forms::Prop::kHeight,
                         std::max(0, height - kBarHeight));
        w->installEventFilter(this);
        place();
        show();
        raise();
        showStatus();
    }

    void detach() {
        if (side_ == nullptr) return;
        const Side& side = *side_;
        side_ = nullptr;
        forms::ReportListControl* list = ListOf(side);
        if (list != nullptr) {
            list->view()->removeEventFilter(this);
            const int32_t height =
                ReadIntProperty(ids::MainWindow, side.list, forms::Prop::kHeight);
            WriteIntProperty(ids::MainWindow, side.list, forms::Prop::kTop, listTop_);
            WriteIntProperty(ids::MainWindow, side.list, forms::Prop::kHeight, height + kBarHeight);
            const int32_t chosen = list->currentRow();
            list->showThrough(nullptr);
            // The row chosen among the found ones stays chosen; with none
            // chosen, the list is as it was: its row selected, its place kept.
            if (chosen >= 0 && list->itemData(chosen) != serialBefore_) {
                list->ensureVisible(chosen);
            } else {
                list->setCurrentRow(serialBefore_ != 0 ? RowOfSerial(list, serialBefore_) : -1);
                list->view()->verticalScrollBar()->setValue(scrollBefore_);
            }
        }
        delete filter_;
        filter_ = nullptr;
        hide();
    }

    void showStatus() {
        forms::StatusBarControl* bar = StatusBar();
        if (bar == nullptr || filter_ == nullptr) return;
        if (!savedPanes_) {
            savedPanes_ = true;
            savedText_ = bar->paneText(kFilterPane);
            savedWidth_ = bar->paneWidth(kFilterPane);
            savedHiddenWidth_ = bar->paneWidth(kHiddenPane);
            bar->setPaneWidth(kFilterPane, kFilterPaneWidth);
            bar->setPaneWidth(kHiddenPane, 0);
        }
        bar->setPaneText(kFilterPane, std::string(find_text::FilterBefore) +
                                          std::to_string(filter_->shownRows().size()) +
                                          find_text::FilterMiddle +
                                          money::MoneyTotalText(filter_->shownTotal()));
    }

    void restoreStatus() {
        forms::StatusBarControl* bar = StatusBar();
        if (bar == nullptr || !savedPanes_) return;
        savedPanes_ = false;
        bar->setPaneText(kFilterPane, savedText_);
        bar->setPaneWidth(kFilterPane, savedWidth_);
        bar->setPaneWidth(kHiddenPane, savedHiddenWidth_);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize || e->type() == QEvent::Move) place();
        return QWidget::eventFilter(watched, e);
    }

  private:
    // Keys come first, the search after them: a person typing fast is never
    // held up by a search for a text already typed over.
    void schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            refilter();
        });
    }

    void refilter() {
        forms::ReportListControl* list = side_ ? ListOf(*side_) : nullptr;
        if (list == nullptr || filter_ == nullptr) return;
        const int32_t current = list->currentRow();
        filter_->setQuery(query());
        if (current >= 0) list->setCurrentRow(current);
    }

    FindQuery query() {
        FindQuery q;
        q.text = FoldForFind(QStringToGbk(text_->text()));
        bool badFrom = false, badTo = false;
        q.fromCents = CentsOf(from_, &badFrom);
        q.toCents = CentsOf(to_, &badTo);
        from_->setStyleSheet(badFrom ? QStringLiteral("background: #ffd0d0") : QString());
        to_->setStyleSheet(badTo ? QStringLiteral("background: #ffd0d0") : QString());
        if (dates_->isChecked()) {
            q.fromDay = DayOf(fromDate_->date());
            q.toDay = DayOf(toDate_->date());
        }
        return q;
    }

    void place() {
        if (side_ == nullptr) return;
        const QWidget* w = ListOf(*side_)->view();
        setGeometry(w->x(), w->y() - kBarHeight, w->width(), kBarHeight);
    }

    QLineEdit* text_;
    QLineEdit* from_;
    QLineEdit* to_;
    QCheckBox* dates_;
    QDateEdit* fromDate_;
    QDateEdit* toDate_;
    QToolButton* close_;
    const Side* side_ = nullptr;
    ItemFindFilter* filter_ = nullptr;
    int32_t serialBefore_ = 0;
    int scrollBefore_ = 0;
    int32_t listTop_ = 0;
    bool pending_ = false;
    bool savedPanes_ = false;
    std::string savedText_;
    int32_t savedWidth_ = 0, savedHiddenWidth_ = 0;
};

QPointer<FindBar>& TheBar() {
    static QPointer<FindBar> bar;
    return bar;
}

// Escape is the bar's only while it shows.
QPointer<QShortcut>& EscapeKey() {
    static QPointer<QShortcut> key;
    return key;
}

const Side* ShownSide() {
    const int32_t page = CurrentPage(ids::MainPages);
    return page == 0 ? &IncomeSide() : page == 1 ? &ExpenseSide() : nullptr;
}

// The other page's list takes the filter over; a page without a list ends it.
void PageChanged() {
    FindBar* bar = TheBar();
    if (bar == nullptr || !bar->open()) return;
    const Side* side = ShownSide();
    if (side == bar->side()) return;
    bar->detach();
    if (side == nullptr) {
        bar->restoreStatus();
        if (EscapeKey()) EscapeKey()->setEnabled(false);
        return;
    }
    bar->attach(*side);
}

}  // namespace

void InstallFindBar() {
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages);
    if (window == nullptr || pages == nullptr) return;
    TheBar() = new FindBar(pages->pageArea());
    auto* find = new QShortcut(QKeySequence::Find, window);
    QObject::connect(find, &QShortcut::activated, [] { OpenFindBar(); });
    EscapeKey() = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    EscapeKey()->setEnabled(false);
    QObject::connect(EscapeKey(), &QShortcut::activated, [] { CloseFindBar(); });
    QObject::connect(pages->tabBar(), &QTabBar::currentChanged, TheBar(), [] { PageChanged(); });
}

void OpenFindBar() {
    FindBar* bar = TheBar();
    if (bar == nullptr) return;
    if (!bar->open()) {
        if (ShownSide() == nullptr) ShowMainPage(0);
        const Side* side = ShownSide();
        if (side == nullptr) return;
        bar->attach(*side);
        if (EscapeKey()) EscapeKey()->setEnabled(true);
    }
    bar->textBox()->setFocus(Qt::ShortcutFocusReason);
    bar->textBox()->selectAll();
}

void CloseFindBar() {
    FindBar* bar = TheBar();
    if (bar == nullptr || !bar->open()) return;
    const Side* side = bar->side();
    bar->detach();
    bar->restoreStatus();
    if (EscapeKey()) EscapeKey()->setEnabled(false);
    if (forms::ReportListControl* list = ListOf(*side)) list->view()->setFocus();
}

bool FindBarOpen() {
    return TheBar() != nullptr && TheBar()->open();
}

}  // namespace tavrin::finance
