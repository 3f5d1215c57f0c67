#include "CXml.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCXml : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void registrationChildrenInOrderSurviveText();
    void findsMainElementsAndTheirChildren();
    void childrenGoAfterTheChildPosition();
    void malformedTextIsRefused_data();
    void malformedTextIsRefused();
    void refusesBadNamesAndOrphanChildren();
    void textWithMarkupRoundTrips();
    void copiesAreDeep();
};

void TestCXml::registrationChildrenInOrderSurviveText()
{
    int panel = 0;
    const auto address = reinterpret_cast<std::intptr_t>(&panel);
    CXml doc;
    QVERIFY(doc.x_AddElem(u"ZorvaRegWnd", QStringView(), 0));
    QVERIFY(doc.x_AddElem(u"TeamID", 1, CXml::MNF_CHILD));
    QVERIFY(doc.AddChildElem(u"Caption", u"备忘录"));
    QVERIFY(doc.AddChildElem(u"ImgeID", 128));
    QVERIFY(doc.AddChildElem(u"pWnd", address));

    // The host copies the document through its text form.
    CXml copy;
    QVERIFY(copy.SetDoc(doc.GetDoc()));
    QVERIFY(copy.FindElem());
    QCOMPARE(copy.GetTagName(), u"ZorvaRegWnd"_s);
    QStringList names;
    QStringList values;
    while (copy.FindChildElem()) {
        names << copy.GetChildTagName();
        values << copy.GetChildData();
    }
    QCOMPARE(names, (QStringList{u"TeamID"_s, u"Caption"_s, u"ImgeID"_s, u"pWnd"_s}));
    QCOMPARE(values.mid(0, 3), (QStringList{u"1"_s, u"备忘录"_s, u"128"_s}));
    QCOMPARE(values.at(3).toLongLong(), address);
    QVERIFY(!copy.FindElem()); // one main element only
}

void TestCXml::findsMainElementsAndTheirChildren()
{
    CXml doc;
    QVERIFY(doc.SetDoc(u"<UpdateData><Other>x</Other><UserName>张三</UserName></UpdateData>"
                       u"<Noise><UserName>not me</UserName></Noise>"
                       u"<UpdateData/>"
                       u"<UpdateData><UserName>li</UserName><UserName>second</UserName></UpdateData>"));
    QStringList users;
    int elements = 0;
    doc.ResetPos();
    while (doc.FindElem(u"UpdateData")) {
        ++elements;
        if (doc.FindChildElem(u"UserName"))
            users << doc.GetChildData();
    }
    QCOMPARE(elements, 3);
    QCOMPARE(users, (QStringList{u"张三"_s, u"li"_s}));

    // A failed search leaves the cursor where it was; ResetPos starts over.
    QCOMPARE(doc.GetTagName(), u"UpdateData"_s);
    QVERIFY(doc.FindChildElem(u"UserName"));
    QCOMPARE(doc.GetChildData(), u"second"_s);
    QVERIFY(!doc.FindChildElem(u"UserName"));
    QCOMPARE(doc.GetChildData(), u"second"_s);
    doc.ResetPos();
    QVERIFY(doc.FindElem(u"Noise"));
    QVERIFY(doc.FindChildElem(u"UserName"));
    QCOMPARE(doc.GetChildData(), u"not me"_s);

    // Without a main position, a child search starts in the first element.
    doc.ResetPos();
    QVERIFY(doc.FindChildElem(u"UserName"));
    QCOMPARE(doc.GetChildData(), u"张三"_s);
}

void TestCXml::childrenGoAfterTheChildPosition()
{
    CXml doc;
    QVERIFY(doc.AddElem(u"UpdataStatusBarText"));
    QVERIFY(doc.AddChildElem(u"A", u"1"));
    QVERIFY(doc.AddChildElem(u"C", u"3"));
    doc.ResetPos();
    QVERIFY(doc.FindElem());
    QVERIFY(doc.FindChildElem(u"A"));
    QVERIFY(doc.AddChildElem(u"B", u"2")); // lands right after A
    QVERIFY(doc.AddElem(u"Second", 7));    // a main element after the first
    QCOMPARE(doc.GetDoc(), u"<UpdataStatusBarText><A>1</A><B>2</B><C>3</C></UpdataStatusBarText>"
                           u"<Second>7</Second>"_s);

    doc.ResetPos();
    QVERIFY(doc.FindElem());
    QVERIFY(doc.FindChildElem(u"B"));
    QVERIFY(doc.IntoElem());
    QCOMPARE(doc.GetTagName(), u"B"_s);
    QCOMPARE(doc.GetData(), u"2"_s);
    QVERIFY(doc.FindElem(u"C"));
    QVERIFY(doc.OutOfElem());
    QCOMPARE(doc.GetTagName(), u"UpdataStatusBarText"_s);
    QCOMPARE(doc.GetChildTagName(), u"C"_s);
    QVERIFY(!doc.OutOfElem());
}

void TestCXml::malformedTextIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain text") << u"hello"_s;
    QTest::newRow("unclosed") << u"<UpdateData><UserName>a</UserName>"_s;
    QTest::newRow("mismatched") << u"<UpdateData></Update>"_s;
    QTest::newRow("stray close") << u"<a/></a>"_s;
    QTest::newRow("bad name") << u"<1a/>"_s;
}

void TestCXml::malformedTextIsRefused()
{
    QFETCH(QString, text);
    CXml doc;
    QVERIFY(doc.AddElem(u"Keep", u"me"));
    const QString before = doc.GetDoc();
    QVERIFY(!doc.SetDoc(text));
    QCOMPARE(doc.GetDoc(), before);
}

void TestCXml::refusesBadNamesAndOrphanChildren()
{
    CXml doc;
    QVERIFY(doc.IsEmpty());
    QVERIFY(!doc.AddChildElem(u"Orphan", 1)); // no main element yet
    QVERIFY(!doc.AddElem(u""));
    QVERIFY(!doc.AddElem(u"two words"));
    QVERIFY(!doc.AddElem(u"<x>"));
    QVERIFY(doc.IsEmpty());
    QVERIFY(!doc.FindElem());
    QVERIFY(!doc.FindChildElem());
    QCOMPARE(doc.GetTagName(), QString());
    QCOMPARE(doc.GetChildData(), QString());
    QCOMPARE(doc.GetChildInt(-5), -5);
}

void TestCXml::textWithMarkupRoundTrips()
{
    const QString tricky = u"a < b & \"c\" > 'd' 😀 第二行\n末尾"_s;
    CXml doc;
    QVERIFY(doc.AddElem(u"UpdataStatusBarText"));
    QVERIFY(doc.AddChildElem(u"TextContent", tricky));
    QVERIFY(doc.AddChildElem(u"Control", u"a\u0001b"));
    QVERIFY(doc.AddChildElem(u"Number", -2147483648LL));

    CXml back;
    QVERIFY(back.SetDoc(doc.GetDoc()));
    QVERIFY(back.FindChildElem(u"TextContent"));
    QCOMPARE(back.GetChildData(), tricky);
    QVERIFY(back.FindChildElem(u"Control"));
    QCOMPARE(back.GetChildData(), u"ab"_s); // control characters cannot travel in XML
    QVERIFY(back.FindChildElem(u"Number"));
    QCOMPARE(back.GetChildInt(), -2147483648LL);
}

void TestCXml::copiesAreDeep()
{
    auto original = std::make_unique<CXml>();
    QVERIFY(original->AddElem(u"UpdateData"));
    QVERIFY(original->AddChildElem(u"UserName", u"王五"));
    CXml kept(*original);
    CXml assigned;
    assigned = *original;
    original.reset();
    for (CXml* doc : {&kept, &assigned}) {
        QVERIFY(doc->FindElem(u"UpdateData"));
        QVERIFY(doc->FindChildElem(u"UserName"));
        QCOMPARE(doc->GetChildData(), u"王五"_s);
    }
}

QTEST_GUILESS_MAIN(TestCXml)
#include "tst_cxml.moc"
