// Combo box: editable unless its style is 1 (drop-down list).
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <functional>

#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/edit_byte_limit.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {
class EventComboBox : public QComboBox {
  public:
    explicit EventComboBox(QWidget* parent) : QComboBox(parent) {}
    std::function<void(bool)> onPopup;
    void showPopup() override {
        if (onPopup) onPopup(true);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        if (onPopup) onPopup(false);
    }
};
}  // namespace

ComboControl::ComboControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    auto* combo = new EventComboBox(init.parent);
    combo_ = combo;
    combo_->setEditable(d.integer(Tag::kStyle) != 1);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setMaxVisibleItems(12);
    for (const ListEntry& e : d.items()) addItem(e.text, e.data);
    combo_->setCurrentIndex(d.has(Tag::kCurrent) ? d.integer(Tag::kCurrent) : -1);
    if (combo_->isEditable()) combo_->setEditText(Gbk(d.text(Tag::kText)));
    ApplyFont(combo_, d);
    setWidget(combo_, {combo_->lineEdit()});
    if (QLineEdit* line = combo_->lineEdit()) {
        line->installEventFilter(this);
        // Connected first, so that its refusal of characters GBK cannot hold
        // comes before the event; an edit of nothing but such characters typed
        // nothing and raises none.
        auto* guard = new EditByteLimit(line);
        connect(line, &QLineEdit::textEdited, this, [this, guard] {
            if (!guard->lastEditRefusedAll()) raise(ComboEvent::kTextEdited);
        });
    }
    combo_->installEventFilter(this);
    connect(combo_, qOverload<int>(&QComboBox::activated), this,
            [this](int) { raise(ComboEvent::kChosen); });
    combo->onPopup = [this](bool shown) {
        raise(shown ? ComboEvent::kDroppedDown : ComboEvent::kClosedUp);
    };
}

bool ComboControl::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) raise(ComboEvent::kDoubleClicked);
    return false;
}

int32_t ComboControl::addItem(std::string_view gbk, int32_t data) {
    // Adding entries chooses none of them and leaves the text as it was (an
    // empty list that gets its first entry would otherwise select it).
    const bool first = combo_->count() == 0;
    const QString text = combo_->currentText();
    combo_->addItem(GbkToQString(gbk), data);
    if (first) {
        combo_->setCurrentIndex(-1);
        if (combo_->isEditable()) combo_->setEditText(text);
    }
    return combo_->count() - 1;
}

std::string ComboControl::itemText(int32_t index) const {
    if (index < 0 || index >= count()) return {};
    return QStringToGbk(combo_->itemText(index));
}

int32_t ComboControl::itemData(int32_t index) const {
    if (index < 0 || index >= count()) return 0;
    return combo_->itemData(index).toInt();
}

bool ComboControl::deleteItem(int32_t index) {
    if (index < 0 || index >= count()) return false;
    combo_->removeItem(index);
    return true;
}

void ComboControl::clear() {
    // As the platform's reset: the list and the edit part are both emptied.
    combo_->clear();
    if (combo_->isEditable()) combo_->setEditText(QString());
}

std::string ComboControl::text() const {
    return QStringToGbk(combo_->currentText());
}

void ComboControl::setText(std::string_view gbk) {
    const QString t = GbkToQString(gbk);
    if (combo_->isEditable()) {
        combo_->setEditText(t);
    } else {
        combo_->setCurrentIndex(combo_->findText(t));
    }
}

void ComboControl::setCurrent(int32_t index) {
    combo_->setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

const PropertyTable<ComboControl>& ComboControl::properties() {
    using B = ComboControl;
    using namespace DataKind;
    static const PropertyTable<B> table{
        {ComboProp::kContent, kText, [](B& c) { return TextData(c.text()); },
         [](B& c, const PropertyData& in) { c.setText(in.bytes); }},
        // An index outside the list chooses no entry.
        {ComboProp::kCurrent, kInt, [](B& c) { return PropertyData::Int(c.current()); },
         [](B& c, const PropertyData& in) { c.setCurrent(in.asInt()); }},
        {ComboProp::kCount, kInt, [](B& c) { return PropertyData::Int(c.count()); }, nullptr},
        {ComboProp::kFont, kFont, [](B& c) { return FontData(c.combo_->font()); },
         [](B& c, const PropertyData& in) { c.combo_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
