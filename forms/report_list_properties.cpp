// The report list view's own properties: current row, row count, grid lines,
// check boxes and font.
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/report_list.h"

namespace tavrin::forms {

const PropertyTable<ReportListControl>& ReportListControl::properties() {
    using R = ReportListControl;
    using namespace DataKind;
    static const PropertyTable<R> table{
        // A row outside the list clears the selection.
        {ListViewProp::kCurrent, kInt, [](R& c) { return PropertyData::Int(c.currentRow()); },
         [](R& c, const PropertyData& in) { c.setCurrentRow(in.asInt()); }},
        {ListViewProp::kCount, kInt, [](R& c) { return PropertyData::Int(c.itemCount()); },
         nullptr},
        {ListViewProp::kGridLines, kBool,
         [](R& c) { return PropertyData::Int(c.view_->alternatingRowColors()); },
         [](R& c, const PropertyData& in) { c.view_->setAlternatingRowColors(in.number); },
         Clamp::kBool},
        {ListViewProp::kCheckBoxes, kBool,
         [](R& c) { return PropertyData::Int(c.model_->showCheckBoxes()); },
         [](R& c, const PropertyData& in) { c.model_->setShowCheckBoxes(in.number); },
         Clamp::kBool},
        {ListViewProp::kFont, kFont, [](R& c) { return FontData(c.view_->font()); },
         [](R& c, const PropertyData& in) { c.view_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
