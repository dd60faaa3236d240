// Push button, check box and radio button.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

ButtonControl::ButtonControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    button_ = new QPushButton(Gbk(d.text(Tag::kCaption)), init.parent);
    button_->setAutoDefault(false);
    ApplyFont(button_, d);
    setWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] { raise(ButtonEvent::kClicked); });
}

const PropertyTable<ButtonControl>& ButtonControl::properties() {
    using B = ButtonControl;
    using namespace DataKind;
    static const PropertyTable<B> table{
        {ButtonProp::kCaption, kText,
         [](B& c) { return TextData(QStringToGbk(c.button_->text())); },
         [](B& c, const PropertyData& in) { c.button_->setText(GbkToQString(in.bytes)); }},
        {ButtonProp::kFont, kFont, [](B& c) { return FontData(c.button_->font()); },
         [](B& c, const PropertyData& in) { c.button_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

CheckControl::CheckControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    if (init.item->typeId == TypeId::kRadioButton)
        button_ = new QRadioButton(Gbk(d.text(Tag::kCaption)), init.parent);
    else
        button_ = new QCheckBox(Gbk(d.text(Tag::kCaption)), init.parent);
    button_->setChecked(d.integer(Tag::kChecked));
    ApplyFont(button_, d);
    ApplyColors(button_, d, QPalette::WindowText, QPalette::Window);
    setWidget(button_);
    // Radio buttons of one container exclude each other (Qt's auto-exclusive parent rule).
    connect(button_, &QAbstractButton::clicked, this, [this] { raise(ButtonEvent::kClicked); });
}

void CheckControl::setChecked(bool on) {
    button_->setChecked(on);
}

const PropertyTable<CheckControl>& CheckControl::properties() {
    using K = CheckControl;
    using namespace DataKind;
    static const PropertyTable<K> table{
        {CheckProp::kCaption, kText, [](K& c) { return TextData(QStringToGbk(c.button_->text())); },
         [](K& c, const PropertyData& in) { c.button_->setText(GbkToQString(in.bytes)); }},
        {CheckProp::kChecked, kBool, [](K& c) { return PropertyData::Int(c.isChecked()); },
         [](K& c, const PropertyData& in) { c.setChecked(in.number); }, Clamp::kBool},
        {CheckProp::kFont, kFont, [](K& c) { return FontData(c.button_->font()); },
         [](K& c, const PropertyData& in) { c.button_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
