// The backup commands over the same backup code as the program: a restore
// from here is the program's restore, with its checks and its safety copy.
#include "backup_commands.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "finance/backup/backup_pairs.h"
#include "internal/file_posix.h"
#include "money/money_text.h"
#include "recordstore/database_manager.h"
#include "runtime/gbk.h"
#include "runtime/kernel/datetime_commands.h"

namespace tavrin::dbtool {

namespace {

// The directory as an absolute GBK path; empty (after a message) when it is none.
std::string Directory(const std::string& dir) {
    char resolved[PATH_MAX];
    if (realpath(dir.c_str(), resolved) == nullptr) {
        std::fprintf(stderr, "\"%s\": %s\n", dir.c_str(), std::strerror(errno));
        return {};
    }
    return Utf8ToGbk(resolved);
}

std::string SideText(const backup::SideSummary& s) {
    if (!s.present) return "none";
    if (!s.whole) return "damaged";
    return std::to_string(s.records) + " items, " + GbkToUtf8(money::MoneyTotalText(s.total));
}

std::string Reason(const backup::Outcome& o) {
    const std::string file = GbkToUtf8(o.file);
    switch (o.failure) {
        case backup::Failure::kBusy:
            return "\"" + file + "\" is in use by another program; nothing was changed";
        case backup::Failure::kDamaged:
            return "the backup \"" + file + "\" is damaged (" +
                   GbkToUtf8(DatabaseError(rs::Code(o.error))) + "); nothing was changed";
        case backup::Failure::kMissing:
            return "no backup \"" + file + "\" (tavrin-db backups DIR lists them)";
        case backup::Failure::kCannotWrite:
            return "\"" + file + "\" could not be written (" +
                   (o.error > 0 ? std::string(std::strerror(o.error))
                                : GbkToUtf8(DatabaseError(rs::Code(o.error)))) +
                   "); the item files are as they were";
        case backup::Failure::kNone:
            break;
    }
    return {};
}

}  // namespace

int ListBackups(const std::string& dir) {
    const std::string gbkDir = Directory(dir);
    if (gbkDir.empty()) return 1;
    for (const backup::PairSummary& pair : backup::ListBackups(gbkDir, rs::LockWaitTime())) {
        std::printf("%s\t%s\tincome: %s\texpense: %s%s\n", GbkToUtf8(pair.name.key).c_str(),
                    pair.name.kind == backup::Kind::kAutomatic ? "automatic" : "by hand",
                    SideText(pair.sides[0]).c_str(), SideText(pair.sides[1]).c_str(),
                    pair.damaged() ? "\t(damaged: cannot be restored)" : "");
    }
    return 0;
}

int RestoreBackup(const std::string& dir, const std::string& stamp) {
    const std::string gbkDir = Directory(dir);
    if (gbkDir.empty()) return 1;
    const backup::RestoreResult r =
        backup::RestoreBackup(gbkDir, Utf8ToGbk(stamp), CurrentDateTime(), rs::LockWaitTime());
    if (!r.outcome.ok()) {
        std::fprintf(stderr, "%s\n", Reason(r.outcome).c_str());
        return 1;
    }
    std::printf("restored %s; the item files as they were are the backup %s\n", stamp.c_str(),
                GbkToUtf8(r.safetyKey).c_str());
    return 0;
}

}  // namespace tavrin::dbtool
