// Edit box: a line edit, or a plain-text edit when multi-line; its content
// limited to a number of GBK bytes.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/edit_byte_limit.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

EditControl::EditControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    QWidget* w;
    if (d.integer(Tag::kMultiLine)) {
        multi_ = new QPlainTextEdit(init.parent);
        multi_->setPlainText(Gbk(d.text(Tag::kText)));
        multi_->setReadOnly(d.integer(Tag::kReadOnly));
        const int32_t bars = d.integer(Tag::kScrollBars, 2);
        multi_->setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
        multi_->setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAsNeeded
                                                      : Qt::ScrollBarAlwaysOff);
        if (!(bars & 1)) multi_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        limit_ = new EditByteLimit(multi_);
        w = multi_;
        ApplyColors(w, d, QPalette::Text, QPalette::Base);
        ApplyFont(w, d);
        setWidget(w, {multi_->viewport()});
    } else {
        line_ = new QLineEdit(init.parent);
        line_->setText(Gbk(d.text(Tag::kText)));
        line_->setReadOnly(d.integer(Tag::kReadOnly));
        if (d.integer(Tag::kPassword)) line_->setEchoMode(QLineEdit::Password);
        limit_ = new EditByteLimit(line_);
        line_->setAlignment(AlignmentOf(d.integer(Tag::kAlign)));
        w = line_;
        ApplyColors(w, d, QPalette::Text, QPalette::Base);
        ApplyFont(w, d);
        setWidget(w);
    }
    limit_->setMaxBytes(d.integer(Tag::kMaxLength));
}

std::string EditControl::text() const {
    return QStringToGbk(line_ ? line_->text() : multi_->toPlainText());
}

void EditControl::setText(std::string_view gbk) {
    limit_->setByProgram([&] {
        if (line_)
            line_->setText(GbkToQString(gbk));
        else
            multi_->setPlainText(GbkToQString(gbk));
    });
}

const PropertyTable<EditControl>& EditControl::properties() {
    using E = EditControl;
    using namespace DataKind;
    static const PropertyTable<E> table{
        {EditProp::kContent, kText, [](E& c) { return TextData(c.text()); },
         [](E& c, const PropertyData& in) { c.setText(in.bytes); }},
        {EditProp::kReadOnly, kBool,
         [](E& c) {
             return PropertyData::Int(c.line_ ? c.line_->isReadOnly() : c.multi_->isReadOnly());
         },
         [](E& c, const PropertyData& in) {
             if (c.line_)
                 c.line_->setReadOnly(in.number);
             else
                 c.multi_->setReadOnly(in.number);
         }},
        {EditProp::kMaxLength, kInt, [](E& c) { return PropertyData::Int(c.limit_->maxBytes()); },
         [](E& c, const PropertyData& in) { c.limit_->setMaxBytes(in.asInt()); }},
        {EditProp::kFont, kFont, [](E& c) { return FontData(c.widget()->font()); },
         [](E& c, const PropertyData& in) { c.widget()->setFont(FontFromRecord(in.bytes)); }},
        {EditProp::kTextColor, kColor,
         [](E& c) { return ColorData(c.widget()->palette().color(QPalette::Text)); },
         [](E& c, const PropertyData& in) {
             SetPaletteColor(c.widget(), QPalette::Text, uint32_t(in.number));
         }},
        {EditProp::kBackColor, kColor,
         [](E& c) { return ColorData(c.widget()->palette().color(QPalette::Base)); },
         [](E& c, const PropertyData& in) {
             SetPaletteColor(c.widget(), QPalette::Base, uint32_t(in.number));
         }},
        // A multi-line edit has no password mode; writing it there changes nothing.
        {EditProp::kPassword, kBool,
         [](E& c) {
             return PropertyData::Int(c.line_ && c.line_->echoMode() == QLineEdit::Password);
         },
         [](E& c, const PropertyData& in) {
             if (c.line_) c.line_->setEchoMode(in.number ? QLineEdit::Password : QLineEdit::Normal);
         }},
        // Fixed when the widget is made.
        {EditProp::kMultiLine, kBool, [](E& c) { return PropertyData::Int(c.multi_ != nullptr); },
         nullptr},
    };
    return table;
}

}  // namespace tavrin::forms
