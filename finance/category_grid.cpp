// Grid, data source and database provider over one record file.
#include "finance/category_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "finance/ui.h"
#include "forms/control.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_file.h"
#include "runtime/gbk.h"

namespace finance {

using namespace tavrin;
using forms::Control;
using forms::ControlInit;
using forms::PropertyData;

namespace {

// Serves the records of one file: one row per record, one column per field
// (text fields as text, other kinds are not edited here).
class DatabaseProviderControl : public Control {
  public:
    explicit DatabaseProviderControl(const ControlInit& init) : Control(init) {}
    ~DatabaseProviderControl() override { close(); }

    bool readProperty(int number, PropertyData& out) override {
        if (number != 0) return false;
        out = PropertyData::Bytes(fileName_);
        return true;
    }
    bool writeProperty(int number, const PropertyData& in) override {
        if (number != 0) return false;
        fileName_ = in.bytes;
        return true;
    }

    bool open() {
        close();
        if (fileName_.empty()) return false;
        rs::OpenRequest request;
        request.gbkPath = rs::WithDefaultExtension(DatabaseManager::FullPath(fileName_));
        request.sharing = rs::Sharing::kDenyNone;
        return rs::OpenDatabaseFiles(request, &db_) == rs::kOk;
    }
    void close() { db_.reset(); }
    bool isOpen() const { return db_ != nullptr; }

    int32_t rows() const {
        int32_t n = 0;
        if (db_ && rs::ReadRecordCount(*db_, &n) != rs::kOk) n = 0;
        return n;
    }
    int32_t columns() const { return db_ ? db_->fieldCount() : 0; }
    std::string fieldName(int32_t c) const { return db_->fields[size_t(c)].name; }
    bool isText(int32_t c) const { return db_->fields[size_t(c)].type == rs::kFieldText; }

    std::string text(int32_t row, int32_t c) const {
        if (!db_ || !isText(c)) return {};
        const rs::FieldDescriptor& f = db_->fields[size_t(c)];
        std::vector<uint8_t> bytes(size_t(f.width), 0);
        if (rs::ReadFieldBytes(*db_, row, f, bytes.data()) != rs::kOk) return {};
        size_t n = 0;
        while (n < bytes.size() && bytes[n] != 0) ++n;
        return std::string(reinterpret_cast<const char*>(bytes.data()), n);
    }

    // Stored cut to the field's size; a double-byte character is never split.
    bool setText(int32_t row, int32_t c, const std::string& gbk) {
        if (!db_ || !isText(c)) return false;
        const rs::FieldDescriptor& f = db_->fields[size_t(c)];
        std::vector<uint8_t> bytes(size_t(f.width), 0);
        size_t n = 0;
        while (n < gbk.size()) {
            const size_t step = IsGbkLeadByte(uint8_t(gbk[n])) && n + 1 < gbk.size() ? 2 : 1;
            if (n + step > bytes.size()) break;
            n += step;
        }
        std::memcpy(bytes.data(), gbk.data(), n);
        return rs::WriteFieldBytes(*db_, row, f, bytes.data()) == rs::kOk;
    }

    bool appendRow() { return db_ && rs::AppendRecord(*db_) == rs::kOk; }
    bool removeRow(int32_t row) { return db_ && rs::PackRecords(*db_, row, 1) == rs::kOk; }

  private:
    std::string fileName_;
    std::unique_ptr<rs::Database> db_;
};

// The grid's model: the provider's records plus one blank row at the end,
// where typing a text appends a new record.
class ProviderModel : public QAbstractTableModel {
  public:
    void setProvider(DatabaseProviderControl* p) {
        beginResetModel();
        provider_ = p;
        endResetModel();
    }
    void reload() {
        beginResetModel();
        endResetModel();
    }
    bool hasProvider() const { return provider_ && provider_->isOpen(); }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !hasProvider() ? 0 : provider_->rows() + 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !hasProvider() ? 0 : provider_->columns();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!hasProvider() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        if (index.row() >= provider_->rows()) return QString();
        return GbkToQString(provider_->text(index.row(), index.column()));
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole || !hasProvider()) return {};
        if (o == Qt::Horizontal) return GbkToQString(provider_->fieldName(section));
        return section < provider_->rows() ? QVariant(section + 1) : QVariant(QStringLiteral("*"));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (hasProvider() && provider_->isText(index.column())) f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || !hasProvider()) return false;
        const std::string gbk = QStringToGbk(value.toString());
        int32_t row = index.row();
        if (row >= provider_->rows()) {
            if (gbk.empty()) return false;  // nothing typed on the new row
            if (!provider_->appendRow()) return false;
            row = provider_->rows() - 1;
            beginInsertRows({}, row + 1, row + 1);
            endInsertRows();
        }
        const bool ok = provider_->setText(row, index.column(), gbk);
        emit dataChanged(this->index(row, 0), this->index(row, columnCount() - 1));
        return ok;
    }
    bool removeRecord(int32_t row) {
        if (!hasProvider() || row < 0 || row >= provider_->rows()) return false;
        beginRemoveRows({}, row, row);
        const bool ok = provider_->removeRow(row);
        endRemoveRows();
        return ok;
    }
    int32_t recordCount() const { return hasProvider() ? provider_->rows() : 0; }

  private:
    DatabaseProviderControl* provider_ = nullptr;
};

class GridControl : public Control {
  public:
    explicit GridControl(const ControlInit& init) : Control(init) {
        view_ = new QTableView(init.parent);
        view_->setModel(&model_);
        view_->horizontalHeader()->setStretchLastSection(true);
        view_->verticalHeader()->setDefaultSectionSize(22);
        view_->setSelectionMode(QAbstractItemView::SingleSelection);
        view_->setEditTriggers(
            QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
        view_->installEventFilter(this);
        setWidget(view_);
    }
    QTableView* view() const { return view_; }
    ProviderModel& model() { return model_; }
    void commitEdits() {
        // Taking the focus from an open editor commits its text.
        QWidget* focus = QApplication::focusWidget();
        if (focus && view_->isAncestorOf(focus)) view_->setFocus();
        view_->setCurrentIndex(QModelIndex());
    }
    // Removes the current row's record; false when no record row is current.
    bool removeCurrent() {
        const int32_t row = view_->currentIndex().row();
        return model_.removeRecord(row);
    }

  private:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == view_ && e->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
            removeCurrent();
            return true;
        }
        return false;
    }
    QTableView* view_;
    ProviderModel model_;
};

// A small navigator: previous / next record, add (jumps to the new row),
// remove the current record, and the position.
class DataSourceControl : public Control {
  public:
    explicit DataSourceControl(const ControlInit& init) : Control(init) {
        auto* bar = new QWidget(init.parent);
        auto* layout = new QHBoxLayout(bar);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(1);
        auto button = [&](const char* text, const char* tip, auto action) {
            auto* b = new QToolButton(bar);
            b->setText(QString::fromUtf8(text));
            b->setToolTip(QString::fromUtf8(tip));
            b->setFixedSize(22, 22);
            QObject::connect(b, &QToolButton::clicked, this, action);
            layout->addWidget(b);
            return b;
        };
        button("◀", "上一条", [this] { move(-1); });
        button("▶", "下一条", [this] { move(+1); });
        button("+", "添加", [this] { addRow(); });
        button("−", "删除当前记录", [this] { removeRow(); });
        position_ = new QLabel(bar);
        position_->setAlignment(Qt::AlignCenter);
        layout->addWidget(position_, 1);
        setWidget(bar);
    }

    void reload() {
        provider_ = nullptr;
        grids_.clear();
        const forms::WindowTemplate* t = forms::FindTemplate(windowId());
        if (!t) return;
        for (const forms::ItemTemplate& item : t->items) {
            Control* c = forms::FindControl(windowId(), item.id);
            if (!provider_) provider_ = dynamic_cast<DatabaseProviderControl*>(c);
            if (auto* g = dynamic_cast<GridControl*>(c)) grids_.push_back(g);
        }
        if (provider_) provider_->open();
        for (GridControl* g : grids_) {
            g->model().setProvider(provider_);
            QObject::connect(g->view()->selectionModel(), &QItemSelectionModel::currentChanged,
                             this, [this] { showPosition(); });
        }
        showPosition();
    }

    void shutDown() {
        for (GridControl* g : grids_) {
            g->commitEdits();
            g->model().setProvider(nullptr);
        }
        if (provider_) provider_->close();
    }

  private:
    GridControl* grid() const { return grids_.empty() ? nullptr : grids_.front(); }
    void move(int by) {
        GridControl* g = grid();
        if (!g) return;
        const int rows = g->model().rowCount();
        const int row = std::clamp(g->view()->currentIndex().row() + by, 0, std::max(0, rows - 1));
        g->view()->setCurrentIndex(g->model().index(row, 0));
    }
    void addRow() {
        GridControl* g = grid();
        if (!g || g->model().rowCount() == 0) return;
        const QModelIndex blank = g->model().index(g->model().rowCount() - 1, 0);
        g->view()->setCurrentIndex(blank);
        g->view()->edit(blank);
    }
    void removeRow() {
        if (GridControl* g = grid()) g->removeCurrent();
        showPosition();
    }
    void showPosition() {
        GridControl* g = grid();
        const int32_t n = g ? g->model().recordCount() : 0;
        const int row = g ? g->view()->currentIndex().row() : -1;
        position_->setText(row >= 0 && row < n ? QStringLiteral("%1/%2").arg(row + 1).arg(n)
                                               : QStringLiteral("%1").arg(n));
    }
    QLabel* position_;
    DatabaseProviderControl* provider_ = nullptr;
    std::vector<GridControl*> grids_;
};

template <typename T>
forms::ControlFactory Make() {
    return [](const ControlInit& init) { return std::make_unique<T>(init); };
}

}  // namespace

void RegisterDataComponentKinds() {
    using namespace forms::TypeId;
    forms::RegisterControlKind(kGrid, {Make<GridControl>(), {}});
    forms::RegisterControlKind(kTableDataSource, {Make<DataSourceControl>(), {}});
    forms::RegisterControlKind(kDatabaseProvider, {Make<DatabaseProviderControl>(),
                                                   {{"FileName", forms::DataKind::kText}}});
}

void SetProviderFileName(uint32_t window, uint32_t provider, const std::string& gbkPath) {
    WriteTextProperty(window, provider, forms::Prop::kOwn + 0, gbkPath);
}

void ReloadDataSource(uint32_t window, uint32_t dataSource) {
    if (auto* s = forms::FindControlAs<DataSourceControl>(window, dataSource)) s->reload();
}

void ShutDownDataComponents(uint32_t window) {
    const forms::WindowTemplate* t = forms::FindTemplate(window);
    if (!t) return;
    for (const forms::ItemTemplate& item : t->items)
        if (auto* s = forms::FindControlAs<DataSourceControl>(window, item.id)) s->shutDown();
    for (const forms::ItemTemplate& item : t->items)
        if (auto* p = forms::FindControlAs<DatabaseProviderControl>(window, item.id)) p->close();
}

}  // namespace finance
