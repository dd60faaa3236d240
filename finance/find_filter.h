// The rows of an item list that match the find bar's query, as a proxy the
// list's view shows instead of its model. The model keeps every row, so the
// item operations, undo and redo work on model rows as always; rows that
// change, come or go are looked at again as they do.
#pragma once

#include <QAbstractProxyModel>
#include <QPersistentModelIndex>
#include <cstdint>
#include <vector>

#include "find_index.h"

namespace tavrin::forms {
class ReportListModel;
}

namespace tavrin::finance {

class ItemFindFilter : public QAbstractProxyModel {
    Q_OBJECT
  public:
    // The item list's model; its columns are number, amount, category, time, remark.
    explicit ItemFindFilter(forms::ReportListModel* model, QObject* parent = nullptr);

    // Shows the rows that match; a query that only adds to the text typed
    // before looks at the rows shown, not at the whole list.
    void setQuery(FindQuery query);
    const FindQuery& query() const { return query_; }
    // The model rows shown, ascending, and the exact sum of their amounts.
    const std::vector<int32_t>& shownRows() const { return shown_; }
    double shownTotal() const;

    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;

  signals:
    // The rows shown are others now (the count or the total may differ).
    void shownChanged();

  private:
    FindRow rowTexts(int32_t row) const;
    void indexModel();
    // The position in shown_ of the first shown row at or after model row `row`.
    int32_t firstShownFrom(int32_t row) const;
    void modelRowsChanged(int32_t first, int32_t last);
    void modelRowsInserted(int32_t first, int32_t last);
    void modelRowsAboutToBeRemoved(int32_t first, int32_t last);
    void modelRowsRemoved(int32_t first, int32_t last);
    void modelLayoutAboutToChange();
    void modelLayoutChanged();

    forms::ReportListModel* model_;
    FindIndex index_;
    FindQuery query_;
    std::vector<int32_t> shown_;
    QModelIndexList layoutShown_;
    std::vector<QPersistentModelIndex> layoutModel_;
};

}  // namespace tavrin::finance
