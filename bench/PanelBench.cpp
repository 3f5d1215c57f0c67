// The memo panel's list rebuild against a floor: the same 100 rows read with one SQLite SELECT and
// put into a plain two-column Qt item view, measured in the same run on the same store file.
// Offscreen, so that no painting is measured on either side. Timing pauses are costly, so the
// iterations are fixed rather than found by the library.
#include "RatioReporter.h"

#include <CMemoDlg.h>
#include <DbiMemo.h>
#include <LoadStr.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTime.h>
#include <RecordText.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kMemos = 100;
constexpr int kIterations = 300;
constexpr int kRepetitions = 7;

struct PanelEnv
{
    QWidget frame;
    CMemoDlg* panel = nullptr; // deletes itself with its window
    QTreeWidget floorList;
    sqlite3* db = nullptr;
    sqlite3_stmt* select = nullptr;
};
PanelEnv* g_env = nullptr;

// The rebuild alone. What it posted (the selection report) is delivered outside the timing.
void Panel_ReloadList(benchmark::State& state)
{
    for (auto _ : state) {
        g_env->panel->ReloadList();
        state.PauseTiming();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = g_env->panel->m_listMemo.GetItemCount();
}

// The rebuild until the person sees it done: the re-selected memo shown in the detail pane.
void Panel_ReloadListAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        g_env->panel->ReloadList();
        QCoreApplication::sendPostedEvents();
    }
}

// What any list of the memos must do at least: read the rows, make their two texts, fill a view.
void Floor_SelectAndFill(benchmark::State& state)
{
    QTreeWidget& list = g_env->floorList;
    const std::u16string noTime = LoadStr(230).toStdU16String();
    for (auto _ : state) {
        list.setUpdatesEnabled(false);
        list.clear();
        MemoRecord memo;
        while (sqlite3_step(g_env->select) == SQLITE_ROW) {
            std::memcpy(&memo, sqlite3_column_blob(g_env->select, 1), sizeof memo);
            auto* item = new QTreeWidgetItem(&list); // owned by the list
            item->setText(0, QStringView(FieldText(memo.title)).toString());
            item->setText(1, QString::fromStdU16String(FormatMemoTime(memo.stamp, noTime)));
            item->setData(0, Qt::UserRole, sqlite3_column_int(g_env->select, 0));
        }
        sqlite3_reset(g_env->select);
        list.topLevelItem(0)->setSelected(true);
        list.setUpdatesEnabled(true);
        state.PauseTiming();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = list.topLevelItemCount();
}

void Register(const char* name, void (*fn)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, fn)
        ->Iterations(kIterations)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
}

bool FillStore()
{
    for (int i = 0; i < kMemos; ++i) {
        const std::u16string title = u"备忘录 " + QString::number(i).toStdU16String();
        const MemoRecord memo =
            NewMemoRecord(CurrentMemoTime(), u"全部", 0, title, std::u16string(120, u'文'));
        if (DBI_MemRecycleWriteRecord(&memo) == 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !MemoStore_Open("bench", dir.path().toUtf8().constData()) || !FillStore()) {
        std::fprintf(stderr, "store: %s\n", MemoStore_LastError());
        return 1;
    }
    CMemoDlg::RegisterTemplate();
    bool met = false;
    {
        auto env = std::make_unique<PanelEnv>();
        g_env = env.get();
        env->frame.resize(1000, 640);
        env->panel = new CMemoDlg;
        env->panel->Create(CMemoDlg::IDD, &env->frame);
        env->frame.show();
        env->floorList.setColumnCount(2);
        env->floorList.resize(700, 500);
        env->floorList.show();
        QCoreApplication::sendPostedEvents();
        sqlite3_open_v2(MemoStore_CurrentPath(), &env->db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(env->db, "SELECT key, record FROM memo ORDER BY key", -1, &env->select, nullptr);

        Register("Panel_ReloadList", Panel_ReloadList);
        Register("Panel_ReloadListAndShow", Panel_ReloadListAndShow);
        Register("Floor_SelectAndFill", Floor_SelectAndFill);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        met = reporter.PrintRatios({{"ReloadList of 100 memos vs SELECT + plain item view",
                                     "Panel_ReloadList", "Floor_SelectAndFill", 1.5},
                                    {"the same until the selected memo is shown", "Panel_ReloadListAndShow",
                                     "Floor_SelectAndFill", 0}},
                                   "Memo panel against a plain Qt floor, same store file");
        sqlite3_finalize(env->select);
        sqlite3_close(env->db);
        env->panel->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        g_env = nullptr;
    }
    CMemoDlg::UnregisterTemplate();
    MemoStore_Close();
    benchmark::Shutdown();
    return met ? 0 : 1;
}
