// The tables of control kinds and one-word properties.
#include "control_kinds.h"

#include "forms/template_format.h"

namespace tavrin::templatec {

namespace tf = tavrin::forms;

const std::map<std::string, KindInfo>& Kinds() {
    using namespace tf::TypeId;
    const uint32_t V = tf::kStateVisible, I = tf::kStateInteractive;
    static const std::map<std::string, KindInfo> kinds = {
        {"edit", {kEdit, V | I, false}},
        {"picture", {kPictureBox, V, true}},
        {"shape", {kShapeBox, V, true}},
        {"group", {kGroupBox, V, true}},
        {"label", {kLabel, V, false}},
        {"button", {kButton, V | I, false}},
        {"checkbox", {kCheckBox, V | I, false}},
        {"radio", {kRadioButton, V | I, false}},
        {"combo", {kComboBox, V | I, false}},
        {"list", {kListBox, V | I, false}},
        {"checklist", {kCheckListBox, V | I, false}},
        {"date", {kDatePicker, V | I, false}},
        {"color", {kColorPicker, V | I, false}},
        {"dialog", {kCommonDialog, 0, false}},
        {"timer", {kTimer, 0, false}},
        {"printer", {kPrinter, 0, false}},
        {"grid", {kGrid, V | I, false}},
        {"datasource", {kTableDataSource, V | I, false}},
        {"provider", {kGeneralProvider, 0, false}},
        {"dbprovider", {kDatabaseProvider, 0, false}},
        {"statusbar", {kStatusBar, V, false}},
        {"toolbar", {kToolBar, V, false}},
        {"listview", {kReportList, V | I, false}},
        {"translabel", {kTransparentLabel, V, false}},
        {"pages", {kPageControl, V, true}},
        {"recordset", {kRecordSet, 0, false}},
        {"piechart", {kPieChart, V | I, false}},
        {"linechart", {kLineChart, V | I, false}},
        {"script", {kScript, 0, false}},
    };
    return kinds;
}

const std::map<std::string, uint32_t>& IntKeys() {
    using namespace tf::Tag;
    static const std::map<std::string, uint32_t> keys = {
        {"color", kTextColor},       {"background", kBackColor},  {"multiline", kMultiLine},
        {"password", kPassword},     {"readonly", kReadOnly},     {"checked", kChecked},
        {"interval", kInterval},     {"align", kAlign},           {"border", kBorder},
        {"style", kStyle},           {"maxlength", kMaxLength},   {"current", kCurrent},
        {"checkboxes", kCheckBoxes}, {"gridlines", kGridLines},   {"startstate", kStartState},
        {"dialog", kDialogKind},     {"scrollbars", kScrollBars}, {"flat", kFlat},
    };
    return keys;
}

}  // namespace tavrin::templatec
