#include "LeadingInteger.h"

#include <QTest>

#include <climits>

class TestLeadingInteger : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void readsTheNumberATextStartsWith_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << QStringLiteral("5") << 5;
        QTest::newRow("white space, sign, tail") << QStringLiteral(" \t\n+12abc") << 12;
        QTest::newRow("negative") << QStringLiteral("-3_1") << -3;
        QTest::newRow("no digits") << QStringLiteral("abc") << 0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("space inside") << QStringLiteral("1 2") << 1;
        QTest::newRow("full-width digits are not digits") << QStringLiteral(u"５") << 0;
        QTest::newRow("too large") << QStringLiteral("99999999999999999999") << INT_MAX;
        QTest::newRow("too small") << QStringLiteral("-99999999999999999999") << INT_MIN;
        QTest::newRow("smallest") << QStringLiteral("-2147483648") << INT_MIN;
    }
    void readsTheNumberATextStartsWith()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ReadLeadingInteger(text.toStdU16String()), value);
    }
};

QTEST_APPLESS_MAIN(TestLeadingInteger)
#include "tst_leadinginteger.moc"
