// The widgets of the report list view: a tree view without branches whose rows
// and header span the whole control, however wide the columns are.
#pragma once

#include <QHeaderView>
#include <QTreeView>

namespace tavrin::forms {

class ReportListControl;

// Paints an empty header section over the part of the header right of the
// last column, as the platform's header control does.
class ReportListHeader : public QHeaderView {
  public:
    explicit ReportListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

  protected:
    void paintEvent(QPaintEvent* e) override;
};

// Rows keep their background (the alternating colour of grid lines) right of
// the last column up to the control's edge; a release of a mouse button after
// the view's own handling raises the list's click events.
class ReportListView : public QTreeView {
  public:
    ReportListView(ReportListControl* owner, QWidget* parent);

  protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    ReportListControl* owner_;
};

}  // namespace tavrin::forms
