// tavrin-db export and import of item files as CSV, run as the real tool.
#include <gtest/gtest.h>

#include <QStringList>

#include "test_support.h"
#include "tool_run.h"

namespace {

using Result = rstest::ToolResult;

Result Tool(const QStringList& arguments) {
    return rstest::RunTool(arguments);
}

class ItemCsv : public rstest::ItemFileToolTest {
  protected:
    // The item file, made when it is not there yet.
    QString File(const std::string& name) {
        if (std::filesystem::exists(dir_.native(name)))
            return QString::fromStdString(dir_.native(name));
        return NewItemFile(name);
    }
    std::string Dump(const QString& file) { return Tool({"dump", file}).out; }
};

TEST_F(ItemCsv, ExportThenImportIntoAnEmptyFileGivesTheSameRecords) {
    const QString from = File("财务收入.edb");
    for (const QStringList& item : {
             QStringList{"收入类型=工资", "收入金额=12.5", "收入时间=2012-05-03",
                         "收入备注信息=午餐, \"加班\""},
             // Shown as 1.23457e+06 by the program; exported as the value it holds.
             QStringList{"收入类型=奖金", "收入金额=1234567", "收入时间=2013-01-02 10:20:30"},
             QStringList{"收入类型=利息", "收入金额=0.1", "收入时间=2024-02-29",
                         "收入备注信息=第一行\n第二行"},
         }) {
        ASSERT_EQ(Tool(QStringList{"append", from} + item).status, 0);
    }
    const Result exported = Tool({"export", from});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out,
              "收入类型,收入金额,收入时间,收入备注信息\r\n"
              "工资,12.5,2012-05-03,\"午餐, \"\"加班\"\"\"\r\n"
              "奖金,1234567,2013-01-02T10:20:30,\r\n"
              "利息,0.1,2024-02-29,\"第一行\n第二行\"\r\n");
    const QString to = File("copy.edb");
    const Result imported = Tool({"import", to, Csv("out.csv", exported.out)});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(Dump(to), Dump(from));  // serials too: both files start at 1

    // Columns in another order, named by the header; the remark may be left out.
    const QString other = File("other.edb");
    ASSERT_EQ(
        Tool({"import", other,
              Csv("order.csv", "\xEF\xBB\xBF收入时间,收入金额,收入类型\n2012-05-03, 12.5 ,工资\n")})
            .status,
        0);
    EXPECT_EQ(Dump(other),
              "_tag,收入类型,收入金额,收入时间,收入备注信息\r\n"
              "1,工资,12.5,2012-05-03 00:00:00,\r\n");
}

TEST_F(ItemCsv, ABadRowIsNamedByItsLineAndNothingIsWrittenUnlessSkipped) {
    const QString file = File("财务收入.edb");
    ASSERT_EQ(Tool({"append", file, "收入类型=工资", "收入金额=1", "收入时间=2012-01-01"}).status,
              0);
    const std::string before = Dump(file);
    const QString csv = Csv("bad.csv",
                            "收入类型,收入金额,收入时间,收入备注信息\r\n"
                            "工资,5,2012-01-01,\r\n"
                            "工资,0,2012-01-01,\r\n"                      // line 3: not above 0
                            "工资,10000000,2012-01-01,\r\n"               // line 4: at the limit
                            "工资,1e400,2012-01-01,\r\n"                  // line 5: not finite
                            ",5,2012-01-01,\r\n"                          // line 6: no category
                            "工资,5,2012-02-30,\r\n"                      // line 7: no such day
                            "工资,5,2012-01-01\r\n"                       // line 8: a cell short
                            "一二三四五六七八九十一,7,2012-01-01,\r\n");  // cut at 20 bytes
    Result r = Tool({"import", file, csv});
    EXPECT_EQ(r.status, 1);
    for (int line : {3, 4, 5, 6, 7, 8})
        EXPECT_NE(r.err.find("line " + std::to_string(line) + ":"), std::string::npos) << line;
    EXPECT_EQ(r.err.find("line 2:"), std::string::npos);
    EXPECT_EQ(Dump(file), before);

    r = Tool({"import", file, csv, "--skip-bad"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("warning: line 9: 收入类型: cut to 20 bytes"), std::string::npos);
    EXPECT_EQ(Dump(file), before +
                              "2,工资,5,2012-01-01 00:00:00,\r\n"
                              "3,一二三四五六七八九十,7,2012-01-01 00:00:00,\r\n");

    EXPECT_EQ(Tool({"import", file, Csv("h.csv", "收入类型,金额,收入时间\r\n")}).status, 1);
    EXPECT_EQ(
        Tool({"import", file, Csv("q.csv", "收入类型,收入金额,收入时间\r\n\"工资,5,x\r\n")}).status,
        1);
    EXPECT_EQ(Dump(file), before +
                              "2,工资,5,2012-01-01 00:00:00,\r\n"
                              "3,一二三四五六七八九十,7,2012-01-01 00:00:00,\r\n");
}

}  // namespace
