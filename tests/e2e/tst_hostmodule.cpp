// End to end: the real module file, loaded by the real host code, on real stores in a
// temporary folder; memos restored through the host's trash dialog are listed by the panel again.
#include "E2eSupport.h"

#include <HostWindow.h>
#include <ModuleBar.h>
#include <ModuleButton.h>
#include <ModuleHost.h>
#include <ModuleImage.h>
#include <ModuleProtocol.h>
#include <TrashDialog.h>

#include <DbiMemo.h>
#include <LoadStr.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace ModuleProtocol;
using namespace e2e;

namespace {

struct SentDoc
{
    bool notification;
    int code;
    QString text;
};

bool moduleMapped()
{
    QFile maps(u"/proc/self/maps"_s);
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(QFile::encodeName(moduleFile()));
}

std::int32_t addMemo(const QString& title)
{
    const MemoRecord memo = NewMemoRecord(305371800, u"全部", 305371800, title.toStdU16String(), u"body");
    return DBI_MemRecycleWriteRecord(&memo);
}

QStringList rows(const QTreeWidget* list)
{
    QStringList texts;
    for (int row = 0; list && row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(0);
    return texts;
}

} // namespace

class TestHostModule : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    QStringList m_reports;
    std::unique_ptr<HostWindow> m_window;
    std::vector<SentDoc> m_sent;

    // A host window on a user's store, watching every document the module sends.
    HostWindow& host(const QString& user = u"alice"_s)
    {
        m_window = std::make_unique<HostWindow>(m_dir.path());
        m_window->setErrorReporter([this](const QString&, const QString& text) { m_reports << text; });
        connect(m_window->moduleHost(), &ModuleHost::documentReceived, this,
                [this](bool notification, int code, const QString& text) {
                    m_sent.push_back({notification, code, text});
                });
        [&] { QVERIFY(m_window->openUser(user)); }();
        return *m_window;
    }

    HostWindow& hostWithModule()
    {
        HostWindow& window = host();
        [&] { QVERIFY(window.loadModule(moduleFile())); }();
        return window;
    }

    // Opens the trash from the menu, lets `choose` select in its list and presses 恢复所选.
    void restoreFromTrash(const std::function<void(QTreeWidget*)>& choose)
    {
        bool shown = false;
        QTimer::singleShot(0, m_window.get(), [&] {
            auto* dialog = qobject_cast<TrashDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            choose(dialog->list());
            QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_window->findChild<QAction*>(u"trashAction"_s)->trigger();
        QVERIFY(shown);
        deliverPosted();
    }

    int registrations() const
    {
        return int(std::count_if(m_sent.begin(), m_sent.end(), [](const SentDoc& d) {
            return d.notification && d.code == NTF_REGISTER_WINDOW;
        }));
    }

  private Q_SLOTS:
    void cleanup()
    {
        m_window.reset();
        deliverPosted();
        MemoStore_Close();
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(u'\n')));
        m_reports.clear();
        m_sent.clear();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void theModuleRegistersItsPanelInTheHostFrame()
    {
        HostWindow& window = hostWithModule();
        QCOMPARE(window.componentId(), 17000);

        QCOMPARE(registrations(), 1);
        const ParsedDoc reg = parse(m_sent.front().text);
        QCOMPARE(reg.root, u"ZorvaRegWnd"_s);
        QCOMPARE(reg.children.size(), 4);
        QCOMPARE(reg.children[0], std::pair(u"TeamID"_s, u"1"_s));
        QCOMPARE(reg.children[1], std::pair(u"Caption"_s, u"备忘录"_s));
        QCOMPARE(reg.children[2], std::pair(u"ImgeID"_s, u"128"_s));
        QCOMPARE(reg.children[3].first, u"pWnd"_s);

        QWidget* panel = window.currentPanel();
        QVERIFY(panel);
        QCOMPARE(reg.children[3].second.toULongLong(), qulonglong(reinterpret_cast<quintptr>(panel)));
        QCOMPARE(panel->parentWidget(), window.frame());
        QCOMPARE(window.moduleBar()->captionOf(panel), u"备忘录"_s);
        QVERIFY(panel->findChild<QWidget*>(u"21000"_s));
        QCOMPARE(window.module().componentId(), 17000);

        // The panel's button shows the memo picture, the one the window has as its icon.
        const auto buttons = window.moduleBar()->findChildren<ModuleButton*>();
        QCOMPARE(buttons.size(), 1);
        const QImage memoPicture = ModuleImage(MEMO_IMAGE_ID).pixmap(32, 32).toImage();
        QCOMPARE(buttons[0]->icon().pixmap(32, 32).toImage(), memoPicture);
        QCOMPARE(window.windowIcon().pixmap(32, 32).toImage(), memoPicture);
    }

    void everyCreateNoticeRegistersOneMorePanel()
    {
        HostWindow& window = hostWithModule();
        QWidget* first = window.currentPanel();
        CXml unrelated = document(u"<Whatever><X>1</X></Whatever>"_s);
        QCOMPARE(window.module().notify(NTF_CREATE_PANEL, nullptr), 0);
        QCOMPARE(window.module().notify(NTF_CREATE_PANEL, &unrelated), 0);
        QCOMPARE(registrations(), 3);
        QCOMPARE(window.moduleBar()->panelCount(), 3);
        QVERIFY(window.currentPanel() != first);
    }

    void userChangesArePostedToThePanel()
    {
        HostWindow& window = hostWithModule();
        deliverPosted();
        QWidget* panel = window.currentPanel();
        MessageCounter messages(panel, WM_MEMO_UPDATEDATA);
        CXml one = document(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        CXml two = document(
            u"<UpdateData><UserName>a</UserName></UpdateData><UpdateData><UserName>b</UserName></UpdateData>"_s);
        CXml none = document(u"<UpdateData><Name>a</Name></UpdateData>"_s);
        ModuleLibrary& module = window.module();

        QCOMPARE(module.command(0x00002AFF, &one), 0);
        QCOMPARE(module.command(0x2AF82AFF, &one), 0);
        QCOMPARE(module.notify(0x2AF82AFF, &one), 0);
        QCOMPARE(module.notify(0x00002AFF, &one), 0);
        QCOMPARE(module.notify(0x2AF82AFF, &two), 0);
        QCOMPARE(module.command(0x2AFF, &none), 0);
        QCOMPARE(messages.count(), 0);
        deliverPosted();
        QCOMPARE(messages.names, (QStringList{u"alice"_s, u"alice"_s, u"alice"_s, u"a"_s, u"b"_s}));
    }

    void callbacksAnswerZeroAndSurviveMalformedDocuments()
    {
        HostWindow& window = hostWithModule();
        deliverPosted();
        MessageCounter messages(window.currentPanel(), WM_MEMO_UPDATEDATA);
        CXml empty;
        CXml nested = document(u"<A><UpdateData><UserName>x</UserName></UpdateData></A>"_s);
        CXml deep = document(u"<UpdateData><B><UserName>x</UserName></B></UpdateData>"_s);
        CXml notParsed;
        QVERIFY(!notParsed.SetDoc(u"<UpdateData><UserName>x</UpdateData>"));
        for (int code : {0, -1, 1, 17000, 0x2AF82AFB, 0x2AF82AFE, 0x2AF82AFF, 0x2AFF, 0x12345678}) {
            for (CXml* doc : {&empty, &nested, &deep, &notParsed, static_cast<CXml*>(nullptr)}) {
                QCOMPARE(window.module().notify(code, doc), 0);
                QCOMPARE(window.module().command(code, doc), 0);
            }
        }
        deliverPosted();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(registrations(), 1);
    }

    void noticesBeforeThePanelAndAfterItsEndDoNothing()
    {
        HostWindow& window = host();
        // A module whose panel was never asked for.
        ModuleLibrary bare;
        QString error;
        QVERIFY(bare.load(moduleFile(), error));
        CXml update = document(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        QCOMPARE(bare.notify(NTF_UPDATE_DATA, &update), 0);
        QCOMPARE(bare.command(0x2AFF, &update), 0);
        deliverPosted();
        bare.unload();

        QVERIFY(window.loadModule(moduleFile()));
        deliverPosted();
        QPointer<QWidget> panel = window.currentPanel();
        delete panel.data(); // the host destroys the panel's window
        QVERIFY(!window.currentPanel());
        QCOMPARE(window.module().notify(NTF_UPDATE_DATA, &update), 0);
        QCOMPARE(window.module().command(0x2AF82AFF, &update), 0);
        deliverPosted();
        QCOMPARE(window.moduleBar()->panelCount(), 0);
    }

    void statusTextsAppearInTheStatusBar()
    {
        HostWindow& window = hostWithModule();
        window.show();
        deliverPosted();
        const QString expected = FormatStr(LoadStr(233), 0);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(window.statusText(), expected);
        const auto statusDocs = std::count_if(m_sent.begin(), m_sent.end(), [](const SentDoc& d) {
            return !d.notification && d.code == CMD_STATUSBAR_TEXT;
        });
        QVERIFY(statusDocs >= 1);
    }

    void switchingUsersOpensTheOtherUsersStore()
    {
        HostWindow& window = host();
        // bob has three memos, alice none.
        QVERIFY(window.switchUser(u"bob"_s));
        const QString bobPath = QString::fromUtf8(MemoStore_CurrentPath());
        for (int i = 0; i < 3; ++i) {
            MemoRecord memo{};
            memo.title[0] = char16_t(u'a' + i);
            QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        }
        QVERIFY(window.switchUser(u"alice"_s));
        QVERIFY(window.loadModule(moduleFile()));
        window.show();
        deliverPosted();
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        MessageCounter messages(window.currentPanel(), WM_MEMO_UPDATEDATA);
        m_sent.clear();

        QVERIFY(window.switchUser(u"bob"_s));
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), bobPath);
        QCOMPARE(DBI_MemGetValidRecordCount(), 3);
        deliverPosted();
        QCOMPARE(messages.names, QStringList{u"bob"_s});
        // The panel reloaded and told the host again.
        QVERIFY(std::any_of(m_sent.begin(), m_sent.end(), [](const SentDoc& d) {
            return !d.notification && d.code == CMD_STATUSBAR_TEXT;
        }));
        QCOMPARE(window.userName(), u"bob"_s);
    }

    void ctrlFAsksThePanelToFocusItsSearchBox()
    {
        HostWindow& window = hostWithModule();
        window.show();
        QApplication::setActiveWindow(&window);
        deliverPosted();
        QWidget* panel = window.currentPanel();
        MessageCounter messages(panel, WM_MEMO_FOCUSSEARCH);
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(messages.count(), 0); // posted
        deliverPosted();
        QCOMPARE(messages.count(), 1);
        QWidget* search = panel->findChild<QWidget*>(u"21006"_s);
        QVERIFY(search);
        QCOMPARE(QApplication::focusWidget(), search);
    }

    void unloadingEndsThePanelAndTheModuleLoadsAgain()
    {
        HostWindow& window = hostWithModule();
        QPointer<QWidget> panel = window.currentPanel();
        // A user change is still on its way when the module goes.
        CXml update = document(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        window.module().notify(NTF_UPDATE_DATA, &update);
        window.unloadModule();
        QVERIFY(panel.isNull());
        QVERIFY(!window.isModuleLoaded());
        QVERIFY(!moduleMapped());
        deliverPosted();
        // The frame says why it is empty, and the notice leaves again with the next panel.
        const auto* frame = qobject_cast<QStackedWidget*>(window.frame());
        QVERIFY(frame);
        const auto* notice = qobject_cast<QLabel*>(frame->currentWidget());
        QVERIFY(notice);
        QCOMPARE(notice->text(), u"没有加载模块。"_s);

        QVERIFY(window.loadModule(moduleFile()));
        QVERIFY(moduleMapped());
        QCOMPARE(window.componentId(), 17000);
        QCOMPARE(registrations(), 2);
        QWidget* again = window.currentPanel();
        QVERIFY(again);
        QCOMPARE(frame->count(), 1);
        deliverPosted();
        MessageCounter messages(again, WM_MEMO_UPDATEDATA);
        QCOMPARE(window.module().notify(NTF_UPDATE_DATA, &update), 0);
        deliverPosted();
        QCOMPARE(messages.count(), 1);
    }

    // Typed into the pane and not saved: a reload of the module and closing the host keep the
    // text, which is back in the pane of the next panel.
    void paneEditsSurviveAModuleReloadAndTheHostClosing()
    {
        HostWindow& window = host(u"gina"_s);
        QVERIFY(addMemo(u"a"_s) > 0);
        QVERIFY(window.loadModule(moduleFile()));
        window.show();
        deliverPosted();
        const auto paneBody = [this] {
            auto* body = m_window->currentPanel()->findChild<QTextEdit*>(u"21027"_s);
            return body ? body->toPlainText() : u"(no pane)"_s;
        };
        auto* body = window.currentPanel()->findChild<QTextEdit*>(u"21027"_s);
        QVERIFY(body);
        body->setFocus();
        body->moveCursor(QTextCursor::End);
        QTest::keyClicks(body, u" xyz"_s);
        QCOMPARE(paneBody(), u"body xyz"_s);

        window.unloadModule(); // as 模块 → 重新加载模块 does
        QVERIFY(window.loadModule(moduleFile()));
        deliverPosted();
        QCOMPARE(paneBody(), u"body xyz"_s);

        m_window.reset();
        QVERIFY(!MemoStore_IsOpen());
        HostWindow& again = host(u"gina"_s);
        QVERIFY(again.loadModule(moduleFile()));
        again.show();
        deliverPosted();
        QCOMPARE(paneBody(), u"body xyz"_s);
        QCOMPARE(again.statusText(), FormatStr(LoadStr(242), 1));
        m_window.reset();
    }

    void restoredMemosAreListedAgainInTheirPlaces()
    {
        HostWindow& window = host(u"carol"_s);
        const QStringList titles{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
        for (const QString& title : titles)
            QVERIFY(addMemo(title) > 0);
        // b and d, deleted as the panel deletes, before it is there.
        QCOMPARE(DBI_MemDeleteRecord(2), 1);
        QCOMPARE(DBI_MemDeleteRecord(4), 1);
        QVERIFY(window.loadModule(moduleFile()));
        window.show();
        deliverPosted();
        const auto* list = window.currentPanel()->findChild<QTreeWidget*>(u"21000"_s);
        QCOMPARE(rows(list), (QStringList{u"a"_s, u"c"_s}));

        // One back: it is selected and shown, and the status bar says so.
        restoreFromTrash([](QTreeWidget* trash) {
            trash->findItems(u"d"_s, Qt::MatchExactly).value(0)->setSelected(true);
        });
        QCOMPARE(rows(list), (QStringList{u"a"_s, u"c"_s, u"d"_s}));
        QCOMPARE(list->selectedItems().value(0)->text(0), u"d"_s);
        QTRY_COMPARE(window.currentPanel()->findChild<QTextEdit*>(u"21013"_s)->toPlainText(), u"d"_s);
        QCOMPARE(window.statusText(), FormatStr(LoadStr(244), 1, 3));

        restoreFromTrash([](QTreeWidget* trash) { trash->selectAll(); });
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(rows(list), titles);
    }

    // Made as small as a person can drag it, the window keeps every control of the panel whole.
    void theWindowDoesNotShrinkBelowThePanel()
    {
        HostWindow& window = hostWithModule();
        window.show();
        deliverPosted();
        window.resize(300, 200);
        deliverPosted();
        QWidget* panel = window.currentPanel();
        QVERIFY(window.width() > 300 && window.height() > 200);
        QList<QWidget*> controls;
        for (const int id : {21000, 21001, 21003, 21004, 21006, 21007, 21025})
            controls << panel->findChild<QWidget*>(QString::number(id));
        controls << panel->findChild<QTextEdit*>(u"21027"_s)->parentWidget(); // the detail pane
        for (QWidget* a : std::as_const(controls)) {
            QVERIFY(a);
            const QRect place(a->mapTo(panel, QPoint(0, 0)), a->size());
            QVERIFY2(panel->rect().contains(place), qPrintable(a->objectName()));
            QVERIFY2(window.frame()->rect().contains(panel->geometry()), "panel cut by the frame");
            for (QWidget* b : std::as_const(controls))
                QVERIFY2(a == b || !place.intersects(QRect(b->mapTo(panel, QPoint(0, 0)), b->size())),
                         qPrintable(a->objectName() + u" over "_s + b->objectName()));
        }
    }

    void aFullStoreRefusesToRestoreAndSaysWhy()
    {
        host(u"dora"_s);
        QCOMPARE(DBI_MemDeleteRecord(addMemo(u"m0"_s)), 1);
        for (int i = 1; i <= MAX_MEMO_COUNT; ++i)
            QVERIFY(addMemo(u"m%1"_s.arg(i)) > 0);
        restoreFromTrash([](QTreeWidget* trash) { trash->topLevelItem(0)->setSelected(true); });
        QCOMPARE(MemoStore_TrashCount(), 1);
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports[0].contains(u"“m0”"_s) && m_reports[0].contains(u"达到上限"_s),
                 qPrintable(m_reports[0]));
        m_reports.clear();
    }
};

QTEST_MAIN(TestHostModule)
#include "tst_hostmodule.moc"
