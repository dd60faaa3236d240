// Two real processes on one database: concurrent appends with the default
// sharing, and the sharing modes refusing or allowing the other process.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>

#include <set>

#include "test_support.h"

using namespace tavrin;
using rstest::Cmd;
using rstest::Text;

namespace {

// A child process that runs body() and reports failure through its exit status.
// It opens first, says so through `ready`, and waits for `go` to close.
class Child {
  public:
    template <typename Body>
    Child(int readyFd, int goFd, Body body) {
        pid_ = fork();
        if (pid_ == 0) {
            int status = body(readyFd, goFd);
            _exit(status);
        }
    }
    int wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
    }

  private:
    pid_t pid_ = -1;
};

void SignalReady(int readyFd) {
    char c = 'r';
    (void)!write(readyFd, &c, 1);
}
void AwaitGo(int goFd) {
    char c;
    while (read(goFd, &c, 1) > 0) {
    }
}

class TwoProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(rs::CreateDatabaseFiles(path(), {{"Who", 3, 0}, {"Note", 10, 12}}),
                  rs::Code::kOk);
    }
    void TearDown() override {
        for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
        Cmd(CloseAllDatabases);
    }
    std::string path() const { return dir.gbk("shared.edb"); }
    // Waits until n children said they are ready. A child that failed before
    // saying so ends the wait after a minute instead of hanging the suite.
    void awaitReady(int n) {
        for (int i = 0; i < n; ++i) {
            pollfd p{ready[0], POLLIN, 0};
            ASSERT_EQ(poll(&p, 1, 60000), 1) << "a child never said it was ready";
            char c;
            ASSERT_EQ(read(ready[0], &c, 1), 1);
        }
    }
    void releaseChildren() {
        close(go[1]);
        go[1] = -1;
    }
    bool openShared(bool readOnly, int32_t sharing) {
        const Value none{};
        return Cmd(OpenDatabase, Text(path()), none, MakeBool(readOnly), MakeInt(sharing)).asBool();
    }

    rstest::TempDir dir;
    int ready[2] = {-1, -1};
    int go[2] = {-1, -1};
};

TEST_F(TwoProcesses, ConcurrentAppendsKeepEveryRecordAndSerial) {
    constexpr int kPerProcess = 5000;
    auto appender = [&](int who) {
        return [&, who](int readyFd, int goFd) {
            close(go[1]);
            // Waiting on the other process is the point here, not how long a
            // busy machine takes to let it through.
            SetDatabaseLockWaitTime(-1);
            if (!openShared(false, 1)) return 1;
            SignalReady(readyFd);
            AwaitGo(goFd);
            for (int i = 0; i < kPerProcess; ++i) {
                if (!Cmd(AppendBlankRecord).asBool()) return 2;
                if (!Cmd(WriteField, MakeInt(1), MakeInt(who)).asBool()) return 3;
            }
            return 0;
        };
    };
    Child a(ready[1], go[0], appender(1));
    Child b(ready[1], go[0], appender(2));
    awaitReady(2);
    releaseChildren();
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    ASSERT_TRUE(openShared(true, 1));
    ASSERT_EQ(Cmd(GetRecordCount).asInt(), 2 * kPerProcess);
    rs::Database* db = DatabaseManager::instance().current();
    auto bytes = rstest::ReadAll(dir.native("shared.edb"));
    ASSERT_EQ(bytes.size(), db->recordOffset(2 * kPerProcess));
    std::set<int32_t> serials;
    int perWho[3] = {0, 0, 0};
    for (int i = 0; i < 2 * kPerProcess; ++i) {
        size_t at = size_t(db->recordOffset(i));
        serials.insert(rstest::I32At(bytes, at));
        int who = rstest::I32At(bytes, at + 4);
        if (who == 1 || who == 2) ++perWho[who];
    }
    EXPECT_EQ(serials.size(), size_t(2 * kPerProcess));
    EXPECT_EQ(*serials.begin(), 1);
    EXPECT_EQ(*serials.rbegin(), 2 * kPerProcess);
    EXPECT_EQ(perWho[1], kPerProcess);
    EXPECT_EQ(perWho[2], kPerProcess);
    EXPECT_EQ(rstest::I32At(bytes, 20), 2 * kPerProcess + 1);  // next serial
}

TEST_F(TwoProcesses, SharingModesAcrossProcesses) {
    struct Case {
        int32_t sharing;
        bool readOnlyOpen, writableOpen;  // what the other process may do
    };
    const Case cases[] = {{1, true, true}, {2, false, false}, {3, true, false}, {4, false, false}};
    for (const Case& c : cases) {
        int readyPipe[2], goPipe[2];
        ASSERT_EQ(pipe(readyPipe), 0);
        ASSERT_EQ(pipe(goPipe), 0);
        Child holder(readyPipe[1], goPipe[0], [&](int readyFd, int goFd) {
            close(goPipe[1]);
            if (!openShared(false, c.sharing)) return 1;
            SignalReady(readyFd);
            AwaitGo(goFd);
            return 0;
        });
        char r;
        ASSERT_EQ(read(readyPipe[0], &r, 1), 1);
        EXPECT_EQ(openShared(true, 1), c.readOnlyOpen) << "sharing " << c.sharing;
        if (!c.readOnlyOpen) {
            EXPECT_EQ(LastDatabaseError(), -12);
        }
        Cmd(CloseAllDatabases);
        EXPECT_EQ(openShared(false, 1), c.writableOpen) << "sharing " << c.sharing;
        if (!c.writableOpen) {
            EXPECT_EQ(LastDatabaseError(), -12);
        }
        Cmd(CloseAllDatabases);
        close(goPipe[1]);
        EXPECT_EQ(holder.wait(), 0);
        for (int fd : {readyPipe[0], readyPipe[1], goPipe[0]}) close(fd);
    }
    // The other way round: a writer already there keeps out "others may not write".
    Child writer(ready[1], go[0], [&](int readyFd, int goFd) {
        close(go[1]);
        if (!openShared(false, 1)) return 1;
        SignalReady(readyFd);
        AwaitGo(goFd);
        return 0;
    });
    awaitReady(1);
    EXPECT_FALSE(openShared(true, 3));
    EXPECT_EQ(LastDatabaseError(), -12);
    EXPECT_FALSE(openShared(true, 4));
    EXPECT_TRUE(openShared(true, 1));
    releaseChildren();
    EXPECT_EQ(writer.wait(), 0);
    Cmd(CloseAllDatabases);
    // Once the writer is gone the file may be opened exclusively.
    EXPECT_TRUE(openShared(false, 4));
}

TEST_F(TwoProcesses, ALockedRecordIsRefusedToTheOtherProcess) {
    int second[2];
    ASSERT_EQ(pipe(second), 0);
    Child holder(ready[1], go[0], [&](int readyFd, int goFd) {
        close(go[1]);
        close(second[1]);
        if (!openShared(false, 1) || !Cmd(AppendBlankRecord).asBool()) return 1;
        Cmd(GoToFirstRecord);  // any other command gives up the appended record's lock
        SignalReady(readyFd);
        AwaitGo(goFd);
        rs::Database* db = DatabaseManager::instance().current();
        if (db->records.lockByte(db->recordOffset(0), 0) != rs::Code::kOk) return 2;
        SignalReady(readyFd);
        AwaitGo(second[0]);
        return 0;
    });
    awaitReady(1);
    ASSERT_TRUE(openShared(false, 1));
    releaseChildren();
    awaitReady(1);  // the other process now holds record 1's lock byte
    EXPECT_EQ(Cmd(GetRecordCount).asInt(), 1);
    EXPECT_FALSE(Cmd(WriteField, MakeInt(1), MakeInt(5)).asBool());
    EXPECT_EQ(LastDatabaseError(), -13);
    EXPECT_FALSE(Cmd(PackDatabase).asBool());
    EXPECT_EQ(LastDatabaseError(), -13);
    Cmd(CloseAllDatabases);
    // Opening checks the file under the whole-file lock, which the held byte denies.
    EXPECT_FALSE(openShared(false, 1));
    EXPECT_EQ(LastDatabaseError(), -13);
    close(second[1]);
    EXPECT_EQ(holder.wait(), 0);
    close(second[0]);
    ASSERT_TRUE(openShared(false, 1));
    EXPECT_TRUE(Cmd(WriteField, MakeInt(1), MakeInt(5)).asBool());
}

}  // namespace
