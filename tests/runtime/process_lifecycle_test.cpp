// The program's ends, observed from outside: exit codes, the exit handler run
// exactly once (or not at all after a fatal error), end requests from another
// thread, and the program directory as the current directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ChildResult {
    int exitCode;
    QString output;
};

ChildResult RunChild(const QString& program, const QString& mode,
                     const QString& workingDirectory = QString()) {
    QProcess p;
    p.setProgram(program);
    p.setArguments({mode});
    if (!workingDirectory.isEmpty()) p.setWorkingDirectory(workingDirectory);
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start();
    EXPECT_TRUE(p.waitForFinished(20000)) << mode.toStdString();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}

ChildResult RunChild(const QString& mode) { return RunChild(RUNTIME_CHILD, mode); }

}  // namespace

TEST(ProcessLifecycle, FatalErrorShowsTheReportAndEndsWithMinusOneWithoutExitHandler) {
    ChildResult r = RunChild("fatal4");
    EXPECT_EQ(r.exitCode, 255);  // -1 as the shell sees it
    EXPECT_TRUE(r.output.contains(
        "BOX caption=错误 style=16 text=运行时出错!||错误代码：4||错误信息：数组成员引用下标必须大于等于1|"))
        << r.output.toStdString();
    EXPECT_FALSE(r.output.contains("EXIT-HANDLER"));
}

TEST(ProcessLifecycle, MissingStartWindowEndsWithTheRuntimeReport) {
    ChildResult r = RunChild("nostart");
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_TRUE(r.output.contains("text=运行时出错!||错误信息：载入启动窗口失败|"))
        << r.output.toStdString();
    EXPECT_FALSE(r.output.contains("EXIT-HANDLER"));
}

TEST(ProcessLifecycle, NormalEndRunsTheExitHandlerExactlyOnceBeforeTheLibrariesHearOfIt) {
    ChildResult r = RunChild("normal");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output.count("EXIT-HANDLER"), 1) << r.output.toStdString();
    // Start notice with the service entry, idle work in the loop, then the end in order.
    const QString out = r.output;
    qsizetype start = out.indexOf("NOTIFY 1 with-service"), idle = out.indexOf("IDLE"),
              loopEnd = out.indexOf("LOOP-ENDED"), handler = out.indexOf("EXIT-HANDLER"),
              end = out.indexOf("NOTIFY 6");
    EXPECT_TRUE(start >= 0 && start < idle && idle < loopEnd && loopEnd < handler && handler < end)
        << out.toStdString();
}

TEST(ProcessLifecycle, EndRequestFromAnotherThreadEndsOnTheMainThread) {
    ChildResult r = RunChild("thread");
    EXPECT_EQ(r.exitCode, 7);
    EXPECT_EQ(r.output.count("EXIT-HANDLER"), 1) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains("LOOP-ENDED"));
}

TEST(ProcessLifecycle, RelativeFileNamesResolveInTheProgramDirectory) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkdir("程序");
    QDir(tmp.path()).mkdir("elsewhere");
    const QString copy = tmp.path() + "/程序/child";
    ASSERT_TRUE(QFile::copy(RUNTIME_CHILD, copy));
    QFile::setPermissions(copy, QFile::permissions(RUNTIME_CHILD));
    ChildResult r = RunChild(copy, "cwd", tmp.path() + "/elsewhere");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(QFile::exists(tmp.path() + "/程序/relative.txt"));
    EXPECT_FALSE(QFile::exists(tmp.path() + "/elsewhere/relative.txt"));
}
