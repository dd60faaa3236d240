// Runs the installed-beside-the-program tavrin-db (TAVRIN_DB_PATH, set by the
// test's build) as a person would from a shell, and collects what it said.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <fstream>
#include <string>

#include "test_support.h"

namespace rstest {

struct ToolResult {
    int status;  // the exit code; -1 when the tool crashed
    std::string out, err;
};

// The tool with these arguments, and `input` on its standard input when given.
inline ToolResult RunTool(const QStringList& arguments, const std::string& input = {}) {
    QProcess p;
    p.start(TAVRIN_DB_PATH, arguments);
    if (!input.empty()) {
        p.write(input.data(), qint64(input.size()));
        p.closeWriteChannel();
    }
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

// Tests of the tool on item files in a directory of their own.
class ItemFileToolTest : public ::testing::Test {
  protected:
    // A new item file of the program's income fields, made by the tool.
    QString NewItemFile(const std::string& name) {
        const QString path = QString::fromStdString(dir_.native(name));
        EXPECT_EQ(RunTool({"create", path, "收入类型:10:20", "收入金额:5", "收入时间:8",
                           "收入备注信息:10:50"})
                      .status,
                  0);
        return path;
    }
    // A file of the directory holding the text (a CSV file for the tool).
    QString Csv(const std::string& name, const std::string& text) {
        std::ofstream(dir_.native(name), std::ios::binary) << text;
        return QString::fromStdString(dir_.native(name));
    }
    TempDir dir_;
};

}  // namespace rstest
