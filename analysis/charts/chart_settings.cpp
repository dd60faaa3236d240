// The finance program's template texts and start-up settings of its charts.
#include "analysis/charts/chart_settings.h"

#include "analysis/charts/chart_property.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "chart_text_constants.h"

namespace tavrin::charts {

namespace {

ChartSetting LineText(int own, const char* text) {
    return {ChartKind::kLine, PropertyIndex(own), text, 0};
}
ChartSetting LineNumber(int own, int32_t number) {
    return {ChartKind::kLine, PropertyIndex(own), nullptr, number};
}
ChartSetting PieText(int own, const char* text) {
    return {ChartKind::kPie, PropertyIndex(own), text, 0};
}

}  // namespace

const std::vector<ChartSetting>& ChartTemplateTexts() {
    static const std::vector<ChartSetting> settings = {
        LineText(LineChart::kPointLabel, chart_text::TemplateLinePointLabel),
        LineText(LineChart::kSeriesName, chart_text::TemplateLineSeriesName),
        LineText(LineChart::kCaption, chart_text::TemplateLineCaption),
        LineText(LineChart::kUnit, chart_text::TemplateLineUnit),
        LineText(LineChart::kTitle, chart_text::TemplateLineTitle),
        LineText(LineChart::kToolTipTemplate, chart_text::ToolTipTemplate),
        PieText(PieChart::kItemName, chart_text::TemplatePieItemName),
        PieText(PieChart::kUnit, chart_text::TemplatePieUnit),
        PieText(PieChart::kTitle, chart_text::TemplatePieTitle),
    };
    return settings;
}

const std::vector<ChartSetting>& ChartStartUpSettings() {
    static const std::vector<ChartSetting> settings = {
        LineText(LineChart::kTitle, chart_text::StartUpLineTitle),      // 14
        LineText(LineChart::kUnit, chart_text::StartUpLineUnit),        // 18
        LineNumber(LineChart::kMaximum, 20),                            // 21
        LineNumber(LineChart::kDivisions, 10),                          // 22
        LineText(LineChart::kCaption, chart_text::StartUpLineCaption),  // 17
        LineNumber(LineChart::kPointCount, 12),                         // 30
        LineNumber(LineChart::kSeriesCount, 2),                         // 26
        PieText(PieChart::kTitle, chart_text::StartUpPieTitle),         // 16
        PieText(PieChart::kUnit, chart_text::StartUpPieUnit),           // 19
    };
    return settings;
}

void ApplyChartSettings(const std::vector<ChartSetting>& settings, PieChart& pie, LineChart& line) {
    for (const ChartSetting& s : settings) {
        const Value v = s.text ? MakeTextRef(s.text) : MakeInt(s.number);
        ChartWidget& chart = s.chart == ChartKind::kPie ? static_cast<ChartWidget&>(pie)
                                                        : static_cast<ChartWidget&>(line);
        chart.WriteProperty(s.index - kFirstOwnPropertyIndex, v);
    }
}

}  // namespace tavrin::charts
