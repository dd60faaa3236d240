// Invisible components (common dialog, timer, printer, providers, record set,
// script) and the panel placeholder, and the registration of every built-in kind.
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <cstdlib>

#include "fm_text_constants.h"
#include "forms/bars.h"
#include "forms/builtin_kinds.h"
#include "forms/controls.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/script_component.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::forms {

// ---- common dialog ---------------------------------------------------------------

CommonDialogControl::CommonDialogControl(const ControlInit& init) : Control(init) {
    const TypeData& d = init.item->typeData;
    kind_ = d.integer(Tag::kDialogKind, 0);
    font_ = d.has(Tag::kFont) ? *d.raw(Tag::kFont) : FontToRecord(DefaultGuiFont());
    color_ = uint32_t(d.integer(Tag::kTextColor, 0));
    title_ = d.text(Tag::kTitle);
    fileName_ = d.text(Tag::kText);
    filter_ = d.settings()["filter"];
}

bool CommonDialogControl::open() {
    static const char* kinds[] = {"font", "color", "open-file", "save-file"};
    const int32_t kind = kind_ >= 0 && kind_ <= 3 ? kind_ : 0;
    DialogRequest request;
    request.kind = kinds[kind];
    request.fields["title"] = GbkToUtf8(title_);
    const QFont font = FontFromRecord(font_);
    if (kind == 0) {
        request.fields["face"] = font.family().toStdString();
        request.fields["size"] = std::to_string(font.pointSize());
        request.fields["bold"] = font.bold() ? "1" : "0";
        request.fields["italic"] = font.italic() ? "1" : "0";
    } else if (kind == 1) {
        request.fields["color"] = std::to_string(color_);
    } else {
        request.fields["file"] = GbkToUtf8(fileName_);
        request.fields["filter"] = GbkToUtf8(filter_);
    }
    if (auto reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return false;
        auto get = [&](const char* k) -> std::string {
            auto it = reply->fields.find(k);
            return it == reply->fields.end() ? std::string() : it->second;
        };
        if (kind == 0) {
            QFont f = font;
            if (!get("face").empty()) f.setFamily(QString::fromStdString(get("face")));
            if (!get("size").empty()) f.setPointSize(std::max(1, std::atoi(get("size").c_str())));
            if (!get("bold").empty()) f.setBold(get("bold") == "1");
            if (!get("italic").empty()) f.setItalic(get("italic") == "1");
            font_ = FontToRecord(f);
        } else if (kind == 1) {
            if (!get("color").empty()) color_ = uint32_t(std::stoul(get("color")));
        } else {
            fileName_ = Utf8ToGbk(get("file"));
        }
        return true;
    }
    const QString title = GbkToQString(title_);
    if (kind == 0) {
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, font, nullptr, title);
        if (ok) font_ = FontToRecord(f);
        return ok;
    }
    if (kind == 1) {
        QColor c = QColorDialog::getColor(ColorFromBgr(color_), nullptr, title);
        if (c.isValid()) color_ = ColorToBgr(c);
        return c.isValid();
    }
    // The filter is "name|pattern|name|pattern" as the program writes it.
    QStringList parts = GbkToQString(filter_).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + " (" + parts[i + 1] + ")";
    const QString start = GbkToQString(fileName_);
    const QString chosen =
        kind == 2 ? QFileDialog::getOpenFileName(nullptr, title, start, filters.join(";;"))
                  : QFileDialog::getSaveFileName(nullptr, title, start, filters.join(";;"));
    if (chosen.isEmpty()) return false;
    fileName_ = QStringToGbk(chosen);
    return true;
}

bool CommonDialogControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case DialogProp::kKind:
            out = PropertyData::Int(kind_);
            return true;
        case DialogProp::kFont:
            out = PropertyData::Bytes(font_);
            return true;
        case DialogProp::kColor:
            out = PropertyData::Int(color_);
            return true;
        case DialogProp::kFileName:
            out = PropertyData::Bytes(fileName_);
            return true;
        case DialogProp::kTitle:
            out = PropertyData::Bytes(title_);
            return true;
        case DialogProp::kFilter:
            out = PropertyData::Bytes(filter_);
            return true;
        default:
            return false;
    }
}

bool CommonDialogControl::writeProperty(int number, const PropertyData& in) {
    switch (number) {
        case DialogProp::kKind:
            kind_ = in.asInt();
            return true;
        case DialogProp::kFont:
            font_ = in.bytes;
            return true;
        case DialogProp::kColor:
            color_ = uint32_t(in.number);
            return true;
        case DialogProp::kFileName:
            fileName_ = in.bytes;
            return true;
        case DialogProp::kTitle:
            title_ = in.bytes;
            return true;
        case DialogProp::kFilter:
            filter_ = in.bytes;
            return true;
        default:
            return false;
    }
}

// ---- timer -------------------------------------------------------------------------------

TimerControl::TimerControl(const ControlInit& init) : Control(init) {
    connect(&timer_, &QTimer::timeout, this, [this] { raise(0); });
    setInterval(init.item->typeData.integer(Tag::kInterval, 0));
}

void TimerControl::setInterval(int32_t ms) {
    interval_ = std::max(0, ms);
    if (interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

bool TimerControl::readProperty(int number, PropertyData& out) {
    if (number != TimerProp::kInterval) return false;
    out = PropertyData::Int(interval_);
    return true;
}

bool TimerControl::writeProperty(int number, const PropertyData& in) {
    if (number != TimerProp::kInterval) return false;
    setInterval(in.asInt());
    return true;
}

// ---- printer ------------------------------------------------------------------------------

PrinterControl::PrinterControl(const ControlInit& init) : Control(init) {
    title_ = init.item->typeData.text(Tag::kTitle);
    if (title_.empty()) title_ = fm_text::PrinterDefaultTitle;
}

QPrinter* PrinterControl::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(GbkToQString(title_));
    }
    return printer_.get();
}

bool PrinterControl::readProperty(int number, PropertyData& out) {
    if (number != PrinterProp::kDocumentTitle) return false;
    out = PropertyData::Bytes(title_);
    return true;
}

bool PrinterControl::writeProperty(int number, const PropertyData& in) {
    if (number != PrinterProp::kDocumentTitle) return false;
    title_ = in.bytes.empty() ? std::string(fm_text::PrinterDefaultTitle) : in.bytes;
    if (printer_) printer_->setDocName(GbkToQString(title_));
    return true;
}

// ---- components and panels -------------------------------------------------------------------

ComponentControl::ComponentControl(const ControlInit& init) : Control(init) {}

std::string ComponentControl::setting(const std::string& gbkKey) const {
    auto all = item().typeData.settings();
    auto it = all.find(gbkKey);
    return it == all.end() ? std::string() : it->second;
}

GridControl::GridControl(const ControlInit& init) : Control(init) {
    view_ = new QTableView(init.parent);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (const std::string* font = init.item->typeData.raw(Tag::kFont))
        view_->setFont(FontFromRecord(*font));
    setWidget(view_, {view_->viewport()});
}

PanelControl::PanelControl(const ControlInit& init) : Control(init) {
    auto* frame = new QFrame(init.parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, Qt::white);
    frame->setPalette(p);
    auto* name = new QLabel(GbkToQString(init.item->name), frame);
    name->move(4, 2);
    name->setEnabled(false);
    setWidget(frame, {name});
}

// ---- registration ----------------------------------------------------------------------------

namespace {
template <typename T>
ControlFactory Make() {
    return [](const ControlInit& init) -> std::unique_ptr<Control> {
        return std::make_unique<T>(init);
    };
}
}  // namespace

void RegisterBuiltinKinds() {
    using namespace TypeId;
    // A kind a higher layer registered already (charts, grid) is left as it is.
    auto reg = [](uint32_t id, ControlFactory f) {
        if (!FindControlKind(id)) RegisterControlKind(id, ControlKind{std::move(f), {}});
    };
    reg(kEdit, Make<EditControl>());
    reg(kPictureBox, Make<BoxControl>());
    reg(kShapeBox, Make<BoxControl>());
    reg(kGroupBox, Make<BoxControl>());
    reg(kLabel, Make<LabelControl>());
    reg(kTransparentLabel, Make<LabelControl>());
    reg(kButton, Make<ButtonControl>());
    reg(kCheckBox, Make<CheckControl>());
    reg(kRadioButton, Make<CheckControl>());
    reg(kComboBox, Make<ComboControl>());
    reg(kListBox, Make<ListBoxControl>());
    reg(kCheckListBox, Make<ListBoxControl>());
    reg(kDatePicker, Make<DatePickerControl>());
    reg(kColorPicker, Make<ColorPickerControl>());
    reg(kCommonDialog, Make<CommonDialogControl>());
    reg(kTimer, Make<TimerControl>());
    reg(kPrinter, Make<PrinterControl>());
    reg(kStatusBar, Make<StatusBarControl>());
    reg(kToolBar, Make<ToolBarControl>());
    reg(kReportList, Make<ReportListControl>());
    reg(kPageControl, Make<PageControl>());
    reg(kGrid, Make<GridControl>());
    reg(kTableDataSource, Make<PanelControl>());
    reg(kPieChart, Make<PanelControl>());
    reg(kLineChart, Make<PanelControl>());
    reg(kGeneralProvider, Make<ComponentControl>());
    reg(kDatabaseProvider, Make<ComponentControl>());
    reg(kRecordSet, Make<ComponentControl>());
    RegisterScriptKind();
    reg(kFieldInfo, Make<ComponentControl>());
    reg(kPrintSettings, Make<ComponentControl>());
}

}  // namespace tavrin::forms
