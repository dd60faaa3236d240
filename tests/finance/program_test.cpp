// The installed program, copied into an empty directory and started from
// another working directory, keeps its four data files in its own directory.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

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
