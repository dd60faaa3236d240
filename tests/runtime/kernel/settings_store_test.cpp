// The per-user settings store and the registry commands: typed round-trips,
// reads that accept only their own type, damaged files, and two programs
// sharing the store.
#include "kernel/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "kernel_test_util.h"
#include "runtime/kernel/registry_commands.h"

using namespace tavrin;
using kernel_test::G;
using kernel_test::TakeByteSet;
using kernel_test::TakeText;
using kernel_test::Text;

namespace {

constexpr int32_t kUser = kCurrentUser;

// Every test gets its own store directory.
class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        SetSettingsDirectory(dir_.path().toStdString() + "/cfg");
    }
    void TearDown() override { SetSettingsDirectory(""); }
    std::string StorePath() const { return dir_.path().toStdString() + "/cfg/settings.dat"; }

    QTemporaryDir dir_;
};

bool Write(int32_t root, const std::string& path, Value v) {
    return CallKernel(WriteRegistry, MakeInt(root), Text(path), v).asBool();
}
int32_t ReadInt(int32_t root, const std::string& path, Value fallback = Value{}) {
    return CallKernel(ReadRegistryInt, MakeInt(root), Text(path), fallback).asInt();
}
std::string ReadText(int32_t root, const std::string& path, Value fallback = Value{}) {
    return TakeText(CallKernel(ReadRegistryText, MakeInt(root), Text(path), fallback));
}

std::string FileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}
void PutFileBytes(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), qint64(bytes.size()));
}

const std::string kPrintKey = "software\\" + G("打印设置") + "\\";

}  // namespace

TEST_F(Settings, EachTypeRoundTrips) {
    EXPECT_TRUE(Write(kUser, kPrintKey + "ID", MakeInt(1)));
    EXPECT_TRUE(Write(kUser, kPrintKey + G("标题"), Text(G("家庭收支明细"))));
    EXPECT_TRUE(Write(kUser, kPrintKey + G("颜色"), MakeInt(-16777216)));
    std::string raw("\0\1\2\xFF", 4);
    ByteSetBlock* bytes = NewByteSet(raw.data(), raw.size());
    EXPECT_TRUE(Write(kUser, kPrintKey + "blob", MakeByteSetRef(bytes)));
    Free(bytes);

    EXPECT_EQ(ReadInt(kUser, kPrintKey + "ID"), 1);
    EXPECT_EQ(ReadText(kUser, kPrintKey + G("标题")), G("家庭收支明细"));
    EXPECT_EQ(ReadInt(kUser, kPrintKey + G("颜色")), -16777216);
    EXPECT_EQ(TakeByteSet(CallKernel(ReadRegistryByteSet, MakeInt(kUser), Text(kPrintKey + "blob"),
                                     Value{})),
              raw);
}

TEST_F(Settings, OtherNumbersAreStoredAsInts) {
    EXPECT_TRUE(Write(kUser, "a\\d", MakeDouble(130.9)));
    EXPECT_TRUE(Write(kUser, "a\\s", MakeShort(-2)));
    EXPECT_EQ(ReadInt(kUser, "a\\d"), 130);
    EXPECT_EQ(ReadInt(kUser, "a\\s"), -2);
    EXPECT_FALSE(Write(kUser, "a\\nothing", Value{}));
}

TEST_F(Settings, ReadsAcceptOnlyTheirOwnType) {
    ASSERT_TRUE(Write(kUser, kPrintKey + "n", Text("123")));
    ASSERT_TRUE(Write(kUser, kPrintKey + "t", MakeInt(5)));
    EXPECT_EQ(ReadInt(kUser, kPrintKey + "n", MakeInt(77)), 77);
    EXPECT_EQ(ReadInt(kUser, kPrintKey + "n"), 0);
    EXPECT_EQ(ReadText(kUser, kPrintKey + "t", Text("dflt")), "dflt");
    bool wasNull = false;
    TakeText(CallKernel(ReadRegistryText, MakeInt(kUser), Text(kPrintKey + "t"), Value{}),
             &wasNull);
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(
        CallKernel(ReadRegistryByteSet, MakeInt(kUser), Text(kPrintKey + "t"), Value{}).pointer(),
        nullptr);
}

TEST_F(Settings, MissingValuesGiveAFreshCopyOfTheDefault) {
    std::string fallback = G("默认");
    Value r =
        CallKernel(ReadRegistryText, MakeInt(kUser), Text(kPrintKey + "none"), Text(fallback));
    EXPECT_NE(r.asText(), fallback.c_str());
    EXPECT_EQ(TakeText(r), fallback);
    EXPECT_EQ(ReadInt(kUser, "no\\such\\key", MakeInt(-3)), -3);
}

TEST_F(Settings, KeysAndNamesIgnoreAsciiCase) {
    ASSERT_TRUE(Write(kUser, "Software\\" + G("打印设置") + "\\Id", MakeInt(9)));
    EXPECT_EQ(ReadInt(kUser, "SOFTWARE\\" + G("打印设置") + "\\iD"), 9);
    ASSERT_TRUE(Write(kUser, "software\\" + G("打印设置") + "\\ID", MakeInt(10)));
    EXPECT_EQ(ReadInt(kUser, kPrintKey + "Id"), 10);
    // 乤 and 丄 differ only in a trail byte that looks like 'a' / 'A'.
    ASSERT_TRUE(Write(kUser, "k\\" + G("乤"), MakeInt(1)));
    EXPECT_EQ(ReadInt(kUser, "k\\" + G("丄"), MakeInt(-1)), -1);
}

TEST_F(Settings, RootsAreSeparateAndUnknownRootsMeanTheCurrentUser) {
    ASSERT_TRUE(Write(kUser, "r\\v", MakeInt(3)));
    ASSERT_TRUE(Write(kLocalMachine, "r\\v", MakeInt(4)));
    EXPECT_EQ(ReadInt(kUser, "r\\v"), 3);
    EXPECT_EQ(ReadInt(kLocalMachine, "r\\v"), 4);
    EXPECT_EQ(ReadInt(kClassesRoot, "r\\v", MakeInt(-1)), -1);
    EXPECT_EQ(ReadInt(99, "r\\v"), 3);
    EXPECT_EQ(ReadInt(0, "r\\v"), 3);
}

TEST_F(Settings, PathsSplitAtTheLastRealBackslash) {
    SettingsPath p = SplitSettingsPath(kPrintKey + "ID");
    EXPECT_EQ(p.key, "software\\" + G("打印设置"));
    EXPECT_EQ(p.name, "ID");
    p = SplitSettingsPath("ID");
    EXPECT_EQ(p.key, "");
    EXPECT_EQ(p.name, "ID");
    // 盶 is B1 5C: its trail byte is a backslash that separates nothing.
    std::string odd = G("盶");
    ASSERT_EQ(odd[1], '\\');
    p = SplitSettingsPath("software\\" + odd);
    EXPECT_EQ(p.key, "software");
    EXPECT_EQ(p.name, odd);
    p = SplitSettingsPath(odd + "\\v");
    EXPECT_EQ(p.key, odd);
    ASSERT_TRUE(Write(kUser, "software\\" + odd, MakeInt(8)));
    EXPECT_EQ(ReadInt(kUser, "software\\" + odd), 8);
    // A value directly under the root is not one under a key of the same name.
    ASSERT_TRUE(Write(kUser, "top", MakeInt(1)));
    EXPECT_EQ(ReadInt(kUser, "x\\top", MakeInt(-1)), -1);
    EXPECT_EQ(ReadInt(kUser, "top"), 1);
}

TEST_F(Settings, ExpandableStringsAreExpandedOnReading) {
    setenv("TAVRIN_KERNEL_TEST_HOME", "/home/用户", 1);
    std::string stored = "%TAVRIN_KERNEL_TEST_HOME%\\" + G("数据") + " %NOT_SET_ANYWHERE% 100%";
    stored += '\0';
    ASSERT_TRUE(UserSettings().Write(kUser, "e", "path",
                                     SettingsValue{SettingsType::kExpandString, stored}));
    EXPECT_EQ(ReadText(kUser, "e\\path"), G("/home/用户\\数据") + " %NOT_SET_ANYWHERE% 100%");
    EXPECT_EQ(ReadInt(kUser, "e\\path", MakeInt(4)), 4);
}

TEST_F(Settings, ValuesSurviveANewStoreOnTheSameFile) {
    ASSERT_TRUE(Write(kUser, kPrintKey + G("字体"), Text(G("宋体"))));
    SettingsStore reopened(StorePath());
    auto v = reopened.Read(kUser, "SOFTWARE\\" + G("打印设置"), G("字体"));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->type, SettingsType::kString);
    EXPECT_EQ(v->data, G("宋体") + std::string(1, '\0'));
}

TEST_F(Settings, ATruncatedOrDamagedStoreReadsAsEmpty) {
    ASSERT_TRUE(Write(kUser, kPrintKey + "ID", MakeInt(1)));
    ASSERT_TRUE(Write(kUser, kPrintKey + G("标题"), Text(G("明细"))));
    const std::string good = FileBytes(StorePath());
    ASSERT_GT(good.size(), 20u);
    const std::string damagedPath = dir_.path().toStdString() + "/damaged.dat";
    for (size_t length = 0; length < good.size(); ++length) {
        PutFileBytes(damagedPath, good.substr(0, length));
        SettingsStore damaged(damagedPath);
        EXPECT_FALSE(damaged.Read(kUser, kPrintKey, "ID").has_value()) << length;
    }
    for (size_t at = 0; at < good.size(); ++at) {
        std::string flipped = good;
        flipped[at] = char(flipped[at] ^ 0x41);
        PutFileBytes(damagedPath, flipped);
        SettingsStore damaged(damagedPath);
        EXPECT_FALSE(damaged.Read(kUser, kPrintKey, "ID").has_value()) << at;
    }
    // The damaged store takes new values and is sound again afterwards.
    SettingsStore damaged(damagedPath);
    ASSERT_TRUE(damaged.Write(kUser, "k", "v",
                              SettingsValue{SettingsType::kNumber, std::string("\7\0\0\0", 4)}));
    EXPECT_EQ(SettingsStore(damagedPath).Read(kUser, "k", "v")->data, std::string("\7\0\0\0", 4));
}

TEST_F(Settings, AnotherProgramsWriteIsSeenByTheNextRead) {
    ASSERT_TRUE(Write(kUser, "shared\\v", MakeInt(1)));
    SettingsStore other(StorePath());
    ASSERT_TRUE(other.Write(kUser, "shared", "v",
                            SettingsValue{SettingsType::kNumber, std::string("\2\0\0\0", 4)}));
    EXPECT_EQ(ReadInt(kUser, "shared\\v"), 2);
}

// --- Two processes: the child side runs only when the parent starts it. ---

namespace {

const char* ChildDirectory() {
    return std::getenv("TAVRIN_KERNEL_TEST_SETTINGS_DIR");
}
const char* ChildRole() {
    return std::getenv("TAVRIN_KERNEL_TEST_ROLE");
}

// Starts this test program again with one child test and the role in its
// environment; what the child prints goes where the parent's output goes.
void StartChild(QProcess& child, const std::string& directory, const std::string& role) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAVRIN_KERNEL_TEST_SETTINGS_DIR", QString::fromStdString(directory));
    env.insert("TAVRIN_KERNEL_TEST_ROLE", QString::fromStdString(role));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QFile::symLinkTarget("/proc/self/exe"), {"--gtest_filter=SettingsChild.Run"});
}

// The child's exit status; -1 when it did not start, did not end in time or
// crashed.
int ChildStatus(QProcess& child) {
    if (!child.waitForFinished(60000)) return -1;
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

int RunChild(const std::string& directory, const std::string& role) {
    QProcess child;
    StartChild(child, directory, role);
    return ChildStatus(child);
}

}  // namespace

TEST(SettingsChild, Run) {
    if (ChildDirectory() == nullptr) GTEST_SKIP() << "runs only as a child of SettingsProcesses";
    SetSettingsDirectory(ChildDirectory());
    const std::string role = ChildRole();
    if (role == "write") {
        ASSERT_TRUE(Write(kUser, kPrintKey + "ID", MakeInt(1)));
        ASSERT_TRUE(Write(kUser, kPrintKey + G("标题"), Text(G("家庭收支"))));
    } else if (role == "read") {
        EXPECT_EQ(ReadInt(kUser, kPrintKey + "ID"), 1);
        EXPECT_EQ(ReadText(kUser, kPrintKey + G("标题")), G("家庭收支"));
    } else {  // "many:<prefix>": fifty values of its own
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(Write(kUser, "many\\" + role.substr(5) + std::to_string(i), MakeInt(i)));
    }
}

TEST(SettingsProcesses, AValueUnderPrintSettingsSurvivesARestart) {
    QTemporaryDir dir;
    const std::string storeDir = dir.path().toStdString() + "/cfg";
    ASSERT_EQ(RunChild(storeDir, "write"), 0);
    EXPECT_EQ(RunChild(storeDir, "read"), 0);
}

TEST(SettingsProcesses, ConcurrentWritersLoseNothing) {
    QTemporaryDir dir;
    const std::string storeDir = dir.path().toStdString() + "/cfg";
    QProcess a, b;
    StartChild(a, storeDir, "many:a");
    StartChild(b, storeDir, "many:b");
    ASSERT_EQ(ChildStatus(b), 0);
    ASSERT_EQ(ChildStatus(a), 0);
    SettingsStore store(storeDir + "/settings.dat");
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(store.Read(kUser, "many", "a" + std::to_string(i)).has_value()) << i;
        EXPECT_TRUE(store.Read(kUser, "many", "b" + std::to_string(i)).has_value()) << i;
    }
}
