// Making, reading and putting back backup pairs over the durable file layer.
// Every copy is read back whole before it is renamed into place, so a name
// that a person or the program sees is always a whole copy.
#include "finance/backup/backup_pairs.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "backup_text_constants.h"
#include "durable_files.h"
#include "recordstore/whole_file.h"
#include "runtime/base/calendar.h"
#include "runtime/base/little_endian.h"

namespace tavrin::backup {

namespace {

constexpr int32_t kTextField = 10, kFloatField = 5, kDateTimeField = 8;
constexpr double kOneSecond = 1.0 / 86400.0;

Outcome Failed(Failure failure, const std::string& file, int error) {
    return {failure, file, error};
}

// Temporary files of one operation, removed unless it commits.
class Temporaries {
  public:
    explicit Temporaries(const std::string& dir) : dir_(dir) {}
    ~Temporaries() {
        if (!kept_)
            for (const std::string& name : names_) (void)RemoveDurably(dir_, name);
    }
    void add(const std::string& name) { names_.push_back(name); }
    void keep() { kept_ = true; }

  private:
    std::string dir_;
    std::vector<std::string> names_;
    bool kept_ = false;
};

// The copy reads back whole, with the records its source held.
Outcome CheckCopy(const std::string& copyPath, int32_t expected, const std::string& name) {
    rs::RecordLayout layout;
    const rs::Code code = rs::ReadEveryRecord(
        copyPath, 0, [](const uint8_t*) {}, &layout);
    if (code != rs::Code::kOk) return Failed(Failure::kCannotWrite, name, int(code));
    if (layout.records != expected) return Failed(Failure::kCannotWrite, name, EIO);
    return {};
}

// Copies a file the caller holds still (or one that is no record file) and
// checks the copy: by its records when `records` >= 0, else byte for byte.
Outcome CopyAndCheck(const std::string& source, const std::string& copy, int32_t records,
                     const std::string& name) {
    if (int e = CopyBytesSynced(source, copy); e != 0)
        return Failed(Failure::kCannotWrite, name, e);
    StepPoint("check");
    if (records >= 0) return CheckCopy(copy, records, name);
    return SameBytes(source, copy) ? Outcome{} : Failed(Failure::kCannotWrite, name, EIO);
}

// Holds an item file still for a copy: for writing where allowed, so that an
// interrupted pack is rolled back first. kOk, a busy code, or why it is no
// readable record file.
rs::Code HoldItemFile(rs::HeldRecordFile& held, const std::string& path, int32_t sharing,
                      int32_t waitMs) {
    rs::Code code = held.hold(path, true, sharing, waitMs);
    if (code == rs::Code::kAccessDenied) code = held.hold(path, false, sharing, waitMs);
    return code;
}

// The item file of a side read into its copy `copyName` of the directory.
Outcome CopyItemFile(const std::string& dir, int side, const std::string& copyName, int32_t waitMs,
                     int32_t* records) {
    const std::string source = InDirectory(dir, ItemFileName(side));
    rs::HeldRecordFile held;
    const rs::Code code = HoldItemFile(held, source, 1, waitMs);
    if (rs::IsBusy(code)) return Failed(Failure::kBusy, ItemFileName(side), int(code));
    // A file the engine cannot open at all is kept as it is, for whoever can
    // make sense of it; it is listed as damaged and never put back.
    *records = code == rs::Code::kOk ? held.recordCount() : -1;
    return CopyAndCheck(source, InDirectory(dir, copyName), *records, copyName);
}

bool IsItemLayout(const rs::RecordLayout& layout, int side) {
    const bool income = side == 0;
    const char* names[4] = {
        income ? backup_text::IncomeCategoryField : backup_text::ExpenseCategoryField,
        AmountFieldName(side),
        income ? backup_text::IncomeTimeField : backup_text::ExpenseTimeField,
        income ? backup_text::IncomeRemarkField : backup_text::ExpenseRemarkField};
    const int32_t types[4] = {kTextField, kFloatField, kDateTimeField, kTextField};
    if (layout.fields.size() != 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (layout.fields[i].name != names[i] || layout.fields[i].type != types[i]) return false;
    return true;
}

}  // namespace

SideSummary ReadItemFile(const std::string& gbkPath, int side) {
    SideSummary s;
    s.present = FileExists(gbkPath);
    if (!s.present) return s;
    rs::RecordLayout layout;
    double total = 0;
    // The layout is filled in before the first record is handed over.
    int32_t amountAt = -2;
    const rs::Code code = rs::ReadEveryRecord(
        gbkPath, 0,
        [&](const uint8_t* record) {
            if (amountAt == -2) {
                amountAt = -1;
                for (size_t i = 0; i < layout.fields.size(); ++i)
                    if (layout.fields[i].name == AmountFieldName(side) &&
                        layout.fields[i].type == kFloatField)
                        amountAt = layout.offsets[i];
            }
            if (amountAt < 0) return;
            const auto amount = LoadLe<float>(record + amountAt);
            if (std::isfinite(amount)) total += double(amount);
        },
        &layout);
    if (code != rs::Code::kOk || !IsItemLayout(layout, side)) return s;
    s.whole = true;
    s.records = layout.records;
    s.total = total;
    return s;
}

bool PairSummary::damaged() const {
    for (const SideSummary& s : sides)
        if (s.present && !s.whole) return true;
    return !sides[0].present && !sides[1].present;
}

std::vector<PairSummary> ListBackups(const std::string& gbkDir, int32_t waitMs) {
    DirectoryLock lock(gbkDir, waitMs);
    if (lock.held()) FinishInterruptedRenames(gbkDir);
    std::vector<PairSummary> out;
    for (PairName& name : FindBackupPairs(gbkDir)) {
        PairSummary pair;
        for (int side = 0; side < kSides; ++side)
            if (!name.files[size_t(side)].empty())
                pair.sides[size_t(side)] =
                    ReadItemFile(InDirectory(gbkDir, name.files[size_t(side)]), side);
        pair.name = std::move(name);
        out.push_back(std::move(pair));
    }
    return out;
}

BackupResult MakeBackup(const std::string& gbkDir, double now, Kind kind, int32_t waitMs) {
    BackupResult result;
    DirectoryLock lock(gbkDir, waitMs);
    if (!lock.held()) {
        for (int side = 0; side < kSides; ++side)
            result.sides[size_t(side)] = Failed(Failure::kBusy, ItemFileName(side), EWOULDBLOCK);
        return result;
    }
    FinishInterruptedRenames(gbkDir);
    const std::string stamp = StampOf(now);
    Temporaries temporaries(gbkDir);
    std::vector<Rename> renames;
    int32_t records = 0;
    for (int side = 0; side < kSides; ++side) {
        if (!FileExists(InDirectory(gbkDir, ItemFileName(side)))) continue;
        const std::string name = BackupFileName(stamp, kind, side);
        if (IsInTheWay(InDirectory(gbkDir, name))) {
            result.sides[size_t(side)] = Failed(Failure::kCannotWrite, name, EISDIR);
            continue;
        }
        const std::string temporary = TemporaryName(name);
        temporaries.add(temporary);
        int32_t count = 0;
        Outcome o = CopyItemFile(gbkDir, side, temporary, waitMs, &count);
        if (o.failure == Failure::kCannotWrite) o.file = name;
        result.sides[size_t(side)] = o;
        if (!o.ok()) continue;
        records += count < 0 ? 1 : count;
        renames.push_back({temporary, name, 0});
    }
    if (renames.empty() || (kind == Kind::kAutomatic && records == 0)) return result;
    if (int e = CommitRenames(gbkDir, renames); e != 0) {
        for (int side = 0; side < kSides; ++side)
            if (result.sides[size_t(side)].ok())
                result.sides[size_t(side)] =
                    Failed(Failure::kCannotWrite, BackupFileName(stamp, kind, side), e);
        return result;
    }
    temporaries.keep();
    for (const Rename& r : renames) {
        if (r.error == 0) continue;
        for (int side = 0; side < kSides; ++side)
            if (r.to == BackupFileName(stamp, kind, side))
                result.sides[size_t(side)] = Failed(Failure::kCannotWrite, r.to, r.error);
        (void)RemoveDurably(gbkDir, r.from);
    }
    result.key = PairKey(stamp, kind);
    return result;
}

bool HasAutomaticBackupOn(const std::string& gbkDir, double now) {
    const double day = kernel::DateOnly(now);
    for (const PairName& pair : FindBackupPairs(gbkDir))
        if (pair.kind == Kind::kAutomatic && kernel::DateOnly(pair.when) == day) return true;
    return false;
}

void RemoveOldAutomaticBackups(const std::string& gbkDir, size_t keep) {
    DirectoryLock lock(gbkDir, 0);
    if (!lock.held()) return;  // another program is at work here; next time
    size_t kept = 0;
    for (const PairName& pair : FindBackupPairs(gbkDir)) {
        if (pair.kind != Kind::kAutomatic || ++kept <= keep) continue;
        for (const std::string& file : pair.files)
            if (!file.empty()) (void)RemoveDurably(gbkDir, file);
    }
}

RestoreResult RestoreBackup(const std::string& gbkDir, const std::string& gbkKey, double now,
                            int32_t waitMs) {
    RestoreResult result;
    DirectoryLock lock(gbkDir, waitMs);
    if (!lock.held()) {
        result.outcome = Failed(Failure::kBusy, gbkKey, EWOULDBLOCK);
        return result;
    }
    FinishInterruptedRenames(gbkDir);
    const PairName pair = FindBackupPair(gbkDir, gbkKey);
    if (pair.key.empty()) {
        result.outcome = Failed(Failure::kMissing, gbkKey, ENOENT);
        return result;
    }
    // The backup is read whole before anything changes.
    std::array<int32_t, kSides> records{-1, -1};
    for (int side = 0; side < kSides; ++side) {
        const std::string& file = pair.files[size_t(side)];
        if (file.empty()) continue;
        rs::RecordLayout layout;
        const rs::Code code = rs::ReadEveryRecord(
            InDirectory(gbkDir, file), waitMs, [](const uint8_t*) {}, &layout);
        if (code != rs::Code::kOk || !IsItemLayout(layout, side)) {
            result.outcome = Failed(Failure::kDamaged, file, int(code));
            return result;
        }
        records[size_t(side)] = layout.records;
    }
    if (records[0] < 0 && records[1] < 0) {
        result.outcome = Failed(Failure::kDamaged, gbkKey, ENOENT);
        return result;
    }
    // The item files are held alone from their safety copy to their replacement,
    // so that no write of another program falls between the two.
    std::array<rs::HeldRecordFile, kSides> current;
    std::array<int32_t, kSides> currentRecords{-1, -1};
    std::array<bool, kSides> present{false, false};
    for (int side = 0; side < kSides; ++side) {
        const std::string path = InDirectory(gbkDir, ItemFileName(side));
        present[size_t(side)] = FileExists(path);
        if (!present[size_t(side)]) continue;
        const rs::Code code = HoldItemFile(current[size_t(side)], path, 4, waitMs);
        if (rs::IsBusy(code)) {
            result.outcome = Failed(Failure::kBusy, ItemFileName(side), int(code));
            return result;
        }
        if (code == rs::Code::kOk)
            currentRecords[size_t(side)] = current[size_t(side)].recordCount();
    }
    // The safety pair never takes the name of the pair being put back.
    double moment = now;
    while (PairKey(StampOf(moment), Kind::kManual) == pair.key) moment += kOneSecond;
    const std::string stamp = StampOf(moment);
    Temporaries temporaries(gbkDir);
    std::vector<Rename> renames;
    for (int side = 0; side < kSides; ++side) {
        if (!present[size_t(side)]) continue;
        const std::string name = BackupFileName(stamp, Kind::kManual, side);
        if (IsInTheWay(InDirectory(gbkDir, name))) {
            result.outcome = Failed(Failure::kCannotWrite, name, EISDIR);
            return result;
        }
        const std::string temporary = TemporaryName(name);
        temporaries.add(temporary);
        Outcome o =
            CopyAndCheck(InDirectory(gbkDir, ItemFileName(side)), InDirectory(gbkDir, temporary),
                         currentRecords[size_t(side)], name);
        if (!o.ok()) {
            result.outcome = o;
            return result;
        }
        renames.push_back({temporary, name, 0});
    }
    for (int side = 0; side < kSides; ++side) {
        if (records[size_t(side)] < 0) continue;
        const std::string temporary = TemporaryName(ItemFileName(side));
        temporaries.add(temporary);
        Outcome o =
            CopyAndCheck(InDirectory(gbkDir, pair.files[size_t(side)]),
                         InDirectory(gbkDir, temporary), records[size_t(side)], ItemFileName(side));
        if (!o.ok()) {
            result.outcome = o;
            return result;
        }
        renames.push_back({temporary, ItemFileName(side), 0});
    }
    if (int e = CommitRenames(gbkDir, renames); e != 0) {
        result.outcome = Failed(Failure::kCannotWrite, ItemFileName(0), e);
        return result;
    }
    temporaries.keep();
    for (const Rename& r : renames)
        if (r.error != 0 && result.outcome.ok())
            result.outcome = Failed(Failure::kCannotWrite, r.to, r.error);
    result.safetyKey = PairKey(stamp, Kind::kManual);
    return result;
}

void RecoverBackupDirectory(const std::string& gbkDir, int32_t waitMs) {
    DirectoryLock lock(gbkDir, waitMs);
    if (lock.held()) FinishInterruptedRenames(gbkDir);
}

}  // namespace tavrin::backup
