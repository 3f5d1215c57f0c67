// Multi-Status replies as servers send them: any prefixes, sync-collection with deletions and a new
// token, discovery properties; and replies that are refused instead of read.
#include "DavReplies.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDavReplies : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void aSyncReportGivesChangesDeletionsAndTheToken()
    {
        // The prefixes are the server's choice; the default namespace is CalDAV here.
        const std::string xml = R"(<?xml version="1.0"?>
<d:multistatus xmlns:d="DAV:" xmlns="urn:ietf:params:xml:ns:caldav">
  <d:response><d:href>/c/a.ics</d:href>
    <d:propstat><d:prop><d:getetag>"e1"</d:getetag><calendar-data>BEGIN:VCALENDAR&#13;
END:VCALENDAR&#13;
</calendar-data></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>
    <d:propstat><d:prop><d:displayname/></d:prop><d:status>HTTP/1.1 404 Not Found</d:status></d:propstat>
  </d:response>
  <d:response><d:href>/c/b.ics</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>
  <d:sync-token>http://example/sync/7</d:sync-token>
</d:multistatus>)";
        std::string why;
        const std::optional<Multistatus> reply = ParseMultistatus(xml, why);
        QVERIFY2(reply, why.c_str());
        QCOMPARE(reply->syncToken, std::string("http://example/sync/7"));
        QCOMPARE(reply->resources.size(), std::size_t(2));
        QCOMPARE(reply->resources[0].href, std::string("/c/a.ics"));
        QCOMPARE(reply->resources[0].etag, std::string("\"e1\""));
        QCOMPARE(reply->resources[0].calendarData, std::string("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"));
        QVERIFY(!reply->resources[0].gone);
        QVERIFY(reply->resources[1].gone);
    }

    void discoveryPropertiesAreRead()
    {
        const std::string xml = R"(<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
  <response><href>/dav/</href><propstat><prop>
    <current-user-principal><href>/dav/u/</href></current-user-principal>
    <C:calendar-home-set><href>/dav/u/cal/</href></C:calendar-home-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat></response>
  <response><href>/dav/u/cal/notes/</href><propstat><prop>
    <resourcetype><collection/><C:calendar/></resourcetype><displayname>备忘录</displayname>
    <C:supported-calendar-component-set><C:comp name="VEVENT"/><C:comp name="VJOURNAL"/></C:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat></response>
  <response><href>/dav/u/cal/events/</href><propstat><prop>
    <resourcetype><collection/><C:calendar/></resourcetype>
    <C:supported-calendar-component-set><C:comp name="VEVENT"/></C:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat></response>
</multistatus>)";
        std::string why;
        const std::optional<Multistatus> reply = ParseMultistatus(xml, why);
        QVERIFY2(reply && reply->resources.size() == 3, why.c_str());
        QCOMPARE(reply->resources[0].principal, std::string("/dav/u/"));
        QCOMPARE(reply->resources[0].calendarHome, std::string("/dav/u/cal/"));
        const DavResource& notes = reply->resources[1];
        QVERIFY(notes.calendar && notes.collection && notes.journals);
        QCOMPARE(QString::fromStdString(notes.displayName), u"备忘录"_s);
        QVERIFY(reply->resources[2].calendar && !reply->resources[2].journals);
    }

    void repliesThatAreNotMultistatusAreRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("reason");
        QTest::newRow("html") << QByteArray("<html><body>login</body></html>")
                              << u"not a WebDAV multistatus"_s;
        QTest::newRow("wrong namespace") << QByteArray("<multistatus xmlns=\"urn:x\"/>") << u"multistatus"_s;
        QTest::newRow("cut off") << QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response>")
                                 << u"not XML"_s;
        QByteArray deep = "<d:multistatus xmlns:d=\"DAV:\">";
        for (int i = 0; i < 100; ++i)
            deep += "<d:x>";
        for (int i = 0; i < 100; ++i)
            deep += "</d:x>";
        QTest::newRow("nested too deeply") << deep + "</d:multistatus>" << u"too deeply"_s;
        QTest::newRow("too large") << QByteArray(int(kMaxReplyBytes) + 1, ' ') << u"larger"_s;
    }

    void repliesThatAreNotMultistatusAreRefused()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, reason);
        std::string why;
        QVERIFY(!ParseMultistatus(std::string_view(xml.constData(), std::size_t(xml.size())), why));
        QVERIFY2(QString::fromStdString(why).contains(reason), why.c_str());
    }
};

QTEST_GUILESS_MAIN(TestDavReplies)
#include "tst_davreplies.moc"
