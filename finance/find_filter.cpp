// The find filter: shown_ lists the model rows that match, ascending, so a
// model row is found among them by a binary search and a model change is
// carried over by shifting the rows after it.
#include "find_filter.h"

#include <algorithm>

#include "forms/report_list.h"

namespace tavrin::finance {

namespace {

// The item lists' columns.
constexpr int kAmountColumn = 1, kCategoryColumn = 2, kTimeColumn = 3, kRemarkColumn = 4;

}  // namespace

ItemFindFilter::ItemFindFilter(forms::ReportListModel* model, QObject* parent)
    : QAbstractProxyModel(parent), model_(model) {
    model_->flush();
    setSourceModel(model_);
    indexModel();
    shown_.resize(size_t(index_.rows()));
    for (size_t r = 0; r < shown_.size(); ++r) shown_[r] = int32_t(r);

    using M = forms::ReportListModel;
    connect(model_, &M::dataChanged, this, [this](const QModelIndex& a, const QModelIndex& b) {
        modelRowsChanged(a.row(), b.row());
    });
    connect(model_, &M::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { modelRowsInserted(first, last); });
    connect(model_, &M::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                modelRowsAboutToBeRemoved(first, last);
            });
    connect(model_, &M::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { modelRowsRemoved(first, last); });
    connect(model_, &M::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(model_, &M::modelReset, this, [this] {
        indexModel();
        shown_ = index_.search(query_);
        endResetModel();
        emit shownChanged();
    });
    connect(model_, &M::layoutAboutToBeChanged, this, [this] { modelLayoutAboutToChange(); });
    connect(model_, &M::layoutChanged, this, [this] { modelLayoutChanged(); });
    // Columns never change while a list is filtered; if they did, start again.
    connect(model_, &M::columnsAboutToBeInserted, this, [this] { beginResetModel(); });
    connect(model_, &M::columnsInserted, this, [this] { endResetModel(); });
    connect(model_, &M::columnsAboutToBeRemoved, this, [this] { beginResetModel(); });
    connect(model_, &M::columnsRemoved, this, [this] { endResetModel(); });
    connect(model_, &M::headerDataChanged, this, &ItemFindFilter::headerDataChanged);
}

FindRow ItemFindFilter::rowTexts(int32_t row) const {
    return {model_->text(row, kCategoryColumn), model_->text(row, kRemarkColumn),
            model_->text(row, kAmountColumn), model_->text(row, kTimeColumn)};
}

void ItemFindFilter::indexModel() {
    index_.clear();
    // A category and a remark are a few characters each, most of the time.
    constexpr size_t kTextPerRow = 32;
    index_.reserve(model_->rowCount(), size_t(model_->rowCount()) * kTextPerRow);
    index_.insert(0, model_->rowCount(), [this](int32_t r) { return rowTexts(r); });
}

void ItemFindFilter::setQuery(FindQuery query) {
    const bool narrows = !query_.text.empty() && query.sameBounds(query_) &&
                         query.text.size() > query_.text.size() &&
                         query.text.compare(0, query_.text.size(), query_.text) == 0;
    std::vector<int32_t> shown = index_.search(query, narrows ? &shown_ : nullptr);
    query_ = std::move(query);
    beginResetModel();
    shown_ = std::move(shown);
    endResetModel();
    emit shownChanged();
}

double ItemFindFilter::shownTotal() const {
    // Floats below the amount limit add up exactly in double precision.
    double total = 0;
    for (int32_t r : shown_) total += double(index_.amount(r));
    return total;
}

int32_t ItemFindFilter::firstShownFrom(int32_t row) const {
    return int32_t(std::lower_bound(shown_.begin(), shown_.end(), row) - shown_.begin());
}

QModelIndex ItemFindFilter::mapToSource(const QModelIndex& proxy) const {
    if (!proxy.isValid() || proxy.row() < 0 || size_t(proxy.row()) >= shown_.size()) return {};
    return model_->index(shown_[size_t(proxy.row())], proxy.column());
}

QModelIndex ItemFindFilter::mapFromSource(const QModelIndex& source) const {
    if (!source.isValid()) return {};
    const int32_t at = firstShownFrom(source.row());
    if (size_t(at) >= shown_.size() || shown_[size_t(at)] != source.row()) return {};
    return createIndex(at, source.column());
}

QModelIndex ItemFindFilter::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || size_t(row) >= shown_.size() || column < 0 ||
        column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex ItemFindFilter::parent(const QModelIndex&) const {
    return {};
}

int ItemFindFilter::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int ItemFindFilter::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : model_->columnCount();
}

void ItemFindFilter::modelRowsChanged(int32_t first, int32_t last) {
    bool changed = false;
    for (int32_t row = std::max(first, 0); row <= last && row < index_.rows(); ++row) {
        index_.update(row, rowTexts(row));
        const int32_t at = firstShownFrom(row);
        const bool shown = size_t(at) < shown_.size() && shown_[size_t(at)] == row;
        const bool matches = index_.matches(row, query_);
        if (shown && matches) {
            emit dataChanged(index(at, 0), index(at, columnCount() - 1));
            changed = true;  // its amount may be another
        } else if (shown) {
            // An item changed so that it no longer matches leaves the list.
            beginRemoveRows({}, at, at);
            shown_.erase(shown_.begin() + at);
            endRemoveRows();
            changed = true;
        } else if (matches) {
            beginInsertRows({}, at, at);
            shown_.insert(shown_.begin() + at, row);
            endInsertRows();
            changed = true;
        }
    }
    if (changed) emit shownChanged();
}

void ItemFindFilter::modelRowsInserted(int32_t first, int32_t last) {
    const int32_t count = last - first + 1;
    const int32_t at = firstShownFrom(first);
    for (size_t i = size_t(at); i < shown_.size(); ++i) shown_[i] += count;
    index_.insert(first, count, [&](int32_t i) { return rowTexts(first + i); });
    std::vector<int32_t> matching;
    for (int32_t row = first; row <= last; ++row)
        if (index_.matches(row, query_)) matching.push_back(row);
    if (matching.empty()) return;
    beginInsertRows({}, at, at + int32_t(matching.size()) - 1);
    shown_.insert(shown_.begin() + at, matching.begin(), matching.end());
    endInsertRows();
    emit shownChanged();
}

void ItemFindFilter::modelRowsAboutToBeRemoved(int32_t first, int32_t last) {
    const int32_t from = firstShownFrom(first), to = firstShownFrom(last + 1);
    if (from >= to) return;
    beginRemoveRows({}, from, to - 1);
    shown_.erase(shown_.begin() + from, shown_.begin() + to);
    endRemoveRows();
    emit shownChanged();
}

void ItemFindFilter::modelRowsRemoved(int32_t first, int32_t last) {
    const int32_t count = last - first + 1;
    for (size_t i = size_t(firstShownFrom(first)); i < shown_.size(); ++i) shown_[i] -= count;
    index_.erase(first, count);
}

void ItemFindFilter::modelLayoutAboutToChange() {
    emit layoutAboutToBeChanged();
    // The view's current row and selection follow their rows through a sort.
    layoutShown_ = persistentIndexList();
    layoutModel_.clear();
    for (const QModelIndex& i : layoutShown_) layoutModel_.emplace_back(mapToSource(i));
}

void ItemFindFilter::modelLayoutChanged() {
    indexModel();
    shown_ = index_.search(query_);
    QModelIndexList to;
    for (const QPersistentModelIndex& m : layoutModel_) to.append(mapFromSource(m));
    changePersistentIndexList(layoutShown_, to);
    layoutShown_.clear();
    layoutModel_.clear();
    emit layoutChanged();
}

}  // namespace tavrin::finance
