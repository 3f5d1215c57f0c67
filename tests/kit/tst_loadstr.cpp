#include "LoadStr.h"

#include <QRegularExpression>
#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

QList<UINT> moduleIds()
{
    QList<UINT> ids{186, 201};
    for (UINT id = 206; id <= 217; ++id)
        ids << id;
    for (UINT id = 219; id <= 238; ++id)
        ids << id;
    return ids;
}

// The printf conversions of a text, in order ("%%" is a literal percent sign).
QStringList conversions(const QString& text)
{
    static const QRegularExpression conversion(u"%(%|[-+ #0]*\\d*(?:\\.\\d+)?(?:l|ll|h)?[a-zA-Z])"_s);
    QStringList found;
    for (const auto& match : conversion.globalMatch(text))
        if (match.captured(1) != u"%")
            found << match.captured(0);
    return found;
}

} // namespace

class TestLoadStr : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void everyModuleIdHasAText();
    void formatsTakeTheirArguments();
    void statusTextFitsItsBuffer();
    void unknownIdsAreEmpty();
};

void TestLoadStr::everyModuleIdHasAText()
{
    for (UINT id : moduleIds()) {
        const QString text = LoadStr(id);
        QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString::number(id)));
        QVERIFY2(text == text.trimmed(), qPrintable(QString::number(id)));
    }
    // Menu entries and button captions are short; the title hint fits in a 20-character title.
    for (UINT id : {206u, 207u, 232u, 238u, 216u, 217u, 219u, 224u, 225u, 226u, 227u})
        QVERIFY2(LoadStr(id).size() <= 6, qPrintable(QString::number(id)));
    QVERIFY(LoadStr(222).size() <= 20);
}

void TestLoadStr::formatsTakeTheirArguments()
{
    for (UINT id : moduleIds()) {
        QStringList expected;
        if (id == 208 || id == 209)
            expected = {u"%s"_s};
        else if (id == 233)
            expected = {u"%d"_s};
        else if (id == 236 || id == 237)
            expected = {u"%d"_s, u"%d"_s};
        QCOMPARE(conversions(LoadStr(id)), expected);
    }
    const QString refused = FormatStr(LoadStr(209), u"其它"_s);
    QVERIFY(refused.contains(u"其它"));
    QVERIFY(!refused.contains(u'%'));
    QVERIFY(FormatStr(LoadStr(208), u"全部").contains(u"全部"));
    QCOMPARE(FormatStr(LoadStr(236), 7, 20), LoadStr(236).replace(u"%d/%d"_s, u"7/20"_s));
}

void TestLoadStr::statusTextFitsItsBuffer()
{
    for (int rows : {0, 1, 100, INT_MAX, INT_MIN}) {
        const QString status = FormatStr(LoadStr(233), rows);
        QVERIFY2(status.size() <= 47, qPrintable(status));
        QVERIFY(status.contains(QString::number(rows)));
    }
}

void TestLoadStr::unknownIdsAreEmpty()
{
    QCOMPARE(LoadStr(0), QString());
    QCOMPARE(LoadStr(218), QString());
    QCOMPARE(LoadStr(UINT_MAX), QString());
}

QTEST_GUILESS_MAIN(TestLoadStr)
#include "tst_loadstr.moc"
