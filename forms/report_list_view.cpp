// Painting of the report list view beyond its last column.
#include "forms/report_list_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>

#include "forms/report_list.h"

namespace tavrin::forms {

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

ReportListView::ReportListView(ReportListControl* owner, QWidget* parent)
    : QTreeView(parent), owner_(owner) {
    setHeader(new ReportListHeader(this));
}

void ReportListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QTreeView::drawRow(painter, option, index);
    const int end = header()->length() - header()->offset();
    if (end >= viewport()->width()) return;
    QStyleOptionViewItem rest = option;
    rest.rect = QRect(end, option.rect.y(), viewport()->width() - end, option.rect.height());
    rest.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    if (alternatingRowColors() && index.row() % 2 == 1)
        rest.features |= QStyleOptionViewItem::Alternate;
    else
        rest.features &= ~QStyleOptionViewItem::Alternate;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &rest, painter, this);
}

void ReportListView::mouseReleaseEvent(QMouseEvent* e) {
    QTreeView::mouseReleaseEvent(e);
    owner_->clickedAt(e->position().toPoint(), e->button());
}

void ReportListView::resizeEvent(QResizeEvent* e) {
    QTreeView::resizeEvent(e);
    // Rows and header are drawn up to the edge: a wider control repaints them whole.
    viewport()->update();
    header()->viewport()->update();
}

}  // namespace tavrin::forms
