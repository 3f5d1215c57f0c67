// The memo panel against floors done with raw SQLite and a plain Qt item view, measured in the
// same run on the same store file of 100 memos, offscreen (no painting on either side):
// - the list rebuild against one SELECT of the rows put into a plain two-column item view;
// - a keystroke in the detail pane with the draft of the edit written (under one 60 Hz frame);
// - Save, Delete (answered Yes) and New (the dialog answered at once), each until the list is
//   rebuilt and the memo concerned selected, against the same write as one raw statement (same
//   durability: WAL, synchronous=FULL) followed by that plain refill.
// Timing pauses are costly, so the iterations are fixed rather than found by the library.
#include "RatioReporter.h"
#include "RawDb.h"

#include <CMemoDlg.h>
#include <CMemoEditDlg.h>
#include <DbiMemo.h>
#include <LoadStr.h>
#include <MemoConstants.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTime.h>
#include <RecordText.h>
#include <StringIds.h>
#include <TestSeams.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The panel's controls, by id.
CZorvaListCtrl& MemoList(const CMemoDlg& panel)
{
    return *static_cast<CZorvaListCtrl*>(panel.GetDlgItem(21000));
}

QAbstractButton& Button(const CMemoDlg& panel, int id)
{
    return *static_cast<QAbstractButton*>(panel.GetDlgItem(id));
}

CMenuRichEditCtrl& PaneBody(const CMemoDlg& panel)
{
    return *static_cast<CMenuRichEditCtrl*>(FindDlgItem(panel.findChild<CPropertyDlg*>(), 21027));
}

constexpr int kMemos = 100;
constexpr int kIterations = 300;
constexpr int kWriteIterations = 100;
constexpr int kRepetitions = 7;

struct PanelEnv
{
    QWidget frame;
    CMemoDlg* panel = nullptr; // deletes itself with its window
    QTreeWidget floorList;
    RawDb floorDb; // the floor's own connection to the store's file
};
PanelEnv* g_env = nullptr;

// What a command posted for the panel: the list's selection report, which shows the memo in the
// detail pane. Everything else queued meanwhile (the repaints above all) is delivered outside the
// timing, as on the floor's side: painting is measured on neither.
void ShowSelected(benchmark::State& state)
{
    QCoreApplication::sendPostedEvents(&MemoList(*g_env->panel));
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    state.ResumeTiming();
}

// The rebuild alone. What it posted (the selection report) is delivered outside the timing.
void Panel_ReloadList(benchmark::State& state)
{
    for (auto _ : state) {
        g_env->panel->ReloadList();
        state.PauseTiming();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = MemoList(*g_env->panel).GetItemCount();
}

// The rebuild until the person sees it done: the re-selected memo shown in the detail pane.
void Panel_ReloadListAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        g_env->panel->ReloadList();
        ShowSelected(state);
    }
}

// What any list of the memos must do at least: read the rows, make their two texts, fill a view.
void FloorRefill()
{
    QTreeWidget& list = g_env->floorList;
    static const std::u16string noTime = LoadStr(IDS_NO_TIME).toStdU16String();
    list.setUpdatesEnabled(false);
    list.clear();
    MemoRecord memo;
    sqlite3_stmt* select = g_env->floorDb.m_selectMemos;
    while (sqlite3_step(select) == SQLITE_ROW) {
        std::memcpy(&memo, sqlite3_column_blob(select, 1), sizeof memo);
        auto* item = new QTreeWidgetItem(&list); // owned by the list
        item->setText(0, QStringView(FieldText(memo.title)).toString());
        item->setText(1, QString::fromStdU16String(FormatMemoTime(memo.stamp, noTime)));
        item->setData(0, Qt::UserRole, sqlite3_column_int(select, 0));
    }
    sqlite3_reset(select);
    list.topLevelItem(list.topLevelItemCount() - 1)->setSelected(true);
    list.setUpdatesEnabled(true);
}

void DeliverPosted(benchmark::State& state)
{
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    state.ResumeTiming();
}

void Floor_SelectAndFill(benchmark::State& state)
{
    for (auto _ : state) {
        FloorRefill();
        DeliverPosted(state);
    }
    state.counters["rows"] = g_env->floorList.topLevelItemCount();
}

MemoRecord SampleMemo(int n)
{
    return NewMemoRecord(CurrentMemoTime(), u"全部", 0, u"基准 " + QString::number(n).toStdU16String(),
                         std::u16string(120, u'写'));
}

// Every write benchmark starts from an empty write-ahead log, as a session of the host does (the
// log goes away when the store is closed). A log that is still growing makes each commit extend
// the file, which costs the disk more than rewriting space the log already has; without this the
// first benchmark to write would pay for the growth that the next one is spared.
void StartFromEmptyLog()
{
    g_env->floorDb.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// What comes before a Save, untimed, on both sides of the pair: the last memo selected and shown,
// its body changed in the detail pane. The floor prepares the same way, so that caches and the
// disk are in the same state when the timed part starts; only that part differs.
void PrepareSave(int n)
{
    CMemoDlg& panel = *g_env->panel;
    MemoList(panel).SetItemState(-1, 0, LVIS_SELECTED);
    MemoList(panel).SetItemState(kMemos - 1, LVIS_SELECTED, LVIS_SELECTED);
    QCoreApplication::sendPostedEvents();
    PaneBody(panel).SetSel(0, -1);
    PaneBody(panel).ReplaceSel(QString(120, u'改') + QString::number(n));
}

// Save of the last memo with a changed body, until the list is rebuilt and the memo shown.
void Panel_Save(benchmark::State& state)
{
    StartFromEmptyLog();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PrepareSave(++n);
        state.ResumeTiming();
        Button(*g_env->panel, 21025).click();
        ShowSelected(state);
    }
}

void Floor_UpdateAndFill(benchmark::State& state)
{
    StartFromEmptyLog();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PrepareSave(++n);
        state.ResumeTiming();
        // The same UPDATE, of the first memo: the last one is the panel's, which must stay as the
        // panel showed it, or the panel's next Save finds it changed elsewhere and stores a copy.
        MemoRecord memo = SampleMemo(n);
        memo.key = 1;
        RawDb& db = g_env->floorDb;
        db.Update(db.m_updateMemo, 1, &memo, sizeof memo);
        FloorRefill();
        DeliverPosted(state);
    }
}

// Before a Delete, untimed, on both sides: one more memo, listed and selected; its key.
std::int32_t PrepareDelete()
{
    CMemoDlg& panel = *g_env->panel;
    const MemoRecord memo = SampleMemo(0);
    const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
    panel.ReloadList();
    MemoList(panel).SetItemState(-1, 0, LVIS_SELECTED);
    MemoList(panel).SetItemState(kMemos, LVIS_SELECTED, LVIS_SELECTED);
    QCoreApplication::sendPostedEvents();
    return key;
}

// Delete of a selected memo, answered Yes, until the next row is selected and shown.
void Panel_Delete(benchmark::State& state)
{
    StartFromEmptyLog();
    KitTest::MessageBoxResponder yes(IDYES);
    for (auto _ : state) {
        state.PauseTiming();
        PrepareDelete();
        state.ResumeTiming();
        Button(*g_env->panel, 21003).click();
        ShowSelected(state);
    }
}

void Floor_DeleteAndFill(benchmark::State& state)
{
    StartFromEmptyLog();
    for (auto _ : state) {
        state.PauseTiming();
        const std::int32_t key = PrepareDelete();
        state.ResumeTiming();
        RawDb& db = g_env->floorDb;
        db.Delete(db.m_deleteMemo, key);
        FloorRefill();
        DeliverPosted(state);
    }
}

// New with the edit dialog answered at once, until the new memo is listed, selected and shown.
// `fromOk` times from the dialog's OK on (the person has confirmed; what follows is the panel's
// work and the dialog going away); otherwise from the click on New, the dialog's opening included.
void RunNew(benchmark::State& state, bool fromOk)
{
    StartFromEmptyLog();
    CMemoDlg& panel = *g_env->panel;
    KitTest::ModalDriver driver;
    // New is refused at 100 memos: one makes room, and comes back at the end.
    panel.ReloadList();
    DBI_MemDeleteRecord(std::int32_t(MemoList(panel).GetItemData(kMemos - 1)));
    int n = 0;
    for (auto _ : state) {
        if (fromOk)
            state.PauseTiming();
        driver.onNextModal([&n, &state, fromOk](QDialog* d) {
            auto& dlg = *static_cast<CMemoEditDlg*>(d);
            static_cast<CRichEditCtrl*>(dlg.GetDlgItem(21036))
                ->SetWindowTextW(QString(120, u'新') + QString::number(++n));
            if (fromOk) {
                // The dialog and its text are on screen before anyone presses OK: showing and
                // painting them is not part of OK.
                QCoreApplication::processEvents();
                state.ResumeTiming();
            }
            static_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK))->click();
        });
        Button(panel, 21001).click();
        ShowSelected(state);
        state.PauseTiming();
        DBI_MemDeleteRecord(std::int32_t(MemoList(panel).GetItemData(kMemos - 1)));
        state.ResumeTiming();
    }
    const MemoRecord memo = SampleMemo(0);
    DBI_MemRecycleWriteRecord(&memo);
    panel.ReloadList();
}

void Panel_NewFromOk(benchmark::State& state)
{
    RunNew(state, true);
}

void Panel_NewWhole(benchmark::State& state)
{
    RunNew(state, false);
}

// The floor of New. Untimed, it goes through what comes before the panel's OK (the click on New,
// the edit dialog opened, here cancelled) and removes its memo the way the panel's
// loop does, so that both sides start the timed part from the same state.
void Floor_InsertAndFill(benchmark::State& state)
{
    StartFromEmptyLog();
    KitTest::ModalDriver driver;
    g_env->panel->ReloadList();
    DBI_MemDeleteRecord(std::int32_t(MemoList(*g_env->panel).GetItemData(kMemos - 1)));
    for (auto _ : state) {
        state.PauseTiming();
        driver.onNextModal([](QDialog* d) {
            static_cast<QAbstractButton*>(static_cast<CDialog*>(d)->GetDlgItem(IDCANCEL))->click();
        });
        Button(*g_env->panel, 21001).click();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
        const MemoRecord memo = SampleMemo(0);
        RawDb& db = g_env->floorDb;
        const std::int64_t key = db.Insert(db.m_insertMemo, &memo, sizeof memo);
        FloorRefill();
        DeliverPosted(state);
        state.PauseTiming();
        DBI_MemDeleteRecord(std::int32_t(key));
        state.ResumeTiming();
    }
    const MemoRecord memo = SampleMemo(0);
    DBI_MemRecycleWriteRecord(&memo);
    g_env->panel->ReloadList();
}

// A key typed at the end of the body of the memo in the pane, until the pane holds it, and the
// draft of the edit written to the store as the panel writes it a moment after typing stops.
void Panel_KeystrokeWithDraft(benchmark::State& state)
{
    CMemoDlg& panel = *g_env->panel;
    CMenuRichEditCtrl& body = PaneBody(panel);
    StartFromEmptyLog();
    PrepareSave(0); // the last memo in the pane, whatever the benchmarks before left there

    for (auto _ : state) {
        state.PauseTiming();
        if (body.GetTextLength() >= long(MAX_CONTENT_LEN)) {
            // Full: stored (so that nothing asks about the edits), then shorter again.
            Button(panel, 21025).click();
            QCoreApplication::sendPostedEvents();
            body.SetSel(0, -1);
            body.ReplaceSel(QString(120, u'文'));
        }
        body.SetSel(body.GetTextLength(), -1);
        state.ResumeTiming();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"字"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"字"));
        QCoreApplication::sendEvent(&body, &press);
        QCoreApplication::sendEvent(&body, &release);
        panel.SyncDraft();
    }
    // After the timed loop: the edits stored, so that the benchmarks after this one start clean.
    Button(panel, 21025).click();
    QCoreApplication::sendPostedEvents();
}

void Register(const char* name, void (*fn)(benchmark::State&), int iterations = kIterations)
{
    RegisterRepeated(name, fn, iterations, kRepetitions);
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
        env->floorDb.OpenExisting(MemoStore_CurrentPath());
        env->floorDb.Exec("PRAGMA synchronous = FULL");
        env->floorDb.PrepareMemoStatements();

        Register("Panel_ReloadList", Panel_ReloadList);
        Register("Panel_ReloadListAndShow", Panel_ReloadListAndShow);
        Register("Floor_SelectAndFill", Floor_SelectAndFill);
        Register("Panel_Save", Panel_Save, kWriteIterations);
        Register("Floor_UpdateAndFill", Floor_UpdateAndFill, kWriteIterations);
        Register("Panel_Delete", Panel_Delete, kWriteIterations);
        Register("Floor_DeleteAndFill", Floor_DeleteAndFill, kWriteIterations);
        Register("Panel_NewFromOk", Panel_NewFromOk, kWriteIterations);
        Register("Panel_NewWhole", Panel_NewWhole, kWriteIterations);
        Register("Floor_InsertAndFill", Floor_InsertAndFill, kWriteIterations);
        Register("Panel_KeystrokeWithDraft", Panel_KeystrokeWithDraft, kWriteIterations);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        met = reporter.PrintRatios(
            {{"ReloadList of 100 memos vs SELECT + plain item view", "Panel_ReloadList",
              "Floor_SelectAndFill", 1.5},
             {"the same until the selected memo is shown", "Panel_ReloadListAndShow", "Floor_SelectAndFill",
              0},
             {"Save to the rebuilt list vs UPDATE + refill", "Panel_Save", "Floor_UpdateAndFill", 1.5},
             {"Delete/Yes to the next row shown vs DELETE + refill", "Panel_Delete", "Floor_DeleteAndFill",
              1.5},
             {"New, from OK to the new memo shown vs INSERT + refill", "Panel_NewFromOk",
              "Floor_InsertAndFill", 1.5},
             {"New, from the click, dialog opened and answered at once", "Panel_NewWhole",
              "Floor_InsertAndFill", 0}},
            "Memo panel against a plain Qt floor, same store file");
        met = reporter.PrintUnder({"Panel_Save", "Panel_Delete", "Panel_NewFromOk", "Panel_NewWhole",
                                   "Panel_KeystrokeWithDraft"},
                                  16667.0, "one 60 Hz frame") &&
              met;
        env->panel->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        g_env = nullptr;
    }
    CMemoDlg::UnregisterTemplate();
    MemoStore_Close();
    benchmark::Shutdown();
    return met ? 0 : 1;
}
