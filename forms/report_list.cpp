// Report list view: the compact model and the view with its events.
#include "forms/report_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <algorithm>

#include "forms/picture.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

// ---- model -----------------------------------------------------------------

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

bool ReportListModel::valid(int32_t row, int32_t column) const {
    return row >= 0 && row < rows() && column >= 0 && size_t(column) < stride_ &&
           column < std::max(1, columns());
}

ReportListModel::Cell ReportListModel::store(std::string_view text) {
    Cell c;
    c.offset = uint32_t(bytes_.size());
    c.length = uint32_t(text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return c;
}

void ReportListModel::restride(size_t stride) {
    if (stride <= stride_) return;
    std::vector<Cell> cells(size_t(rows()) * stride);
    std::vector<int16_t> images(cellImages_.empty() ? 0 : cells.size(), -1);
    for (size_t r = 0; r < size_t(rows()); ++r) {
        for (size_t c = 0; c < stride_; ++c) {
            cells[r * stride + c] = cells_[r * stride_ + c];
            if (!images.empty()) images[r * stride + c] = cellImages_[r * stride_ + c];
        }
    }
    cells_ = std::move(cells);
    cellImages_ = std::move(images);
    stride_ = stride;
}

void ReportListModel::compactIfWasteful() {
    if (wasted_ < (1u << 20) || wasted_ < bytes_.size() / 2) return;
    std::vector<char> fresh;
    fresh.reserve(bytes_.size() - wasted_);
    for (Cell& c : cells_) {
        const uint32_t at = uint32_t(fresh.size());
        fresh.insert(fresh.end(), bytes_.begin() + c.offset, bytes_.begin() + c.offset + c.length);
        c.offset = at;
    }
    bytes_ = std::move(fresh);
    wasted_ = 0;
}

void ReportListModel::scheduleFlush() {
    if (flushPending_) return;
    flushPending_ = true;
    QTimer::singleShot(0, this, [this] { flush(); });
}

void ReportListModel::flush() {
    flushPending_ = false;
    if (shownRows_ >= rows()) return;
    beginInsertRows({}, shownRows_, rows() - 1);
    shownRows_ = rows();
    endInsertRows();
}

int32_t ReportListModel::insertRow(int32_t row, std::string_view text, int32_t image,
                                   int32_t checkState, int32_t indent, int32_t data) {
    const bool append = row < 0 || row >= rows();
    if (append) {
        row = rows();
        cells_.resize(cells_.size() + stride_);
        if (!cellImages_.empty()) cellImages_.resize(cellImages_.size() + stride_, -1);
        rowData_.push_back(data);
        rowCheck_.push_back(int8_t(checkState > 0 ? checkState + 1 : (checkBoxes_ ? 1 : 0)));
        rowIndent_.push_back(uint8_t(std::clamp(indent, 0, 255)));
        cell(row, 0) = store(text);
        if (image >= 0) setImage(row, 0, image);
        scheduleFlush();
        return row;
    }
    flush();
    beginInsertRows({}, row, row);
    cells_.insert(cells_.begin() + long(size_t(row) * stride_), stride_, Cell{});
    if (!cellImages_.empty())
        cellImages_.insert(cellImages_.begin() + long(size_t(row) * stride_), stride_, -1);
    rowData_.insert(rowData_.begin() + row, data);
    rowCheck_.insert(rowCheck_.begin() + row,
                     int8_t(checkState > 0 ? checkState + 1 : (checkBoxes_ ? 1 : 0)));
    rowIndent_.insert(rowIndent_.begin() + row, uint8_t(std::clamp(indent, 0, 255)));
    cell(row, 0) = store(text);
    if (image >= 0) setImage(row, 0, image);
    shownRows_ = rows();
    endInsertRows();
    return row;
}

bool ReportListModel::removeRow(int32_t row) {
    if (row < 0 || row >= rows()) return false;
    flush();
    beginRemoveRows({}, row, row);
    for (size_t c = 0; c < stride_; ++c) wasted_ += cell(row, int32_t(c)).length;
    cells_.erase(cells_.begin() + long(size_t(row) * stride_),
                 cells_.begin() + long(size_t(row + 1) * stride_));
    if (!cellImages_.empty())
        cellImages_.erase(cellImages_.begin() + long(size_t(row) * stride_),
                          cellImages_.begin() + long(size_t(row + 1) * stride_));
    rowData_.erase(rowData_.begin() + row);
    rowCheck_.erase(rowCheck_.begin() + row);
    rowIndent_.erase(rowIndent_.begin() + row);
    shownRows_ = rows();
    endRemoveRows();
    compactIfWasteful();
    return true;
}

void ReportListModel::clear() {
    beginResetModel();
    bytes_.clear();
    bytes_.shrink_to_fit();
    cells_.clear();
    cells_.shrink_to_fit();
    cellImages_.clear();
    rowData_.clear();
    rowCheck_.clear();
    rowIndent_.clear();
    wasted_ = 0;
    shownRows_ = 0;
    endResetModel();
}

void ReportListModel::setText(int32_t row, int32_t column, std::string_view text) {
    if (row < 0 || row >= rows() || column < 0 || column >= std::max(1, columns())) return;
    restride(size_t(column) + 1);
    Cell& c = cell(row, column);
    if (text.size() <= c.length) {
        // Rewrites in place when the new text fits.
        std::copy(text.begin(), text.end(), bytes_.begin() + c.offset);
        wasted_ += c.length - text.size();
        c.length = uint32_t(text.size());
    } else {
        wasted_ += c.length;
        c = store(text);
    }
    if (row < shownRows_) emit dataChanged(index(row, column), index(row, column));
    compactIfWasteful();
}

std::string_view ReportListModel::text(int32_t row, int32_t column) const {
    if (!valid(row, column)) return {};
    const Cell& c = cell(row, column);
    return std::string_view(bytes_.data() + c.offset, c.length);
}

void ReportListModel::setImage(int32_t row, int32_t column, int32_t image) {
    if (row < 0 || row >= rows() || column < 0 || column >= std::max(1, columns())) return;
    restride(size_t(column) + 1);
    if (cellImages_.empty()) {
        if (image < 0) return;
        cellImages_.assign(cells_.size(), -1);
    }
    cellImages_[size_t(row) * stride_ + size_t(column)] = int16_t(std::clamp(image, -1, 32767));
    if (row < shownRows_) emit dataChanged(index(row, column), index(row, column));
}

int32_t ReportListModel::image(int32_t row, int32_t column) const {
    if (!valid(row, column) || cellImages_.empty()) return -1;
    return cellImages_[size_t(row) * stride_ + size_t(column)];
}

void ReportListModel::setCheckState(int32_t row, int32_t state) {
    if (row < 0 || row >= rows()) return;
    rowCheck_[size_t(row)] = int8_t(std::clamp(state + 1, 0, 127));
    if (row < shownRows_) emit dataChanged(index(row, 0), index(row, 0));
}

int32_t ReportListModel::checkState(int32_t row) const {
    if (row < 0 || row >= rows()) return 0;
    return std::max(0, rowCheck_[size_t(row)] - 1);
}

void ReportListModel::setItemData(int32_t row, int32_t data) {
    if (row >= 0 && row < rows()) rowData_[size_t(row)] = data;
}

int32_t ReportListModel::itemData(int32_t row) const {
    return row >= 0 && row < rows() ? rowData_[size_t(row)] : 0;
}

int32_t ReportListModel::indent(int32_t row) const {
    return row >= 0 && row < rows() ? rowIndent_[size_t(row)] : 0;
}

void ReportListModel::insertColumn(int32_t at, const Column& column) {
    at = std::clamp(at, 0, columns());
    flush();
    beginInsertColumns({}, at, at);
    // Cells of later columns move one place to the right.
    const size_t oldColumns = size_t(std::max(1, columns()));
    restride(std::max(stride_, size_t(columns() + 1)));
    if (!columns_.empty()) {
        for (size_t r = 0; r < size_t(rows()); ++r) {
            for (size_t c = std::min(stride_ - 1, oldColumns); c > size_t(at); --c) {
                cells_[r * stride_ + c] = cells_[r * stride_ + c - 1];
                if (!cellImages_.empty())
                    cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c - 1];
            }
            cells_[r * stride_ + size_t(at)] = Cell{};
            if (!cellImages_.empty()) cellImages_[r * stride_ + size_t(at)] = -1;
        }
    }
    columns_.insert(columns_.begin() + at, column);
    endInsertColumns();
}

void ReportListModel::removeColumn(int32_t at) {
    if (at < 0 || at >= columns()) return;
    flush();
    beginRemoveColumns({}, at, at);
    for (size_t r = 0; r < size_t(rows()); ++r) {
        wasted_ += cells_[r * stride_ + size_t(at)].length;
        for (size_t c = size_t(at); c + 1 < stride_; ++c) {
            cells_[r * stride_ + c] = cells_[r * stride_ + c + 1];
            if (!cellImages_.empty())
                cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c + 1];
        }
        cells_[r * stride_ + stride_ - 1] = Cell{};
    }
    columns_.erase(columns_.begin() + at);
    endRemoveColumns();
}

void ReportListModel::setShowCheckBoxes(bool on) {
    checkBoxes_ = on;
    for (int8_t& c : rowCheck_)
        if (on && c == 0) c = 1;
    if (shownRows_ > 0) emit dataChanged(index(0, 0), index(shownRows_ - 1, 0));
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, columns());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
    const int32_t r = index.row(), c = index.column();
    if (!valid(r, c)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return GbkToQString(text(r, c));
        case Qt::TextAlignmentRole: {
            const int32_t a = c < columns() ? columns_[size_t(c)].align : 0;
            return int((a == 1   ? Qt::AlignHCenter
                        : a == 2 ? Qt::AlignRight
                                 : Qt::AlignLeft) |
                       Qt::AlignVCenter);
        }
        case Qt::DecorationRole: {
            const int32_t i = image(r, c);
            if (i >= 0 && size_t(i) < images_.size()) return images_[size_t(i)];
            return {};
        }
        case Qt::CheckStateRole:
            if (c != 0 || !checkBoxes_) return {};
            return checkState(r) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= columns()) return {};
    if (role == Qt::DisplayRole) return GbkToQString(columns_[size_t(section)].title);
    if (role == Qt::TextAlignmentRole) {
        const int32_t a = columns_[size_t(section)].align;
        return int((a == 1   ? Qt::AlignHCenter
                    : a == 2 ? Qt::AlignRight
                             : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    }
    return {};
}

// ---- view -------------------------------------------------------------------

class ReportListView : public QTreeView {
  public:
    ReportListView(ReportListControl* owner, QWidget* parent) : QTreeView(parent), owner_(owner) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QTreeView::mouseReleaseEvent(e);
        owner_->clickedAt(e->position().toPoint(), e->button());
    }

  private:
    ReportListControl* owner_;
};

ReportListControl::ReportListControl(const ControlInit& init) : Control(init) {
    model_ = new ReportListModel(this);
    view_ = new ReportListView(this, init.parent);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setMouseTracking(true);
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionsClickable(true);
    view_->header()->setSectionsMovable(false);
    view_->setModel(model_);
    const TypeData& data = init.item->typeData;
    for (const ColumnEntry& c : data.columns())
        insertColumn(columnCount(), c.title, c.width, c.align);
    if (const std::string* font = data.raw(Tag::kFont)) view_->setFont(FontFromRecord(*font));
    model_->setShowCheckBoxes(data.integer(Tag::kCheckBoxes) != 0);
    if (data.integer(Tag::kGridLines)) view_->setAlternatingRowColors(true);
    if (auto list = data.imageList()) model_->setImages(SplitImageList(*list));
    setWidget(view_, {view_->viewport()});

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { raise(0); });
    connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex&) { raise(1); });
    connect(view_->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { raise(2, {section}); });
    connect(view_, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        if (index.row() != hotRow_) {
            hotRow_ = index.row();
            raise(3, {hotRow_});
        }
    });
}

void ReportListControl::clickedAt(const QPoint& pos, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    QPointer<ReportListControl> self(this);
    raise(button == Qt::LeftButton ? 4 : 5);
    if (!self || !model_->showCheckBoxes()) return;
    // A click on a row's check-box image toggles that row's check state.
    const QModelIndex index = view_->indexAt(pos);
    if (!index.isValid() || index.column() != 0) return;
    QStyleOptionViewItem option;
    option.initFrom(view_);
    option.rect = view_->visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view_->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view_);
    if (box.contains(pos)) setCheckState(index.row(), checkState(index.row()) ? 0 : 1);
}

int32_t ReportListControl::insertItem(int32_t row, std::string_view gbkText, int32_t image,
                                      int32_t checkState, int32_t indent, int32_t data) {
    return model_->insertRow(row, gbkText, std::max(-1, image), checkState, std::max(0, indent),
                             data);
}

void ReportListControl::setItemText(int32_t row, int32_t column, std::string_view gbkText) {
    model_->setText(row, column, gbkText);
}

std::string ReportListControl::itemText(int32_t row, int32_t column) const {
    return std::string(model_->text(row, column));
}

void ReportListControl::setItemImage(int32_t row, int32_t column, int32_t image) {
    model_->setImage(row, column, image);
}
int32_t ReportListControl::itemImage(int32_t row, int32_t column) const {
    return model_->image(row, column);
}
void ReportListControl::setCheckState(int32_t row, int32_t state) {
    model_->setCheckState(row, state);
}
int32_t ReportListControl::checkState(int32_t row) const {
    return model_->checkState(row);
}
void ReportListControl::setItemData(int32_t row, int32_t data) {
    model_->setItemData(row, data);
}
int32_t ReportListControl::itemData(int32_t row) const {
    return model_->itemData(row);
}
bool ReportListControl::deleteItem(int32_t row) {
    // A deleted selected row leaves no row selected: the view would otherwise
    // select the row that moves into its place, one the person never chose.
    const bool wasCurrent = row >= 0 && row == currentRow();
    if (!model_->removeRow(row)) return false;
    if (wasCurrent) view_->selectionModel()->clear();
    return true;
}
void ReportListControl::deleteAll() {
    model_->clear();
}

void ReportListControl::ensureVisible(int32_t row) {
    if (row < 0 || row >= model_->rows()) return;
    model_->flush();
    view_->scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
}

std::string ReportListControl::columnTitle(int32_t column) const {
    if (column < 0 || column >= columnCount()) return {};
    std::string t = model_->column(column).title;
    if (t.size() > 1024) t.resize(1024);
    return t;
}

int32_t ReportListControl::columnAlign(int32_t column) const {
    return column >= 0 && column < columnCount() ? model_->column(column).align : 0;
}

int32_t ReportListControl::columnWidth(int32_t column) const {
    return column >= 0 && column < columnCount() ? view_->header()->sectionSize(column) : 0;
}

void ReportListControl::setColumnWidth(int32_t column, int32_t width) {
    if (column < 0 || column >= columnCount()) return;
    model_->flush();
    if (width >= 0) {
        view_->header()->resizeSection(column, width);
    } else {
        const int header = view_->header()->fontMetrics().horizontalAdvance(
                               GbkToQString(model_->column(column).title)) +
                           16;
        int fit = header;
        if (width == -1) {
            // The widest cell of the rows; a long list is sampled in its first rows.
            const QFontMetrics fm(view_->font());
            const int32_t rows = std::min(model_->rows(), 5000);
            fit = 0;
            for (int32_t r = 0; r < rows; ++r)
                fit = std::max(fit, fm.horizontalAdvance(GbkToQString(model_->text(r, column))));
            fit += 12 + (column == 0 && model_->showCheckBoxes() ? 20 : 0);
        }
        view_->header()->resizeSection(column, fit);
    }
    model_->setColumnWidth(column, view_->header()->sectionSize(column));
}

int32_t ReportListControl::insertColumn(int32_t at, std::string_view gbkTitle, int32_t width,
                                        int32_t align) {
    at = std::clamp(at < 0 ? columnCount() : at, 0, columnCount());
    model_->insertColumn(at, ReportListModel::Column{std::string(gbkTitle), width, align});
    view_->header()->resizeSection(at, std::max(0, width));
    return at;
}

int32_t ReportListControl::currentRow() const {
    const QModelIndex i = view_->currentIndex();
    if (!i.isValid() || !view_->selectionModel()->isRowSelected(i.row(), {})) return -1;
    return i.row();
}

void ReportListControl::setCurrentRow(int32_t row) {
    model_->flush();
    if (row < 0 || row >= model_->rows()) {
        view_->selectionModel()->clear();
        return;
    }
    view_->setCurrentIndex(model_->index(row, 0));
}

bool ReportListControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case ListViewProp::kCurrent:
            out = PropertyData::Int(currentRow());
            return true;
        case ListViewProp::kCount:
            out = PropertyData::Int(itemCount());
            return true;
        case ListViewProp::kGridLines:
            out = PropertyData::Int(view_->alternatingRowColors());
            return true;
        case ListViewProp::kCheckBoxes:
            out = PropertyData::Int(model_->showCheckBoxes());
            return true;
        case ListViewProp::kFont:
            out = PropertyData::Bytes(FontToRecord(view_->font()));
            return true;
        default:
            return false;
    }
}

bool ReportListControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case ListViewProp::kCurrent:
            setCurrentRow(in.asInt());
            return true;
        case ListViewProp::kGridLines:
            view_->setAlternatingRowColors(in.number != 0);
            return true;
        case ListViewProp::kCheckBoxes:
            model_->setShowCheckBoxes(in.number != 0);
            return true;
        case ListViewProp::kFont:
            view_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

}  // namespace tavrin::forms
