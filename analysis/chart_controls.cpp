// Chart controls: a forms Control owning a chart widget, converting the
// window layer's raw property data into the chart's Values and back.
#include "chart_controls.h"

#include <memory>

#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "forms/control.h"
#include "forms/control_lookup.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::analysis {

using namespace tavrin;
using tavrin::charts::ChartWidget;
using tavrin::charts::PropertyKind;

namespace {

class ChartControl : public forms::Control {
  public:
    ChartControl(const forms::ControlInit& init, ChartWidget* chart)
        : Control(init), chart_(chart) {
        setWidget(chart);
    }
    ChartWidget* chart() const { return chart_; }

    bool readProperty(int number, forms::PropertyData& out) override {
        const auto kind = chart_->KindOfProperty(number);
        if (!kind) return false;
        const OwnedText read(chart_->ReadProperty(number));
        const Value& v = read.value();
        switch (*kind) {
            case PropertyKind::kInt:
            case PropertyKind::kBool:
                out.number = v.asInt();
                break;
            case PropertyKind::kDouble:
                out = forms::PropertyData::Double(v.asDouble());
                break;
            case PropertyKind::kText:
                out.bytes = std::string(TextOf(v));
                break;
            case PropertyKind::kBytes:
                out.bytes = std::string(ByteSetOf(v));
                break;
        }
        return true;
    }

    bool writeProperty(int number, const forms::PropertyData& in) override {
        const auto kind = chart_->KindOfProperty(number);
        if (!kind) return false;
        switch (*kind) {
            case PropertyKind::kInt:
                return chart_->WriteProperty(number, MakeInt(in.asInt()));
            case PropertyKind::kBool:
                return chart_->WriteProperty(number, MakeBool(in.number != 0));
            case PropertyKind::kDouble:
                return chart_->WriteProperty(number, MakeDouble(in.asDouble()));
            case PropertyKind::kText:
                return chart_->WriteProperty(number, MakeTextRef(in.bytes.c_str()));
            case PropertyKind::kBytes: {
                ByteSetBlock* block = NewByteSet(in.bytes.data(), in.bytes.size());
                const bool ok = chart_->WriteProperty(number, MakeByteSetRef(block));
                Free(block);
                return ok;
            }
        }
        return false;
    }

  private:
    ChartWidget* chart_;
};

// The window layer's property table of a chart kind, from the chart's own table.
std::vector<forms::PropertyInfo> PropertiesOf(const ChartWidget& chart) {
    std::vector<forms::PropertyInfo> table;
    for (const auto& p : chart.PropertyTable())
        table.push_back(forms::PropertyInfo{p.name, uint16_t(p.kind)});
    return table;
}

template <typename Chart>
void RegisterKind(uint32_t typeId, charts::ChartKind which) {
    Chart probe;
    forms::ControlKind kind;
    kind.properties = PropertiesOf(probe);
    kind.create = [which](const forms::ControlInit& init) -> std::unique_ptr<forms::Control> {
        auto* chart = new Chart(init.parent);
        // The template's texts of the chart (title, units, captions).
        for (const charts::ChartSetting& s : charts::ChartTemplateTexts()) {
            if (s.chart != which) continue;
            const int number = s.index - charts::kFirstOwnPropertyIndex;
            chart->WriteProperty(number, s.text ? MakeTextRef(s.text) : MakeInt(s.number));
        }
        return std::make_unique<ChartControl>(init, chart);
    };
    forms::RegisterControlKind(typeId, std::move(kind));
}

}  // namespace

void RegisterChartKinds() {
    RegisterKind<charts::PieChart>(kPieChartType, charts::ChartKind::kPie);
    RegisterKind<charts::LineChart>(kLineChartType, charts::ChartKind::kLine);
}

ChartWidget* FindChart(uint32_t windowId, uint32_t controlId) {
    auto* control = dynamic_cast<ChartControl*>(forms::FindControl(windowId, controlId));
    return control ? control->chart() : nullptr;
}

}  // namespace tavrin::analysis
