// Invisible components (timer, printer, providers, record set, field
// information) and the visible stand-ins: the grid's table view and the panel
// of kinds a later layer registers.
#include <QFrame>
#include <QLabel>

#include "fm_text_constants.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

TimerControl::TimerControl(const ControlInit& init) : TabledControl(init) {
    connect(&timer_, &QTimer::timeout, this, [this] { raise(TimerEvent::kElapsed); });
    setInterval(init.item->typeData.integer(Tag::kInterval, 0));
}

void TimerControl::setInterval(int32_t ms) {
    interval_ = std::max(0, ms);
    if (interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

const PropertyTable<TimerControl>& TimerControl::properties() {
    using T = TimerControl;
    using namespace DataKind;
    static const PropertyTable<T> table{
        // A negative interval stops the timer as 0 does.
        {TimerProp::kInterval, kInt, [](T& c) { return PropertyData::Int(c.interval()); },
         [](T& c, const PropertyData& in) { c.setInterval(in.asInt()); }, Clamp::kNonNegative},
    };
    return table;
}

PrinterControl::PrinterControl(const ControlInit& init) : TabledControl(init) {
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

const PropertyTable<PrinterControl>& PrinterControl::properties() {
    using P = PrinterControl;
    using namespace DataKind;
    static const PropertyTable<P> table{
        // An empty title brings back the default one.
        {PrinterProp::kDocumentTitle, kText, [](P& c) { return PropertyData::Bytes(c.title_); },
         [](P& c, const PropertyData& in) {
             c.title_ = in.bytes.empty() ? std::string(fm_text::PrinterDefaultTitle) : in.bytes;
             if (c.printer_) c.printer_->setDocName(GbkToQString(c.title_));
         }},
    };
    return table;
}

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

}  // namespace tavrin::forms
