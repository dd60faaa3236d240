// The program started on item files a power cut left behind: records counted
// but never written, a count beyond the file, bytes past the last record. It
// mends them on opening, says so once in words, and adds as usual.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "finance_test_support.h"

namespace tavrin::finance::testing {
namespace {

class PowerCutStartTest : public FinanceTest {
  protected:
    // Raw edits of a record file the way a cut leaves it.
    std::vector<char> Bytes(const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
    }
    void Put(const std::string& name, const std::vector<char>& bytes) {
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    static void AddToCount(std::vector<char>& bytes, int32_t n) {
        int32_t count;
        std::memcpy(&count, &bytes[16], 4);
        count += n;
        std::memcpy(&bytes[16], &count, 4);
    }
};

TEST_F(PowerCutStartTest, TheProgramMendsTheFilesSaysSoOnceAndAddsAsUsual) {
    WriteTwoCategoriesASide();
    WriteIncomeFile({{"工资", 100, Days(2024, 1, 1), ""}, {"奖金", 20, Days(2024, 1, 2), ""}});
    WriteExpenseFile({{"餐饮", 30, Days(2024, 1, 3), ""}});
    // An import cut after its count reached the disk but not its rows: two
    // records of zeros inside the count.
    std::vector<char> income = Bytes("财务收入.edb");
    const size_t recordSize = (income.size() - (116 + 4 * 72)) / 2;
    AddToCount(income, 2);
    income.resize(income.size() + 2 * recordSize, 0);
    Put("财务收入.edb", income);
    // An append whose count landed and whose record did not, with half a
    // record of bytes past the end.
    std::vector<char> expense = Bytes("财务支出.edb");
    AddToCount(expense, 1);
    expense.resize(expense.size() + recordSize / 2, 7);
    Put("财务支出.edb", expense);

    StartProgram();
    const std::vector<ShownMessage> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "操作提示");
    std::vector<std::string> texts = {shown[0].text, shown[1].text};
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts[0],
              "数据文件“财务支出.edb”上次没有完整保存（可能是断电或程序意外退出），打开时已经"
              "修复：\n去掉了最后 1 条没有写完整的记录\n其余记录都完好无损。");
    EXPECT_EQ(texts[1],
              "数据文件“财务收入.edb”上次没有完整保存（可能是断电或程序意外退出），打开时已经"
              "修复：\n去掉了最后 2 条没有写完整的记录\n其余记录都完好无损。");
    EXPECT_EQ(Rows(ids::IncomeList).size(), 2u);
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 1u);

    // Adding through the window works and says nothing more.
    auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
    auto* amount = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(amount, nullptr);
    combo->setCurrentIndex(1);
    QTest::keyClicks(amount, "5");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 3);
    EXPECT_EQ(TextsOf("财务收入.edb", "收入类型"),
              (std::vector<std::string>{"工资", "奖金", "奖金"}));
    EXPECT_EQ(Rows(ids::IncomeList).size(), 3u);
    RestartProgram();
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(Rows(ids::IncomeList).size(), 3u);
}

}  // namespace
}  // namespace tavrin::finance::testing
