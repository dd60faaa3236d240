// Date picker and colour picker.
#include <QColorDialog>
#include <QDateTimeEdit>
#include <QPushButton>

#include "forms/controls.h"
#include "forms/internal/property_table.h"
#include "forms/internal/widget_style.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "runtime/base/calendar.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::forms {

// The one calendar of the program (days since 1899-12-30, the time of day
// rounded to whole seconds) serves the date pickers too.
double DateTimeToDays(const QDateTime& t) {
    const QDate d = t.date();
    const QTime time = t.time();
    return kernel::ComposeDateTime(kernel::CalendarParts{d.year(), d.month(), d.day(), time.hour(),
                                                         time.minute(), time.second()});
}

QDateTime DaysToDateTime(double days) {
    const kernel::CalendarParts p = kernel::SplitDateTime(days);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

DatePickerControl::DatePickerControl(const ControlInit& init) : Control(init) {
    const TypeData& d = init.item->typeData;
    edit_ = new QDateTimeEdit(init.parent);
    edit_->setCalendarPopup(true);
    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit_->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    edit_->setDateTime(d.has(Tag::kDateTime) ? DaysToDateTime(d.real(Tag::kDateTime))
                                             : QDateTime(QDate::currentDate(), QTime(0, 0)));
    ApplyFont(edit_, d);
    setWidget(edit_);
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, [this] { raise(PickerEvent::kChanged); });
}

double DatePickerControl::value() const {
    return DateTimeToDays(edit_->dateTime());
}
void DatePickerControl::setValue(double days) {
    edit_->setDateTime(DaysToDateTime(days));
}

const PropertyTable<DatePickerControl>& DatePickerControl::properties() {
    using D = DatePickerControl;
    using namespace DataKind;
    static const PropertyTable<D> table{
        {DateProp::kValue, kDateTime, [](D& c) { return PropertyData::Double(c.value()); },
         [](D& c, const PropertyData& in) { c.setValue(in.asDouble()); }},
        {DateProp::kFont, kFont, [](D& c) { return FontData(c.edit_->font()); },
         [](D& c, const PropertyData& in) { c.edit_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

bool DatePickerControl::readProperty(int number, PropertyData& out) {
    return properties().read(*this, number, out);
}

bool DatePickerControl::writeProperty(int number, const PropertyData& in) {
    return properties().write(*this, number, in);
}

ColorPickerControl::ColorPickerControl(const ControlInit& init) : Control(init) {
    button_ = new QPushButton(init.parent);
    button_->setAutoDefault(false);
    setWidget(button_);
    setColor(uint32_t(init.item->typeData.integer(Tag::kTextColor, 0)));
    connect(button_, &QPushButton::clicked, this, [this] {
        DialogRequest request{"color", {{"color", std::to_string(color_)}}};
        uint32_t chosen = color_;
        bool accepted = false;
        if (auto reply = AnswerDialogAutomatically(request)) {
            accepted = reply->accepted;
            if (auto it = reply->fields.find("color"); it != reply->fields.end())
                chosen = uint32_t(std::stoul(it->second));
        } else {
            QColor c = QColorDialog::getColor(ColorFromBgr(color_), button_);
            accepted = c.isValid();
            chosen = ColorToBgr(c);
        }
        if (!accepted) return;
        setColor(chosen);
        raise(PickerEvent::kChanged);
    });
}

void ColorPickerControl::setColor(uint32_t bgr) {
    color_ = bgr & 0xFFFFFF;
    QPixmap swatch(std::max(8, button_->width() - 12), std::max(8, button_->height() - 10));
    swatch.fill(ColorFromBgr(color_));
    button_->setIcon(QIcon(swatch));
    button_->setIconSize(swatch.size());
}

const PropertyTable<ColorPickerControl>& ColorPickerControl::properties() {
    using P = ColorPickerControl;
    using namespace DataKind;
    static const PropertyTable<P> table{
        {ColorProp::kColor, kColor, [](P& c) { return PropertyData::Int(c.color()); },
         [](P& c, const PropertyData& in) { c.setColor(uint32_t(in.number)); }, Clamp::kRgb},
    };
    return table;
}

bool ColorPickerControl::readProperty(int number, PropertyData& out) {
    return properties().read(*this, number, out);
}

bool ColorPickerControl::writeProperty(int number, const PropertyData& in) {
    return properties().write(*this, number, in);
}

}  // namespace tavrin::forms
