// Further behaviour of windows and controls: the window's own events, copied
// items, combo and list view events, focus and wheel, dialogs through the
// seam, pictures, the type catalogue, registered kinds and the window commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QWheelEvent>

#include "forms/controls.h"
#include "forms/form_window.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "internal/picture.h"
#include "internal/type_catalogue.h"
#include "internal/window_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"
#include "test_support.h"

using namespace tavrin;
using namespace tavrin::forms;
using namespace formtest;

namespace {

constexpr uint32_t W = ids::TestWindow;

class BehaviourTest : public TestWindowTest {
  protected:
    void TearDown() override {
        SetDialogResponder({});
        TestWindowTest::TearDown();
    }
};

int IndexOf(const std::string& handler) {
    for (size_t i = 0; i < Log().size(); ++i)
        if (Log()[i].handler == handler) return int(i);
    return -1;
}

TEST_F(BehaviourTest, TheWindowsOwnEventsFollowItsState) {
    // Created before it is shown: the creation event comes first.
    ASSERT_GE(IndexOf("WindowShown"), 0);
    EXPECT_LT(IndexOf("WindowCreated"), IndexOf("WindowShown"));
    WriteInt(W, 0, Prop::kVisible, 0);
    EXPECT_EQ(Calls("WindowHidden"), 1);
    EXPECT_EQ(ReadInt(W, 0, Prop::kVisible), 0);
    WriteInt(W, 0, Prop::kVisible, 1);
    EXPECT_EQ(Calls("WindowShown"), 2);
    const int moves = Calls("WindowMoved");
    WriteInt(W, 0, Prop::kLeft, 77);
    SettleEvents();
    EXPECT_GT(Calls("WindowMoved"), moves);
    EXPECT_EQ(ReadInt(W, 0, Prop::kLeft), 77);

    QApplication::setActiveWindow(WindowWidget(W));
    SettleEvents();
    ASSERT_EQ(QApplication::activeWindow(), WindowWidget(W));
    ASSERT_EQ(Calls("WindowFirstActivated"), 1);
    EXPECT_LT(IndexOf("WindowFirstActivated"), IndexOf("WindowActivated"));
    ASSERT_TRUE(LoadWindow(ids::ModalWindow));
    QApplication::setActiveWindow(WindowWidget(ids::ModalWindow));
    SettleEvents();
    EXPECT_GE(Calls("WindowDeactivated"), 1);
    const int activations = Calls("WindowActivated");
    QApplication::setActiveWindow(WindowWidget(W));
    SettleEvents();
    EXPECT_EQ(Calls("WindowFirstActivated"), 1);  // only the first time
    EXPECT_EQ(Calls("WindowActivated"), activations + 1);
}

TEST_F(BehaviourTest, TabOrderFollowsTheTemplateAndTheFirstControlGetsTheFocus) {
    // Tab orders: 按钮_支出删除 1, 按钮_收入添加 2, 按钮_收入修改 3, 按钮_支出添加 5, others 0
    // (in template order). The first focusable control of tab order 0 is the combo box.
    QWidget* focus = WindowWidget(W)->focusWidget();
    ASSERT_NE(focus, nullptr);
    QWidget* combo = WidgetOf(W, ids::IncomeCombo);
    EXPECT_TRUE(focus == combo || combo->isAncestorOf(focus));
    // Walking the focus chain from 按钮_支出删除 meets the tab-order controls in order.
    std::vector<QWidget*> seen;
    const std::vector<QWidget*> watched = {WidgetOf(W, ids::AddButton),
                                           WidgetOf(W, ids::ExpenseAdd), combo};
    for (QWidget* w = WidgetOf(W, ids::ExpenseDelete)->nextInFocusChain(); w && seen.size() < 3;
         w = w->nextInFocusChain())
        if (std::find(watched.begin(), watched.end(), w) != watched.end()) seen.push_back(w);
    EXPECT_EQ(seen, watched);  // tab orders 2, 5, then round to the first of order 0
}

TEST_F(BehaviourTest, ACopiedItemRaisesWithTheBindingsOfItsOrigin) {
    QTest::mouseClick(WidgetOf(W, ids::CopyButton), Qt::LeftButton);
    ASSERT_EQ(Calls("AddClicked"), 1);
    EXPECT_EQ(Last("AddClicked")->itemId, ids::CopyButton);
    EXPECT_EQ(Last("AddClicked")->source.itemId, ids::CopyButton);
}

TEST_F(BehaviourTest, ComboDropDownAndCloseEvents) {
    auto* combo = FindControlAs<ComboControl>(W, ids::IncomeCombo);
    combo->combo()->showPopup();
    EXPECT_EQ(Calls("ComboDropped"), 1);
    combo->combo()->hidePopup();
    EXPECT_EQ(Calls("ComboClosed"), 1);
    EXPECT_EQ(Calls("ComboChosen"), 0);
}

TEST_F(BehaviourTest, ListViewCheckBoxToggledAfterTheClickEventAndHotTracking) {
    auto* list = FindControlAs<ReportListControl>(W, ids::IncomeList);
    for (int i = 0; i < 3; ++i) list->insertItem(-1, "row");
    SettleEvents();
    auto* view = list->view();
    const QModelIndex row1 = list->model()->index(1, 0);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(row1);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    int32_t stateSeenByHandler = -1;
    SetBehaviour("ListClicked", [&](EventCall&) { stateSeenByHandler = list->checkState(1); });
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(stateSeenByHandler, 0);  // the handler runs before the toggle
    EXPECT_EQ(list->checkState(1), 1);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, box.center());
    EXPECT_EQ(Calls("ListRightClicked"), 1);
    EXPECT_EQ(list->checkState(1), 0);
    // A click on the row's text does not toggle.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(list->model()->index(1, 2)).center());
    EXPECT_EQ(list->checkState(1), 0);
    QTest::mouseMove(view->viewport(), view->visualRect(list->model()->index(2, 1)).center());
    SettleEvents();
    ASSERT_GE(Calls("ListHot"), 1);
    EXPECT_EQ(Last("ListHot")->args, std::vector<int32_t>{2});
}

TEST_F(BehaviourTest, FocusAndWheelEvents) {
    QApplication::setActiveWindow(WindowWidget(W));
    QWidget* amount = WidgetOf(W, ids::AmountEdit);
    amount->setFocus();
    SettleEvents();
    ASSERT_EQ(QApplication::focusWidget(), amount);
    EXPECT_EQ(Calls("AmountFocus"), 1);
    WidgetOf(W, ids::NoteEdit)->setFocus();
    SettleEvents();
    EXPECT_EQ(Calls("AmountBlur"), 1);
    EXPECT_EQ(Calls("AmountFocus"), 1);
    QWheelEvent wheel(QPointF(5, 5), amount->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -240),
                      Qt::NoButton, Qt::ShiftModifier | Qt::AltModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(amount, &wheel);
    ASSERT_EQ(Calls("AmountWheel"), 1);
    EXPECT_EQ(Last("AmountWheel")->args, (std::vector<int32_t>{-2, 6}));
}

TEST_F(BehaviourTest, CommonDialogAndColorPickerAnswerThroughTheDialogSeam) {
    auto* dialog = FindControlAs<CommonDialogControl>(W, ids::FontDialog);
    std::vector<DialogRequest> seen;
    SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
        seen.push_back(r);
        if (r.kind == "color") return DialogReply{true, {{"color", std::to_string(0x00FF00)}}};
        return DialogReply{true, {{"face", "Arial"}, {"size", "20"}, {"bold", "0"}}};
    });
    EXPECT_TRUE(dialog->open());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, "font");
    EXPECT_EQ(seen[0].fields["size"], "12");
    EXPECT_EQ(ReadTextUtf8(W, ids::FontDialog, Prop::kOwn + DialogProp::kFont, 6), "Arial");
    EXPECT_EQ(ReadInt(W, ids::FontDialog, Prop::kOwn + DialogProp::kFont, 5), 20);
    EXPECT_EQ(ReadInt(W, ids::FontDialog, Prop::kOwn + DialogProp::kFont, 1), 0);
    // Cancelled: nothing changes.
    SetDialogResponder(
        [](const DialogRequest&) -> std::optional<DialogReply> { return DialogReply{}; });
    EXPECT_FALSE(dialog->open());
    EXPECT_EQ(ReadInt(W, ids::FontDialog, Prop::kOwn + DialogProp::kFont, 5), 20);

    SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
        return DialogReply{true, {{"color", std::to_string(0x00FF00)}}};
    });
    QTest::mouseClick(WidgetOf(W, ids::Color1), Qt::LeftButton);
    EXPECT_EQ(ReadInt(W, ids::Color1, Prop::kOwn + ColorProp::kColor), 0x00FF00);
}

TEST_F(BehaviourTest, PicturesDecodeWithLibjpegAndBadDataGivesNoPicture) {
    const std::string* photo = FindTemplate(W)->find(ids::Picture1)->typeData.raw(Tag::kPicture);
    ASSERT_NE(photo, nullptr);
    const QImage image = DecodePicture(*photo);
    EXPECT_EQ(image.size(), QSize(88, 120));
    // Top of the gradient is blue, the bottom nearly white.
    EXPECT_GT(image.pixelColor(40, 2).blue(), image.pixelColor(40, 2).red() + 60);
    EXPECT_GT(image.pixelColor(40, 117).red(), 200);
    EXPECT_TRUE(DecodePicture(std::string("\xFF\xD8\xFF\xE0garbage", 11)).isNull());
    EXPECT_TRUE(DecodePicture("").isNull());
    EXPECT_TRUE(DecodePicture("not a picture").isNull());
    for (size_t cut : {size_t(3), photo->size() / 3, photo->size() - 2})
        DecodePicture(photo->substr(0, cut));  // must simply not crash
    // Damaged bytes anywhere give a picture or none, never a crash.
    for (size_t at = 2; at < photo->size(); ++at) {
        std::string bad = *photo;
        bad[at] = char(~bad[at]);
        const QImage damaged = DecodePicture(bad);
        EXPECT_TRUE(damaged.isNull() || damaged.width() <= 16384) << "byte " << at;
    }

    ImageListData strip = *FindTemplate(W)->find(ids::Toolbar)->typeData.imageList();
    std::vector<QPixmap> cells = SplitImageList(strip);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].size(), QSize(16, 16));
    const QColor first = cells[0].toImage().pixelColor(8, 8);
    EXPECT_GT(first.red(), first.blue() + 100);  // the red cell
    const QColor third = cells[2].toImage().pixelColor(8, 8);
    EXPECT_GT(third.blue(), third.red() + 100);  // the blue cell
}

TEST(TypeCatalogue, EveryKindHasItsTypeInfoAndEightLibraries) {
    using namespace TypeId;
    for (uint32_t id : {kWindow,
                        kMenuItem,
                        kEdit,
                        kPictureBox,
                        kShapeBox,
                        kGroupBox,
                        kLabel,
                        kButton,
                        kCheckBox,
                        kRadioButton,
                        kComboBox,
                        kListBox,
                        kCheckListBox,
                        kDatePicker,
                        kColorPicker,
                        kCommonDialog,
                        kTimer,
                        kPrinter,
                        kFieldInfo,
                        kPrintSettings,
                        kGrid,
                        kTableDataSource,
                        kGeneralProvider,
                        kDatabaseProvider,
                        kStatusBar,
                        kToolBar,
                        kReportList,
                        kTransparentLabel,
                        kPageControl,
                        kRecordSet,
                        kPieChart,
                        kLineChart,
                        kScript}) {
        const TypeInfo* t = FindTypeInfo(id);
        ASSERT_NE(t, nullptr) << std::hex << id;
        EXPECT_NE(t->name, nullptr);
        EXPECT_NE(t->interface(kInterfaceReadProperty), nullptr);
        EXPECT_NE(t->interface(kInterfaceWriteProperty), nullptr);
    }
    EXPECT_TRUE(IsWindowUnit(kReportList));
    EXPECT_FALSE(IsWindowUnit(kMenuItem));
    EXPECT_EQ(FindTypeInfo(kMenuItem)->stateFlags, kTypeMenu);
    EXPECT_FALSE(IsWindowUnit(kFieldInfo));
    EXPECT_EQ(GbkToUtf8(FindTypeInfo(kPageControl)->name), "高级选择夹");
    EXPECT_EQ(FindPropertyInfo(kEdit, EditProp::kContent)->dataKind, DataKind::kText);
    EXPECT_EQ(FindPropertyInfo(kDatePicker, DateProp::kValue)->dataKind, DataKind::kDateTime);
    EXPECT_EQ(FindPropertyInfo(kEdit, 99), nullptr);

    const LibraryInfo* libs = Libraries();
    const int32_t counts[kLibraryCount] = {24, 4, 1, 1, 2, 0, 0, 1};
    for (int32_t i = 0; i < kLibraryCount; ++i) {
        EXPECT_EQ(libs[i].versionStamp, kLibraryVersionStamp);
        EXPECT_EQ(libs[i].typeCount, counts[i]) << i;
        for (int32_t k = 0; k < libs[i].typeCount; ++k)
            EXPECT_EQ(libs[i].types[k].typeId >> 16, uint32_t(i < 5 ? i + 1 : 8));
    }
    ASSERT_EQ(libs[0].commandCount, 4);
    EXPECT_EQ(libs[0].commands[0], &LoadWindowCommand);
}

// A control lives inside the window system that made it: one made by hand,
// without it, would raise events nobody dispatches, so it stops the program.
TEST(ControlDeathTest, AControlMadeWithoutTheWindowSystemStopsTheProgram) {
    ItemTemplate item;
    item.id = 7;
    const ControlInit init{1, &item, nullptr, nullptr};
    EXPECT_DEATH(Control{init}, "control 7 of window 1 was made without the window system");
}

// A kind supplied by a higher layer: its own widget and property table.
class GaugeControl : public Control {
  public:
    explicit GaugeControl(const ControlInit& init) : Control(init) {
        setWidget(new QLabel(QStringLiteral("gauge"), init.parent));
    }
    bool readProperty(int number, PropertyData& out) override {
        if (number == 0)
            out = PropertyData::Int(value);
        else if (number == 1)
            out = PropertyData::Double(2.5);
        else
            return false;
        return true;
    }
    bool writeProperty(int number, const PropertyData& in) override {
        if (number != 0) return false;
        value = in.asInt();
        return true;
    }
    int32_t value = 7;
};

TEST_F(BehaviourTest, AKindRegisteredByAHigherLayerReplacesThePlaceholder) {
    EXPECT_NE(FindControlAs<PanelControl>(W, ids::PieChart), nullptr);
    ResetWindows();
    RegisterControlKind(
        TypeId::kPieChart,
        ControlKind{[](const ControlInit& init) { return std::make_unique<GaugeControl>(init); },
                    {{"value", DataKind::kInt}, {"ratio", DataKind::kDouble}}});
    ASSERT_TRUE(LoadWindow(W));
    auto* gauge = FindControlAs<GaugeControl>(W, ids::PieChart);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->widget()->parentWidget(),
              FindControlAs<PageControl>(W, ids::ChartPages)->pageArea());
    EXPECT_EQ(ReadInt(W, ids::PieChart, Prop::kOwn + 0), 7);
    WriteInt(W, ids::PieChart, Prop::kOwn + 0, 42);
    EXPECT_EQ(gauge->value, 42);
    uint64_t bits = ReadProperty(W, ids::PieChart, Prop::kOwn + 1);
    double ratio;
    std::memcpy(&ratio, &bits, 8);
    EXPECT_EQ(ratio, 2.5);
    RegisterControlKind(
        TypeId::kPieChart,
        ControlKind{[](const ControlInit& init) { return std::make_unique<PanelControl>(init); },
                    {}});
}

TEST_F(BehaviourTest, TheRuntimeServiceEntryFindsLiveObjects) {
    ASSERT_NE(HandedService(), nullptr);  // notify code 1 reached the core library
    const RuntimeService& service = *HandedService();
    EXPECT_EQ(service.controlObject(W, ids::AddButton), FindControl(W, ids::AddButton));
    EXPECT_EQ(service.windowObject(W), FindWindowControl(W));
    EXPECT_EQ(service.windowObject(ids::ModalWindow), nullptr);
    EXPECT_EQ(service.typeDescriptor(TypeId::kReportList), FindTypeInfo(TypeId::kReportList));
    EXPECT_EQ(service.typeDescriptor(0x00090009), nullptr);
}

TEST_F(BehaviourTest, WindowCommandsLoadTestAndClose) {
    const Value modal = MakeControlRef(ids::ModalWindow, 0, TypeId::kWindow);
    EXPECT_FALSE(CallKernel(IsLoadedCommand, modal).asBool());
    EXPECT_TRUE(
        CallKernel(LoadWindowCommand, modal, MakeControlRef(W, 0, TypeId::kWindow), MakeBool(false))
            .asBool());
    EXPECT_TRUE(CallKernel(IsLoadedCommand, modal).asBool());
    EXPECT_TRUE(
        CallKernel(IsLoadedCommand, MakeControlRef(ids::ModalWindow, ids::ModalEdit, TypeId::kEdit))
            .asBool());
    EXPECT_FALSE(CallKernel(IsLoadedCommand,
                            MakeControlRef(ids::ModalWindow, ids::AddButton, TypeId::kButton))
                     .asBool());
    EXPECT_FALSE(CallKernel(LoadWindowCommand, MakeControlRef(0x52015555, 0, TypeId::kWindow),
                            Value{}, MakeBool(false))
                     .asBool());
    CallKernel(CloseWindowCommand, modal, Value{});
    EXPECT_TRUE(CallKernel(IsLoadedCommand, modal).asBool());  // the close is posted
    SettleEvents();
    EXPECT_FALSE(CallKernel(IsLoadedCommand, modal).asBool());
    CallKernel(PopupMenuCommand, MakeControlRef(W, 0, TypeId::kWindow),
               MakeControlRef(W, ids::PopupIncome, TypeId::kMenuItem), MakeInt(30), MakeInt(40));
    ASSERT_NE(LastPopupMenu(), nullptr);
    EXPECT_EQ(LastPopupMenu()->pos(), QPoint(30, 40));
    LastPopupMenu()->close();
}

}  // namespace
