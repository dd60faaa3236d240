// The find bar over the main window at a million items per side: from a key
// typed into the bar to the list redrawn, and the day's automatic backup pair
// that a start makes after the window shows, at 100,000 items per side.
//   finance_find_bench [--benchmark_...]   (data kept under $TMPDIR/tavrin-find-bench)
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <string>

#include "app_tpl_templates.h"
#include "clearing_backup.h"
#include "finance/backup/backup_pairs.h"
#include "find_bar.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "item_files.h"
#include "program_start.h"
#include "runtime/gbk.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

constexpr int kFindItems = 1'000'000;
constexpr int kBackupItems = 100'000;

const std::vector<std::string> kCategories = {"餐饮", "交通", "购物", "房租", "工资", "奖金"};
// Remarks as people write them; "同事聚会" is in one remark of twelve.
const std::vector<std::string> kRemarks = {
    "午餐 同事聚会", "超市购物", "加油", "三月房租", "Coffee 星巴克", "地铁月票",
    "给孩子买书",    "水电费",   "",     "年终奖",   "网购 衣服",     "朋友聚会 KTV"};

std::string DataDirectory(int items) {
    return QDir::tempPath().toStdString() + "/tavrin-find-bench/" + std::to_string(items);
}

void WriteData(int items) {
    const bool fresh =
        !QFile::exists(QString::fromStdString(DataDirectory(items) + "/财务收入.edb"));
    if (!fresh) return;
    for (bench::Side side : {bench::Side::kIncome, bench::Side::kExpense}) {
        bench::WriteItemFile(side, kCategories, kRemarks, items, [](int i) {
            return bench::ItemRow{size_t(i % 6), float(1 + (i * 37) % 5000) / 4,
                                  40909.0 + (i * 7919) % 5400 + 0.5, size_t((i * 7) % 12)};
        });
        bench::WriteCategoryFile(side, kCategories);
    }
}

QLineEdit* Box(const char* name) {
    return forms::WindowWidget(ids::MainWindow)->findChild<QLineEdit*>(name);
}

forms::ReportListControl* ShownList() {
    return forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
}

// A key that types one character, as an input method hands it over.
void Press(QLineEdit* box, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &release);
}

// Sets a box's text as typing it would, and lets the filter catch up.
void SetBox(const char* name, const QString& text) {
    QLineEdit* box = Box(name);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (QChar c : text) Press(box, c);
    QApplication::processEvents();
}

// One key typed into the text box, until the list has been painted again.
double TypeKeyMs(QLineEdit* box, QChar key) {
    const auto start = std::chrono::steady_clock::now();
    Press(box, key);
    QApplication::processEvents();  // the search runs after the key
    ShownList()->view()->viewport()->repaint();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void TypeFourCharacters(benchmark::State& state, const QString& from, const QString& to) {
    finance::OpenFindBar();
    SetBox("findFrom", from);
    SetBox("findTo", to);
    const QString word = QStringLiteral("同事聚会");
    double worst = 0;
    for (auto _ : state) {
        SetBox("findText", {});
        double total = 0;
        for (QChar c : word) {
            const double ms = TypeKeyMs(Box("findText"), c);
            total += ms;
            worst = std::max(worst, ms);
        }
        state.SetIterationTime(total / 1000.0 / word.size());  // per key
    }
    state.counters["shown_rows"] = double(ShownList()->view()->model()->rowCount());
    state.counters["worst_key_ms"] = worst;
    finance::CloseFindBar();
}

void BM_FindFourCharacters(benchmark::State& state) {
    TypeFourCharacters(state, {}, {});
}
BENCHMARK(BM_FindFourCharacters)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FindFourCharactersInAnAmountRange(benchmark::State& state) {
    TypeFourCharacters(state, QStringLiteral("100"), QStringLiteral("500"));
}
BENCHMARK(BM_FindFourCharactersInAnAmountRange)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Ctrl+F over a million rows: the search index built, the list shown
// through the filter; and closing the bar again.
void BM_OpenAndCloseFindBar(benchmark::State& state) {
    for (auto _ : state) {
        finance::OpenFindBar();
        QApplication::processEvents();
        ShownList()->view()->viewport()->repaint();
        finance::CloseFindBar();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenAndCloseFindBar)->Unit(benchmark::kMillisecond)->Iterations(5);

// What a start adds once the window shows: the automatic pair of 100,000
// items per side (copied, synced, read back, renamed) and the old ones pruned.
void BM_DailyBackup(benchmark::State& state) {
    const std::string dir = Utf8ToGbk(DataDirectory(kBackupItems));
    double day = 46000;
    for (auto _ : state) {
        day += 1;  // each run is the first start of another day
        const backup::BackupResult made =
            backup::MakeBackup(dir, day + 0.4, backup::Kind::kAutomatic, 0);
        backup::RemoveOldAutomaticBackups(dir, finance::kAutomaticBackupsKept);
        if (!made.ok()) state.SkipWithError("the backup failed");
    }
    backup::RemoveOldAutomaticBackups(dir, 0);
}
BENCHMARK(BM_DailyBackup)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    QDir().mkpath(QString::fromStdString(DataDirectory(kBackupItems)));
    QDir().mkpath(QString::fromStdString(DataDirectory(kFindItems)));
    // The smaller directory is written first, with the program pointed at it.
    bench::StartProgramWithMainWindow(DataDirectory(kBackupItems), [] { WriteData(kBackupItems); });
    forms::CloseWindow(ids::MainWindow, true);
    SetProgramDirectory(Utf8ToGbk(DataDirectory(kFindItems)), true);
    WriteData(kFindItems);
    forms::LoadWindow(ids::MainWindow, 0, false, true);
    bench::Settle(3, 0);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
