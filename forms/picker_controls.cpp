// Date picker and colour picker.
#include <QColorDialog>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "fm_text_constants.h"
#include "forms/bgr_color.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/widget_style.h"
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

namespace {

// A typed date the calendar does not have (2025-02-30) is not cut to a date
// that happens to exist (2025-02-03): the picker goes back to the date it held
// before the person began typing, and says so.
class CheckedDateEdit : public QDateTimeEdit {
  public:
    explicit CheckedDateEdit(QWidget* parent) : QDateTimeEdit(parent) {}
    // The date the picker goes back to: set by the program, or held when the
    // person began to type.
    void keep() { kept_ = dateTime(); }

  protected:
    QValidator::State validate(QString& input, int& pos) const override {
        const QValidator::State state = QDateTimeEdit::validate(input, pos);
        // The day the person is typing: the picker pads a first digit that
        // cannot begin a day of the month ("3" in February becomes "03"), so the
        // next digit arrives after the padding ("2025-02-030" for 30).
        static const QRegularExpression typedDay(
            QStringLiteral("^(\\d{4})-(\\d{2})-(?:0?)(\\d{2})$"));
        const QRegularExpressionMatch m = typedDay.match(input);
        if (state == QValidator::Acceptable || !m.hasMatch() || refusing_) return state;
        const int month = m.captured(2).toInt(), day = m.captured(3).toInt();
        if (month < 1 || month > 12 || day < 1 || day > 31) return state;
        if (QDate(m.captured(1).toInt(), month, day).isValid()) return state;
        const QString typed = m.captured(1) + '-' + m.captured(2) + '-' + m.captured(3);
        // Checked while the key is still being handled: the answer waits for it.
        auto* self = const_cast<CheckedDateEdit*>(this);
        self->refusing_ = true;
        QTimer::singleShot(0, self, [self, typed] { self->refuse(typed); });
        return QValidator::Invalid;
    }
    void focusInEvent(QFocusEvent* e) override {
        keep();
        QDateTimeEdit::focusInEvent(e);
    }

  private:
    void refuse(const QString& typed) {
        setDateTime(kept_);
        refusing_ = false;
        const std::string text = std::string(fm_text::NoSuchDateBefore) + QStringToGbk(typed) +
                                 fm_text::NoSuchDateMiddle +
                                 QStringToGbk(kept_.toString(displayFormat())) +
                                 fm_text::NoSuchDateAfter;
        ShowMessageBox(text, fm_text::CharacterOutsideGbkCaption, kIconExclamation);
        selectAll();
    }
    QDateTime kept_;
    bool refusing_ = false;  // a refusal waits for the key that caused it
};

}  // namespace

DatePickerControl::DatePickerControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    edit_ = new CheckedDateEdit(init.parent);
    edit_->setCalendarPopup(true);
    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit_->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    edit_->setDateTime(d.has(Tag::kDateTime) ? DaysToDateTime(d.real(Tag::kDateTime))
                                             : QDateTime(QDate::currentDate(), QTime(0, 0)));
    static_cast<CheckedDateEdit*>(edit_)->keep();
    ApplyFont(edit_, d);
    setWidget(edit_);
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, [this] { raise(PickerEvent::kChanged); });
}

double DatePickerControl::value() const {
    return DateTimeToDays(edit_->dateTime());
}
void DatePickerControl::setValue(double days) {
    edit_->setDateTime(DaysToDateTime(days));
    static_cast<CheckedDateEdit*>(edit_)->keep();
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

ColorPickerControl::ColorPickerControl(const ControlInit& init) : TabledControl(init) {
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
            chosen = BgrFromColor(c);
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

}  // namespace tavrin::forms
