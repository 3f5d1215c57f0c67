// Qt strings and the records' UTF-16 views carry the same code units both ways: surrogate pairs, a
// lone half of one, an embedded NUL and the empty text are neither dropped, replaced nor cut.
#include <TextView.h>

#include <QTest>

#include <string>

Q_DECLARE_METATYPE(std::u16string)

class TestTextView : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void codeUnitsCrossUnchanged_data()
    {
        QTest::addColumn<std::u16string>("units");
        QTest::newRow("empty") << std::u16string();
        QTest::newRow("chinese") << std::u16string(u"备忘录");
        QTest::newRow("surrogate pair") << std::u16string(u"a\U0001F600b");
        QTest::newRow("lone high surrogate at the end") << std::u16string(u"ab\xD83D", 3);
        QTest::newRow("embedded NUL") << std::u16string(u"a\0b", 3);
    }
    void codeUnitsCrossUnchanged()
    {
        QFETCH(std::u16string, units);
        const QString text = FromTextView(units);
        QCOMPARE(text.size(), qsizetype(units.size()));
        QCOMPARE(text.toStdU16String(), units);
        QCOMPARE(std::u16string(TextView(text)), units);
    }

    void aViewReadsTheStringInPlace()
    {
        const QString text = QStringLiteral(u"标题");
        const std::u16string_view view = TextView(text);
        QCOMPARE(static_cast<const void*>(view.data()), static_cast<const void*>(text.utf16()));
        QCOMPARE(view.size(), std::size_t(2));
        QVERIFY(TextView(QString()).empty());
    }
};

QTEST_APPLESS_MAIN(TestTextView)
#include "tst_textview.moc"
