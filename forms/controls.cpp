// The standard controls: edit, label, button, check and radio, boxes, combo,
// list and check list, date and colour pickers.
#include "forms/controls.h"

#include <QColorDialog>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <cmath>

#include "forms/edit_byte_limit.h"
#include "forms/picture.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "runtime/base/calendar.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::forms {

namespace {

void ApplyFont(QWidget* w, const TypeData& data) {
    if (const std::string* font = data.raw(Tag::kFont)) w->setFont(FontFromRecord(*font));
}

void SetPaletteColor(QWidget* w, QPalette::ColorRole role, uint32_t bgr) {
    QPalette p = w->palette();
    p.setColor(role, ColorFromBgr(bgr));
    w->setPalette(p);
    if (role == QPalette::Window || role == QPalette::Base) w->setAutoFillBackground(true);
}

void ApplyColors(QWidget* w, const TypeData& data, QPalette::ColorRole text,
                 QPalette::ColorRole back) {
    if (data.has(Tag::kTextColor))
        SetPaletteColor(w, text, uint32_t(data.integer(Tag::kTextColor)));
    if (data.has(Tag::kBackColor))
        SetPaletteColor(w, back, uint32_t(data.integer(Tag::kBackColor)));
}

Qt::Alignment AlignmentOf(int32_t a) {
    return (a == 1 ? Qt::AlignHCenter : a == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QString Gbk(const std::string& s) {
    return GbkToQString(s);
}

}  // namespace

// ---- edit box ------------------------------------------------------------------

EditControl::EditControl(const ControlInit& init) : Control(init) {
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

bool EditControl::readProperty(int number, PropertyData& out) {
    QWidget* w = widget();
    switch (number) {
        case EditProp::kContent:
            out = PropertyData::Bytes(text());
            return true;
        case EditProp::kReadOnly:
            out = PropertyData::Int(line_ ? line_->isReadOnly() : multi_->isReadOnly());
            return true;
        case EditProp::kMaxLength:
            out = PropertyData::Int(limit_->maxBytes());
            return true;
        case EditProp::kFont:
            out = PropertyData::Bytes(FontToRecord(w->font()));
            return true;
        case EditProp::kTextColor:
            out = PropertyData::Int(ColorToBgr(w->palette().color(QPalette::Text)));
            return true;
        case EditProp::kBackColor:
            out = PropertyData::Int(ColorToBgr(w->palette().color(QPalette::Base)));
            return true;
        case EditProp::kPassword:
            out = PropertyData::Int(line_ && line_->echoMode() == QLineEdit::Password);
            return true;
        case EditProp::kMultiLine:
            out = PropertyData::Int(multi_ != nullptr);
            return true;
        default:
            return false;
    }
}

bool EditControl::writeProperty(int number, const PropertyData& in) {
    QWidget* w = widget();
    switch (number) {
        case EditProp::kContent:
            setText(in.bytes);
            return true;
        case EditProp::kReadOnly:
            if (line_)
                line_->setReadOnly(in.number);
            else
                multi_->setReadOnly(in.number);
            return true;
        case EditProp::kMaxLength:
            limit_->setMaxBytes(int32_t(in.number));
            return true;
        case EditProp::kFont:
            w->setFont(FontFromRecord(in.bytes));
            return true;
        case EditProp::kTextColor:
            SetPaletteColor(w, QPalette::Text, uint32_t(in.number));
            return true;
        case EditProp::kBackColor:
            SetPaletteColor(w, QPalette::Base, uint32_t(in.number));
            return true;
        case EditProp::kPassword:
            if (line_) line_->setEchoMode(in.number ? QLineEdit::Password : QLineEdit::Normal);
            return true;
        default:
            return false;
    }
}

// ---- label -----------------------------------------------------------------------

LabelControl::LabelControl(const ControlInit& init) : Control(init) {
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

bool LabelControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case LabelProp::kCaption:
            out = PropertyData::Bytes(QStringToGbk(label_->text()));
            return true;
        case LabelProp::kFont:
            out = PropertyData::Bytes(FontToRecord(label_->font()));
            return true;
        case LabelProp::kTextColor:
            out = PropertyData::Int(ColorToBgr(label_->palette().color(QPalette::WindowText)));
            return true;
        case LabelProp::kBackColor:
            out = PropertyData::Int(ColorToBgr(label_->palette().color(QPalette::Window)));
            return true;
        case LabelProp::kAlign: {
            const Qt::Alignment a = label_->alignment();
            out = PropertyData::Int(a & Qt::AlignHCenter ? 1 : a & Qt::AlignRight ? 2 : 0);
            return true;
        }
        default:
            return false;
    }
}

bool LabelControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case LabelProp::kCaption:
            label_->setText(GbkToQString(in.bytes));
            return true;
        case LabelProp::kFont:
            label_->setFont(FontFromRecord(in.bytes));
            return true;
        case LabelProp::kTextColor:
            SetPaletteColor(label_, QPalette::WindowText, uint32_t(in.number));
            return true;
        case LabelProp::kBackColor:
            SetPaletteColor(label_, QPalette::Window, uint32_t(in.number));
            return true;
        case LabelProp::kAlign:
            label_->setAlignment((AlignmentOf(in.asInt()) & ~Qt::AlignVCenter) | Qt::AlignTop);
            return true;
        default:
            return false;
    }
}

// ---- button ------------------------------------------------------------------------

ButtonControl::ButtonControl(const ControlInit& init) : Control(init) {
    const TypeData& d = init.item->typeData;
    button_ = new QPushButton(Gbk(d.text(Tag::kCaption)), init.parent);
    button_->setAutoDefault(false);
    ApplyFont(button_, d);
    setWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] { raise(0); });
}

bool ButtonControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case ButtonProp::kCaption:
            out = PropertyData::Bytes(QStringToGbk(button_->text()));
            return true;
        case ButtonProp::kFont:
            out = PropertyData::Bytes(FontToRecord(button_->font()));
            return true;
        default:
            return false;
    }
}

bool ButtonControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case ButtonProp::kCaption:
            button_->setText(GbkToQString(in.bytes));
            return true;
        case ButtonProp::kFont:
            button_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

// ---- check box, radio button --------------------------------------------------------

CheckControl::CheckControl(const ControlInit& init) : Control(init) {
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
    connect(button_, &QAbstractButton::clicked, this, [this] { raise(0); });
}

void CheckControl::setChecked(bool on) {
    button_->setChecked(on);
}

bool CheckControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case CheckProp::kCaption:
            out = PropertyData::Bytes(QStringToGbk(button_->text()));
            return true;
        case CheckProp::kChecked:
            out = PropertyData::Int(button_->isChecked());
            return true;
        case CheckProp::kFont:
            out = PropertyData::Bytes(FontToRecord(button_->font()));
            return true;
        default:
            return false;
    }
}

bool CheckControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case CheckProp::kCaption:
            button_->setText(GbkToQString(in.bytes));
            return true;
        case CheckProp::kChecked:
            setChecked(in.number != 0);
            return true;
        case CheckProp::kFont:
            button_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

// ---- boxes ----------------------------------------------------------------------------

namespace {

// A shape box draws its outline and fill; children sit on top of it.
class ShapeWidget : public QWidget {
  public:
    ShapeWidget(QWidget* parent, int32_t style, uint32_t line, uint32_t fill, bool filled)
        : QWidget(parent), style_(style), line_(line), fill_(fill), filled_(filled) {}
    int32_t style_;
    uint32_t line_, fill_;
    bool filled_;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(ColorFromBgr(line_));
        if (filled_) p.setBrush(ColorFromBgr(fill_));
        const QRect r = rect().adjusted(0, 0, -1, -1);
        switch (style_) {
            case 1:
                p.drawEllipse(r);
                break;
            case 2:
                p.drawRoundedRect(r, 6, 6);
                break;
            case 3:
                p.drawLine(r.topLeft(), r.topRight());
                break;
            default:
                p.drawRect(r);
                break;
        }
    }
};

class PictureWidget : public QFrame {
  public:
    explicit PictureWidget(QWidget* parent) : QFrame(parent) {}
    QImage image;

  protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        if (image.isNull()) return;
        QPainter p(this);
        p.drawImage(contentsRect(), image);
    }
};

}  // namespace

BoxControl::BoxControl(const ControlInit& init) : Control(init) {
    const TypeData& d = init.item->typeData;
    switch (init.item->typeId) {
        case TypeId::kGroupBox: {
            auto* g = new QGroupBox(Gbk(d.text(Tag::kCaption)), init.parent);
            ApplyFont(g, d);
            setWidget(g);
            break;
        }
        case TypeId::kShapeBox: {
            auto* s = new ShapeWidget(
                init.parent, d.integer(Tag::kStyle), uint32_t(d.integer(Tag::kTextColor, 0x808080)),
                uint32_t(d.integer(Tag::kBackColor, 0xFFFFFF)), d.has(Tag::kBackColor));
            setWidget(s);
            break;
        }
        default: {
            auto* p = new PictureWidget(init.parent);
            p->setFrameShape(d.integer(Tag::kBorder, 1) ? QFrame::StyledPanel : QFrame::NoFrame);
            if (const std::string* pic = d.raw(Tag::kPicture)) {
                picture_ = *pic;
                p->image = DecodePicture(picture_);
            }
            ApplyColors(p, d, QPalette::WindowText, QPalette::Window);
            setWidget(p);
            break;
        }
    }
}

QWidget* BoxControl::childContainer() {
    return widget();
}

bool BoxControl::readProperty(int number, PropertyData& out) {
    QWidget* w = widget();
    switch (typeId()) {
        case TypeId::kGroupBox: {
            auto* g = static_cast<QGroupBox*>(w);
            if (number == GroupProp::kCaption)
                out = PropertyData::Bytes(QStringToGbk(g->title()));
            else if (number == GroupProp::kFont)
                out = PropertyData::Bytes(FontToRecord(g->font()));
            else
                return false;
            return true;
        }
        case TypeId::kShapeBox: {
            auto* s = static_cast<ShapeWidget*>(w);
            if (number == ShapeProp::kStyle)
                out = PropertyData::Int(s->style_);
            else if (number == ShapeProp::kLineColor)
                out = PropertyData::Int(s->line_);
            else if (number == ShapeProp::kFillColor)
                out = PropertyData::Int(s->fill_);
            else
                return false;
            return true;
        }
        default:
            if (number == PictureProp::kPicture)
                out = PropertyData::Bytes(picture_);
            else if (number == PictureProp::kBackColor)
                out = PropertyData::Int(ColorToBgr(w->palette().color(QPalette::Window)));
            else
                return false;
            return true;
    }
}

bool BoxControl::writeProperty(int number, const PropertyData& in) {
    QWidget* w = widget();
    switch (typeId()) {
        case TypeId::kGroupBox: {
            auto* g = static_cast<QGroupBox*>(w);
            if (number == GroupProp::kCaption)
                g->setTitle(GbkToQString(in.bytes));
            else if (number == GroupProp::kFont)
                g->setFont(FontFromRecord(in.bytes));
            else
                return false;
            return true;
        }
        case TypeId::kShapeBox: {
            auto* s = static_cast<ShapeWidget*>(w);
            if (number == ShapeProp::kStyle)
                s->style_ = in.asInt();
            else if (number == ShapeProp::kLineColor)
                s->line_ = uint32_t(in.number);
            else if (number == ShapeProp::kFillColor)
                s->fill_ = uint32_t(in.number), s->filled_ = true;
            else
                return false;
            s->update();
            return true;
        }
        default: {
            auto* p = static_cast<PictureWidget*>(w);
            if (number == PictureProp::kPicture) {
                picture_ = in.bytes;
                p->image = DecodePicture(picture_);
                p->update();
            } else if (number == PictureProp::kBackColor) {
                SetPaletteColor(p, QPalette::Window, uint32_t(in.number));
            } else {
                return false;
            }
            return true;
        }
    }
}

// ---- combo box ------------------------------------------------------------------------

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

ComboControl::ComboControl(const ControlInit& init) : Control(init) {
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
    if (combo_->lineEdit()) {
        combo_->lineEdit()->installEventFilter(this);
        connect(combo_->lineEdit(), &QLineEdit::textEdited, this, [this] { raise(1); });
    }
    combo_->installEventFilter(this);
    connect(combo_, qOverload<int>(&QComboBox::activated), this, [this](int) { raise(0); });
    combo->onPopup = [this](bool shown) { raise(shown ? 2 : 3); };
}

bool ComboControl::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) raise(4);
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

bool ComboControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case ComboProp::kContent:
            out = PropertyData::Bytes(text());
            return true;
        case ComboProp::kCurrent:
            out = PropertyData::Int(current());
            return true;
        case ComboProp::kCount:
            out = PropertyData::Int(count());
            return true;
        case ComboProp::kFont:
            out = PropertyData::Bytes(FontToRecord(combo_->font()));
            return true;
        default:
            return false;
    }
}

bool ComboControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case ComboProp::kContent:
            setText(in.bytes);
            return true;
        case ComboProp::kCurrent:
            setCurrent(in.asInt());
            return true;
        case ComboProp::kFont:
            combo_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

// ---- list box, check list box ------------------------------------------------------------

ListBoxControl::ListBoxControl(const ControlInit& init)
    : Control(init), checkable_(init.item->typeId == TypeId::kCheckListBox) {
    const TypeData& d = init.item->typeData;
    list_ = new QListWidget(init.parent);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    for (const ListEntry& e : d.items()) addItem(e.text, e.data);
    ApplyFont(list_, d);
    setWidget(list_, {list_->viewport()});
    connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
        if (!programmatic_ && !checkable_) raise(0);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        if (!checkable_) raise(1);
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!programmatic_ && checkable_) raise(0, {list_->row(item)});
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

bool ListBoxControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case ListProp::kCurrent:
            out = PropertyData::Int(current());
            return true;
        case ListProp::kCount:
            out = PropertyData::Int(count());
            return true;
        case ListProp::kFont:
            out = PropertyData::Bytes(FontToRecord(list_->font()));
            return true;
        default:
            return false;
    }
}

bool ListBoxControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case ListProp::kCurrent:
            setCurrent(in.asInt());
            return true;
        case ListProp::kFont:
            list_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

// ---- date picker -------------------------------------------------------------------------

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
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, [this] { raise(0); });
}

double DatePickerControl::value() const {
    return DateTimeToDays(edit_->dateTime());
}
void DatePickerControl::setValue(double days) {
    edit_->setDateTime(DaysToDateTime(days));
}

bool DatePickerControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case DateProp::kValue:
            out = PropertyData::Double(value());
            return true;
        case DateProp::kFont:
            out = PropertyData::Bytes(FontToRecord(edit_->font()));
            return true;
        default:
            return false;
    }
}

bool DatePickerControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case DateProp::kValue:
            setValue(in.asDouble());
            return true;
        case DateProp::kFont:
            edit_->setFont(FontFromRecord(in.bytes));
            return true;
        default:
            return false;
    }
}

// ---- colour picker -------------------------------------------------------------------------

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
        raise(0);
    });
}

void ColorPickerControl::setColor(uint32_t bgr) {
    color_ = bgr & 0xFFFFFF;
    QPixmap swatch(std::max(8, button_->width() - 12), std::max(8, button_->height() - 10));
    swatch.fill(ColorFromBgr(color_));
    button_->setIcon(QIcon(swatch));
    button_->setIconSize(swatch.size());
}

bool ColorPickerControl::readProperty(int number, PropertyData& out) {
    if (number != ColorProp::kColor) return false;
    out = PropertyData::Int(color_);
    return true;
}

bool ColorPickerControl::writeProperty(int number, const PropertyData& in) {
    if (number != ColorProp::kColor) return false;
    setColor(uint32_t(in.number));
    return true;
}

}  // namespace tavrin::forms
