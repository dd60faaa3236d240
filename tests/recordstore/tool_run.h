// Runs the installed-beside-the-program tavrin-db (TAVRIN_DB_PATH, set by the
// test's build) as a person would from a shell, and collects what it said.
#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

namespace rstest {

struct ToolResult {
    int status;  // the exit code; -1 when the tool crashed
    std::string out, err;
};

inline ToolResult RunTool(const QStringList& arguments) {
    QProcess p;
    p.start(TAVRIN_DB_PATH, arguments);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

}  // namespace rstest
