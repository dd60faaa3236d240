// Properties of the pie chart control.
#include "analysis/charts/pie_chart.h"

#include <QPainter>

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"

namespace tavrin::charts {

namespace {

// The default name of item position n (1-based): "数据项n".
std::string DefaultItemName(int32_t position) {
    std::string name = chart_text::PieDefaultItemName;
    name.pop_back();  // the trailing "1"
    return name + std::to_string(position);
}

}  // namespace

PieChart::PieChart(QWidget* parent) : ChartWidget(parent) {
    model_.style.fontFace = chart_text::DefaultFontFace;
    model_.title = chart_text::PieDefaultTitle;
    model_.unit = chart_text::PieDefaultUnit;
    model_.items.push_back({chart_text::PieDefaultItemName, 0xFF0000, 10.0});
}

QString PieChart::titleText() const {
    return ChartText(model_.title);
}

void PieChart::PaintChart(QPainter& painter, QSize size, ChartMedium) const {
    PaintPieChart(painter, size, model_);
}

QString PieChart::toolTipAt(QPoint position) const {
    const PieLayout layout = LayOutPie(size(), model_);
    const int32_t item = PieItemAt(layout, position);
    if (item >= 0) return layout.itemTexts[size_t(item)];
    if (item != -2) return QString();
    QStringList lines;
    for (int32_t i : layout.unlisted) lines << layout.itemTexts[size_t(i)];
    return lines.join(QLatin1Char('\n'));
}

void PieChart::setItemCount(int32_t count) {
    count = ClampInt(count, 1, kMaxItems);
    const int32_t old = itemCount();
    model_.items.resize(size_t(count));
    for (int32_t i = old; i < count; ++i)
        model_.items[size_t(i)] = {DefaultItemName(i + 1), StructurePaletteColor(i + 1), 0.0};
    current_ = 0;
    update();
}

void PieChart::setCurrentItem(int32_t index) {
    current_ = index >= 0 && index < itemCount() ? index : 0;
    update();
}

namespace {

const std::string& ItemNameOf(const PieChart& c) {
    return c.currentItemFields().name;
}
uint32_t ItemColorOf(const PieChart& c) {
    return c.currentItemFields().color;
}
double ItemValueOf(const PieChart& c) {
    return c.currentItemFields().value;
}

using P = PieChart;
constexpr PropertyKind kInt = PropertyKind::kInt, kBool = PropertyKind::kBool,
                       kText = PropertyKind::kText, kDouble = PropertyKind::kDouble,
                       kBytes = PropertyKind::kBytes;
// In own-number order from kBackgroundPicture.
constexpr ChartPropertyRow kRows[] = {
    Row<P, kBytes, &P::backgroundPicture, &P::setBackgroundPicture>("Picture"),
    Row<P, kBool, &P::border, &P::setBorder>("Border"),
    Row<P, kText, &P::title, &P::setTitle>("Title"),
    Row<P, kBool, &P::showTitle, &P::setShowTitle>("ShowTitle"),
    Row<P, kBool, &P::showLegend, &P::setShowLegend>("ShowLegend"),
    Row<P, kText, &P::unit, &P::setUnit>("Unit"),
    Row<P, kInt, &P::radiusRatio, &P::setRadiusRatio>("RadiusRatio"),
    Row<P, kInt, &P::decimals, &P::setDecimals>("Decimals"),
    Row<P, kBool, &P::threeD, &P::setThreeD>("ThreeD"),
    Row<P, kBool, &P::outline, &P::setOutline>("Outline"),
    Row<P, kInt, &P::outlineColor, &P::setOutlineColor>("OutlineColor"),
    Row<P, kInt, &P::itemCount, &P::setItemCount>("ItemCount"),
    Row<P, kInt, &P::currentItem, &P::setCurrentItem>("CurrentItem"),
    Row<P, kText, &ItemNameOf, &P::setItemName>("ItemName"),
    Row<P, kInt, &ItemColorOf, &P::setItemColor>("ItemColor"),
    Row<P, kDouble, &ItemValueOf, &P::setItemValue>("ItemValue"),
    Row<P, kInt, &P::rimDepth, &P::setRimDepth>("RimDepth"),
};
static_assert(P::kBackgroundPicture == kFirstChartProperty);
static_assert(int(std::size(kRows)) == P::kPropertyCount - kFirstChartProperty);

}  // namespace

std::span<const ChartPropertyRow> PieChart::chartRows() const {
    return kRows;
}

}  // namespace tavrin::charts
