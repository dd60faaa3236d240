// tavrin-db and amounts, run as the real tool: a dump appended to a fresh file
// gives the same records, and a number the file cannot hold as written is
// refused by its line unless rounding is asked for.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <random>

#include "test_support.h"
#include "tool_run.h"

namespace {

using rstest::ToolResult;

ToolResult Tool(const QStringList& arguments, const std::string& input = {}) {
    return rstest::RunTool(arguments, input);
}

class ToolAmounts : public rstest::ItemFileToolTest {
  protected:
    QString ItemFile(const std::string& name) { return NewItemFile(name); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

TEST_F(ToolAmounts, TenThousandRandomAmountsDumpedAndAppendedToAFreshFileAreTheSameRecords) {
    std::mt19937 random(31);
    std::uniform_int_distribution<int64_t> cents(1, 999999999);
    std::uniform_int_distribution<int> month(1, 12), day(1, 28), second(0, 86399);
    std::string csv = "收入类型,收入金额,收入时间,收入备注信息\n";
    for (int i = 0; i < 10000; ++i) {
        const int64_t c = cents(random);
        char row[160];
        const int s = second(random);
        std::snprintf(row, sizeof row, "%s,%lld.%02lld,2012-%02d-%02d %02d:%02d:%02d,第%d条\n",
                      i % 2 ? "工资" : "奖金", static_cast<long long>(c / 100),
                      static_cast<long long>(c % 100), month(random), day(random), s / 3600,
                      s / 60 % 60, s % 60, i);
        csv += row;
    }
    const QString original = ItemFile("original.edb");
    // Most amounts above 131,072 元 have no single-precision value of their
    // cents: refused by line, nothing appended.
    ToolResult r = Tool({"append", original, "-"}, csv);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(": 收入金额="), std::string::npos) << r.err.substr(0, 300);
    EXPECT_NE(r.err.find("--round stores that"), std::string::npos);
    const size_t badEnd = r.err.find(" bad rows; nothing appended");
    ASSERT_NE(badEnd, std::string::npos);
    const std::string bad =
        r.err.substr(r.err.rfind('\n', badEnd) + 1, badEnd - r.err.rfind('\n', badEnd) - 1);
    EXPECT_GT(std::stoi(bad), 5000);
    EXPECT_NE(Tool({"info", original}).out.find("records: 0"), std::string::npos);
    r = Tool({"append", original, "--round", "-"}, csv);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "10000 rows appended\n" + bad +
                         " rows rounded to the nearest value the field holds\n");

    const ToolResult dump = Tool({"dump", original});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const QString copy = ItemFile("copy.edb");
    r = Tool({"append", copy, "-"}, dump.out);  // nothing to round any more
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "10000 rows appended\n");
    EXPECT_EQ(Tool({"dump", copy}).out, dump.out);
    // The records byte for byte (the headers differ in their creation time).
    const QByteArray a = Bytes(original), b = Bytes(copy);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a.right(10000 * 86) == b.right(10000 * 86));
}

TEST_F(ToolAmounts, ImportRefusesByLineWhatWouldBeStoredAsAnotherAmountOrAnotherText) {
    const QString file = ItemFile("财务收入.edb");
    const QString csv = Csv("in.csv",
                            "收入类型,收入金额,收入时间,收入备注信息\r\n"
                            "工资,\"1,200\",2012-01-01,\r\n"            // line 2: 1200
                            "工资,1234567.89,2012-01-01,\r\n"           // line 3: 1234567.875
                            "工资,12.345,2012-01-01,\r\n"               // line 4: below the cent
                            "工资,10000000,2012-01-01,\r\n"             // line 5: the bound
                            "咖啡☕한,5,2012-01-01,\r\n"                 // line 6: not GBK
                            "工资,5,2012-01-01,微信红包🧧\r\n"  // line 7: not GBK
                            "工资,12abc,2012-01-01,\r\n"                // line 8: not a number
                            "工资,5e2,2012-01-01,\r\n");                // line 9: not plain
    ToolResult r = Tool({"import", file, csv});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 3: amount \"1234567.89\" would be stored as 1234567.88"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("line 4: amount \"12.345\" would be stored as 12.35"), std::string::npos);
    EXPECT_NE(r.err.find("line 5: amount \"10000000\": 金额必须小于10000000元"), std::string::npos);
    EXPECT_NE(r.err.find("line 6: 收入类型: \"咖啡☕한\" holds \"☕\" (U+2615)"), std::string::npos);
    EXPECT_NE(
        r.err.find("line 7: 收入备注信息: \"微信红包🧧\" holds \"🧧\" (U+1F9E7)"),
        std::string::npos);
    for (int line : {8, 9})
        EXPECT_NE(r.err.find("line " + std::to_string(line) + ": amount"), std::string::npos);
    EXPECT_EQ(r.err.find("line 2:"), std::string::npos);
    EXPECT_NE(Tool({"info", file}).out.find("records: 0"), std::string::npos);

    // Rounding asked for: the two amounts are stored as named and counted;
    // the other bad rows stay out.
    r = Tool({"import", file, csv, "--skip-bad", "--round"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("3 rows imported, 5 skipped"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 rows rounded"), std::string::npos);
    EXPECT_EQ(Tool({"export", file}).out,
              "收入类型,收入金额,收入时间,收入备注信息\r\n"
              "工资,1200,2012-01-01,\r\n"
              "工资,1234567.88,2012-01-01,\r\n"
              "工资,12.35,2012-01-01,\r\n");
    EXPECT_EQ(Tool({"dump", file}).out,
              "_tag,收入类型,收入金额,收入时间,收入备注信息\r\n"
              "1,工资,1200,2012-01-01 00:00:00,\r\n"
              "2,工资,1234567.9,2012-01-01 00:00:00,\r\n"
              "3,工资,12.35,2012-01-01 00:00:00,\r\n");
    // The single-record form refuses and rounds alike.
    r = Tool({"append", file, "收入金额=0.1234567891"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds the nearest value 0.12345679 instead"), std::string::npos);
    r = Tool({"append", file, "--round", "收入金额=0.1234567891"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "1 row rounded to the nearest value the field holds\n");
}

}  // namespace
