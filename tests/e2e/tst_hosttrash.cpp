// End to end: memos deleted in the real module's panel come back through the host's trash dialog,
// and the panel lists them again in their places; a full store refuses and says why.
#include "E2eSupport.h"

#include <HostWindow.h>
#include <TrashDialog.h>

#include <DbiMemo.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace e2e;

namespace {

std::int32_t addMemo(const QString& title)
{
    const MemoRecord memo = NewMemoRecord(305371800, u"全部", 305371800, title.toStdU16String(), u"body");
    return DBI_MemRecycleWriteRecord(&memo);
}

QStringList rows(const QTreeWidget* list, int column = 0)
{
    QStringList texts;
    for (int row = 0; list && row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

} // namespace

class TestHostTrash : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_errors;
    std::unique_ptr<HostWindow> m_window;

    // The host with the module on alice's store, which holds `titles` less `deleted`: those went
    // to the trash through the record operation the panel deletes with.
    QTreeWidget* panelList(const QStringList& titles, const QStringList& deleted)
    {
        m_window = std::make_unique<HostWindow>(m_dir->path());
        m_window->prompts().error = [this](const QString&, const QString& text) { m_errors << text; };
        if (!m_window->openUser(u"alice"_s))
            return nullptr;
        QHash<QString, std::int32_t> keys;
        for (const QString& title : titles)
            keys.insert(title, addMemo(title));
        for (const QString& title : deleted)
            DBI_MemDeleteRecord(keys.value(title));
        if (!m_window->loadModule(moduleFile()))
            return nullptr;
        m_window->show();
        deliverPosted();
        return m_window->currentPanel() ? m_window->currentPanel()->findChild<QTreeWidget*>(u"21000"_s)
                                        : nullptr;
    }

    // Opens the trash from the menu; `act` runs on the dialog while it is up.
    void openTrash(std::function<void(TrashDialog*)> act)
    {
        bool acted = false;
        QTimer::singleShot(0, m_window.get(), [&] {
            auto* dialog = qobject_cast<TrashDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            acted = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_window->findChild<QAction*>(u"trashAction"_s)->trigger();
        QVERIFY(acted);
        deliverPosted();
    }

  private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        m_window.reset();
        deliverPosted();
        MemoStore_Close();
        m_dir.reset();
        m_errors.clear();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void restoredMemosAreListedAgainInTheirPlaces()
    {
        QTreeWidget* list = panelList({u"a"_s, u"b"_s, u"c"_s, u"d"_s}, {u"b"_s, u"d"_s});
        QVERIFY(list);
        QCOMPARE(rows(list), (QStringList{u"a"_s, u"c"_s}));

        openTrash([](TrashDialog* dialog) {
            // Deleted in the same second: the later key is the later deletion, listed first.
            QCOMPARE(rows(dialog->list()), (QStringList{u"d"_s, u"b"_s}));
            QCOMPARE(rows(dialog->list(), 1), (QStringList{u"全部"_s, u"全部"_s}));
            QVERIFY(!dialog->restoreButton()->isEnabled());
            dialog->list()->selectAll();
            QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
        });
        QCOMPARE(m_errors, QStringList());
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(rows(list), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    }

    void aFullStoreRefusesAndSaysWhy()
    {
        QStringList titles;
        for (int i = 0; i < MAX_MEMO_COUNT; ++i)
            titles << u"m%1"_s.arg(i);
        QTreeWidget* list = panelList(titles, {u"m0"_s});
        QVERIFY(list);
        QVERIFY(addMemo(u"the hundredth"_s) > 0);
        QCOMPARE(DBI_MemGetValidRecordCount(), MAX_MEMO_COUNT);
        openTrash([](TrashDialog* dialog) {
            dialog->list()->topLevelItem(0)->setSelected(true);
            QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
        });
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].contains(u"“m0”"_s) && m_errors[0].contains(u"达到上限"_s),
                 qPrintable(m_errors[0]));
        QCOMPARE(MemoStore_TrashCount(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), MAX_MEMO_COUNT);
        m_errors.clear();
    }
};

QTEST_MAIN(TestHostTrash)
#include "tst_hosttrash.moc"
