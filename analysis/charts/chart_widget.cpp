// Painting and the shared look properties of the chart controls.
#include "analysis/charts/chart_widget.h"

#include <QPaintEvent>
#include <QPainter>

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

std::optional<PropertyKind> ChartWidget::KindOfProperty(int number) const {
    const std::vector<ChartPropertyInfo>& table = PropertyTable();
    if (number < 0 || number >= int(table.size())) return std::nullopt;
    return table[size_t(number)].kind;
}

void ChartWidget::setBackgroundColour(uint32_t bgr) {
    mutableStyle().background = bgr;
    update();
}
void ChartWidget::setTextColour(uint32_t bgr) {
    mutableStyle().textColour = bgr;
    update();
}
void ChartWidget::setTitleColour(uint32_t bgr) {
    mutableStyle().titleColour = bgr;
    update();
}
void ChartWidget::setFontFace(const std::string& gbk) {
    mutableStyle().fontFace = gbk;
    update();
}
void ChartWidget::setTitlePixels(int32_t pixels) {
    mutableStyle().titlePixels = ClampInt(pixels, kMinFontPixels, kMaxFontPixels);
    update();
}
void ChartWidget::setTextPixels(int32_t pixels) {
    mutableStyle().textPixels = ClampInt(pixels, kMinFontPixels, kMaxFontPixels);
    update();
}

int ChartWidget::titleBandHeight() const {
    return TitleBandHeight(style(), titleText());
}

bool ChartWidget::WriteStyleProperty(int number, const Value& value) {
    switch (number) {
        case kBackgroundColourProperty:
            setBackgroundColour(uint32_t(IntFromValue(value)));
            return true;
        case kTextColourProperty:
            setTextColour(uint32_t(IntFromValue(value)));
            return true;
        case kTitleColourProperty:
            setTitleColour(uint32_t(IntFromValue(value)));
            return true;
        case kFontFaceProperty:
            setFontFace(TextFromValue(value));
            return true;
        case kTitlePixelsProperty:
            setTitlePixels(IntFromValue(value));
            return true;
        case kTextPixelsProperty:
            setTextPixels(IntFromValue(value));
            return true;
        default:
            return false;
    }
}

std::optional<Value> ChartWidget::ReadStyleProperty(int number) const {
    const ChartStyle& s = style();
    switch (number) {
        case kBackgroundColourProperty:
            return MakeInt(int32_t(s.background));
        case kTextColourProperty:
            return MakeInt(int32_t(s.textColour));
        case kTitleColourProperty:
            return MakeInt(int32_t(s.titleColour));
        case kFontFaceProperty:
            return TextResult(s.fontFace);
        case kTitlePixelsProperty:
            return MakeInt(s.titlePixels);
        case kTextPixelsProperty:
            return MakeInt(s.textPixels);
        default:
            return std::nullopt;
    }
}

}  // namespace tavrin::charts
