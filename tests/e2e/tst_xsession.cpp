// A person at the real host in a real X server: the module file as built, loaded by the host's
// code, driven with real pointer and keyboard input from xdotool. Synthesized Qt events go
// straight to a widget and skip what the window system does with popups, grabs and focus; this
// test does not. Run by xsession-run.sh, which starts a private Xvfb.
#include "E2eSupport.h"

#include <HostWindow.h>
#include <LoadStr.h>

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <TestSeams.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Runs xdotool with these arguments and waits for it: the input is then queued in the X server.
bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(u"xdotool"_s, arguments) == 0;
}

bool clickAt(QPoint global)
{
    return xdotool({u"mousemove"_s, u"--sync"_s, QString::number(global.x()), QString::number(global.y())}) &&
           xdotool({u"click"_s, u"1"_s});
}

bool clickOn(const QWidget* widget, QPoint local)
{
    return clickAt(widget->mapToGlobal(local));
}

// Lets the X server's queued input arrive and be handled.
void handleInput()
{
    QTest::qWait(250);
}

QStringList titles(const QTreeWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        shown << list->topLevelItem(row)->text(0);
    return shown;
}

bool type(const QString& text)
{
    return xdotool({u"type"_s, u"--delay"_s, u"60"_s, text});
}

template <class W> W* control(const QWidget* parent, int id)
{
    return parent->findChild<W*>(QString::number(id));
}

QStringList storedContents()
{
    QStringList contents;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        contents << QStringView(MemoContent(memo)).toString();
    }
    return contents;
}

void storeMemo(const QString& title, const QString& body, const QString& group, std::int32_t groupId)
{
    const MemoRecord memo = NewMemoRecord(305371800, group.toStdU16String(), groupId, title.toStdU16String(),
                                          body.toStdU16String());
    QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
}

} // namespace

class TestXSession : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb"_s, "needs a real X server (xsession-run.sh)");
    }

    void aPersonFiltersPicksAndSearches()
    {
        QTemporaryDir dir;
        HostWindow window(dir.path());
        QStringList reports;
        window.setErrorReporter([&](const QString&, const QString& text) { reports << text; });
        QVERIFY(window.openUser(u"alice"_s));
        const MemoGroupRecord work = NewGroupRecord(100, u"工作");
        const MemoGroupRecord home = NewGroupRecord(101, u"生活");
        DBI_MemGroupRecycleWriteRecord(&work);
        DBI_MemGroupRecycleWriteRecord(&home);
        storeMemo(u"周报"_s, u"本周完成 ab 模块"_s, u"工作"_s, 100);
        storeMemo(u"买菜"_s, u"鸡蛋"_s, u"生活"_s, 101);
        storeMemo(u"会议"_s, u"下午三点"_s, u"工作"_s, 100);
        storeMemo(u"ab 清单"_s, u"杂事"_s, u"全部"_s, 0);
        QVERIFY(window.loadModule(e2e::moduleFile()));
        window.move(0, 0);
        window.resize(1000, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());

        QWidget* panel = window.currentPanel();
        QVERIFY(panel);
        auto* list = panel->findChild<QTreeWidget*>(u"21000"_s);
        auto* box = panel->findChild<QComboBox*>(u"21007"_s);
        auto* search = panel->findChild<QTextEdit*>(u"21006"_s);
        auto* detailTitle = panel->findChild<QTextEdit*>(u"21013"_s);
        QVERIFY(list && box && search && detailTitle);
        QTRY_COMPARE(titles(list).size(), 4);

        // One click opens the category list and leaves it open; a click on an entry picks it.
        QVERIFY(clickOn(box->lineEdit(), QPoint(10, box->lineEdit()->height() / 2)));
        handleInput();
        QVERIFY(box->view()->isVisible());
        QAbstractItemView* view = box->view();
        const QRect entry = view->visualRect(view->model()->index(box->findText(u"工作"_s), 0));
        QVERIFY(clickOn(view->viewport(), entry.center()));
        QTRY_COMPARE(titles(list), (QStringList{u"周报"_s, u"会议"_s}));
        QVERIFY(!view->isVisible());

        // A click on a row shows its memo in the detail pane.
        QVERIFY(clickOn(list->viewport(), list->visualItemRect(list->topLevelItem(1)).center()));
        QTRY_COMPARE(detailTitle->toPlainText(), u"会议"_s);

        // Back to every memo, then typing into the search box filters as the keys arrive.
        QVERIFY(clickOn(box->lineEdit(), QPoint(10, box->lineEdit()->height() / 2)));
        handleInput();
        QVERIFY(view->isVisible());
        QVERIFY(clickOn(view->viewport(),
                        view->visualRect(view->model()->index(box->findText(u"全部"_s), 0)).center()));
        QTRY_COMPARE(titles(list).size(), 4);
        QVERIFY(clickOn(search, QPoint(40, search->height() / 2)));
        QTRY_VERIFY(search->hasFocus());
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"80"_s, u"ab"_s}));
        QTRY_COMPARE(titles(list), (QStringList{u"周报"_s, u"ab 清单"_s}));
        QCOMPARE(window.statusText(), FormatStr(LoadStr(233), 2));
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    void aPersonWritesEditsKeepsAndDeletesAMemo()
    {
        QTemporaryDir dir;
        QVERIFY(MemoStore_Open("bob", dir.path().toUtf8().constData()));
        storeMemo(u"bob's memo"_s, u"only bob's"_s, u"全部"_s, 0);
        MemoStore_Close();

        auto window = std::make_unique<HostWindow>(dir.path());
        QStringList reports;
        const auto start = [&] {
            window->setErrorReporter([&](const QString&, const QString& text) { reports << text; });
            QVERIFY(window->openUser(u"alice"_s));
            QVERIFY(window->loadModule(e2e::moduleFile()));
            window->move(0, 0);
            window->resize(1000, 640);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            window->activateWindow();
            QTRY_VERIFY(window->isActiveWindow());
        };
        start();
        QWidget* panel = window->currentPanel();
        auto* list = control<QTreeWidget>(panel, 21000);
        QCOMPARE(titles(list), QStringList());

        // New: the edit dialog opens; title, body, OK.
        KitTest::ModalDriver driver;
        driver.onNextModal([](QDialog* dlg) {
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QVERIFY(clickOn(control<QWidget>(dlg, 21034), QPoint(20, 12)));
            QVERIFY(type(u"groceries"_s));
            QVERIFY(clickOn(control<QWidget>(dlg, 21036), QPoint(40, 40)));
            QVERIFY(type(u"milk and eggs"_s));
            QVERIFY(clickOn(control<QWidget>(dlg, IDOK), QPoint(20, 16)));
            handleInput();
        });
        QVERIFY(clickOn(control<QWidget>(panel, 21001), QPoint(30, 16)));
        QTRY_COMPARE(driver.driven(), 1);
        QTRY_COMPARE(titles(list), QStringList{u"groceries"_s});
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(storedContents(), QStringList{u"milk and eggs"_s});

        // Edited in the detail pane and saved.
        auto* body = control<QTextEdit>(panel, 21027);
        QVERIFY(clickOn(body, QPoint(body->width() - 20, body->height() - 20)));
        QVERIFY(xdotool({u"key"_s, u"ctrl+End"_s}));
        QVERIFY(type(u" and bread"_s));
        QVERIFY(clickOn(control<QWidget>(panel, 21025), QPoint(30, 16)));
        QTRY_COMPARE(storedContents(), QStringList{u"milk and eggs and bread"_s});

        // The next start finds it.
        window.reset();
        window = std::make_unique<HostWindow>(dir.path());
        start();
        panel = window->currentPanel();
        list = control<QTreeWidget>(panel, 21000);
        QTRY_COMPARE(titles(list), QStringList{u"groceries"_s});
        QTRY_COMPARE(control<QTextEdit>(panel, 21027)->toPlainText(), u"milk and eggs and bread"_s);

        // Delete, answered Yes.
        driver.onNextModal([](QDialog* box) {
            QVERIFY(QTest::qWaitForWindowExposed(box));
            QAbstractButton* yes = nullptr;
            for (QAbstractButton* button : static_cast<QMessageBox*>(box)->buttons())
                if (static_cast<QMessageBox*>(box)->buttonRole(button) == QMessageBox::YesRole)
                    yes = button;
            QVERIFY(yes);
            QVERIFY(clickOn(yes, QPoint(yes->width() / 2, yes->height() / 2)));
            handleInput();
        });
        QVERIFY(clickOn(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center()));
        QVERIFY(clickOn(control<QWidget>(panel, 21003), QPoint(30, 16)));
        QTRY_COMPARE(driver.driven(), 2);
        QTRY_COMPARE(titles(list), QStringList());
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);

        // Another user: that user's memos, none of alice's.
        QVERIFY(window->switchUser(u"bob"_s));
        QTRY_COMPARE(titles(list), QStringList{u"bob's memo"_s});
        QCOMPARE(driver.leftOpen(), 0);
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }
};

QTEST_MAIN(TestXSession)
#include "tst_xsession.moc"
