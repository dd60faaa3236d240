// Report list view: the control over its model and view, with its events.
#include "forms/report_list.h"

#include <QAbstractProxyModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <algorithm>

#include "forms/properties.h"
#include "forms/report_list_view.h"
#include "forms/template_format.h"
#include "internal/picture.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

ReportListControl::ReportListControl(const ControlInit& init) : TabledControl(init) {
    model_ = new ReportListModel(this);
    view_ = new ReportListView(
        [this](const QPoint& at, Qt::MouseButton button) { clickedAt(at, button); }, init.parent);
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
    view_->updateRowHeight(model_->showCheckBoxes(), model_->hasImages());
    connect(model_, &ReportListModel::rowLookChanged, this,
            [this] { view_->updateRowHeight(model_->showCheckBoxes(), model_->hasImages()); });

    watchSelection();
    connect(view_, &QAbstractItemView::activated, this,
            [this](const QModelIndex&) { raise(ListViewEvent::kActivated); });
    connect(view_->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { raise(ListViewEvent::kColumnClicked, {section}); });
    connect(view_, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        if (modelRow(index) != hotRow_) {
            hotRow_ = modelRow(index);
            raise(ListViewEvent::kHotRowChanged, {hotRow_});
        }
    });
}

void ReportListControl::clickedAt(const QPoint& pos, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    QPointer<ReportListControl> self(this);
    raise(button == Qt::LeftButton ? ListViewEvent::kClicked : ListViewEvent::kRightClicked);
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
    const int32_t row = modelRow(index);
    if (box.contains(pos)) setCheckState(row, checkState(row) ? 0 : 1);
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
    if (const QModelIndex shown = shownIndex(row); shown.isValid())
        view_->scrollTo(shown, QAbstractItemView::EnsureVisible);
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
    return modelRow(i);
}

void ReportListControl::setCurrentRow(int32_t row) {
    model_->flush();
    const QModelIndex shown = row >= 0 && row < model_->rows() ? shownIndex(row) : QModelIndex();
    if (!shown.isValid()) {
        view_->selectionModel()->clear();
        return;
    }
    view_->setCurrentIndex(shown);
}

QModelIndex ReportListControl::shownIndex(int32_t row) const {
    const QModelIndex index = model_->index(row, 0);
    return proxy_ ? proxy_->mapFromSource(index) : index;
}

int32_t ReportListControl::modelRow(const QModelIndex& shown) const {
    if (!shown.isValid()) return -1;
    return proxy_ ? proxy_->mapToSource(shown).row() : shown.row();
}

void ReportListControl::watchSelection() {
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { raise(ListViewEvent::kRowChanged); });
}

void ReportListControl::showThrough(QAbstractProxyModel* proxy) {
    if (proxy == proxy_) return;
    model_->flush();
    const int32_t current = currentRow();
    std::vector<int> widths;
    for (int c = 0; c < view_->header()->count(); ++c)
        widths.push_back(view_->header()->sectionSize(c));
    QItemSelectionModel* old = view_->selectionModel();
    proxy_ = proxy;
    view_->setModel(proxy ? static_cast<QAbstractItemModel*>(proxy) : model_);
    // The view made a selection model of its own for the new model.
    delete old;
    watchSelection();
    for (int c = 0; c < int(widths.size()) && c < view_->header()->count(); ++c)
        view_->header()->resizeSection(c, widths[size_t(c)]);
    if (current >= 0) setCurrentRow(current);
}

}  // namespace tavrin::forms
