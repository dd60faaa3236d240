// Painting and the shared look properties of the chart controls.
#include "analysis/charts/chart_widget.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace tavrin::charts {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    // The chart paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintChart(painter, size(), ChartMedium::kScreen);
}

void ChartWidget::PrintOnto(QPainter& painter, const QRect& page) const {
    PaintOntoPage(painter, page,
                  [this](QPainter& p, QSize size) { PaintChart(p, size, ChartMedium::kPrint); });
}

namespace {

uint32_t BackgroundColorOf(const ChartWidget& c) {
    return c.style().background;
}
uint32_t TextColorOf(const ChartWidget& c) {
    return c.style().textColor;
}
uint32_t TitleColorOf(const ChartWidget& c) {
    return c.style().titleColor;
}
const std::string& FontFaceOf(const ChartWidget& c) {
    return c.style().fontFace;
}
int32_t TitlePixelsOf(const ChartWidget& c) {
    return c.style().titlePixels;
}
int32_t TextPixelsOf(const ChartWidget& c) {
    return c.style().textPixels;
}

using W = ChartWidget;
constexpr PropertyKind kInt = PropertyKind::kInt, kText = PropertyKind::kText;
constexpr ChartPropertyRow kStyleRows[] = {
    Row<W, kInt, &BackgroundColorOf, &W::setBackgroundColor>("BackColor"),
    Row<W, kInt, &TextColorOf, &W::setTextColor>("TextColor"),
    Row<W, kInt, &TitleColorOf, &W::setTitleColor>("TitleColor"),
    Row<W, kText, &FontFaceOf, &W::setFontFace>("FontFace"),
    Row<W, kInt, &TitlePixelsOf, &W::setTitlePixels>("TitlePixels"),
    Row<W, kInt, &TextPixelsOf, &W::setTextPixels>("TextPixels"),
};
static_assert(int(std::size(kStyleRows)) == kFirstChartProperty);

}  // namespace

const ChartPropertyRow* ChartWidget::rowOf(int number) const {
    if (number < 0) return nullptr;
    if (number < kFirstChartProperty) return &kStyleRows[number];
    const std::span<const ChartPropertyRow> rows = chartRows();
    const size_t own = size_t(number - kFirstChartProperty);
    return own < rows.size() ? &rows[own] : nullptr;
}

bool ChartWidget::WriteProperty(int number, const Value& value) {
    const ChartPropertyRow* row = rowOf(number);
    if (row == nullptr) return false;
    row->write(*this, value);
    return true;
}

Value ChartWidget::ReadProperty(int number) const {
    const ChartPropertyRow* row = rowOf(number);
    return row ? row->read(*this) : Value{};
}

std::vector<ChartPropertyInfo> ChartWidget::PropertyTable() const {
    std::vector<ChartPropertyInfo> table;
    for (const ChartPropertyRow& row : kStyleRows) table.push_back(row.info);
    for (const ChartPropertyRow& row : chartRows()) table.push_back(row.info);
    return table;
}

std::optional<PropertyKind> ChartWidget::KindOfProperty(int number) const {
    const ChartPropertyRow* row = rowOf(number);
    return row ? std::optional(row->info.kind) : std::nullopt;
}

void ChartWidget::setTitlePixels(int32_t pixels) {
    assign(mutableStyle().titlePixels, ClampInt(pixels, kMinFontPixels, kMaxFontPixels));
}
void ChartWidget::setTextPixels(int32_t pixels) {
    assign(mutableStyle().textPixels, ClampInt(pixels, kMinFontPixels, kMaxFontPixels));
}

int ChartWidget::titleBandHeight() const {
    return TitleBandHeight(style(), titleText());
}

bool ChartWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tavrin::charts
