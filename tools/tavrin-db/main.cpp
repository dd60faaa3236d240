// tavrin-db: dispatches the command line to the tool's commands.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backup_commands.h"
#include "item_csv.h"
#include "recordstore/database_manager.h"
#include "runtime/gbk.h"
#include "tool.h"

namespace {

int Usage() {
    std::fputs(
        "usage: tavrin-db [--wait MS] COMMAND FILE ...\n"
        "  --wait MS: how long to wait for a file another process holds (default 5000)\n"
        "  tavrin-db create FILE NAME:TYPE[:SIZE] ...   (TYPE 1-12; SIZE for text, type 10)\n"
        "  tavrin-db info FILE\n"
        "  tavrin-db dump FILE                          (CSV on standard output)\n"
        "  tavrin-db append FILE [--round] NAME=VALUE ... (dates YYYY-MM-DD[ HH:MM:SS])\n"
        "  tavrin-db append FILE [--round] -            (rows of a CSV as dump prints it)\n"
        "    --round: store a number the field cannot hold as written as its nearest value\n"
        "  tavrin-db pack FILE [--drop-trailing]        (--drop-trailing: also drop bytes past\n"
        "                                               the last record)\n"
        "  tavrin-db check FILE\n"
        "  tavrin-db export FILE                        (an item file as CSV on standard output)\n"
        "  tavrin-db import FILE CSV [--skip-bad] [--round]  (CSV rows into an item file)\n"
        "  tavrin-db reclaim FILE                       (give unreachable blocks back)\n"
        "  tavrin-db backups DIR                        (the program's backup pairs in DIR)\n"
        "  tavrin-db restore DIR STAMP                  (put a backup pair back as the item "
        "files)\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tavrin::dbtool;
    std::vector<std::string> args(argv + 1, argv + argc);
    // A busy file is waited for, as a person at a shell expects.
    int32_t waitMs = 5000;
    if (args.size() >= 2 && args[0] == "--wait") {
        char* end = nullptr;
        long ms = std::strtol(args[1].c_str(), &end, 10);
        if (args[1].empty() || *end != 0 || ms < -1 || ms > 0x7FFFFFFF) return Usage();
        waitMs = int32_t(ms);
        args.erase(args.begin(), args.begin() + 2);
    }
    tavrin::rs::SetLockWaitTime(waitMs);
    static const char* const kCommands[] = {"create",  "info",    "dump",   "append",
                                            "pack",    "check",   "export", "import",
                                            "reclaim", "backups", "restore"};
    if (!args.empty() &&
        std::find(std::begin(kCommands), std::end(kCommands), args[0]) == std::end(kCommands)) {
        std::fprintf(stderr, "unknown command %s\n", args[0].c_str());
        return Usage();
    }
    if (args.size() < 2) return Usage();
    const std::string command = args[0];
    const std::string file = args[1];
    // Inside the program names are GBK; a character GBK has no place for would
    // turn into "?" and two different names into one file.
    if (tavrin::GbkToUtf8(tavrin::Utf8ToGbk(file)) != file) {
        std::fprintf(stderr, "\"%s\": the name holds characters the record files cannot name\n%s\n",
                     file.c_str(),
                     tavrin::GbkToUtf8(tavrin::DatabaseError(tavrin::rs::Code::kBadPath)).c_str());
        return 1;
    }
    std::vector<std::string> rest(args.begin() + 2, args.end());
    if (command == "create") return rest.empty() ? Usage() : Create(file, rest);
    if (command == "append") return Append(file, rest);
    if (command == "import" && !rest.empty()) {
        bool skipBad = false, round = false;
        for (size_t i = 1; i < rest.size(); ++i) {
            bool& flag = rest[i] == "--skip-bad" ? skipBad : round;
            if ((rest[i] != "--skip-bad" && rest[i] != "--round") || flag) return Usage();
            flag = true;
        }
        return ImportItems(file, rest[0], skipBad, round);
    }
    if (command == "pack" && rest.size() <= 1) {
        if (!rest.empty() && rest[0] != "--drop-trailing") return Usage();
        return Pack(file, !rest.empty());
    }
    if (command == "restore" && rest.size() == 1) return RestoreBackup(file, rest[0]);
    if (!rest.empty()) return Usage();
    if (command == "backups") return ListBackups(file);
    if (command == "info") return Info(file);
    if (command == "dump") return Dump(file);
    if (command == "check") return Check(file);
    if (command == "export") return ExportItems(file);
    if (command == "reclaim") return Reclaim(file);
    return Usage();
}
