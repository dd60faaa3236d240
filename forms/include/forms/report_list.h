// The report list view: rows of texts in columns over a compact model (cell
// texts as GBK bytes in one flat buffer, converted only when shown), so that
// a million rows append quickly and stay smooth. The C++ API below is what
// the list commands are written over; rows and columns are 0-based.
#pragma once

#include <QAbstractProxyModel>
#include <QAbstractTableModel>
#include <QPixmap>
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/control_lookup.h"
#include "forms/property_table.h"
#include "forms/report_list_view.h"

namespace tavrin::forms {

class ReportListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    struct Column {
        std::string title;  // GBK
        int32_t width = 100;
        int32_t align = 0;  // 0 left, 1 centre, 2 right
    };

    explicit ReportListModel(QObject* parent = nullptr);

    // Storage (always current; the view learns of appended rows in batches).
    int32_t rows() const { return int32_t(rowData_.size()); }
    int32_t columns() const { return int32_t(columns_.size()); }
    int32_t insertRow(int32_t row, std::string_view text, int32_t image, int32_t checkState,
                      int32_t indent, int32_t data);
    bool removeRow(int32_t row);
    void clear();
    void setText(int32_t row, int32_t column, std::string_view text);
    std::string_view text(int32_t row, int32_t column) const;
    void setImage(int32_t row, int32_t column, int32_t image);
    int32_t image(int32_t row, int32_t column) const;
    void setCheckState(int32_t row, int32_t state);
    int32_t checkState(int32_t row) const;
    void setItemData(int32_t row, int32_t data);
    int32_t itemData(int32_t row) const;
    int32_t indent(int32_t row) const;
    const Column& column(int32_t c) const { return columns_[size_t(c)]; }
    void insertColumn(int32_t at, const Column& column);
    void removeColumn(int32_t at);
    void setColumnWidth(int32_t c, int32_t width) { columns_[size_t(c)].width = width; }
    void setShowCheckBoxes(bool on);
    bool showCheckBoxes() const { return checkBoxes_; }
    void setImages(std::vector<QPixmap> images);
    bool hasImages() const { return !images_.empty(); }

    // Rows to append in one go: per row its data word and its first `columns`
    // cell texts, back to back in `bytes` with one length per cell. A whole
    // file's rows go in this way without a call per cell.
    struct RowBatch {
        int32_t columns = 0;
        std::vector<int32_t> data;      // one per row
        std::vector<uint32_t> lengths;  // rows × columns
        std::string bytes;
        int32_t rows() const { return int32_t(data.size()); }
        void clear();
    };
    // Appends the batch's rows as insertRow and setText would, each row with no
    // image, indent 0 and the list's empty check state; the view learns of them
    // at the next flush. Columns beyond the list's are left out.
    void appendRows(const RowBatch& batch);
    // Room for this many rows in all and this many text bytes in all, so that
    // a long fill does not copy its storage as it grows.
    void reserve(int32_t rows, size_t textBytes);

    // Tells the view about rows appended since the last flush.
    void flush();
    // Puts the rows in a new order: row i takes what row order[i] held, with all
    // its cells, images, data word, check state and indent; the view's current
    // row and selection follow their rows. `order` must be a permutation.
    void reorderRows(const std::vector<int32_t>& order);
    // Trades every row (cells, data words, images, check states, indents) with
    // another model of as many columns, as a reset of both: a list can set its
    // rows aside whole and take them back without copying them.
    void exchangeRows(ReportListModel& other);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The view asks for the index and flags of every row each time rows come
    // or go: both answered from the sizes at hand, without the base class's
    // round of virtual calls per row.
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

  signals:
    // Check boxes or images came or went: rows may need another height.
    void rowLookChanged();

  private:
    // A row's cells lie back to back in `bytes_` from its start; each cell has
    // a one-byte length, kLongCell meaning that a 4-byte length precedes its text.
    static constexpr uint8_t kLongCell = 255;
    bool valid(int32_t row, int32_t column) const;
    const uint8_t* lengths(int32_t row) const { return &cellLength_[size_t(row) * stride_]; }
    uint8_t* lengths(int32_t row) { return &cellLength_[size_t(row) * stride_]; }
    // Bytes the first `cells` cells of the row take (with long cells' length words).
    size_t rowBytes(int32_t row, size_t cells) const;
    bool inBuffer(std::string_view text) const;
    // Appends a cell's bytes to the text buffer; returns its length code.
    uint8_t appendCell(std::string_view text);
    void restride(size_t stride);
    void compactIfWasteful();
    // Rebuilds the text buffer with only the bytes rows refer to, leaving out
    // column `dropped` (none when negative).
    void compact(int32_t dropped = -1);
    void scheduleFlush();

    std::vector<Column> columns_;
    size_t stride_ = 1;
    std::vector<char> bytes_;
    size_t wasted_ = 0;
    std::vector<uint32_t> rowStart_;   // where the row's first cell starts in bytes_
    std::vector<uint8_t> cellLength_;  // rows × stride
    std::vector<int32_t> rowData_;     // the row's data word
    std::vector<int8_t> rowCheck_;     // check state image (state + 1; 0 = none)
    std::vector<uint8_t> rowIndent_;
    std::vector<int16_t> cellImages_;  // rows × stride, allocated on first use
    std::vector<QPixmap> images_;
    bool checkBoxes_ = false;
    int32_t shownRows_ = 0;  // rows the view knows of
    bool flushPending_ = false;
};

class ReportListControl : public TabledControl<ReportListControl> {
    Q_OBJECT
  public:
    explicit ReportListControl(const ControlInit& init);

    ReportListView* view() const { return view_; }
    ReportListModel* model() const { return model_; }

    int32_t itemCount() const { return model_->rows(); }
    // Inserts a row (row < 0 or beyond the end appends); returns its index or -1.
    int32_t insertItem(int32_t row, std::string_view gbkText, int32_t image = -1,
                       int32_t checkState = 0, int32_t indent = 0, int32_t data = 0);
    void setItemText(int32_t row, int32_t column, std::string_view gbkText);
    std::string itemText(int32_t row, int32_t column) const;  // empty when out of range
    void setItemImage(int32_t row, int32_t column, int32_t image);
    int32_t itemImage(int32_t row, int32_t column) const;  // -1 none
    void setCheckState(int32_t row, int32_t state);
    int32_t checkState(int32_t row) const;
    void setItemData(int32_t row, int32_t data);
    int32_t itemData(int32_t row) const;
    bool deleteItem(int32_t row);
    void deleteAll();
    void ensureVisible(int32_t row);
    int32_t columnCount() const { return model_->columns(); }
    std::string columnTitle(int32_t column) const;
    int32_t columnAlign(int32_t column) const;
    int32_t columnWidth(int32_t column) const;
    // width -1 fits the contents, -2 (and below) fits the header.
    void setColumnWidth(int32_t column, int32_t width);
    int32_t insertColumn(int32_t at, std::string_view gbkTitle, int32_t width, int32_t align);
    int32_t currentRow() const;  // -1 none
    void setCurrentRow(int32_t row);
    // Shows the rows through a proxy of the model that leaves some out (a
    // filter), or the model itself again when null. Rows everywhere in this
    // API stay the model's rows: the current row is the model row the view's
    // current row shows, and a row the proxy leaves out cannot be current.
    // Column widths and the current row are kept across the change.
    void showThrough(QAbstractProxyModel* proxy);
    QAbstractProxyModel* shownThrough() const { return proxy_; }

    static const PropertyTable<ReportListControl>& properties();

  private:
    friend class ReportListView;
    void clickedAt(const QPoint& pos, Qt::MouseButton button);
    // A model row as the view shows it, and back (-1 / invalid when not shown).
    QModelIndex shownIndex(int32_t row) const;
    int32_t modelRow(const QModelIndex& shown) const;
    void watchSelection();
    ReportListModel* model_;
    ReportListView* view_;
    QPointer<QAbstractProxyModel> proxy_;
    int32_t hotRow_ = -1;
};

}  // namespace tavrin::forms
