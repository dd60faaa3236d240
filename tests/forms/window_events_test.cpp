// The window's activation events on a second window, the posted notification
// (event 7) and the notification-area icon's clicks (event 9).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

#include "forms/window_system.h"
#include "internal/window_notify.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "test_support.h"

using namespace tavrin;
using namespace tavrin::forms;
using namespace formtest;

namespace {

constexpr uint32_t W = ids::TestWindow;
constexpr uint32_t Second = ids::ModalWindow;

class WindowEventsTest : public testing::Test {
  protected:
    void SetUp() override {
        SetUpWindowLayer();
        ResetWindows();
    }
    void TearDown() override { ResetWindows(); }
};

std::vector<std::string> HandlersStartingWith(const std::string& prefix) {
    std::vector<std::string> names;
    for (const Recorded& r : Log())
        if (r.handler.rfind(prefix, 0) == 0) names.push_back(r.handler);
    return names;
}

// Activation comes from the platform: at once offscreen, later from a window manager.
bool BecomesActive(uint32_t windowId) {
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == WindowWidget(windowId); },
                           5000);
}

TEST_F(WindowEventsTest, ASecondWindowShownAndActivatedRaisesEightThenFiveAndTheFirstGetsSix) {
    ASSERT_TRUE(LoadWindow(W));
    ASSERT_TRUE(BecomesActive(W));
    SettleEvents();
    const int deactivations = Calls("WindowDeactivated");
    ASSERT_TRUE(LoadWindow(Second));
    ASSERT_TRUE(BecomesActive(Second));
    SettleEvents();
    EXPECT_EQ(HandlersStartingWith("Modal"),
              (std::vector<std::string>{"ModalCreated", "ModalFirstActivated", "ModalActivated"}));
    EXPECT_EQ(Calls("WindowDeactivated"), deactivations + 1);

    // Back to the first window and again to the second: 6 then 5, no second 8.
    const int activations = Calls("WindowActivated");
    ASSERT_TRUE(LoadWindow(W));  // an existing window is activated
    ASSERT_TRUE(BecomesActive(W));
    SettleEvents();
    EXPECT_EQ(Calls("ModalDeactivated"), 1);
    EXPECT_EQ(Calls("WindowActivated"), activations + 1);
    ASSERT_TRUE(LoadWindow(Second));
    ASSERT_TRUE(BecomesActive(Second));
    SettleEvents();
    EXPECT_EQ(HandlersStartingWith("Modal"),
              (std::vector<std::string>{"ModalCreated", "ModalFirstActivated", "ModalActivated",
                                        "ModalDeactivated", "ModalActivated"}));
    EXPECT_EQ(Calls("WindowFirstActivated"), 1);
}

TEST_F(WindowEventsTest, APostedNotificationRaisesSevenWithItsArgument) {
    EXPECT_FALSE(PostWindowNotification(W, 1));  // not created
    ASSERT_TRUE(LoadWindow(W));
    Value args[2] = {MakeInt(int32_t(W)), MakeInt(-42)};
    EXPECT_TRUE(CallKernelCommand(&NotifyWindowCommand, 2, args).asBool());
    EXPECT_EQ(Calls("WindowNotified"), 0);  // posted: raised by the message loop
    SettleEvents();
    ASSERT_EQ(Calls("WindowNotified"), 1);
    EXPECT_EQ(Last("WindowNotified")->args, std::vector<int32_t>{-42});
    EXPECT_EQ(Last("WindowNotified")->eventNumber, WindowEvent::kNotified);
}

TEST_F(WindowEventsTest, TheNotificationIconsClicksRaiseNineWithTheirKind) {
    ASSERT_TRUE(LoadWindow(W));
    Value window = MakeInt(int32_t(W));
    ASSERT_TRUE(CallKernelCommand(&NotificationIconCommand, 1, &window).asBool());
    QSystemTrayIcon* icon = NotificationIcon(W);
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->icon().isNull());
    // The platform reports clicks through the icon's activated signal.
    const std::pair<QSystemTrayIcon::ActivationReason, int32_t> clicks[] = {
        {QSystemTrayIcon::Trigger, 1},
        {QSystemTrayIcon::DoubleClick, 2},
        {QSystemTrayIcon::Context, 3}};
    for (auto [reason, kind] : clicks) {
        emit icon->activated(reason);
        ASSERT_NE(Last("WindowIconClicked"), nullptr);
        EXPECT_EQ(Last("WindowIconClicked")->args, std::vector<int32_t>{kind});
    }
    emit icon->activated(QSystemTrayIcon::MiddleClick);  // not a click event 9 reports
    EXPECT_EQ(Calls("WindowIconClicked"), 3);
    // The icon belongs to the window.
    CloseWindow(W, true);
    SettleEvents();
    EXPECT_EQ(NotificationIcon(W), nullptr);
    EXPECT_FALSE(CallKernelCommand(&NotificationIconCommand, 1, &window).asBool());
}

}  // namespace
