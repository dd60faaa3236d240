// finance_appender_child: another program appending income items to the income
// file of a program directory (argv[1]) without pause, waiting for locks as long
// as it takes, until it is killed. Prints "appending" once it has begun.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/process.h"

using namespace tavrin;

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QCoreApplication app(argc, argv);
    SetProgramDirectory(Utf8ToGbk(argv[1]), true);
    SetDatabaseLockWaitTime(-1);
    const std::string file = Utf8ToGbk("财务收入.edb"), amount = Utf8ToGbk("收入金额");
    if (!CallKernel(OpenDatabase, MakeTextRef(file.c_str())).asBool()) return 1;
    for (long i = 0;; ++i) {
        if (!CallKernel(AppendBlankRecord).asBool()) return 3;
        CallKernel(WriteField, MakeTextRef(amount.c_str()), MakeFloat(1));
        if (i == 100) {
            std::printf("appending\n");
            std::fflush(stdout);
        }
    }
}
