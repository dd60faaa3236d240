// The installed program, copied into an empty directory and started from
// another working directory, keeps its four data files in its own directory; a
// second start there hands over to the running one, and a wrong option is refused.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

// Installs the program and copies it into `programDir`; its path.
QString InstallInto(const QTemporaryDir& programDir) {
    QTemporaryDir installDir;
    QProcess install;
    install.start(QStringLiteral(TAVRIN_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(TAVRIN_BUILD_DIR),
                   QStringLiteral("--component"), QStringLiteral("program"),
                   QStringLiteral("--prefix"), installDir.path()});
    install.waitForFinished(60000);
    EXPECT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QString program = programDir.filePath(QStringLiteral("tavrin"));
    QFile::copy(installDir.filePath(QStringLiteral("tavrin")), program);
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    return program;
}

QProcessEnvironment Offscreen() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

TEST(ProgramTest, ASecondStartHandsOverToTheRunningProgramAndAWrongOptionIsRefused) {
    QTemporaryDir programDir;
    const QString program = InstallInto(programDir);
    ASSERT_TRUE(QFile::exists(program));

    QProcess first;
    first.setProcessEnvironment(Offscreen());
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // It answers later starts before it makes its first data file.
    const QString made = programDir.filePath(QStringLiteral("支出类型.edb"));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(made) && waited.elapsed() < 15000 && first.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(QFile::exists(made)) << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(Offscreen());
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(15000)) << "the second start opened a window of its own";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().contains("already running"));
    EXPECT_EQ(first.state(), QProcess::Running);

    // Qt's own options and a file name are refused too: the windows take no arguments.
    for (const QStringList& args :
         {QStringList{QStringLiteral("--foo")},
          QStringList{QStringLiteral("--version"), QStringLiteral("extra")},
          QStringList{QStringLiteral("--help"), QStringLiteral("-v")},
          QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")},
          QStringList{QStringLiteral("收入.csv")}}) {
        QProcess wrong;
        wrong.setProcessEnvironment(Offscreen());
        wrong.start(program, args);
        ASSERT_TRUE(wrong.waitForFinished(15000));
        EXPECT_EQ(wrong.exitCode(), 2) << args.join(' ').toStdString();
        const QByteArray said = wrong.readAllStandardError();
        EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
        EXPECT_TRUE(said.startsWith("tavrin: ")) << said.toStdString();
        EXPECT_TRUE(wrong.readAllStandardOutput().isEmpty());
    }
    first.kill();
    first.waitForFinished(5000);
}

TEST(ProgramTest, CreatesItsFourFilesInItsOwnDirectory) {
    QTemporaryDir installDir, programDir, workDir;
    ASSERT_TRUE(installDir.isValid() && programDir.isValid() && workDir.isValid());
    QProcess install;
    install.start(QStringLiteral(TAVRIN_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(TAVRIN_BUILD_DIR),
                   QStringLiteral("--component"), QStringLiteral("program"),
                   QStringLiteral("--prefix"), installDir.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QString program = programDir.filePath(QStringLiteral("tavrin"));
    ASSERT_TRUE(QFile::copy(installDir.filePath(QStringLiteral("tavrin")), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);

    QProcess process;
    process.setWorkingDirectory(workDir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(5000));

    const QStringList names{QStringLiteral("财务收入.edb"), QStringLiteral("财务支出.edb"),
                            QStringLiteral("收入类型.edb"), QStringLiteral("支出类型.edb")};
    auto allThere = [&] {
        for (const QString& n : names)
            if (!QFile::exists(programDir.filePath(n))) return false;
        return true;
    };
    QElapsedTimer waited;
    waited.start();
    while (!allThere() && waited.elapsed() < 15000 && process.state() == QProcess::Running)
        QThread::msleep(20);
    const bool created = allThere();
    const bool stillRunning = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(5000);

    EXPECT_TRUE(created) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(stillRunning) << "the program ended on its own";
    EXPECT_TRUE(QDir(workDir.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
