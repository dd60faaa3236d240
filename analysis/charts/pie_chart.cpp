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

void PieChart::setTitle(const std::string& gbk) {
    model_.title = gbk;
    update();
}
void PieChart::setUnit(const std::string& gbk) {
    model_.unit = gbk;
    update();
}
void PieChart::setRadiusRatio(int32_t thousandths) {
    model_.radiusRatio = ClampInt(thousandths, 0, 1000);
    update();
}
void PieChart::setDecimals(int32_t decimals) {
    model_.decimals = ClampInt(decimals, 0, 5);
    update();
}
void PieChart::setRimDepth(int32_t tenths) {
    model_.rimDepth = ClampInt(tenths, 0, 10);
    update();
}
void PieChart::setThreeD(bool on) {
    model_.threeD = on;
    update();
}
void PieChart::setOutline(bool on) {
    model_.outline = on;
    update();
}
void PieChart::setOutlineColour(uint32_t bgr) {
    model_.outlineColour = bgr;
    update();
}
void PieChart::setShowTitle(bool on) {
    model_.style.showTitle = on;
    update();
}
void PieChart::setShowLegend(bool on) {
    model_.showLegend = on;
    update();
}
void PieChart::setBorder(bool on) {
    model_.style.border = on;
    update();
}
void PieChart::setBackgroundPicture(const std::string& encoded) {
    model_.style.picture = encoded;
    update();
}

void PieChart::setItemCount(int32_t count) {
    count = ClampInt(count, 1, kMaxItems);
    const int32_t old = itemCount();
    model_.items.resize(size_t(count));
    for (int32_t i = old; i < count; ++i)
        model_.items[size_t(i)] = {DefaultItemName(i + 1), StructurePaletteColour(i + 1), 0.0};
    current_ = 0;
    update();
}

void PieChart::setCurrentItem(int32_t index) {
    current_ = index >= 0 && index < itemCount() ? index : 0;
    update();
}

void PieChart::setItemName(const std::string& gbk) {
    currentItemRef().name = gbk;
    update();
}
void PieChart::setItemColour(uint32_t bgr) {
    currentItemRef().colour = bgr;
    update();
}
void PieChart::setItemValue(double value) {
    currentItemRef().value = ClampChartValue(value);
    update();
}

bool PieChart::WriteProperty(int number, const Value& v) {
    if (WriteStyleProperty(number, v)) return true;
    switch (number) {
        case kBackgroundPicture:
            setBackgroundPicture(BytesFromValue(v));
            return true;
        case kBorder:
            setBorder(BoolFromValue(v));
            return true;
        case kTitle:
            setTitle(TextFromValue(v));
            return true;
        case kShowTitle:
            setShowTitle(BoolFromValue(v));
            return true;
        case kShowLegend:
            setShowLegend(BoolFromValue(v));
            return true;
        case kUnit:
            setUnit(TextFromValue(v));
            return true;
        case kRadiusRatio:
            setRadiusRatio(IntFromValue(v));
            return true;
        case kDecimals:
            setDecimals(IntFromValue(v));
            return true;
        case kThreeD:
            setThreeD(BoolFromValue(v));
            return true;
        case kOutline:
            setOutline(BoolFromValue(v));
            return true;
        case kOutlineColour:
            setOutlineColour(uint32_t(IntFromValue(v)));
            return true;
        case kItemCount:
            setItemCount(IntFromValue(v));
            return true;
        case kCurrentItem:
            setCurrentItem(IntFromValue(v));
            return true;
        case kItemName:
            setItemName(TextFromValue(v));
            return true;
        case kItemColour:
            setItemColour(uint32_t(IntFromValue(v)));
            return true;
        case kItemValue:
            setItemValue(DoubleFromValue(v));
            return true;
        case kRimDepth:
            setRimDepth(IntFromValue(v));
            return true;
        default:
            return false;
    }
}

Value PieChart::ReadProperty(int number) const {
    if (auto v = ReadStyleProperty(number)) return *v;
    const PieItem& cur = model_.items[size_t(current_)];
    switch (number) {
        case kBackgroundPicture:
            return BytesResult(model_.style.picture);
        case kBorder:
            return MakeBool(model_.style.border);
        case kTitle:
            return TextResult(model_.title);
        case kShowTitle:
            return MakeBool(model_.style.showTitle);
        case kShowLegend:
            return MakeBool(model_.showLegend);
        case kUnit:
            return TextResult(model_.unit);
        case kRadiusRatio:
            return MakeInt(model_.radiusRatio);
        case kDecimals:
            return MakeInt(model_.decimals);
        case kThreeD:
            return MakeBool(model_.threeD);
        case kOutline:
            return MakeBool(model_.outline);
        case kOutlineColour:
            return MakeInt(int32_t(model_.outlineColour));
        case kItemCount:
            return MakeInt(itemCount());
        case kCurrentItem:
            return MakeInt(current_);
        case kItemName:
            return TextResult(cur.name);
        case kItemColour:
            return MakeInt(int32_t(cur.colour));
        case kItemValue:
            return MakeDouble(cur.value);
        case kRimDepth:
            return MakeInt(model_.rimDepth);
        default:
            return Value{};
    }
}

const std::vector<ChartPropertyInfo>& PieChart::PropertyTable() const {
    static const std::vector<ChartPropertyInfo> table = {
        {"BackColor", PropertyKind::kInt},    {"TextColor", PropertyKind::kInt},
        {"TitleColor", PropertyKind::kInt},   {"FontFace", PropertyKind::kText},
        {"TitlePixels", PropertyKind::kInt},  {"TextPixels", PropertyKind::kInt},
        {"Picture", PropertyKind::kBytes},    {"Border", PropertyKind::kBool},
        {"Title", PropertyKind::kText},       {"ShowTitle", PropertyKind::kBool},
        {"ShowLegend", PropertyKind::kBool},  {"Unit", PropertyKind::kText},
        {"RadiusRatio", PropertyKind::kInt},  {"Decimals", PropertyKind::kInt},
        {"ThreeD", PropertyKind::kBool},      {"Outline", PropertyKind::kBool},
        {"OutlineColor", PropertyKind::kInt}, {"ItemCount", PropertyKind::kInt},
        {"CurrentItem", PropertyKind::kInt},  {"ItemName", PropertyKind::kText},
        {"ItemColor", PropertyKind::kInt},    {"ItemValue", PropertyKind::kDouble},
        {"RimDepth", PropertyKind::kInt},
    };
    return table;
}

}  // namespace tavrin::charts
