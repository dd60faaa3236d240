// The data source: provider connection, coalesced grid updates, navigator.
#include "table/data_source.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "forms/window_system.h"
#include "link_property.h"

namespace tavrin::table {

DataSourceControl::DataSourceControl(const forms::ControlInit& init) : Control(init) {
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

void DataSourceControl::windowCreated() {
    const std::string name = item().typeData.settings()["provider"];
    if (name.empty() || provider_) return;
    if (const forms::WindowTemplate* t = forms::FindTemplate(windowId()))
        for (const forms::ItemTemplate& it : t->items)
            if (it.name == name)
                if (auto* p = forms::FindControlAs<ProviderControl>(windowId(), it.id))
                    connectProvider(p);
}

void DataSourceControl::connectProvider(ProviderControl* provider) {
    QObject::disconnect(providerWatch_);
    provider_ = provider;
    if (provider)
        providerWatch_ = connect(provider, &ProviderControl::changed, this, [this] { touch(); });
    touch();
}

void DataSourceControl::refresh() {
    if (provider_) provider_->reload();
    resetPending_ = false;
    emit reset();
    showPosition();
}

void DataSourceControl::touch() {
    if (resetPending_) return;
    resetPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!resetPending_) return;
        resetPending_ = false;
        emit reset();
        showPosition();
    });
}

void DataSourceControl::addView(forms::Control* control, SourceView* view) {
    views_.erase(
        std::remove_if(views_.begin(), views_.end(), [](const Shown& v) { return !v.control; }),
        views_.end());
    for (const Shown& v : views_)
        if (v.view == view) return;
    views_.push_back(Shown{control, view});
    connect(this, &DataSourceControl::reset, control, [view] { view->rebuild(); });
    // The view keeps one selection model across resets of its model.
    if (QItemSelectionModel* selection = view->itemView()->selectionModel())
        connect(selection, &QItemSelectionModel::currentChanged, this, [this] { showPosition(); });
}

SourceView* DataSourceControl::firstView() const {
    for (const Shown& v : views_)
        if (v.control) return v.view;
    return nullptr;
}

void DataSourceControl::move(int by) {
    SourceView* v = firstView();
    if (!v) return;
    QAbstractItemView* view = v->itemView();
    const int rows = view->model()->rowCount();
    const int row = std::clamp(view->currentIndex().row() + by, 0, std::max(0, rows - 1));
    view->setCurrentIndex(view->model()->index(row, 0));
}

void DataSourceControl::addRow() {
    SourceView* v = firstView();
    if (!v || !v->hasNewRowLine()) return;
    QAbstractItemView* view = v->itemView();
    const QModelIndex blank = view->model()->index(view->model()->rowCount() - 1, 0);
    view->setCurrentIndex(blank);
    view->edit(blank);
}

void DataSourceControl::removeRow() {
    if (SourceView* v = firstView()) v->removeCurrent();
    showPosition();
}

void DataSourceControl::showPosition() {
    SourceView* v = firstView();
    const int32_t n = provider_ ? provider_->rowCount() : 0;
    const int row = v ? v->itemView()->currentIndex().row() : -1;
    position_->setText(row >= 0 && row < n ? QStringLiteral("%1/%2").arg(row + 1).arg(n)
                                           : QStringLiteral("%1").arg(n));
}

bool DataSourceControl::readProperty(int number, forms::PropertyData& out) {
    return ReadLinkProperty(number, provider_, out);
}

bool DataSourceControl::writeProperty(int number, const forms::PropertyData& in) {
    return WriteLinkProperty<ProviderControl>(
        *this, number, in, [this](ProviderControl* provider) { connectProvider(provider); });
}

}  // namespace tavrin::table
