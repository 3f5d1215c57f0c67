// The plug-in shell through its entry points: component id, the create notice and the
// registration document, user-change notices posted to the panel, status texts, and the panel
// pointer across the panel's and the module's lifetime.
#include "DocumentOutline.h"
#include "ShellTestHost.h"

#include <CDialogTemplate.h>
#include <CMemoDlg.h>
#include <CMemoEditDlg.h>
#include <CXml.h>
#include <MemoEntry.h>
#include <MemoShell.h>
#include <ModuleProtocol.h>
#include <WinMessage.h>

#include <QPointer>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace ModuleProtocol;

namespace {

// Counts the user-change messages that reach a panel, and the names they carry.
class UpdateMessages : public QObject
{
  public:
    explicit UpdateMessages(QObject* panel)
    {
        if (panel)
            panel->installEventFilter(this);
    }
    QStringList names;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Type(WM_MEMO_UPDATEDATA)) {
            const auto* message = static_cast<CWinMessageEvent*>(event);
            names.append(message->wParam() ? *reinterpret_cast<const QString*>(message->wParam())
                                           : u"<null>"_s);
        }
        return false;
    }
};

CXml documentFrom(const QString& text)
{
    CXml doc;
    if (!text.isEmpty())
        doc.SetDoc(text);
    return doc;
}

void deliverPosted()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { MemoModuleAttach(); }
    void cleanupTestCase() { MemoModuleDetach(); }

    void cleanup()
    {
        delete g_pMemoDlg;
        QVERIFY(!g_pMemoDlg);
        deliverPosted();
    }

    void componentIdIs17000BeforeAndAfterThePanelExists()
    {
        QCOMPARE(MemoRegisterComID(), MEMO_COMPONENT_ID);
        QCOMPARE(MemoRegisterComID(), 17000);
        ShellTestHost host;
        MemoNtfCallBack(NTF_CREATE_PANEL, nullptr);
        QVERIFY(g_pMemoDlg);
        QCOMPARE(MemoRegisterComID(), 17000);
    }

    void theCreateNoticeRegistersOnePanel_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("nullDocument");
        QTest::newRow("null") << QString() << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("unrelated") << u"<Hello><World>1</World></Hello>"_s << false;
        QTest::newRow("update data") << u"<UpdateData><UserName>a</UserName></UpdateData>"_s << false;
    }

    void theCreateNoticeRegistersOnePanel()
    {
        QFETCH(QString, document);
        QFETCH(bool, nullDocument);
        ShellTestHost host;
        CXml doc = documentFrom(document);

        QCOMPARE(MemoNtfCallBack(NTF_CREATE_PANEL, nullDocument ? nullptr : &doc), 0);

        QVERIFY(g_pMemoDlg);
        QVERIFY(g_pMemoDlg->GetSafeHwnd());
        // Besides the registration only status texts may go out (the panel's first showing).
        const auto registrations = host.registrations();
        QCOMPARE(registrations.size(), size_t(1));
        for (const SentDocument& other : host.sent)
            QVERIFY(other.code == NTF_REGISTER_WINDOW ||
                    (!other.notification && other.code == CMD_STATUSBAR_TEXT));
        const SentDocument& sent = registrations.front();
        QCOMPARE(sent.param, 0);

        const ParsedDoc reg = parse(sent.text);
        QCOMPARE(reg.root, u"ZorvaRegWnd"_s);
        QCOMPARE(reg.children.size(), 4);
        QCOMPARE(reg.children[0], std::pair(u"TeamID"_s, u"1"_s));
        QCOMPARE(reg.children[1], std::pair(u"Caption"_s, u"备忘录"_s));
        QCOMPARE(reg.children[2], std::pair(u"ImgeID"_s, u"128"_s));
        QCOMPARE(reg.children[3].first, u"pWnd"_s);
        // The whole address, not a 32-bit cut of it.
        QCOMPARE(reg.children[3].second.toULongLong(), qulonglong(reinterpret_cast<quintptr>(g_pMemoDlg)));
    }

    void thePanelIsBuiltFromItsTemplate()
    {
        ShellTestHost host;
        CreateMemoPanel();
        QVERIFY(g_pMemoDlg);
        for (int id : {21000, 21001, 21003, 21004, 21005, 21006, 21007, 21025})
            QVERIFY2(g_pMemoDlg->GetDlgItem(id), qPrintable(QString::number(id)));
        QVERIFY(dynamic_cast<CZorvaListCtrl*>(g_pMemoDlg->GetDlgItem(21000)));
        QVERIFY(g_pMemoDlg->GetDlgItem(21005)->isHidden());
    }

    void eachCreateNoticeCreatesAnotherPanel()
    {
        ShellTestHost host;
        MemoNtfCallBack(NTF_CREATE_PANEL, nullptr);
        QPointer<CMemoDlg> first = g_pMemoDlg;
        MemoNtfCallBack(NTF_CREATE_PANEL, nullptr);
        QVERIFY(g_pMemoDlg);
        QVERIFY(g_pMemoDlg != first.data());
        QCOMPARE(host.registrations().size(), size_t(2));
        delete first.data();
        QVERIFY(g_pMemoDlg); // the older panel's end leaves the newer one remembered
    }

    void userChangeNoticesPostOneMessagePerUserName_data()
    {
        QTest::addColumn<bool>("notification");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QStringList>("expected");
        const QString one = u"<UpdateData><UserName>alice</UserName></UpdateData>"_s;
        QTest::newRow("cmd 0x00002AFF") << false << 0x00002AFF << one << QStringList{u"alice"_s};
        QTest::newRow("cmd 0x2AF82AFF") << false << 0x2AF82AFF << one << QStringList{u"alice"_s};
        QTest::newRow("cmd other high bits") << false << int(0x7FFF2AFF) << one << QStringList{u"alice"_s};
        QTest::newRow("ntf 0x2AF82AFF") << true << 0x2AF82AFF << one << QStringList{u"alice"_s};
        QTest::newRow("ntf 0x00002AFF") << true << 0x00002AFF << one << QStringList{};
        QTest::newRow("ntf 0x2AF92AFF") << true << 0x2AF92AFF << one << QStringList{};
        QTest::newRow("cmd 0x2AF82AFE") << false << 0x2AF82AFE << one << QStringList{};
        QTest::newRow("two elements")
            << false << 0x2AFF
            << u"<UpdateData><UserName>alice</UserName></UpdateData><UpdateData><UserName>张三</UserName></UpdateData>"_s
            << QStringList{u"alice"_s, u"张三"_s};
        QTest::newRow("no user name")
            << true << 0x2AF82AFF << u"<UpdateData><Other>x</Other></UpdateData>"_s << QStringList{};
        QTest::newRow("one of two without user name")
            << true << 0x2AF82AFF << u"<UpdateData/><UpdateData><UserName>bob</UserName></UpdateData>"_s
            << QStringList{u"bob"_s};
        QTest::newRow("empty user name")
            << true << 0x2AF82AFF << u"<UpdateData><UserName/></UpdateData>"_s << QStringList{QString()};
        QTest::newRow("other elements between")
            << true << 0x2AF82AFF << u"<Noise/><UpdateData><UserName>c</UserName></UpdateData><Noise/>"_s
            << QStringList{u"c"_s};
        QTest::newRow("user name not a child")
            << true << 0x2AF82AFF << u"<UserName>alice</UserName>"_s << QStringList{};
        QTest::newRow("update data nested")
            << true << 0x2AF82AFF << u"<Root><UpdateData><UserName>x</UserName></UpdateData></Root>"_s
            << QStringList{};
        QTest::newRow("user name nested deeper")
            << true << 0x2AF82AFF << u"<UpdateData><Box><UserName>x</UserName></Box></UpdateData>"_s
            << QStringList{};
        QTest::newRow("wrong case") << true << 0x2AF82AFF
                                    << u"<updatedata><UserName>x</UserName></updatedata>"_s << QStringList{};
        QTest::newRow("empty document") << true << 0x2AF82AFF << QString() << QStringList{};
    }

    void userChangeNoticesPostOneMessagePerUserName()
    {
        QFETCH(bool, notification);
        QFETCH(int, code);
        QFETCH(QString, document);
        QFETCH(QStringList, expected);
        ShellTestHost host;
        CreateMemoPanel();
        deliverPosted();
        UpdateMessages messages(g_pMemoDlg);
        CXml doc = documentFrom(document);

        const int result = notification ? MemoNtfCallBack(code, &doc) : MemoCmdCallBack(code, &doc);
        QCOMPARE(result, 0);
        QVERIFY(messages.names.isEmpty()); // posted, not handled inside the host's call
        deliverPosted();
        QCOMPARE(messages.names, expected);
    }

    void noticesWithoutAPanelDoNothing()
    {
        QVERIFY(!g_pMemoDlg);
        CXml doc = documentFrom(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        QCOMPARE(MemoNtfCallBack(NTF_UPDATE_DATA, &doc), 0);
        QCOMPARE(MemoCmdCallBack(CMD_UPDATE_DATA, &doc), 0);
        QCOMPARE(MemoNtfCallBack(NTF_UPDATE_DATA, nullptr), 0);
        QCOMPARE(MemoCmdCallBack(CMD_UPDATE_DATA, nullptr), 0);
        deliverPosted();
    }

    void aDeletedPanelIsForgotten()
    {
        ShellTestHost host;
        CreateMemoPanel();
        QPointer<CMemoDlg> panel = g_pMemoDlg;
        delete panel.data();
        QVERIFY(!g_pMemoDlg);
        CXml doc = documentFrom(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        QCOMPARE(MemoNtfCallBack(NTF_UPDATE_DATA, &doc), 0);
        QCOMPARE(MemoCmdCallBack(0x2AFF, &doc), 0);
        deliverPosted();
    }

    void aDestroyedWindowIsForgottenAndThePanelDeletesItself()
    {
        ShellTestHost host;
        CreateMemoPanel();
        QPointer<CMemoDlg> panel = g_pMemoDlg;
        UpdateMessages messages(panel);
        QVERIFY(panel->DestroyWindow());
        QVERIFY(!g_pMemoDlg);
        CXml doc = documentFrom(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        MemoNtfCallBack(NTF_UPDATE_DATA, &doc);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());
        QVERIFY(messages.names.isEmpty());
    }

    void aUserNameIsFreedWhenThePanelDiesBeforeHandlingIt()
    {
        // Run under the leak checker: the posted name must go with the panel's pending messages.
        ShellTestHost host;
        CreateMemoPanel();
        CXml doc = documentFrom(u"<UpdateData><UserName>alice</UserName></UpdateData>"
                                "<UpdateData><UserName>bob</UserName></UpdateData>"_s);
        MemoNtfCallBack(NTF_UPDATE_DATA, &doc);
        delete g_pMemoDlg;
        deliverPosted();
    }

    void callbacksAnswerZeroForEveryCode()
    {
        ShellTestHost host;
        CreateMemoPanel();
        const QList<int> codes{0,
                               1,
                               -1,
                               17000,
                               NTF_REGISTER_WINDOW,
                               CMD_STATUSBAR_TEXT,
                               NTF_UPDATE_DATA,
                               CMD_UPDATE_DATA,
                               0x2AF82AFC,
                               0x2AF82AFD,
                               int(0x80002AFF),
                               int(0xFFFFFFFF),
                               0x7FFFFFFF};
        CXml update = documentFrom(u"<UpdateData><UserName>x</UserName></UpdateData>"_s);
        CXml empty;
        for (int code : codes) {
            for (CXml* doc : {&update, &empty, static_cast<CXml*>(nullptr)}) {
                QCOMPARE(MemoNtfCallBack(code, doc), 0);
                QCOMPARE(MemoCmdCallBack(code, doc), 0);
            }
        }
        CMemoDlg* panel = g_pMemoDlg;
        QCOMPARE(MemoCmdCallBack(NTF_CREATE_PANEL, nullptr), 0);
        QCOMPARE(g_pMemoDlg, panel); // the create notice counts only as a notification
        QCOMPARE(MemoNtfCallBack(NTF_CREATE_PANEL, &update), 0);
        QVERIFY(g_pMemoDlg != panel);
        delete panel;
        deliverPosted();
    }

    void statusTextsReachTheHost()
    {
        QCOMPARE(SendStatusBarText(u"无主机"), 0);
        ShellTestHost host;
        host.answer = 5;
        QCOMPARE(SendStatusBarText(u"共 3 条 <备忘录> & more"), 5);
        QCOMPARE(host.sent.size(), size_t(1));
        QVERIFY(!host.sent[0].notification);
        QCOMPARE(host.sent[0].code, CMD_STATUSBAR_TEXT);
        QCOMPARE(host.sent[0].param, 0);
        const ParsedDoc doc = parse(host.sent[0].text);
        QCOMPARE(doc.root, u"UpdataStatusBarText"_s);
        QCOMPARE(doc.children.size(), 1);
        QCOMPARE(doc.children[0], std::pair(u"TextContent"_s, u"共 3 条 <备忘录> & more"_s));
    }

    void thePanelSendsItsStatusWhenTheUserChanges()
    {
        ShellTestHost host;
        CreateMemoPanel();
        g_pMemoDlg->resize(760, 480);
        g_pMemoDlg->show();
        deliverPosted();
        host.sent.clear();
        CXml doc = documentFrom(u"<UpdateData><UserName>alice</UserName></UpdateData>"_s);
        MemoNtfCallBack(NTF_UPDATE_DATA, &doc);
        QVERIFY(host.sent.empty());
        deliverPosted();
        QCOMPARE(host.sent.size(), size_t(1));
        QCOMPARE(host.sent[0].code, CMD_STATUSBAR_TEXT);
        QVERIFY(!parse(host.sent[0].text).children.value(0).second.isEmpty());
    }

    void unloadingForgetsThePanelAndTheTemplate()
    {
        ShellTestHost host;
        CreateMemoPanel();
        QPointer<CMemoDlg> panel = g_pMemoDlg;
        MemoModuleDetach();
        QVERIFY(!g_pMemoDlg);
        QVERIFY(!panel.isNull()); // the panel itself is not the shell's to delete
        QVERIFY(!CDialogTemplate::IsRegistered(CMemoDlg::IDD));
        QVERIFY(!CDialogTemplate::IsRegistered(CMemoEditDlg::IDD));
        CreateMemoPanel(); // no template: no panel, no registration
        QVERIFY(!g_pMemoDlg);
        QCOMPARE(host.registrations().size(), size_t(1));
        delete panel.data();

        MemoModuleAttach();
        QVERIFY(CDialogTemplate::IsRegistered(CMemoDlg::IDD));
        QVERIFY(CDialogTemplate::IsRegistered(CMemoEditDlg::IDD)); // the New command's popup
        CreateMemoPanel();
        QVERIFY(g_pMemoDlg);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
