// Label and transparent label.
#include <QLabel>

#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

LabelControl::LabelControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    label_ = new QLabel(Gbk(d.text(Tag::kCaption)), init.parent);
    label_->setAlignment(AlignmentOf(d.integer(Tag::kAlign)) & ~Qt::AlignVCenter);
    label_->setAlignment(label_->alignment() | Qt::AlignTop);
    label_->setWordWrap(true);
    if (init.item->typeId == TypeId::kTransparentLabel)
        label_->setAttribute(Qt::WA_TranslucentBackground);
    ApplyColors(label_, d, QPalette::WindowText, QPalette::Window);
    ApplyFont(label_, d);
    if (d.integer(Tag::kBorder))
        label_->setFrameShape(QFrame::Panel), label_->setFrameShadow(QFrame::Sunken);
    setWidget(label_);
}

const PropertyTable<LabelControl>& LabelControl::properties() {
    using L = LabelControl;
    using namespace DataKind;
    static const PropertyTable<L> table{
        {LabelProp::kCaption, kText, [](L& c) { return TextData(QStringToGbk(c.label_->text())); },
         [](L& c, const PropertyData& in) { c.label_->setText(GbkToQString(in.bytes)); }},
        {LabelProp::kFont, kFont, [](L& c) { return FontData(c.label_->font()); },
         [](L& c, const PropertyData& in) { c.label_->setFont(FontFromRecord(in.bytes)); }},
        {LabelProp::kTextColor, kColor,
         [](L& c) { return ColorData(c.label_->palette().color(QPalette::WindowText)); },
         [](L& c, const PropertyData& in) {
             SetPaletteColor(c.label_, QPalette::WindowText, uint32_t(in.number));
         }},
        {LabelProp::kBackColor, kColor,
         [](L& c) { return ColorData(c.label_->palette().color(QPalette::Window)); },
         [](L& c, const PropertyData& in) {
             SetPaletteColor(c.label_, QPalette::Window, uint32_t(in.number));
         }},
        {LabelProp::kAlign, kPick,
         [](L& c) {
             const Qt::Alignment a = c.label_->alignment();
             return PropertyData::Int(a & Qt::AlignHCenter ? 1 : a & Qt::AlignRight ? 2 : 0);
         },
         [](L& c, const PropertyData& in) {
             c.label_->setAlignment((AlignmentOf(in.asInt()) & ~Qt::AlignVCenter) | Qt::AlignTop);
         }},
    };
    return table;
}

}  // namespace tavrin::forms
