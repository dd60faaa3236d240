// System and date-time commands: the message box through its seam, file copy,
// the busy cursor, event processing and the clocks.
#include "runtime/kernel/system_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "kernel_test_util.h"
#include "message_box_dialog.h"
#include "runtime/gbk.h"
#include "runtime/kernel/datetime_commands.h"
#include "runtime/message_box.h"
#include "runtime/process.h"
#include "runtime/shell/cursor_commands.h"

using namespace tavrin;
using kernel_test::G;
using kernel_test::TakeText;
using kernel_test::Text;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "kernel_system_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    SetMessageBoxPresenter(&PresentMessageBox);  // what the shell's start installs
    return app;
}

// Records every message box and answers with a fixed button.
struct Recorder {
    std::vector<MessageBoxRequest> shown;
    explicit Recorder(int32_t answer) {
        SetMessageBoxResponder([this, answer](const MessageBoxRequest& r) {
            shown.push_back(r);
            return answer;
        });
    }
    ~Recorder() { SetMessageBoxResponder({}); }
};

std::string ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}
void WriteAll(const QString& path, const std::string& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

}  // namespace

TEST(MessageBox, YesNoAnswersAreFiveAndSix) {
    {
        Recorder yes(kButtonYes);
        EXPECT_EQ(CallKernel(MessageBox, Text(G("继续？")), MakeInt(4), Value{}).asInt(), 5);
    }
    {
        Recorder no(kButtonNo);
        EXPECT_EQ(CallKernel(MessageBox, Text(G("继续？")), MakeInt(4), Value{}).asInt(), 6);
        ASSERT_EQ(no.shown.size(), 1u);
        EXPECT_EQ(no.shown[0].text, G("继续？"));
        EXPECT_EQ(no.shown[0].caption, G("信息："));
        EXPECT_EQ(no.shown[0].style, 4u | kTaskModalStyle);
    }
}

TEST(MessageBox, StyleGainsTaskModalUnlessSystemModal) {
    Recorder r(kButtonYes);
    std::string caption = G("操作询问");
    CallKernel(MessageBox, Text("x"), MakeInt(68), Text(caption));
    CallKernel(MessageBox, Text("x"), MakeInt(4096 | 48), Value{});
    ASSERT_EQ(r.shown.size(), 2u);
    EXPECT_EQ(r.shown[0].style, 68u | kTaskModalStyle);
    EXPECT_EQ(r.shown[0].style & 0xF, 4u);    // Yes and No
    EXPECT_EQ(r.shown[0].style & 0xF0, 64u);  // the information icon
    EXPECT_EQ(r.shown[0].caption, caption);
    EXPECT_EQ(r.shown[1].style, 4096u | 48u);
}

TEST(MessageBox, Style68ShowsARealYesNoBoxWithTheInformationIcon) {
    App();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString caption;
    int polls = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (++polls > 300) QApplication::closeAllWindows();  // never hang the run
            return;
        }
        poll.stop();
        icon = box->icon();
        buttons = box->standardButtons();
        caption = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    poll.start(10);
    int32_t answer =
        CallKernel(MessageBox, Text(G("是否继续清空？")), MakeInt(68), Text(G("操作询问"))).asInt();
    EXPECT_EQ(answer, 6);
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(caption, QString::fromUtf8("操作询问"));
}

TEST(MessageBox, MessageIsTheTextFormOfBasicKindsOnly) {
    Recorder r(kButtonOk);
    CallKernel(MessageBox, MakeDouble(12.5), MakeInt(0), Value{});
    CallKernel(MessageBox, MakeBool(true), MakeInt(0), Value{});
    CallKernel(MessageBox, MakeDateTime(41030.0), MakeInt(0), Value{});
    ByteSetBlock* bytes = NewByteSet("abc", 3);
    CallKernel(MessageBox, MakeByteSetRef(bytes), MakeInt(0), Value{});
    Free(bytes);
    ASSERT_EQ(r.shown.size(), 4u);
    EXPECT_EQ(r.shown[0].text, "12.5");
    EXPECT_EQ(r.shown[1].text, G("真"));
    EXPECT_EQ(r.shown[2].text, G("2012年5月1日"));
    EXPECT_EQ(r.shown[3].text, "");
}

TEST(CopyFile, CopiesUnderChineseNamesAndReplacesTheTarget) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string gbkDir = QStringToGbk(dir.path());
    std::string content("record\0bytes\xFF", 13);
    WriteAll(dir.path() + QString::fromUtf8("/财务收入.edb"), content);
    const std::string source = gbkDir + "/" + G("财务收入.edb");
    const std::string target = gbkDir + "\\" + G("2012年5月3日14时7分9秒财务收入.edb");

    EXPECT_TRUE(CallKernel(CopyFile, Text(source), Text(target)).asBool());
    const QString targetPath =
        dir.path() + QString::fromUtf8("/2012年5月3日14时7分9秒财务收入.edb");
    EXPECT_EQ(ReadAll(targetPath), content);

    WriteAll(targetPath, "a much longer older file that must be replaced entirely");
    EXPECT_TRUE(CallKernel(CopyFile, Text(source), Text(target)).asBool());
    EXPECT_EQ(ReadAll(targetPath), content);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no leftovers
}

TEST(CopyFile, FailuresReportFalseAndLeaveNothingBehind) {
    QTemporaryDir dir;
    const std::string gbkDir = QStringToGbk(dir.path());
    EXPECT_FALSE(CallKernel(CopyFile, Text(gbkDir + "/missing"), Text(gbkDir + "/t")).asBool());
    WriteAll(dir.path() + "/s", "x");
    EXPECT_FALSE(
        CallKernel(CopyFile, Text(gbkDir + "/s"), Text(gbkDir + "/no/such/dir/t")).asBool());
    EXPECT_FALSE(CallKernel(CopyFile, Text(gbkDir), Text(gbkDir + "/t")).asBool());  // a directory
    EXPECT_FALSE(CallKernel(CopyFile, Text(""), Text(gbkDir + "/t")).asBool());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ProgramDirectory, IsTheExecutablesDirectoryInGbk) {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    std::string path(exe, size_t(n));
    std::string expected = Utf8ToGbk(path.substr(0, path.find_last_of('/')));
    EXPECT_EQ(TakeText(CallKernel(ProgramDirectory)), expected);
}

TEST(BusyCursor, IsRememberedOnceAndRestoredByOneCall) {
    App();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    CallKernel(ShowBusyCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    CallKernel(ShowBusyCursor);
    const QPoint pointer = QCursor::pos();
    CallKernel(RestoreCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(IsBusyCursorShown());
    EXPECT_EQ(QCursor::pos(), pointer);  // refreshed in place, not moved
    CallKernel(RestoreCursor);           // nothing remembered: nothing happens
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ProcessEvents, RunsWaitingEvents) {
    App();
    bool ran = false;
    QTimer::singleShot(0, &App(), [&ran] { ran = true; });
    CallKernel(ProcessEvents);
    EXPECT_TRUE(ran);
}

// A quit message ends the pass: what was waiting behind it never runs. Run in a
// child because the quit marks this thread's loops as ending.
void ProcessEventsAroundAQuit() {
    App();
    int before = 0;
    int after = 0;
    QMetaObject::invokeMethod(
        &App(), [&before] { ++before; }, Qt::QueuedConnection);
    QCoreApplication::postEvent(&App(), new QEvent(QEvent::Quit));
    QMetaObject::invokeMethod(
        &App(), [&after] { ++after; }, Qt::QueuedConnection);
    CallKernel(ProcessEvents);
    std::fprintf(stderr, "before %d after %d\n", before, after);
    std::_Exit(0);
}

TEST(ProcessEventsDeathTest, StopsAtAQuitMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ProcessEventsAroundAQuit(), testing::ExitedWithCode(0), "before 1 after 0");
}

TEST(Now, IsTheLocalTimeInDaysSince1899) {
    QDateTime local = QDateTime::currentDateTime();
    double expected = double(QDate(1899, 12, 30).daysTo(local.date())) +
                      local.time().msecsSinceStartOfDay() / 86400000.0;
    Value now = CallKernel(Now);
    EXPECT_EQ(now.type, TypeCode::kDateTime);
    EXPECT_NEAR(now.asDouble(), expected, 2.0 / 86400.0);
    double seconds = now.asDouble() * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-3);  // whole seconds
}

TEST(DateOf, KeepsTheDayAndDropsTheTime) {
    EXPECT_DOUBLE_EQ(CallKernel(DateOf, MakeDateTime(41030.75)).asDouble(), 41030.0);
    EXPECT_DOUBLE_EQ(CallKernel(DateOf, MakeDateTime(-1.25)).asDouble(), -1.0);
    EXPECT_DOUBLE_EQ(CallKernel(DateOf, Text(G("2012年5月1日8时30分"))).asDouble(), 41030.0);
}

TEST(TickCount, CountsMilliseconds) {
    int32_t first = CallKernel(TickCount).asInt();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    int32_t second = CallKernel(TickCount).asInt();
    EXPECT_GE(second - first, 55);
    EXPECT_LT(second - first, 5000);
}
