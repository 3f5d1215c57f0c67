// The host window without a module: stores that cannot be opened, files that are not modules,
// switching users, the remembered geometry, the module image and Qt's own texts in Chinese.
#include <HostWindow.h>
#include <ModuleBar.h>
#include <ModuleImage.h>
#include <QtTranslation.h>

#include <DbiMemo.h>
#include <MemoStore.h>
#include <ModuleProtocol.h>

#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

struct Report
{
    QString title;
    QString text;
};

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The store file of `user` inside `dir`, as the store library names it.
QString storePathOf(const QString& user, const QString& dir)
{
    const QByteArray u = user.toUtf8();
    const QByteArray d = dir.toUtf8();
    if (!MemoStore_Open(u.constData(), d.constData()))
        return {};
    const QString path = QString::fromUtf8(MemoStore_CurrentPath());
    MemoStore_Close();
    return path;
}

void spoil(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray("this is no database, but somebody's file\n").repeated(200));
}

} // namespace

class TestHostWindow : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    std::vector<Report> m_reports;

    void watch(HostWindow& window)
    {
        window.setErrorReporter([this](const QString& title, const QString& text) {
            m_reports.push_back({title, text});
        });
    }

  private Q_SLOTS:
    void init()
    {
        m_reports.clear();
        QSettings().clear();
    }
    void cleanup() { QVERIFY(!MemoStore_IsOpen()); }

    void aStoreThatCannotBeOpenedIsReportedAndLeftAlone()
    {
        const QString path = storePathOf(u"carol"_s, m_dir.path());
        QVERIFY(!path.isEmpty());
        spoil(path);
        const QByteArray before = fileHash(path);

        HostWindow window(m_dir.path());
        watch(window);
        QVERIFY(!window.openUser(u"carol"_s));
        QCOMPARE(m_reports.size(), size_t(1));
        QVERIFY(m_reports[0].text.contains(u"carol"_s));
        QVERIFY(!MemoStore_IsOpen());
        QCOMPARE(fileHash(path), before);
        QVERIFY(window.userName().isEmpty());
    }

    // main() names the first user when it makes the window, so that the store opens while the
    // window is built; openUser() then takes that open's result, or opens another user's store.
    void theFirstStoreOpensWhileTheWindowIsBuilt_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("spoilt");
        QTest::newRow("the same user") << u"ivy"_s << u"ivy"_s << false;
        QTest::newRow("the same user, a broken store") << u"kim"_s << u"kim"_s << true;
        QTest::newRow("another user") << u"ivy"_s << u"jack"_s << false;
        QTest::newRow("no user asked") << u"ivy"_s << QString() << false;
    }

    void theFirstStoreOpensWhileTheWindowIsBuilt()
    {
        QFETCH(QString, first);
        QFETCH(QString, asked);
        QFETCH(bool, spoilt);
        const QString path = storePathOf(first, m_dir.path());
        QByteArray reason;
        if (spoilt) {
            spoil(path);
            QVERIFY(!MemoStore_Open(first.toUtf8().constData(), m_dir.path().toUtf8().constData()));
            reason = MemoStore_LastError();
            QVERIFY(!reason.isEmpty());
        }
        const QByteArray before = fileHash(path);
        const QString askedPath = asked.isEmpty() ? QString() : storePathOf(asked, m_dir.path());
        {
            HostWindow window(m_dir.path(), first);
            watch(window);
            if (!asked.isEmpty() && spoilt) {
                QVERIFY(!window.openUser(asked));
                QCOMPARE(m_reports.size(), size_t(1));
                QVERIFY2(m_reports[0].text.contains(QString::fromUtf8(reason)),
                         qPrintable(m_reports[0].text));
                QVERIFY(!MemoStore_IsOpen());
                QVERIFY(window.userName().isEmpty());
            } else if (!asked.isEmpty()) {
                QVERIFY(window.openUser(asked));
                QVERIFY(m_reports.empty());
                QCOMPARE(window.userName(), asked);
                QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), askedPath);
                QVERIFY(window.windowTitle().contains(asked));
            }
        }
        // The window closes what it opened, whether it was asked for it or not.
        QVERIFY(!MemoStore_IsOpen());
        if (spoilt)
            QCOMPARE(fileHash(path), before);
    }

    void switchingToABrokenStoreKeepsTheCurrentUser()
    {
        const QString broken = storePathOf(u"dave"_s, m_dir.path());
        spoil(broken);
        const QByteArray before = fileHash(broken);

        HostWindow window(m_dir.path());
        watch(window);
        QVERIFY(window.openUser(u"alice"_s));
        const QString alicePath = QString::fromUtf8(MemoStore_CurrentPath());
        QVERIFY(!window.switchUser(u"dave"_s));
        QCOMPARE(m_reports.size(), size_t(1));
        QVERIFY(m_reports[0].text.contains(u"dave"_s));
        QCOMPARE(window.userName(), u"alice"_s);
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), alicePath);
        QCOMPARE(fileHash(broken), before);
        QVERIFY(window.windowTitle().contains(u"alice"_s));
        window.unloadModule();
        MemoStore_Close();
    }

    void switchingUsersOpensTheirOwnStores()
    {
        HostWindow window(m_dir.path());
        watch(window);
        QVERIFY(window.openUser(u"erin"_s));
        MemoRecord memo{};
        memo.title[0] = u'x';
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);

        QVERIFY(window.switchUser(u"frank"_s));
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        QVERIFY(window.windowTitle().contains(u"frank"_s));
        QVERIFY(window.switchUser(u"erin"_s));
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
        QVERIFY(m_reports.empty());

        // Both users are offered in the user menu, the current one checked.
        QMenu* users = window.menuBar()->actions().constFirst()->menu();
        QStringList checked;
        QStringList offered;
        for (QAction* action : users->actions()) {
            if (!action->isCheckable())
                continue;
            offered << action->text();
            if (action->isChecked())
                checked << action->text();
        }
        QCOMPARE(offered, (QStringList{u"erin"_s, u"frank"_s}));
        QCOMPARE(checked, QStringList{u"erin"_s});
        MemoStore_Close();
    }

    void filesThatAreNotModulesAreReported_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << m_dir.filePath(u"nothing-here.so"_s);
        QTest::newRow("text file") << QFINDTESTDATA("tst_hostwindow.cpp");
        QTest::newRow("library without entry points") << QString::fromUtf8(HOST_ADAPTER_FILE);
    }

    void filesThatAreNotModulesAreReported()
    {
        QFETCH(QString, path);
        HostWindow window(m_dir.path());
        watch(window);
        QVERIFY(window.openUser(u"alice"_s));
        QVERIFY(!window.loadModule(path));
        QCOMPARE(m_reports.size(), size_t(1));
        QVERIFY(m_reports[0].text.contains(path));
        QVERIFY(!window.isModuleLoaded());
        QVERIFY(!window.currentPanel());
        QCOMPARE(window.moduleBar()->panelCount(), 0);
        MemoStore_Close();
    }

    void theWindowGeometryAndTheUsersAreRemembered()
    {
        QRect placed;
        {
            HostWindow window(m_dir.path());
            watch(window);
            QVERIFY(window.openUser(u"gina"_s));
            QVERIFY(window.switchUser(u"hank"_s));
            window.show();
            window.setGeometry(120, 90, 812, 533);
            placed = window.geometry();
            window.close();
        }
        HostWindow again(m_dir.path());
        QCOMPARE(again.size(), placed.size());
        QCOMPARE(again.geometry().topLeft(), placed.topLeft());
        QStringList offered;
        for (QAction* action : again.menuBar()->actions().constFirst()->menu()->actions())
            if (action->isCheckable())
                offered << action->text();
        QCOMPARE(offered, (QStringList{u"hank"_s, u"gina"_s}));
    }

    void theMemoImageIsDrawn()
    {
        const QImage memo = ModuleImage(ModuleProtocol::MEMO_IMAGE_ID).pixmap(32, 32).toImage();
        const QImage other = ModuleImage(5).pixmap(32, 32).toImage();
        QCOMPARE(memo.size(), QSize(32, 32));
        int opaque = 0;
        for (int y = 0; y < memo.height(); ++y)
            for (int x = 0; x < memo.width(); ++x)
                opaque += qAlpha(memo.pixel(x, y)) == 255;
        QVERIFY(opaque > 32 * 32 / 3);
        QVERIFY(memo != other);
    }

    void qtDialogButtonsFollowTheChineseOfTheSystemElseSimplified_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("ok");
        QTest::newRow("C locale") << QStringList{u"C"_s} << u"确定"_s;
        QTest::newRow("Hong Kong after English") << QStringList{u"en-US"_s, u"zh-HK"_s} << u"確定"_s;
        QTest::newRow("Singapore") << QStringList{u"zh-Hans-SG"_s} << u"确定"_s;
    }

    void qtDialogButtonsFollowTheChineseOfTheSystemElseSimplified()
    {
        QFETCH(QStringList, uiLanguages);
        std::unique_ptr<QTranslator> translator(installQtTranslation(*qApp, uiLanguages));
        QVERIFY2(translator, "Qt's translations are missing (Debian package qt6-translations-l10n)");
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QTEST(buttons.button(QDialogButtonBox::Ok)->text(), "ok");
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
    }
};

QTEST_MAIN(TestHostWindow)
#include "tst_hostwindow.moc"
