// List box and check list box.
#include <QListWidget>

#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

ListBoxControl::ListBoxControl(const ControlInit& init)
    : TabledControl(init), checkable_(init.item->typeId == TypeId::kCheckListBox) {
    const TypeData& d = init.item->typeData;
    list_ = new QListWidget(init.parent);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    for (const ListEntry& e : d.items()) addItem(e.text, e.data);
    ApplyFont(list_, d);
    setWidget(list_, {list_->viewport()});
    connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
        if (!programmatic_ && !checkable_) raise(ListBoxEvent::kSelectionChanged);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        if (!checkable_) raise(ListBoxEvent::kDoubleClicked);
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!programmatic_ && checkable_) raise(CheckListEvent::kTicked, {list_->row(item)});
    });
}

int32_t ListBoxControl::addItem(std::string_view gbk, int32_t data) {
    programmatic_ = true;
    auto* item = new QListWidgetItem(GbkToQString(gbk));
    item->setData(Qt::UserRole, data);
    if (checkable_) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list_->addItem(item);
    programmatic_ = false;
    return list_->count() - 1;
}

std::string ListBoxControl::itemText(int32_t index) const {
    if (index < 0 || index >= count()) return {};
    return QStringToGbk(list_->item(index)->text());
}

int32_t ListBoxControl::itemData(int32_t index) const {
    if (index < 0 || index >= count()) return 0;
    return list_->item(index)->data(Qt::UserRole).toInt();
}

bool ListBoxControl::deleteItem(int32_t index) {
    if (index < 0 || index >= count()) return false;
    programmatic_ = true;
    delete list_->takeItem(index);
    programmatic_ = false;
    return true;
}

void ListBoxControl::clear() {
    programmatic_ = true;
    list_->clear();
    programmatic_ = false;
}

bool ListBoxControl::isChecked(int32_t index) const {
    if (!checkable_ || index < 0 || index >= count()) return false;
    return list_->item(index)->checkState() == Qt::Checked;
}

bool ListBoxControl::setChecked(int32_t index, bool checked) {
    if (!checkable_ || index < 0 || index >= count()) return false;
    programmatic_ = true;
    list_->item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    programmatic_ = false;
    return true;
}

int32_t ListBoxControl::current() const {
    QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? list_->row(item) : -1;
}

void ListBoxControl::setCurrent(int32_t index) {
    programmatic_ = true;
    if (index >= 0 && index < count())
        list_->setCurrentRow(index);
    else
        list_->setCurrentRow(-1);
    programmatic_ = false;
}

const PropertyTable<ListBoxControl>& ListBoxControl::properties() {
    using L = ListBoxControl;
    using namespace DataKind;
    static const PropertyTable<L> table{
        // An index outside the list chooses no entry.
        {ListProp::kCurrent, kInt, [](L& c) { return PropertyData::Int(c.current()); },
         [](L& c, const PropertyData& in) { c.setCurrent(in.asInt()); }},
        {ListProp::kCount, kInt, [](L& c) { return PropertyData::Int(c.count()); }, nullptr},
        {ListProp::kFont, kFont, [](L& c) { return FontData(c.list_->font()); },
         [](L& c, const PropertyData& in) { c.list_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
