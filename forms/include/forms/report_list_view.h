// The widgets of the report list view: a table of uniform rows, selected whole,
// whose rows and header span the whole control however wide the columns are.
// Rows all have one height, so adding or removing a row costs no walk over
// the other rows: a list of a million rows takes an item in constant time.
#pragma once

#include <QHeaderView>
#include <QTableView>
#include <functional>

namespace tavrin::forms {

// Paints an empty header section over the part of the header right of the
// last column, as the platform's header control does.
class ReportListHeader : public QHeaderView {
  public:
    explicit ReportListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

  protected:
    void paintEvent(QPaintEvent* e) override;
};

class ReportListView : public QTableView {
  public:
    // `released` hears every release of a mouse button over the view, after
    // the view's own handling: the list raises its click events from it.
    using ReleaseHandler = std::function<void(const QPoint& at, Qt::MouseButton button)>;
    ReportListView(ReleaseHandler released, QWidget* parent);

    // The column header (the rows have none).
    QHeaderView* header() const { return horizontalHeader(); }
    // The height every row has: the style's item height for the view's font,
    // with room for a check box or an image when the list shows them.
    int rowHeight() const { return verticalHeader()->defaultSectionSize(); }
    void updateRowHeight(bool checkBoxes, bool images);

  protected:
    // Rows keep their background (the alternating colour of grid lines) right
    // of the last column up to the control's edge, and the current row has one
    // focus frame around all its columns.
    void paintEvent(QPaintEvent* e) override;
    // Up, Down, the page keys, Home and End move the current row; Left and
    // Right scroll the columns instead of moving between cells.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    ReleaseHandler released_;
    bool checkBoxes_ = false;
    bool images_ = false;
};

}  // namespace tavrin::forms
