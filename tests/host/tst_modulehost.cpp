// The host's end of the adapter: what it accepts of a module's documents, and that it never
// follows a window address it cannot find among the live widgets.
#include <CXml.h>
#include <HostAdapter.h>
#include <ModuleHost.h>
#include <ModuleProtocol.h>

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;
using namespace ModuleProtocol;

namespace {

CXml registration(long long window, QStringView caption = u"备忘录", int imageId = 128)
{
    CXml doc;
    doc.AddElem(REG_ROOT);
    doc.AddChildElem(REG_TEAM_ID, 1);
    doc.AddChildElem(REG_CAPTION, caption);
    doc.AddChildElem(REG_IMAGE_ID, imageId);
    doc.AddChildElem(REG_WINDOW, window);
    return doc;
}

long long addressOf(const QWidget* widget)
{
    return static_cast<long long>(reinterpret_cast<quintptr>(widget));
}

} // namespace

class TestModuleHost : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void aRegistrationNamingALiveWidgetIsAccepted()
    {
        ModuleHost host;
        QSignalSpy registered(&host, &ModuleHost::panelRegistered);
        QSignalSpy documents(&host, &ModuleHost::documentReceived);
        QWidget panel;
        CXml doc = registration(addressOf(&panel), u"笔记", 77);

        QCOMPARE(ExecuteNtfCommand(NTF_REGISTER_WINDOW, &doc, 0), 1);
        QCOMPARE(registered.size(), 1);
        const auto reg = registered.at(0).at(0).value<PanelRegistration>();
        QCOMPARE(reg.panel, &panel);
        QCOMPARE(reg.caption, u"笔记"_s);
        QCOMPARE(reg.imageId, 77);
        QCOMPARE(reg.teamId, 1);
        QCOMPARE(documents.size(), 1);
        QCOMPARE(documents.at(0).at(0).toBool(), true);
        QCOMPARE(documents.at(0).at(1).toInt(), NTF_REGISTER_WINDOW);
        QVERIFY(documents.at(0).at(2).toString().contains(u"ZorvaRegWnd"_s));
    }

    void aWindowAddressCutToThirtyTwoBitsFindsNoWidget()
    {
        ModuleHost host;
        QSignalSpy registered(&host, &ModuleHost::panelRegistered);
        QWidget panel;
        const quintptr address = reinterpret_cast<quintptr>(&panel);
        if (address <= 0xFFFFFFFFu)
            QSKIP("this widget lies below 4 GiB; a cut address would be the same");
        CXml doc = registration(static_cast<long long>(address & 0xFFFFFFFFu));
        QCOMPARE(ExecuteNtfCommand(NTF_REGISTER_WINDOW, &doc, 0), 0);
        QCOMPARE(registered.size(), 0);
    }

    void documentsThatNameNoLiveWidgetAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no window") << u"<ZorvaRegWnd><TeamID>1</TeamID><Caption>x</Caption></ZorvaRegWnd>"_s;
        QTest::newRow("zero") << u"<ZorvaRegWnd><pWnd>0</pWnd></ZorvaRegWnd>"_s;
        QTest::newRow("made-up address") << u"<ZorvaRegWnd><pWnd>123456789</pWnd></ZorvaRegWnd>"_s;
        QTest::newRow("not a number") << u"<ZorvaRegWnd><pWnd>window</pWnd></ZorvaRegWnd>"_s;
        QTest::newRow("other root") << u"<RegWnd><pWnd>1</pWnd></RegWnd>"_s;
        QTest::newRow("empty") << QString();
    }

    void documentsThatNameNoLiveWidgetAreRefused()
    {
        QFETCH(QString, text);
        ModuleHost host;
        QSignalSpy registered(&host, &ModuleHost::panelRegistered);
        CXml doc;
        if (!text.isEmpty())
            QVERIFY(doc.SetDoc(text));
        QCOMPARE(ExecuteNtfCommand(NTF_REGISTER_WINDOW, &doc, 0), 0);
        QCOMPARE(ExecuteNtfCommand(NTF_REGISTER_WINDOW, nullptr, 0), 0);
        QCOMPARE(registered.size(), 0);
    }

    void aRegistrationOnTheWrongCodeIsIgnored()
    {
        ModuleHost host;
        QSignalSpy registered(&host, &ModuleHost::panelRegistered);
        QWidget panel;
        CXml doc = registration(addressOf(&panel));
        QCOMPARE(ExecuteCommand(NTF_REGISTER_WINDOW, &doc, 0), 0);
        QCOMPARE(ExecuteNtfCommand(CMD_STATUSBAR_TEXT, &doc, 0), 0);
        QCOMPARE(registered.size(), 0);
    }

    void statusTextsArrive()
    {
        ModuleHost host;
        QSignalSpy texts(&host, &ModuleHost::statusTextReceived);
        CXml doc;
        doc.AddElem(STATUS_ROOT);
        doc.AddChildElem(STATUS_TEXT, u"共 3 条备忘录");
        QCOMPARE(ExecuteCommand(CMD_STATUSBAR_TEXT, &doc, 0), 1);
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts.at(0).at(0).toString(), u"共 3 条备忘录"_s);

        CXml wrong;
        wrong.AddElem(u"UpdateStatusBarText");
        wrong.AddChildElem(STATUS_TEXT, u"x");
        QCOMPARE(ExecuteCommand(CMD_STATUSBAR_TEXT, &wrong, 0), 0);
        QCOMPARE(texts.size(), 1);
    }

    void theModuleDocumentIsLeftAsItWas()
    {
        ModuleHost host;
        QWidget panel;
        CXml doc = registration(addressOf(&panel));
        const QString before = doc.GetDoc();
        ExecuteNtfCommand(NTF_REGISTER_WINDOW, &doc, 0);
        QCOMPARE(doc.GetDoc(), before);
        // The cursor too: the module may go on adding children after the call.
        QVERIFY(doc.AddChildElem(u"Extra", 5));
        QVERIFY(doc.GetDoc().contains(u"<Extra>5</Extra>"_s));
    }

    void aDestroyedHostNoLongerAnswers()
    {
        CXml doc;
        doc.AddElem(STATUS_ROOT);
        doc.AddChildElem(STATUS_TEXT, u"x");
        {
            ModuleHost host;
            QCOMPARE(ExecuteCommand(CMD_STATUSBAR_TEXT, &doc, 0), 1);
        }
        QCOMPARE(ExecuteCommand(CMD_STATUSBAR_TEXT, &doc, 0), 0);
    }
};

QTEST_MAIN(TestModuleHost)
#include "tst_modulehost.moc"
