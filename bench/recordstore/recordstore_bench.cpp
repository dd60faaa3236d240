// RecordStore against SQLite on a million income records: appending, listing,
// summing, finding, packing, and a plain read of the record file as the floor.
// Each measurement runs once; the counters carry the per-record figures and the
// growth of peak memory during each scan.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench_data.h"
#include "recordstore/current_database.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"

namespace rsbench {

using namespace tavrin;

namespace {

const std::string kCategories[] = {Utf8ToGbk("工资"), Utf8ToGbk("奖金"), Utf8ToGbk("利息"),
                                   Utf8ToGbk("兼职"), Utf8ToGbk("其他")};
const std::string kLast = Utf8ToGbk("彩票");
const std::string kRemark = Utf8ToGbk("午餐补贴和交通费");
const std::string kCategoryField = Utf8ToGbk("收入类型");
const std::string kAmountField = Utf8ToGbk("收入金额");
const std::string kTimeField = Utf8ToGbk("收入时间");
const std::string kRemarkField = Utf8ToGbk("收入备注信息");

std::string RecordFile() {
    return Utf8ToGbk(ScratchDirectory() + "/财务收入.edb");
}

Value Field(const std::string& name) {
    return MakeTextRef(name.c_str());
}

// Creates a record file of the income schema (GBK path), as the program does.
bool CreateIncomeFile(const std::string& path) {
    ArrayBlock* fields = NewFieldInfArray(4);
    FieldInf* f = FieldInfElements(fields);
    f[0] = {kCategoryField.c_str(), 10, 20};
    f[1] = {kAmountField.c_str(), 5, 20};
    f[2] = {kTimeField.c_str(), 8, 20};
    f[3] = {kRemarkField.c_str(), 10, 50};
    const bool made =
        CallKernel(CreateDatabase, MakeTextRef(path.c_str()), MakeFieldInfArray(fields)).asBool();
    Free(fields);
    return made;
}

void OpenIncome() {
    CallKernel(CloseAllDatabases);
    std::string path = RecordFile();
    if (!CallKernel(OpenDatabase, MakeTextRef(path.c_str())).asBool()) std::abort();
}

// Peak memory growth (KB) over a scan, reported as a counter.
class PeakWatch {
  public:
    explicit PeakWatch(benchmark::State& state) : state_(state), before_(PeakRssKb()) {}
    ~PeakWatch() { state_.counters["peak_rss_growth_kb"] = double(PeakRssKb() - before_); }

  private:
    benchmark::State& state_;
    long before_;
};

void PerRecord(benchmark::State& state, double seconds) {
    state.counters["us_per_record"] = seconds * 1e6 / kRecords;
    state.counters["records_per_s"] = kRecords / seconds;
}

double Seconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

IncomeRow RowAt(int32_t i) {
    IncomeRow row;
    row.category = i == kRecords - 1 ? kLast : kCategories[i % 5];
    row.amount = float(100 + i % 997) + 0.25f;
    row.when = 45000.0 + i / 1000 + (i % 1000) / 1000.0;
    row.remark = kRemark;
    return row;
}

std::string LastCategory() {
    return kLast;
}

// Made on first use, removed with everything in it when the program ends
// (after main has closed both engines' files).
const std::string& ScratchDirectory() {
    static const QTemporaryDir dir(QDir::tempPath() + "/rs-bench-XXXXXX");
    if (!dir.isValid()) std::abort();
    static const std::string path = dir.path().toStdString();
    return path;
}

static void Append_RecordStore(benchmark::State& state) {
    const std::string path = RecordFile();
    for (auto _ : state) {
        CallKernel(CloseAllDatabases);
        if (!CreateIncomeFile(path)) {
            state.SkipWithError("create failed");
            return;
        }
        OpenIncome();
        auto start = std::chrono::steady_clock::now();
        for (int32_t i = 0; i < kRecords; ++i) {
            IncomeRow row = RowAt(i);
            bool ok = CallKernel(AppendBlankRecord).asBool();
            ok &= CallKernel(WriteField, Field(kCategoryField), MakeTextRef(row.category.c_str()))
                      .asBool();
            ok &= CallKernel(WriteField, Field(kAmountField), MakeFloat(row.amount)).asBool();
            ok &= CallKernel(WriteField, Field(kTimeField), MakeDateTime(row.when)).asBool();
            ok &= CallKernel(WriteField, Field(kRemarkField), MakeTextRef(row.remark.c_str()))
                      .asBool();
            if (!ok) {
                state.SkipWithError("append failed");
                return;
            }
        }
        PerRecord(state, Seconds(start));
    }
}

static void Append_SQLite(benchmark::State& state) {
    for (auto _ : state) {
        SqliteCreate();
        auto start = std::chrono::steady_clock::now();
        SqliteInsertAll();
        PerRecord(state, Seconds(start));
    }
}

// Reads the four item fields of every record of the current database, as a
// listing does, and returns the record count.
static int64_t ListCurrentDatabase() {
    CallKernel(GoToFirstRecord);
    const int64_t n = CallKernel(GetRecordCount).asInt();
    int64_t bytes = 0;
    for (int64_t i = 0; i < n; ++i) {
        Value category = CallKernel(ReadField, Field(kCategoryField));
        Value amount = CallKernel(ReadField, Field(kAmountField));
        Value when = CallKernel(ReadField, Field(kTimeField));
        Value remark = CallKernel(ReadField, Field(kRemarkField));
        bytes += TextOf(category).size() + TextOf(remark).size() + amount.lo + when.hi;
        Free(category.pointer());
        Free(remark.pointer());
        CallKernel(SkipRecords, MakeInt(1));
    }
    benchmark::DoNotOptimize(bytes);
    return n;
}

static void List_RecordStore(benchmark::State& state) {
    OpenIncome();
    for (auto _ : state) {
        PeakWatch peak(state);
        auto start = std::chrono::steady_clock::now();
        const int64_t n = ListCurrentDatabase();
        if (n != kRecords) state.SkipWithError("wrong record count");
        PerRecord(state, Seconds(start));
    }
}

// The same listing with exclusive sharing, which takes no record-file locks:
// the difference is the cost of the byte-range lock calls.
static void List_RecordStoreExclusive(benchmark::State& state) {
    CallKernel(CloseAllDatabases);
    std::string path = RecordFile();
    const Value none{};
    if (!CallKernel(OpenDatabase, MakeTextRef(path.c_str()), none, none, MakeInt(4)).asBool()) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        ListCurrentDatabase();
        PerRecord(state, Seconds(start));
    }
    CallKernel(CloseAllDatabases);
}

static void List_SQLite(benchmark::State& state) {
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(SqliteSelectAll());
        PerRecord(state, Seconds(start));
    }
}

Value AmountExpression(void*) {
    return CallKernel(ReadField, Field(kAmountField));
}

// The general path: the expression is the bench's own code, called per record.
static void Sum_RecordStoreGeneral(benchmark::State& state) {
    OpenIncome();
    DeferredArgument amount{AmountExpression, nullptr};
    for (auto _ : state) {
        double sum = CallKernel(SumRecords, MakeDeferred(&amount)).asDouble();
        state.counters["sum"] = sum;
    }
}

// The program's own sum: a reading of the amount field.
static void Sum_RecordStore(benchmark::State& state) {
    OpenIncome();
    FieldReading reading{kAmountField.c_str(), true};
    DeferredArgument amount{ReadOneField, &reading};
    for (auto _ : state) {
        PeakWatch peak(state);
        double sum = CallKernel(SumRecords, MakeDeferred(&amount)).asDouble();
        benchmark::DoNotOptimize(sum);
        state.counters["sum"] = sum;
    }
}

static void Sum_SQLite(benchmark::State& state) {
    for (auto _ : state) state.counters["sum"] = SqliteSum();
}

Value IsLastCategory(void*) {
    Value v = CallKernel(ReadField, Field(kCategoryField));
    bool same = TextOf(v) == kLast;
    Free(v.pointer());
    return MakeBool(same);
}

static void Find_RecordStoreGeneral(benchmark::State& state) {
    OpenIncome();
    DeferredArgument condition{IsLastCategory, nullptr};
    for (auto _ : state) {
        CallKernel(GoToFirstRecord);
        if (!CallKernel(FindRecord, MakeDeferred(&condition)).asBool()) {
            state.SkipWithError("not found");
        }
    }
}

// The program's own search: a text field equal to a text.
static void Find_RecordStore(benchmark::State& state) {
    OpenIncome();
    FieldTextMatch match{kCategoryField.c_str(), kLast.c_str()};
    DeferredArgument condition{FieldTextEquals, &match};
    for (auto _ : state) {
        PeakWatch peak(state);
        CallKernel(GoToFirstRecord);
        if (!CallKernel(FindRecord, MakeDeferred(&condition)).asBool()) {
            state.SkipWithError("not found");
        }
    }
    state.counters["found_at"] = rs::CurrentRecordIndex();
}

static void Find_SQLite(benchmark::State& state) {
    for (auto _ : state) state.counters["found_rowid"] = double(SqliteFindLast());
}

static void Pack_RecordStore(benchmark::State& state) {
    OpenIncome();
    for (auto _ : state) {
        state.PauseTiming();
        const int32_t count = CallKernel(GetRecordCount).asInt();
        for (int32_t i = 9; i < count; i += 10) {
            CallKernel(GoToRecord, MakeInt(i + 1));
            CallKernel(DeleteRecord);
        }
        state.ResumeTiming();
        PeakWatch peak(state);
        if (!CallKernel(PackDatabase).asBool()) state.SkipWithError("pack failed");
    }
    state.counters["records_left"] = CallKernel(GetRecordCount).asInt();
}

static void Pack_SQLite(benchmark::State& state) {
    for (auto _ : state) SqliteDeleteTenthAndVacuum();
}

// The program's delete: one record about a third of the way in is marked and
// the file packed, in a file of state.range(0) income records of its own
// (the first record appended through the commands, the rest copies of it
// with their own serials, written straight into the file).
static void DeleteOneAndPack_RecordStore(benchmark::State& state) {
    const int32_t records = int32_t(state.range(0));
    const std::string path = Utf8ToGbk(ScratchDirectory() + "/删除.edb");
    CallKernel(CloseAllDatabases);
    if (!CreateIncomeFile(path) || !CallKernel(OpenDatabase, MakeTextRef(path.c_str())).asBool()) {
        state.SkipWithError("create failed");
        return;
    }
    const IncomeRow row = RowAt(0);
    CallKernel(AppendBlankRecord);
    CallKernel(WriteField, Field(kCategoryField), MakeTextRef(row.category.c_str()));
    CallKernel(WriteField, Field(kAmountField), MakeFloat(row.amount));
    CallKernel(WriteField, Field(kTimeField), MakeDateTime(row.when));
    CallKernel(WriteField, Field(kRemarkField), MakeTextRef(row.remark.c_str()));
    CallKernel(CloseAllDatabases);
    {
        // The record size is in the header (offset 24); the one record ends the file.
        const std::string native = NativePath(path);
        const int fd = open(native.c_str(), O_RDWR);
        const off_t length = lseek(fd, 0, SEEK_END);
        int32_t recordSize = 0;
        (void)!pread(fd, &recordSize, 4, 24);
        const size_t size = size_t(recordSize), dataOffset = size_t(length) - size;
        std::vector<uint8_t> first(size), all(size * size_t(records));
        (void)!pread(fd, first.data(), size, off_t(dataOffset));
        for (int32_t i = 0; i < records; ++i) {
            uint8_t* at = &all[size * size_t(i)];
            std::memcpy(at, first.data(), size);
            const int32_t serial = i + 1;
            std::memcpy(at, &serial, 4);
        }
        (void)!pwrite(fd, all.data(), all.size(), off_t(dataOffset));
        const int32_t header[2] = {records, records + 1};
        (void)!pwrite(fd, header, sizeof header, 16);
        fsync(fd);
        close(fd);
    }
    if (!CallKernel(OpenDatabase, MakeTextRef(path.c_str())).asBool() ||
        CallKernel(GetRecordCount).asInt() != records) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        CallKernel(GoToRecord, MakeInt(records / 3 + 1));
        CallKernel(DeleteRecord);
        if (!CallKernel(PackDatabase).asBool()) state.SkipWithError("pack failed");
    }
    state.counters["records_left"] = CallKernel(GetRecordCount).asInt();
    CallKernel(CloseAllDatabases);
    std::filesystem::remove(NativePath(path));
}

// The floor: the record file read front to back in chunks, nothing else.
static void PlainRead_RecordFile(benchmark::State& state) {
    std::string path = NativePath(RecordFile());
    std::vector<char> buffer(163840);
    for (auto _ : state) {
        PeakWatch peak(state);
        int fd = open(path.c_str(), O_RDONLY);
        uint64_t sum = 0;
        ssize_t n;
        off_t at = 0;
        while ((n = pread(fd, buffer.data(), buffer.size(), at)) > 0) {
            sum += uint8_t(buffer[size_t(n) - 1]);
            at += n;
        }
        close(fd);
        benchmark::DoNotOptimize(sum);
        state.counters["bytes"] = double(at);
    }
}

// Registration order is run order: append first, pack last.
#define ONCE(f) BENCHMARK(f)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime()
ONCE(Append_RecordStore);
ONCE(Append_SQLite);
ONCE(PlainRead_RecordFile);
ONCE(List_RecordStore);
ONCE(List_SQLite);
ONCE(List_RecordStoreExclusive);
ONCE(Sum_RecordStoreGeneral);
ONCE(Sum_RecordStore);
ONCE(Sum_SQLite);
ONCE(Find_RecordStoreGeneral);
ONCE(Find_RecordStore);
ONCE(Find_SQLite);
ONCE(Pack_RecordStore);
ONCE(Pack_SQLite);
BENCHMARK(DeleteOneAndPack_RecordStore)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace rsbench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    tavrin::CallKernel(tavrin::CloseAllDatabases);
    rsbench::SqliteClose();
    return 0;
}
