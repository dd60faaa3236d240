// Property access by ids: clamping, template values kept across closing and
// creation, data-kind conversions, fonts, menu items and the fatal errors.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <cstring>
#include <set>

#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/form_window.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/report_list.h"
#include "forms/script_component.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "internal/type_catalogue.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "test_support.h"

using namespace tavrin;
using namespace tavrin::forms;
using namespace formtest;

namespace {

constexpr uint32_t W = ids::TestWindow;

class PropertyTest : public testing::Test {
  protected:
    void SetUp() override {
        SetUpWindowLayer();
        ResetWindows();
    }
    void TearDown() override { ResetWindows(); }
};

// Each kind's table of readers and writers must promise exactly what the type
// catalogue tells the program: the same numbers with the same data kinds, and
// no catalogue property without a reader.
TEST(PropertyTables, EveryKindsTableAgreesWithTheCatalogue) {
    using namespace TypeId;
    const std::pair<uint32_t, std::vector<PropertyShape>> kinds[] = {
        {kWindow, WindowControl::properties().shape()},
        {kEdit, EditControl::properties().shape()},
        {kLabel, LabelControl::properties().shape()},
        {kTransparentLabel, LabelControl::properties().shape()},
        {kButton, ButtonControl::properties().shape()},
        {kCheckBox, CheckControl::properties().shape()},
        {kRadioButton, CheckControl::properties().shape()},
        {kGroupBox, BoxControl::properties(kGroupBox).shape()},
        {kShapeBox, BoxControl::properties(kShapeBox).shape()},
        {kPictureBox, BoxControl::properties(kPictureBox).shape()},
        {kComboBox, ComboControl::properties().shape()},
        {kListBox, ListBoxControl::properties().shape()},
        {kCheckListBox, ListBoxControl::properties().shape()},
        {kDatePicker, DatePickerControl::properties().shape()},
        {kColorPicker, ColorPickerControl::properties().shape()},
        {kCommonDialog, CommonDialogControl::properties().shape()},
        {kTimer, TimerControl::properties().shape()},
        {kPrinter, PrinterControl::properties().shape()},
        {kPageControl, PageControl::properties().shape()},
        {kStatusBar, StatusBarControl::properties().shape()},
        {kToolBar, ToolBarControl::properties().shape()},
        {kReportList, ReportListControl::properties().shape()},
        {kScript, ScriptControl::properties().shape()},
    };
    RegisterScriptKind();  // its properties come with its registration, not the catalogue
    for (const auto& [typeId, rows] : kinds) {
        SCOPED_TRACE(testing::Message() << "type " << std::hex << typeId);
        const TypeInfo* type = FindTypeInfo(typeId);
        ASSERT_NE(type, nullptr);
        const ControlKind* kind = FindControlKind(typeId);
        const size_t promised = kind && !kind->properties.empty() ? kind->properties.size()
                                                                  : size_t(type->propertyCount);
        ASSERT_EQ(rows.size(), promised);
        std::set<int32_t> numbers;
        for (const PropertyShape& row : rows) {
            EXPECT_TRUE(numbers.insert(row.number).second) << "number twice: " << row.number;
            const PropertyInfo* info = FindPropertyInfo(typeId, row.number);
            ASSERT_NE(info, nullptr) << "number " << row.number;
            EXPECT_EQ(row.dataKind, info->dataKind) << info->name;
        }
    }
}

TEST_F(PropertyTest, WidthAndPositionAreClampedToTheCoordinateLimit) {
    ASSERT_TRUE(LoadWindow(W));
    WriteInt(W, ids::AddButton, Prop::kWidth, 40000);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kWidth), 32627);
    WriteInt(W, ids::AddButton, Prop::kHeight, -5);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kHeight), 0);
    WriteInt(W, ids::AddButton, Prop::kLeft, -40000);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kLeft), -32627);
    WriteInt(W, ids::AddButton, Prop::kTop, 40000);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kTop), 32627);
    // Moving keeps the size; the live widget follows.
    WriteInt(W, ids::AddButton, Prop::kWidth, 90);
    WriteInt(W, ids::AddButton, Prop::kLeft, 12);
    EXPECT_EQ(WidgetOf(W, ids::AddButton)->geometry().left(), 12);
    EXPECT_EQ(WidgetOf(W, ids::AddButton)->width(), 90);
    // The same limit applies while the window is not created.
    CloseWindow(W, true);
    WriteInt(W, ids::AddButton, Prop::kWidth, 40000);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kWidth), 32627);
}

TEST_F(PropertyTest, CommonPropertiesOfAClosedWindowReadTheLastWrittenValues) {
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kWidth), 88);  // template value, never created
    ASSERT_TRUE(LoadWindow(W));
    WriteInt(W, ids::AddButton, Prop::kWidth, 123);
    CloseWindow(W, true);
    SettleEvents();
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kWidth), 123);
    WriteInt(W, ids::AddButton, Prop::kHeight, 31);
    WriteInt(W, ids::AddButton, Prop::kDisabled, 1);
    WriteInt(W, ids::Check1, Prop::kVisible, 0);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kHeight), 31);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kDisabled), 1);
    EXPECT_EQ(ReadInt(W, ids::Check1, Prop::kVisible), 0);
    // The next creation uses them.
    ASSERT_TRUE(LoadWindow(W));
    QWidget* add = WidgetOf(W, ids::AddButton);
    EXPECT_EQ(add->size(), QSize(123, 31));
    EXPECT_FALSE(add->isEnabled());
    EXPECT_TRUE(WidgetOf(W, ids::Check1)->isHidden());
}

TEST_F(PropertyTest, MarkAndMousePointerAreCopiedBlocks) {
    WriteTextUtf8(W, ids::AddButton, Prop::kMark, "标记");
    EXPECT_EQ(ReadTextUtf8(W, ids::AddButton, Prop::kMark), "标记");
    ASSERT_TRUE(LoadWindow(W));
    const uint32_t cursor[1] = {3};
    ByteSetBlock* set = NewByteSet(cursor, 4);
    Value v;
    v.setPointer(set);
    WriteProperty(W, ids::AddButton, Prop::kMousePointer, -1, v.lo, v.hi);
    Free(set);
    EXPECT_EQ(WidgetOf(W, ids::AddButton)->cursor().shape(), Qt::IBeamCursor);
    auto* back = reinterpret_cast<ByteSetBlock*>(
        uintptr_t(ReadProperty(W, ids::AddButton, Prop::kMousePointer)));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->length, 4u);
    EXPECT_EQ(back->data()[0], 3);
    Free(back);
}

TEST_F(PropertyTest, OwnPropertiesConvertByTheirDataKind) {
    ASSERT_TRUE(LoadWindow(W));
    WriteTextUtf8(W, ids::AmountEdit, Prop::kOwn + EditProp::kContent, "12.5元");
    EXPECT_EQ(static_cast<QLineEdit*>(WidgetOf(W, ids::AmountEdit))->text(),
              QString::fromUtf8("12.5元"));
    EXPECT_EQ(ReadTextUtf8(W, ids::AmountEdit, Prop::kOwn + EditProp::kContent), "12.5元");
    // An empty text reads as null.
    WriteTextUtf8(W, ids::AmountEdit, Prop::kOwn + EditProp::kContent, "");
    EXPECT_EQ(ReadProperty(W, ids::AmountEdit, Prop::kOwn + EditProp::kContent), 0u);
    EXPECT_EQ(ReadTextUtf8(W, ids::NoteEdit, Prop::kOwn + EditProp::kContent), "多行\n备注");

    // Bools store 1 for any non-zero value.
    WriteInt(W, ids::Check1, Prop::kOwn + CheckProp::kChecked, 5);
    EXPECT_EQ(ReadProperty(W, ids::Check1, Prop::kOwn + CheckProp::kChecked), 1u);

    // Date-times travel as the 64-bit double.
    uint64_t bits = ReadProperty(W, ids::DateBox, Prop::kOwn + DateProp::kValue);
    double days;
    std::memcpy(&days, &bits, 8);
    EXPECT_DOUBLE_EQ(days, 41030.0 + 8.5 / 24);  // 2012-05-01 08:30
    const double next = 41031.25;
    std::memcpy(&bits, &next, 8);
    WriteProperty(W, ids::DateBox, Prop::kOwn + DateProp::kValue, -1, uint32_t(bits),
                  uint32_t(bits >> 32));
    EXPECT_EQ(FindControlAs<DatePickerControl>(W, ids::DateBox)->editor()->date(),
              QDate(2012, 5, 2));

    WriteTextUtf8(W, ids::Label11, Prop::kOwn + LabelProp::kCaption, "新标题");
    EXPECT_EQ(static_cast<QLabel*>(WidgetOf(W, ids::Label11))->text(), QString::fromUtf8("新标题"));
    WriteTextUtf8(W, 0, Prop::kOwn + WindowProp::kCaption, "窗口标题");
    EXPECT_EQ(WindowWidget(W)->windowTitle(), QString::fromUtf8("窗口标题"));
    EXPECT_EQ(ReadInt(W, ids::Color1, Prop::kOwn + ColorProp::kColor), 0x0000FF);
    EXPECT_EQ(ReadInt(W, ids::IncomeList, Prop::kOwn + ListViewProp::kCurrent), -1);
    EXPECT_EQ(ReadInt(W, ids::IncomeCombo, Prop::kOwn + ComboProp::kCount), 2);
    // A property number the kind does not have reads 0 and writes nothing.
    EXPECT_EQ(ReadProperty(W, ids::AddButton, Prop::kOwn + 40), 0u);
}

TEST_F(PropertyTest, FontPartsByArrayIndex) {
    ASSERT_TRUE(LoadWindow(W));
    const int32_t font = Prop::kOwn + DialogProp::kFont;
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 5), 12);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 1), 1);
    EXPECT_EQ(ReadTextUtf8(W, ids::FontDialog, font, 6), "宋体");
    WriteInt(W, ids::FontDialog, font, 3700, 0);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 0), 100);  // modulo 3600
    WriteInt(W, ids::FontDialog, font, 0, 1);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 1), 0);
    WriteInt(W, ids::FontDialog, font, 1, 2);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 2), 1);
    WriteTextUtf8(W, ids::FontDialog, font, "", 6);
    EXPECT_EQ(ReadTextUtf8(W, ids::FontDialog, font, 6), "宋体");
    WriteTextUtf8(W, ids::FontDialog, font, std::string(40, 'A'), 6);
    EXPECT_EQ(ReadTextUtf8(W, ids::FontDialog, font, 6), "宋体");
    WriteTextUtf8(W, ids::FontDialog, font, "Arial", 6);
    EXPECT_EQ(ReadTextUtf8(W, ids::FontDialog, font, 6), "Arial");
    // Index -1: the summary record {angle, bold, italic, strike-out, underline, size, face}.
    auto* summary =
        reinterpret_cast<ByteSetBlock*>(uintptr_t(ReadProperty(W, ids::FontDialog, font, -1)));
    ASSERT_NE(summary, nullptr);
    ASSERT_GE(summary->length, 28u);
    int32_t parts[6];
    std::memcpy(parts, summary->data(), sizeof parts);
    EXPECT_EQ(parts[0], 100);
    EXPECT_EQ(parts[2], 1);
    EXPECT_EQ(parts[5], 12);
    char* face;
    std::memcpy(&face, summary->data() + 24, sizeof face);
    EXPECT_STREQ(face, "Arial");
    Free(face);
    Free(summary);
    // A control without a font of its own reads the default GUI font.
    EXPECT_GT(ReadInt(W, ids::AddButton, Prop::kOwn + ButtonProp::kFont, 5), 0);
}

TEST_F(PropertyTest, MenuItemPropertiesUpdateTheMenuOnlyWhenChanged) {
    EXPECT_EQ(ReadTextUtf8(W, ids::MenuOpen, MenuProp::kCaption), "打开");
    ASSERT_TRUE(LoadWindow(W));
    auto* form = static_cast<FormWindow*>(WindowWidget(W));
    QAction* open = form->menuBar()->actions()[0]->menu()->actions()[0];
    WriteTextUtf8(W, ids::MenuOpen, MenuProp::kCaption, "打开文件");
    EXPECT_EQ(open->text(), QString::fromUtf8("打开文件"));
    WriteInt(W, ids::MenuOpen, MenuProp::kDisabled, 1);
    EXPECT_FALSE(open->isEnabled());
    EXPECT_EQ(ReadInt(W, ids::MenuOpen, MenuProp::kDisabled), 1);
    WriteInt(W, ids::MenuOpen, MenuProp::kVisible, 0);
    EXPECT_FALSE(open->isVisible());
    EXPECT_EQ(ReadInt(W, ids::MenuOpen, MenuProp::kVisible), 0);
    WriteInt(W, ids::MenuOpen, MenuProp::kChecked, 1);
    EXPECT_TRUE(open->isChecked());
    // Closed: the template keeps them, and the next menu bar shows them.
    CloseWindow(W, true);
    SettleEvents();
    EXPECT_EQ(ReadInt(W, ids::MenuOpen, MenuProp::kChecked), 1);
    ASSERT_TRUE(LoadWindow(W));
    form = static_cast<FormWindow*>(WindowWidget(W));
    open = form->menuBar()->actions()[0]->menu()->actions()[0];
    EXPECT_EQ(open->text(), QString::fromUtf8("打开文件"));
    EXPECT_TRUE(open->isChecked());
}

TEST(PropertyDeathTest, OwnPropertyOfAWindowNotCreatedIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetUpWindowLayer();
    EXPECT_EXIT(
        {
            ResetWindows();
            ReadProperty(W, ids::AmountEdit, Prop::kOwn + EditProp::kContent);
        },
        testing::ExitedWithCode(255), "指定窗口尚未载入");
    EXPECT_EXIT(WriteInt(0x52017777, ids::AmountEdit, Prop::kWidth, 5),
                testing::ExitedWithCode(255), "未载入欲访问窗口组件所在的窗口");
    EXPECT_EXIT(ReadInt(0x52017777, ids::AmountEdit, Prop::kWidth), testing::ExitedWithCode(255),
                "未载入欲访问窗口组件所在的窗口");
}

// The numbered routines 4 and 5 address a control by its object and type id and
// must behave exactly like access by ids.
uint64_t ReadByObject(uint32_t typeId, uint32_t controlId, int32_t index, int32_t arrayIndex = -1) {
    void* object = Service().controlObject(W, controlId);
    return MiscRoutine(kMiscReadObjectProperty, typeId,
                       uint64_t(reinterpret_cast<uintptr_t>(object)), uint64_t(index),
                       uint64_t(int64_t(arrayIndex)));
}
void WriteByObject(uint32_t typeId, uint32_t controlId, int32_t index, uint64_t payload,
                   int32_t arrayIndex = -1) {
    void* object = Service().controlObject(W, controlId);
    MiscRoutine(kMiscWriteObjectProperty, typeId, uint64_t(reinterpret_cast<uintptr_t>(object)),
                uint64_t(index), uint64_t(int64_t(arrayIndex)), payload);
}
constexpr uint32_t kButtonType = TypeId::kButton, kEditType = TypeId::kEdit,
                   kCheckType = TypeId::kCheckBox, kDateType = TypeId::kDatePicker,
                   kDialogType = TypeId::kCommonDialog, kWindowType = TypeId::kWindow;

TEST_F(PropertyTest, ObjectAccessReadsAndWritesWhatIdAccessDoes) {
    ASSERT_TRUE(LoadWindow(W));
    // Common indices, with the coordinate limits.
    WriteByObject(kButtonType, ids::AddButton, Prop::kWidth, 40000);
    EXPECT_EQ(ReadInt(W, ids::AddButton, Prop::kWidth), 32627);
    WriteByObject(kButtonType, ids::AddButton, Prop::kHeight, uint32_t(-7));
    EXPECT_EQ(ReadByObject(kButtonType, ids::AddButton, Prop::kHeight), 0u);
    WriteByObject(kButtonType, ids::AddButton, Prop::kLeft, uint32_t(-40000));
    EXPECT_EQ(int32_t(ReadByObject(kButtonType, ids::AddButton, Prop::kLeft)), -32627);
    WriteInt(W, ids::AddButton, Prop::kTop, 17);
    EXPECT_EQ(ReadByObject(kButtonType, ids::AddButton, Prop::kTop), 17u);
    // Text, bool, 64-bit and font parts by their data kinds.
    char* text = CopyText(Utf8ToGbk("九十元"));
    WriteByObject(kEditType, ids::AmountEdit, Prop::kOwn + EditProp::kContent,
                  uint64_t(reinterpret_cast<uintptr_t>(text)));
    EXPECT_EQ(static_cast<QLineEdit*>(WidgetOf(W, ids::AmountEdit))->text(),
              QString::fromUtf8("九十元"));
    auto* back = reinterpret_cast<char*>(
        uintptr_t(ReadByObject(kEditType, ids::AmountEdit, Prop::kOwn + EditProp::kContent)));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(GbkToUtf8(back), "九十元");
    Free(back);
    WriteByObject(kCheckType, ids::Check1, Prop::kOwn + CheckProp::kChecked, 9);
    EXPECT_EQ(ReadProperty(W, ids::Check1, Prop::kOwn + CheckProp::kChecked), 1u);
    EXPECT_EQ(ReadByObject(kCheckType, ids::Check1, Prop::kOwn + CheckProp::kChecked), 1u);
    EXPECT_EQ(ReadByObject(kDateType, ids::DateBox, Prop::kOwn + DateProp::kValue),
              ReadProperty(W, ids::DateBox, Prop::kOwn + DateProp::kValue));
    const int32_t font = Prop::kOwn + DialogProp::kFont;
    WriteByObject(kDialogType, ids::FontDialog, font, 3700, 0);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, font, 0), 100);  // modulo 3600
    EXPECT_EQ(ReadByObject(kDialogType, ids::FontDialog, font, 5), 12u);
    // The window's own object.
    void* window = Service().windowObject(W);
    char* caption = CopyText(Utf8ToGbk("对象标题"));
    MiscRoutine(kMiscWriteObjectProperty, kWindowType,
                uint64_t(reinterpret_cast<uintptr_t>(window)), Prop::kOwn + WindowProp::kCaption,
                uint64_t(-1), uint64_t(reinterpret_cast<uintptr_t>(caption)));
    EXPECT_EQ(WindowWidget(W)->windowTitle(), QString::fromUtf8("对象标题"));
    Free(text);
    Free(caption);
}

TEST(PropertyDeathTest, ObjectAccessWithAWrongTypeOrAGoneObjectIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetUpWindowLayer();
    EXPECT_EXIT(
        {
            ResetWindows();
            LoadWindow(W);
            ReadByObject(kEditType, ids::AddButton, Prop::kWidth);  // a button, not an edit box
        },
        testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
    EXPECT_EXIT(
        {
            ResetWindows();
            LoadWindow(W);
            void* object = Service().controlObject(W, ids::AddButton);
            CloseWindow(W, true);
            SettleEvents();
            MiscRoutine(kMiscReadObjectProperty, kButtonType,
                        uint64_t(reinterpret_cast<uintptr_t>(object)), Prop::kWidth, uint64_t(-1));
        },
        testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}

}  // namespace
