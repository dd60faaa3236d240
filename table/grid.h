// The grid: a table view of a data source (property 0, the data source's
// control id, or the template setting "source"; else the window's first data
// source). Texts, looks, sizes and merges come from the provider; a provider
// that serves records shows one blank row at the end where typing adds one.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>

#include "forms/control.h"
#include "table/data_source.h"

namespace tavrin::table {

class ProviderControl;


class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    void setSource(DataSourceControl* source);
    void rebuild();
    ProviderControl* provider() const;
    bool hasNewRowLine() const;
    int32_t recordCount() const;
    bool removeRecord(int32_t row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    QPointer<DataSourceControl> source_;
    int rows_ = 0, columns_ = 0;  // what the view was last told
};

class GridControl : public forms::Control, public SourceView {
    Q_OBJECT
  public:
    explicit GridControl(const forms::ControlInit& init);
    QTableView* view() const { return view_; }
    GridModel& model() { return model_; }
    DataSourceControl* source() const { return source_; }
    void showSource(DataSourceControl* source);
    bool removeCurrent() override;
    QAbstractItemView* itemView() const override;
    void rebuild() override { model_.rebuild(); }
    bool hasNewRowLine() const override { return model_.hasNewRowLine(); }

    void windowCreated() override;
    void commitPendingEdits() override;
    bool readProperty(int number, forms::PropertyData& out) override;
    bool writeProperty(int number, const forms::PropertyData& in) override;

  private:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void applyLayout();

    QTableView* view_;
    GridModel model_;
    QPointer<DataSourceControl> source_;
};

}  // namespace tavrin::table
