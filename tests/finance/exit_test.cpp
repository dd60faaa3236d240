// The three ways the program ends: the tool-bar "退出", the menu "退出" and the
// main window's close box each end the process normally.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Ending {
    int exitCode = -99;
    std::string out;
};

Ending EndBy(const char* way) {
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(FINANCE_EXIT_CHILD), {dir.path(), QString::fromLatin1(way)});
    Ending e;
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished();
        return e;
    }
    e.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -98;
    e.out = child.readAllStandardOutput().toStdString();
    return e;
}

TEST(ExitTest, TheToolBarExitEndsTheProgram) {
    const Ending e = EndBy("toolbar");
    EXPECT_EQ(e.exitCode, 0);
    EXPECT_NE(e.out.find("ending by toolbar"), std::string::npos);
    EXPECT_EQ(e.out.find("message loop ended"), std::string::npos);  // ended inside the handler
}

TEST(ExitTest, TheMenuExitEndsTheProgramAtOnce) {
    const Ending e = EndBy("menu");
    EXPECT_EQ(e.exitCode, 0);
    EXPECT_NE(e.out.find("ending by menu"), std::string::npos);
    EXPECT_EQ(e.out.find("message loop ended"), std::string::npos);
}

TEST(ExitTest, ClosingTheMainWindowEndsTheMessageLoop) {
    const Ending e = EndBy("close");
    EXPECT_EQ(e.exitCode, 0);
    EXPECT_NE(e.out.find("message loop ended"), std::string::npos);
}

}  // namespace
