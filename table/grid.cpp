// Grid view over a data source, with cell editors held to the field's width.
#include "grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QValidator>
#include <cmath>
#include <map>

#include "forms/bgr_color.h"
#include "forms/gbk_input.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "link_property.h"
#include "runtime/gbk.h"
#include "table/data_source.h"
#include "table/print_settings.h"
#include "table/report_painter.h"

namespace tavrin::table {

namespace {

int Pixels(int32_t units) {
    return std::max(1, int(std::lround(units / kReportUnitsPerPixel)));
}

// Refuses a text longer than the field in GBK bytes: what does not fit is not
// typed at all, so nothing is cut silently afterwards.
class GbkLimitValidator : public QValidator {
  public:
    GbkLimitValidator(int32_t limit, QObject* parent) : QValidator(parent), limit_(limit) {}
    State validate(QString& input, int&) const override {
        return int32_t(QStringToGbk(input).size()) <= limit_ ? Acceptable : Invalid;
    }
    void fixup(QString& input) const override {
        const std::string gbk = QStringToGbk(input);
        input = GbkToQString(
            std::string_view(gbk).substr(0, GbkWholeCharacterPrefix(gbk, size_t(limit_))));
    }

  private:
    int32_t limit_;
};

class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(GridModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        ProviderControl* p = model_->provider();
        const int32_t limit = p ? p->textLimit(index.column()) : 0;
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line) forms::GuardLineInput(line, 0);
        if (line && limit > 0) line->setValidator(new GbkLimitValidator(limit, line));
        return editor;
    }

  private:
    GridModel* model_;
};

}  // namespace

// ---- model ---------------------------------------------------------------------------------

void GridModel::setSource(DataSourceControl* source) {
    source_ = source;
    rebuild();
}

ProviderControl* GridModel::provider() const {
    return source_ ? source_->provider() : nullptr;
}

bool GridModel::hasNewRowLine() const {
    ProviderControl* p = provider();
    return p && p->rowsEditable();
}

int32_t GridModel::recordCount() const {
    ProviderControl* p = provider();
    return p ? p->rowCount() : 0;
}

void GridModel::rebuild() {
    beginResetModel();
    ProviderControl* p = provider();
    rows_ = p ? p->rowCount() + (hasNewRowLine() ? 1 : 0) : 0;
    columns_ = p ? p->columnCount() : 0;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}
int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    ProviderControl* p = provider();
    // The view may ask about rows a command removed before the grid caught up.
    if (!p || index.row() >= p->rowCount() || index.column() >= p->columnCount()) {
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(QString()) : QVariant();
    }
    const int r = index.row(), c = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) return GbkToQString(p->text(r, c));
    const CellModel* m = p->cells();
    if (!m) return {};
    const CellStyle& s = m->style(r, c);
    switch (role) {
        case Qt::FontRole: {
            QFont f = CellFont(*m, s);
            f.setPixelSize(std::max(6, Pixels(s.fontSize > 0 ? s.fontSize : m->defaultFontSize())));
            return f;
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(CellAlignmentFlags(s.alignment)));
        case Qt::ForegroundRole:
            return s.textColor == kDefaultColor ? QVariant()
                                                : QVariant(forms::ColorFromBgr(s.textColor));
        case Qt::BackgroundRole:
            return s.backColor == kDefaultColor ? QVariant()
                                                : QVariant(forms::ColorFromBgr(s.backColor));
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
    ProviderControl* p = provider();
    if (role != Qt::DisplayRole || !p) return {};
    if (o == Qt::Horizontal) {
        const std::string title = p->columnTitle(section);
        return title.empty() ? QVariant(section + 1) : QVariant(GbkToQString(title));
    }
    return section < p->rowCount() ? QVariant(section + 1) : QVariant(QStringLiteral("*"));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    ProviderControl* p = provider();
    if (p && (p->cells() || p->textLimit(index.column()) > 0)) f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    ProviderControl* p = provider();
    if (role != Qt::EditRole || !p) return false;
    const std::string gbk = QStringToGbk(value.toString());
    int32_t row = index.row();
    if (row >= p->rowCount()) {
        if (gbk.empty() || !hasNewRowLine()) return false;  // nothing typed on the new row
        if (!p->appendRow()) return false;
        row = p->rowCount() - 1;
        beginInsertRows({}, rows_, rows_);
        ++rows_;
        endInsertRows();
    }
    const bool ok = p->setText(row, index.column(), gbk);
    emit dataChanged(this->index(row, 0), this->index(row, columns_ - 1));
    return ok;
}

bool GridModel::removeRecord(int32_t row) {
    ProviderControl* p = provider();
    if (!p || row < 0 || row >= p->rowCount()) return false;
    beginRemoveRows({}, row, row);
    const bool ok = p->removeRow(row);
    --rows_;
    endRemoveRows();
    return ok;
}

// ---- control --------------------------------------------------------------------------------

GridControl::GridControl(const forms::ControlInit& init) : Control(init) {
    view_ = new QTableView(init.parent);
    view_->setModel(&model_);
    view_->setItemDelegate(new CellDelegate(&model_, view_));
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->setDefaultSectionSize(22);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    if (const std::string* font = init.item->typeData.raw(forms::Tag::kFont))
        view_->setFont(forms::FontFromRecord(*font));
    view_->installEventFilter(this);
    setWidget(view_, {view_->viewport()});
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { applyLayout(); });
}

void GridControl::windowCreated() {
    if (source_) return;
    const std::string name = item().typeData.settings()["source"];
    const forms::WindowTemplate* t = forms::FindTemplate(windowId());
    if (!t) return;
    for (const forms::ItemTemplate& it : t->items) {
        if (!name.empty() && it.name != name) continue;
        if (auto* s = forms::FindControlAs<DataSourceControl>(windowId(), it.id)) {
            showSource(s);
            return;
        }
    }
}

QAbstractItemView* GridControl::itemView() const {
    return view_;
}

void GridControl::showSource(DataSourceControl* source) {
    source_ = source;
    if (source) source->addView(this, this);
    model_.setSource(source);
}

void GridControl::applyLayout() {
    ProviderControl* p = model_.provider();
    const CellModel* m = p ? p->cells() : nullptr;
    view_->clearSpans();
    if (!m) return;
    view_->horizontalHeader()->setStretchLastSection(false);
    for (int32_t c = 0; c < m->columnCount(); ++c)
        view_->setColumnWidth(c, Pixels(m->columnWidth(c)));
    // Only rows that differ from the most common height are sized one by one,
    // so that a large table costs one pass.
    std::map<int32_t, int32_t> heights;
    for (int32_t r = 0; r < m->rowCount(); ++r) ++heights[m->rowHeight(r)];
    int32_t common = m->defaultRowHeight(), best = -1;
    for (auto [h, n] : heights)
        if (n > best) best = n, common = h;
    view_->verticalHeader()->setDefaultSectionSize(Pixels(common));
    for (int32_t r = 0; r < m->rowCount(); ++r)
        if (m->rowHeight(r) != common) view_->setRowHeight(r, Pixels(m->rowHeight(r)));
    for (const CellRange& g : m->merges()) view_->setSpan(g.row, g.column, g.rows, g.columns);
}

void GridControl::commitPendingEdits() {
    // Taking the focus from an open editor commits its text.
    QWidget* focus = QApplication::focusWidget();
    if (focus && view_->isAncestorOf(focus)) view_->setFocus();
    view_->setCurrentIndex(QModelIndex());
}

bool GridControl::removeCurrent() {
    return model_.removeRecord(view_->currentIndex().row());
}

bool GridControl::eventFilter(QObject* watched, QEvent* e) {
    if (watched == view_ && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete && model_.hasNewRowLine()) {
        removeCurrent();
        return true;
    }
    return false;
}

bool GridControl::readProperty(int number, forms::PropertyData& out) {
    return ReadLinkProperty(number, source_, out);
}

bool GridControl::writeProperty(int number, const forms::PropertyData& in) {
    return WriteLinkProperty<DataSourceControl>(
        *this, number, in, [this](DataSourceControl* source) { showSource(source); });
}

}  // namespace tavrin::table
