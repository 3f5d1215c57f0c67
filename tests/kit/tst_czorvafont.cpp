#include "CZorvaFont.h"

#include <QFont>
#include <QTest>
#include <QTextCharFormat>

using namespace Qt::StringLiterals;

class TestCZorvaFont : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void labelFontsBecomeQtFonts();
    void richEditFormatsDifferOnlyInColour();
    void charFormatMaskDecidesWhatIsSet();
    void faceNamesAreCutWithTheirTerminator();
};

void TestCZorvaFont::labelFontsBecomeQtFonts()
{
    const CZorvaFont& fonts = CZorvaFont::GetInstance();
    QCOMPARE(&fonts, &CZorvaFont::GetInstance());
    const QFont label = FontFromLogFont(fonts.GetDefaultLableFont());
    const QFont team = FontFromLogFont(fonts.GetMemoPropertyDlgTeamLableFont());
    QCOMPARE(label.families().value(0), CZorvaFont::FaceName());
    QCOMPARE(label.pixelSize(), 12);
    QCOMPARE(label.weight(), QFont::Normal);
    QVERIFY(team.weight() > label.weight());
    QCOMPARE(team.pixelSize(), label.pixelSize());
}

void TestCZorvaFont::richEditFormatsDifferOnlyInColour()
{
    const CZorvaFont& fonts = CZorvaFont::GetInstance();
    const QTextCharFormat normal = CharFormatToQt(fonts.GetDefaultRichEditFont());
    const QTextCharFormat hint = CharFormatToQt(fonts.GetSearchRichEditDefaultFont());
    QCOMPARE(normal.fontFamilies().toStringList(), QStringList{CZorvaFont::FaceName()});
    QCOMPARE(normal.fontPointSize(), 10.0);
    QCOMPARE(hint.fontPointSize(), normal.fontPointSize());
    QCOMPARE(normal.foreground().color(), QColor(0x22, 0x2B, 0x36));
    QVERIFY(hint.foreground().color().lightness() > normal.foreground().color().lightness() + 80);

    // Back to a CHARFORMATW, what the rich edit reports as its format.
    const CHARFORMATW back = CharFormatFromQt(hint);
    QCOMPARE(back.crTextColor, CZorvaFont::HintColour);
    QCOMPARE(back.yHeight, 200);
    QCOMPARE(FaceName(back.szFaceName), CZorvaFont::FaceName());
    QCOMPARE(back.dwEffects & (CFE_BOLD | CFE_ITALIC), DWORD(0));
}

void TestCZorvaFont::charFormatMaskDecidesWhatIsSet()
{
    CHARFORMATW format;
    format.dwMask = CFM_BOLD | CFM_COLOR;
    format.dwEffects = CFE_BOLD | CFE_ITALIC; // italic not in the mask
    format.crTextColor = RGB(255, 0, 0);
    format.yHeight = 400;
    const QTextCharFormat qt = CharFormatToQt(format);
    QCOMPARE(qt.fontWeight(), int(QFont::Bold));
    QCOMPARE(qt.foreground().color(), QColor(255, 0, 0));
    QVERIFY(!qt.hasProperty(QTextFormat::FontItalic));
    QVERIFY(!qt.hasProperty(QTextFormat::FontPointSize));
    QVERIFY(!qt.hasProperty(QTextFormat::FontFamilies));
}

void TestCZorvaFont::faceNamesAreCutWithTheirTerminator()
{
    LOGFONTW font;
    SetFaceName(font.lfFaceName, QString(40, u'x'));
    QCOMPARE(FaceName(font.lfFaceName), QString(31, u'x'));
    QCOMPARE(font.lfFaceName[31], u'\0');
    SetFaceName(font.lfFaceName, u"宋体"_s);
    QCOMPARE(FaceName(font.lfFaceName), u"宋体"_s);
    QCOMPARE(font.lfFaceName[2], u'\0');
}

QTEST_GUILESS_MAIN(TestCZorvaFont)
#include "tst_czorvafont.moc"
