// tavrin-db on the program's four file schemas and on memo and byte-set
// fields: Chinese text in and out as UTF-8, CSV as RFC 4180 wants it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include "test_support.h"
#include "tool_run.h"

namespace {

using Result = rstest::ToolResult;

Result Tool(const QStringList& arguments) {
    return rstest::RunTool(arguments);
}
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

TEST(Tool, TheFourFinanceFiles) {
    rstest::TempDir dir;
    const QString income = Q(dir.native("财务收入.edb"));
    EXPECT_EQ(
        Tool({"create", income, "收入类型:10:20", "收入金额:5", "收入时间:8", "收入备注信息:10:50"})
            .status,
        0);
    EXPECT_EQ(Tool({"create", Q(dir.native("财务支出.edb")), "支出类型:10:20", "支出金额:5",
                    "支出时间:8", "备注信息:10:50"})
                  .status,
              0);
    EXPECT_EQ(Tool({"create", Q(dir.native("收入类型.edb")), "收入类型值:10:20"}).status, 0);
    EXPECT_EQ(Tool({"create", Q(dir.native("支出类型")), "支出类型值:10:20"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.native("支出类型.EDB")));

    EXPECT_EQ(Tool({"append", income, "收入类型=工资", "收入金额=1234.5",
                    "收入时间=2024-05-01 08:30:00", "收入备注信息=午餐, \"加班\""})
                  .status,
              0);
    EXPECT_EQ(Tool({"append", income, "收入类型=奖金", "收入时间=2024-12-31"}).status, 0);
    Result info = Tool({"info", income});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("records: 2"), std::string::npos);
    EXPECT_NE(info.out.find("next serial: 3"), std::string::npos);
    EXPECT_NE(info.out.find("record size: 86"), std::string::npos);
    EXPECT_NE(info.out.find("4. 收入备注信息  type 10 (text)  offset 36  width 50"),
              std::string::npos);

    Result dump = Tool({"dump", income});
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out,
              "_tag,收入类型,收入金额,收入时间,收入备注信息\r\n"
              "1,工资,1234.5,2024-05-01 08:30:00,\"午餐, \"\"加班\"\"\"\r\n"
              "2,奖金,0,2024-12-31 00:00:00,\r\n");
    EXPECT_EQ(Tool({"check", income}).status, 0);
    EXPECT_EQ(Tool({"pack", income}).status, 0);

    // Mistakes add nothing and say why.
    Result bad = Tool({"append", income, "没有=1"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "指定字段不存在\n");
    bad = Tool({"append", income, "收入时间=2024-13-01"});
    EXPECT_EQ(bad.err, "所提供数据的类型与字段类型不匹配\n");
    EXPECT_EQ(Tool({"info", income}).out.find("records: 2") != std::string::npos, true);
    bad = Tool({"create", Q(dir.native("x.edb")), "1坏:3"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("无效的字段名称"), std::string::npos);
    EXPECT_EQ(Tool({"dump", Q(dir.native("none.edb"))}).err, "指定文件未找到\n");
}

// The tool is for a shell, a script or a rescue console: it links no window
// library and runs where no display exists at all.
TEST(Tool, RunsWithoutADisplayOrAnyWindowLibrary) {
    QProcess ldd;
    ldd.start("ldd", {TAVRIN_DB_PATH});
    ASSERT_TRUE(ldd.waitForFinished(30000));
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    ASSERT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Gui")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Widgets")) << libraries.toStdString();

    rstest::TempDir dir;
    const QString file = Q(dir.native("收入类型.edb"));
    QProcessEnvironment bare;
    bare.insert("PATH", "/usr/bin:/bin");
    auto run = [&](const QStringList& arguments) {
        QProcess p;
        p.setProcessEnvironment(bare);  // no DISPLAY, no WAYLAND_DISPLAY, no Qt platform
        p.start(TAVRIN_DB_PATH, arguments);
        p.waitForFinished(60000);
        return std::make_pair(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                              p.readAllStandardOutput().toStdString());
    };
    EXPECT_EQ(run({"create", file, "收入类型值:10:20"}).first, 0);
    EXPECT_EQ(run({"append", file, "收入类型值=工资"}).first, 0);
    const auto [status, out] = run({"dump", file});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "_tag,收入类型值\r\n1,工资\r\n");
}

TEST(Tool, MemoByteSetAndCheck) {
    rstest::TempDir dir;
    const QString file = Q(dir.native("memo.edb"));
    ASSERT_EQ(Tool({"create", file, "Id:3", "Ok:7", "Data:11", "Text:12", "When:8"}).status, 0);
    std::string longText(600, 'x');
    ASSERT_EQ(Tool({"append", file, "id=7", "ok=true", "data=00FF10",
                    "text=" + Q(longText) + "\n汉字", "When=2000-01-01 12:00:00"})
                  .status,
              0);
    Result dump = Tool({"dump", file});
    EXPECT_EQ(dump.out, "_tag,Id,Ok,Data,Text,When\r\n1,7,1,00FF10,\"" + longText +
                            "\n汉字\",2000-01-01 12:00:00\r\n");
    EXPECT_EQ(Tool({"check", file}).status, 0);
    // A broken chain and a short file are found by check, read-only.
    auto blocks = rstest::ReadAll(dir.native("memo.EDT"));
    rstest::PutI32At(blocks, 2 * 512 + 4, 2);  // the memo's second block points at itself
    rstest::WriteAll(dir.native("memo.EDT"), blocks);
    Result check = Tool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("1 chains loop"), std::string::npos) << check.err;
    EXPECT_NE(check.err.find("访问数据库的辅助文件失败\n"), std::string::npos);
    auto records = rstest::ReadAll(dir.native("memo.edb"));
    records.pop_back();
    rstest::WriteAll(dir.native("memo.edb"), records);
    check = Tool({"check", file});
    EXPECT_NE(check.err.find("数据库文件尺寸错误\n"), std::string::npos) << check.err;
    EXPECT_EQ(rstest::ReadAll(dir.native("memo.edb")), records);
}

TEST(Tool, NamesDamageReclaimAndBusyFiles) {
    rstest::TempDir dir;
    // A name GBK cannot hold is refused, not folded into "?" and onto another file.
    Result bad = Tool({"create", Q(dir.native("😀.edb")), "A:3"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("无效的路径"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // 乗 ends in the byte 0x5C in GBK; the name has its extension already.
    EXPECT_EQ(Tool({"create", Q(dir.native("x.y乗")), "A:3"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.native("x.y乗")));

    const QString file = Q(dir.native("m.edb"));
    ASSERT_EQ(Tool({"create", file, "Id:3", "Text:12"}).status, 0);
    for (int i = 0; i < 3; ++i) {
        const QString text = "text=" + Q(std::string(900, char('a' + i)));
        ASSERT_EQ(Tool({"append", file, "id=" + QString::number(i), text}).status, 0);
    }
    EXPECT_EQ(Tool({"check", file}).out,
              "ok: 3 records (0 marked as deleted), 7 blocks: 6 in 3 chains, 0 free\n");
    // The last record lets go of its two blocks without freeing them: orphans,
    // which check reports and reclaim gives back (the file shrinks).
    auto records = rstest::ReadAll(dir.native("m.edb"));
    const size_t data = 116 + 2 * 72, size = 12;
    rstest::PutI32At(records, data + 2 * size + 8, 0);
    rstest::WriteAll(dir.native("m.edb"), records);
    Result check = Tool({"check", file});
    EXPECT_EQ(check.status, 0);
    EXPECT_NE(check.out.find("2 blocks reached by no chain"), std::string::npos) << check.out;
    EXPECT_EQ(Tool({"reclaim", file}).out, "2 blocks given back\n");
    EXPECT_EQ(rstest::FileSize(dir.native("m.EDT")), 5u * 512);
    EXPECT_EQ(Tool({"check", file}).out,
              "ok: 3 records (0 marked as deleted), 5 blocks: 4 in 2 chains, 0 free\n");
    // Two records sharing a block is damage, which check finds read-only and
    // the next writable open mends: the later record lets go of the chain.
    rstest::PutI32At(records, data + 1 * size + 8, rstest::I32At(records, data + 8));
    rstest::WriteAll(dir.native("m.edb"), records);
    check = Tool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("blocks used twice"), std::string::npos) << check.err;
    Result mended = Tool({"reclaim", file});
    EXPECT_EQ(mended.status, 0);
    EXPECT_NE(mended.err.find("1 memo or byte-set values whose blocks were lost or shared emptied"),
              std::string::npos)
        << mended.err;
    EXPECT_EQ(Tool({"dump", file}).out,
              "_tag,Id,Text\r\n1,0," + std::string(900, 'a') + "\r\n2,1,\r\n3,2,\r\n");
    EXPECT_EQ(Tool({"check", file}).status, 0);
    // A free count the list does not hold (a cut between the list and the
    // header): damage until the next writable open rebuilds the list.
    auto blocks = rstest::ReadAll(dir.native("m.EDT"));
    rstest::PutI32At(blocks, 20, rstest::I32At(blocks, 16) - 1);  // the highest an open takes
    rstest::WriteAll(dir.native("m.EDT"), blocks);
    check = Tool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("free blocks counted in the header that the free list does not hold"),
              std::string::npos)
        << check.err;
    mended = Tool({"append", file, "id=9", "text=" + Q(std::string(700, 'z'))});
    EXPECT_EQ(mended.status, 0);
    EXPECT_NE(mended.err.find("the list of free blocks rebuilt"), std::string::npos) << mended.err;
    EXPECT_EQ(Tool({"check", file}).out.rfind("ok: 4 records", 0), 0u);

    // Another process holding the file: the tool waits for it by default and
    // fails at once with --wait 0.
    const QString busy = Q(dir.native("busy.edb"));
    ASSERT_EQ(Tool({"create", busy, "Id:3"}).status, 0);
    std::unique_ptr<tavrin::rs::Database> db;
    tavrin::rs::OpenRequest request;
    request.gbkPath = dir.gbk("busy.edb");
    ASSERT_EQ(tavrin::rs::OpenDatabaseFiles(request, &db), tavrin::rs::Code::kOk);
    auto whole = std::make_unique<tavrin::rs::WholeLock>(db->records, 0);
    ASSERT_EQ(whole->code(), tavrin::rs::Code::kOk);
    Result now = Tool({"--wait", "0", "append", busy, "id=1"});
    EXPECT_EQ(now.status, 1);
    EXPECT_EQ(now.err, "加锁文件失败\n");
    QProcess waiting;
    waiting.start(TAVRIN_DB_PATH, {"append", busy, "id=2"});
    ASSERT_TRUE(waiting.waitForStarted());
    EXPECT_FALSE(waiting.waitForFinished(500));  // still waiting for the lock
    whole.reset();
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.exitCode(), 0) << waiting.readAllStandardError().toStdString();
    db.reset();
    // Two shells appending at once lose and refuse nothing.
    for (int i = 0; i < 12; ++i) {
        QProcess a, b;
        a.start(TAVRIN_DB_PATH, {"append", busy, "id=" + QString::number(10 + i)});
        b.start(TAVRIN_DB_PATH, {"append", busy, "id=" + QString::number(50 + i)});
        ASSERT_TRUE(a.waitForFinished(20000) && b.waitForFinished(20000));
        EXPECT_EQ(a.exitCode() + b.exitCode(), 0)
            << a.readAllStandardError().toStdString() << b.readAllStandardError().toStdString();
    }
    EXPECT_NE(Tool({"info", busy}).out.find("records: 25"), std::string::npos);
}

}  // namespace

namespace {

using ItemFileTool = rstest::ItemFileToolTest;

// What a cut or another program can leave in an item file, as the tool tells
// it: check says ok with the counts or names the damage, pack keeps bytes it
// cannot account for unless asked, a writable open says what it mended; and
// the mistakes a person makes at the shell are named.
TEST_F(ItemFileTool, CheckPackAndWhatAPersonMistypes) {
    const QString file = NewItemFile("财务收入.edb");
    for (const char* type : {"收入类型=工资", "收入类型=奖金"})
        ASSERT_EQ(Tool({"append", file, type, "收入金额=5"}).status, 0);
    EXPECT_EQ(Tool({"check", file}).out, "ok: 2 records (0 marked as deleted)\n");

    // Bytes past the last record: reported, and pack leaves the file alone.
    std::vector<uint8_t> bytes = rstest::ReadAll(dir_.native("财务收入.edb"));
    const std::vector<uint8_t> whole = bytes;
    bytes.insert(bytes.end(), 30, 0x41);
    rstest::WriteAll(dir_.native("财务收入.edb"), bytes);
    Result check = Tool({"check", file});
    EXPECT_EQ(check.status, 0);
    EXPECT_NE(check.out.find("ok: 2 records"), std::string::npos);
    EXPECT_NE(check.out.find("30 bytes past the last record"), std::string::npos) << check.out;
    Result pack = Tool({"pack", file});
    EXPECT_EQ(pack.status, 1);
    EXPECT_NE(pack.err.find("30 bytes past the last record: the file is left as it is"),
              std::string::npos)
        << pack.err;
    EXPECT_EQ(rstest::ReadAll(dir_.native("财务收入.edb")), bytes);
    pack = Tool({"pack", file, "--drop-trailing"});
    EXPECT_EQ(pack.status, 0);
    EXPECT_NE(pack.err.find("30 bytes past the last record dropped"), std::string::npos)
        << pack.err;
    EXPECT_EQ(rstest::ReadAll(dir_.native("财务收入.edb")), whole);

    // An import cut after its count but before its rows: records of zeros
    // inside the count are damage, which the next writable open drops.
    bytes = whole;
    const size_t recordSize = (whole.size() - (116 + 4 * 72)) / 2;
    rstest::PutI32At(bytes, 16, 4);
    bytes.insert(bytes.end(), 2 * recordSize, 0);
    rstest::WriteAll(dir_.native("财务收入.edb"), bytes);
    check = Tool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("2 records inside the count were never written (tag 0)"),
              std::string::npos)
        << check.err;
    Result append = Tool({"append", file, "收入类型=补贴"});
    EXPECT_EQ(append.status, 0);
    EXPECT_NE(append.err.find("2 records that never reached the disk whole dropped"),
              std::string::npos)
        << append.err;
    EXPECT_EQ(Tool({"check", file}).out, "ok: 3 records (0 marked as deleted)\n");

    Result unknown = Tool({"chek", file});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("unknown command chek\nusage: tavrin-db", 0), 0u) << unknown.err;

    // A CSV saved in GBK is named as such, not read as a garbled field name.
    const std::string gbk =
        tavrin::Utf8ToGbk("收入类型,收入金额,收入时间\r\n工资,5,2024-01-01\r\n");
    rstest::WriteAll(dir_.native("gbk.csv"), std::vector<uint8_t>(gbk.begin(), gbk.end()));
    Result import = Tool({"import", file, Q(dir_.native("gbk.csv"))});
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err,
              dir_.native("gbk.csv") + ": not UTF-8 (GBK? convert with iconv -f GBK)\n");
    EXPECT_EQ(Tool({"info", file}).out.find("records: 3") != std::string::npos, true);
}

}  // namespace

namespace {

// The command line as a person types it. A flag or a --wait that a command
// does not take, at any place, is refused with the usage (status 2) before the
// file is touched; a flag a command takes may stand before its file; and a CSV
// whose name is GBK bytes, as a copy from another machine leaves it, is read
// by that name.
TEST_F(ItemFileTool, TheCommandLineAsAPersonTypesIt) {
    const QString file = NewItemFile("财务收入.edb");
    const QString csv = Q(dir_.native("收入.csv"));
    const std::string rows = "收入类型,收入金额,收入时间\r\n工资,0.1234567891,2024-01-01\r\n";
    rstest::WriteAll(dir_.native("收入.csv"), std::vector<uint8_t>(rows.begin(), rows.end()));
    for (const QStringList& wrong :
         {QStringList{"info", file, "--round"}, QStringList{"pack", file, "--skip-bad"},
          QStringList{"import", file, csv, "--drop-trailing"},
          QStringList{"import", file, csv, "--round", "--round"},
          QStringList{"append", file, "--round=yes", "收入类型=工资"},
          QStringList{"info", file, "--wait", "0"}, QStringList{"--wait", "soon", "info", file},
          QStringList{"--wait", "-2", "info", file}, QStringList{"--wait"},
          QStringList{"--wait", "0", "--wait", "5", "info", file}, QStringList{"import", file},
          QStringList{"restore", Q(dir_.path())}, QStringList{"--verbose", "info", file}}) {
        const Result r = Tool(wrong);
        EXPECT_EQ(r.status, 2) << wrong.join(' ').toStdString();
        EXPECT_NE(r.err.find("usage: tavrin-db [--wait MS] COMMAND FILE ...\n"), std::string::npos)
            << wrong.join(' ').toStdString() << "\n"
            << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_NE(Tool({"info", file}).out.find("records: 0"), std::string::npos);
    // Asked for, the usage is an answer, not a mistake.
    const Result help = Tool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: tavrin-db [--wait MS] COMMAND FILE ...\n", 0), 0u) << help.out;

    const Result rounded = Tool({"--wait", "-1", "import", "--round", file, csv});
    EXPECT_EQ(rounded.status, 0) << rounded.err;
    EXPECT_EQ(Tool({"--wait=100", "append", file, "--", "收入类型=补贴", "收入金额=2"}).status, 0);

    std::string gbkName = dir_.path() + "/";
    std::string octal;  // the name as the shell's printf writes its bytes
    for (const unsigned char byte : tavrin::Utf8ToGbk("工资")) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03o", byte);
        octal += escape;
        gbkName += char(byte);
    }
    rstest::WriteAll(gbkName + ".csv", std::vector<uint8_t>(rows.begin(), rows.end()));
    QProcess shell;
    shell.start("/bin/sh", {"-c", R"(exec "$0" import "$1" "$2/$(printf "$3").csv" --round)",
                            TAVRIN_DB_PATH, file, Q(dir_.path()), Q(octal)});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_NE(Tool({"info", file}).out.find("records: 3"), std::string::npos);
}

}  // namespace
