// The report list view: uniform rows over the list's model, painted as one
// row-selecting list (no cell focus, no grid), beyond its last column too.
#include "forms/report_list_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <algorithm>

namespace tavrin::forms {

namespace {

// Cells never show focus on their own: the view frames the whole current row.
class RowCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        cell.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, cell, index);
    }
};

}  // namespace

void ReportListHeader::paintEvent(QPaintEvent* e) {
    QHeaderView::paintEvent(e);
    const int end = length() - offset();
    if (end >= viewport()->width()) return;
    QPainter painter(viewport());
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = QRect(end, 0, viewport()->width() - end, viewport()->height());
    opt.section = count();
    opt.position = QStyleOptionHeader::End;
    opt.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_Header, &opt, &painter, this);
}

ReportListView::ReportListView(ReleaseHandler released, QWidget* parent)
    : QTableView(parent), released_(std::move(released)) {
    auto* columns = new ReportListHeader(this);
    columns->setHighlightSections(false);
    setHorizontalHeader(columns);
    setItemDelegate(new RowCellDelegate(this));
    // The rows' header only keeps their (equal) heights: hidden, fixed, and
    // allowed below the header font's own minimum.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    updateRowHeight(false, false);
}

void ReportListView::updateRowHeight(bool checkBoxes, bool images) {
    checkBoxes_ = checkBoxes;
    images_ = images;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    // Latin and Chinese text: a line as high as the rows the lists show.
    option.text = QStringLiteral("Xg\u5E74");
    if (checkBoxes) option.features |= QStyleOptionViewItem::HasCheckIndicator;
    if (images) option.features |= QStyleOptionViewItem::HasDecoration;
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    verticalHeader()->setDefaultSectionSize(std::max(1, size.height()));
}

void ReportListView::paintEvent(QPaintEvent* e) {
    QTableView::paintEvent(e);
    const int rows = model() ? model()->rowCount() : 0;
    int row = rowAt(e->rect().top());
    if (rows == 0 || row < 0) return;
    QPainter painter(viewport());
    const int end = horizontalHeader()->length() - horizontalHeader()->offset();
    const int width = viewport()->width();
    QStyleOptionViewItem rest;
    initViewItemOption(&rest);
    rest.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    for (; row < rows; ++row) {
        const int y = rowViewportPosition(row);
        if (y > e->rect().bottom()) break;
        if (end >= width) break;
        rest.rect = QRect(end, y, width - end, rowHeight());
        if (alternatingRowColors() && row % 2 == 1)
            rest.features |= QStyleOptionViewItem::Alternate;
        else
            rest.features &= ~QStyleOptionViewItem::Alternate;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &rest, &painter, this);
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !(hasFocus() || viewport()->hasFocus())) return;
    const int y = rowViewportPosition(current.row());
    if (y + rowHeight() < e->rect().top() || y > e->rect().bottom()) return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    const bool selected = selectionModel() && selectionModel()->isSelected(current);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor =
        palette().color(group, selected ? QPalette::Highlight : QPalette::Window);
    focus.rect = QRect(-horizontalHeader()->offset(), y, horizontalHeader()->length(), rowHeight());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

QModelIndex ReportListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int rows = model() ? model()->rowCount() : 0;
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    switch (action) {
        case MoveHome:
            return rows > 0 ? model()->index(0, column) : QModelIndex();
        case MoveEnd:
            return rows > 0 ? model()->index(rows - 1, column) : QModelIndex();
        case MoveLeft:
        case MoveRight: {
            QScrollBar* bar = horizontalScrollBar();
            bar->setValue(bar->value() +
                          (action == MoveLeft ? -bar->singleStep() : bar->singleStep()));
            return current;
        }
        case MoveNext:
            return QTableView::moveCursor(MoveDown, modifiers);
        case MovePrevious:
            return QTableView::moveCursor(MoveUp, modifiers);
        default:
            return QTableView::moveCursor(action, modifiers);
    }
}

void ReportListView::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    released_(e->position().toPoint(), e->button());
}

void ReportListView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    // Rows and header are drawn up to the edge: a wider control repaints them whole.
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

void ReportListView::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        updateRowHeight(checkBoxes_, images_);
}

}  // namespace tavrin::forms
