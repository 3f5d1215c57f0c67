#include "CPropertyDlg.h"
#include "DlgItem.h"
#include "DrawingLog.h"

#include <CDataExchange.h>
#include <CRes.h>
#include <CZorvaFont.h>
#include <LoadStr.h>
#include <StringIds.h>
#include <TestSeams.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestCPropertyDlg : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void startsWithItsLabelsTipsAndPickOnlyCategory();
    void backgroundRowsComeFromTheStrip();
    void backgroundBeyondTheStripIsPlainAndFollowsResize();
    void stripIsRenderedOnceAndErasesCopyTheCache();
    void failedDrawingResourcesAreLoggedAndThePanelStillErases();
    void titleHintComesAndGoesWithTheFocus();
    void emptyingTheTitleElsewherePutsTheHintInAndTakesTheFocus();
    void limitsHoldForTypingAndPaste();
    void categoryLongerThanTenIsRefusedOnReading();
    void rightClickInTheBodyOpensItsMenu();
    void bodyKeepsItsMarginsOnResize();
    void enterAndEscapeLeaveThePanelAlone();
    void tipsHideOnClicksRelayedByThePanel();
    void holdsEditsAgainstWhatWasMarkedClean_data();
    void holdsEditsAgainstWhatWasMarkedClean();

  private:
    // A host window with a detail panel of `size` at its top-left corner, shown and active.
    CPropertyDlg* createPanel(QSize size = QSize(267, 300));
    QString hint() const { return LoadStr(IDS_TITLE_HINT); }

    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<CPropertyDlg> m_panel;
};

namespace {

const QColor kFill(243, 247, 251);

CZorvaEdit& Title(const CPropertyDlg& pane)
{
    return DlgItem<CZorvaEdit>(pane, 21013);
}
CZOREditComboBox& Group(const CPropertyDlg& pane)
{
    return DlgItem<CZOREditComboBox>(pane, 21014);
}
CMenuRichEditCtrl& Body(const CPropertyDlg& pane)
{
    return DlgItem<CMenuRichEditCtrl>(pane, 21027);
}

// The panel's own painting (its background, without the controls) at device pixel ratio 1.
QImage background(CPropertyDlg& panel)
{
    QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::magenta); // shows through wherever nothing was painted
    panel.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// The strip as the cache should hold it: the fill colour under the strip's area of the skin.
QImage expectedStrip()
{
    QImage strip(269, 55, QImage::Format_ARGB32_Premultiplied);
    strip.fill(kFill);
    QPainter p(&strip);
    p.drawImage(QPoint(0, 0), CRes::GetInstance().GetCommonImg(), QRect(0, 52, 269, 55));
    return strip;
}

// The whole expected background of a panel of `size`.
QImage expectedBackground(QSize size)
{
    const QImage strip = expectedStrip();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kFill);
    const int h = size.height();
    for (int y = 0; y < h; ++y) {
        const int from = y < 27 ? y : (y < h - 27 ? 27 : y - (h - 27) + 28);
        for (int x = 0; x < std::min(269, size.width()); ++x)
            image.setPixel(x, y, strip.pixel(x, from));
    }
    QPainter p(&image);
    p.drawImage(QRect(4, 91, 262, 2), CRes::GetInstance().GetCommonImg(), QRect(0, 112, 262, 2));
    return image;
}

QString firstDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return u"size differs"_s;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return u"(%1, %2): %3 instead of %4"_s.arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
    return {};
}

QStringList logLines()
{
    QFile file(DrawingLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines;
    // Each entry is "\r\n<line>\r\n".
    for (const QString& part : text.split(u"\r\n"_s))
        if (!part.isEmpty())
            lines << part;
    return lines;
}

void sendRightClick(QWidget* target, QPoint local)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &event);
}

QColor defaultTextColour(const CRichEditCtrl& edit)
{
    CHARFORMATW format;
    edit.GetDefaultCharFormat(format);
    return QColor(GetRValue(format.crTextColor), GetGValue(format.crTextColor),
                  GetBValue(format.crTextColor));
}

// Records the edit's text whenever the focus arrives, before the edit itself reacts.
class FocusSpy : public QObject
{
  public:
    explicit FocusSpy(CRichEditCtrl* edit) : m_edit(edit) { edit->installEventFilter(this); }
    QStringList textsOnFocusIn;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_edit && e->type() == QEvent::FocusIn)
            textsOnFocusIn << m_edit->GetWindowTextW();
        return false;
    }

  private:
    CRichEditCtrl* m_edit;
};

QColor colourOf(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

void TestCPropertyDlg::initTestCase()
{
    CPropertyDlg::RegisterTemplate();
    QVERIFY(!hint().isEmpty());
}

void TestCPropertyDlg::cleanup()
{
    m_panel.reset();
    m_host.reset();
    QFile::remove(DrawingLogPath());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), w->metaObject()->className());
}

CPropertyDlg* TestCPropertyDlg::createPanel(QSize size)
{
    m_panel.reset();
    m_host = std::make_unique<QWidget>();
    m_host->resize(size + QSize(40, 40));
    m_panel = std::make_unique<CPropertyDlg>();
    if (!m_panel->Create(CPropertyDlg::IDD, m_host.get()))
        return nullptr;
    m_panel->setGeometry(QRect(QPoint(0, 0), size));
    m_host->show();
    m_host->activateWindow();
    if (!QTest::qWaitForWindowActive(m_host.get()))
        return nullptr;
    return m_panel.get();
}

void TestCPropertyDlg::startsWithItsLabelsTipsAndPickOnlyCategory()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    QVERIFY(dynamic_cast<CZorvaEdit*>(panel->GetDlgItem(21013)));
    QVERIFY(dynamic_cast<CZOREditComboBox*>(panel->GetDlgItem(21014)));
    QVERIFY(dynamic_cast<CMenuRichEditCtrl*>(panel->GetDlgItem(21027)));
    QCOMPARE(DlgItem<CZorvaStatic>(*panel, 21015).GetWindowTextW(), u"标题："_s);
    QCOMPARE(DlgItem<CZorvaStatic>(*panel, 21016).GetWindowTextW(), u"分组："_s);
    QCOMPARE(Title(*panel).GetWindowTextW(), u"全部"_s);
    QCOMPARE(Group(*panel).GetWindowTextW(), QString());
    QCOMPARE(Body(*panel).GetWindowTextW(), QString());
    QVERIFY(!Title(*panel).IsMultiLine());
    QVERIFY(Body(*panel).IsMultiLine());
    QCOMPARE(Group(*panel).IsInputEnabled(), FALSE);

    QVERIFY(panel->ToolTip().IsActive());
    QVERIFY(panel->ToolTip().IsBalloon());
    QCOMPARE(panel->ToolTip().Title(), u"提示"_s);
    QCOMPARE(panel->ToolTip().TitleIcon(), UINT(TTI_INFO));
    QCOMPARE(panel->ToolTip().GetText(&Title(*panel)), u"标题不得超过20个字！"_s);
    QCOMPARE(panel->ToolTip().GetText(&Body(*panel)), u"正文内容不得超过500个字！"_s);
    QCOMPARE(panel->ToolTip().GetText(&Group(*panel)), u"分组名称不得超过10个字！"_s);

    // The category picker takes no typing.
    Group(*panel).InsertString(-1, u"工作"_s);
    Group(*panel).lineEdit()->setFocus();
    QTest::keyClicks(Group(*panel).lineEdit(), u"abc"_s);
    QCOMPARE(Group(*panel).GetWindowTextW(), QString());
}

void TestCPropertyDlg::backgroundRowsComeFromTheStrip()
{
    CPropertyDlg* panel = createPanel(QSize(267, 300));
    QVERIFY(panel);
    const QImage strip = expectedStrip();
    // The strip is not uniform, so rows taken from the wrong place show.
    QVERIFY(strip.pixel(100, 0) != strip.pixel(100, 27));
    QVERIFY(strip.pixel(100, 54) != strip.pixel(100, 27));
    const QImage expected = expectedBackground(QSize(267, 300));
    QVERIFY(expected.pixel(100, 91) != strip.pixel(100, 27)); // the separator shows

    const QImage actual = background(*panel);
    const QString difference = firstDifference(actual, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // With the controls on top, the separator between picker and body still shows.
    const QImage grabbed = m_host->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(grabbed.devicePixelRatio(), 1.0);
    for (int x : {4, 100, 265})
        for (int y : {91, 92})
            QCOMPARE(grabbed.pixel(x, y), expected.pixel(x, y));
    QCOMPARE(grabbed.pixel(3, 91), strip.pixel(3, 27));
    QCOMPARE(grabbed.pixel(266, 92), strip.pixel(266, 27));
}

void TestCPropertyDlg::backgroundBeyondTheStripIsPlainAndFollowsResize()
{
    CPropertyDlg* panel = createPanel(QSize(320, 300));
    QVERIFY(panel);
    QImage actual = background(*panel);
    QString difference = firstDifference(actual, expectedBackground(QSize(320, 300)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    for (int y : {0, 30, 91, 150, 299})
        QCOMPARE(actual.pixelColor(300, y), kFill);

    panel->resize(267, 420);
    actual = background(*panel);
    difference = firstDifference(actual, expectedBackground(QSize(267, 420)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    panel->resize(290, 180);
    actual = background(*panel);
    difference = firstDifference(actual, expectedBackground(QSize(290, 180)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCPropertyDlg::stripIsRenderedOnceAndErasesCopyTheCache()
{
    CPropertyDlg* panel = createPanel(QSize(300, 300));
    QVERIFY(panel);
    QCOMPARE(panel->StripRenderCount(), 1);
    for (QSize size : {QSize(300, 360), QSize(267, 200), QSize(400, 500)}) {
        panel->resize(size);
        background(*panel);
        m_host->grab();
    }
    panel->DrawMemDC();
    QCOMPARE(panel->StripRenderCount(), 1);

    // Erasing takes the strip from the cache: a mark put there shows on every band.
    panel->StripCache().image().fill(QColor(200, 30, 40));
    const QImage actual = background(*panel);
    QCOMPARE(actual.pixelColor(10, 5), QColor(200, 30, 40));
    QCOMPARE(actual.pixelColor(268, 250), QColor(200, 30, 40));
    QCOMPARE(actual.pixelColor(10, 490), QColor(200, 30, 40));
    QCOMPARE(actual.pixelColor(269, 5), kFill);
    QCOMPARE(panel->StripRenderCount(), 1);
}

void TestCPropertyDlg::failedDrawingResourcesAreLoggedAndThePanelStillErases()
{
    QCOMPARE(QFileInfo(DrawingLogPath()).fileName(), u"addr.txt"_s);
    QCOMPARE(QFileInfo(DrawingLogPath()).absolutePath(),
             QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    QFile::remove(DrawingLogPath());
    const QImage expected = expectedBackground(QSize(267, 300));

    {
        KitTest::DrawingFailure failure(1450);
        CPropertyDlg* panel = createPanel();
        QVERIFY(panel);
        QStringList lines = logLines();
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines[0], u"CreateCompatibleDC<CPropertyDlg::DrawMemDC()><1450>"_s);
        QCOMPARE(lines[1], u"CreateCompatibleBitmap<CPropertyDlg::DrawMemDC()><1450>"_s);
        QVERIFY(!panel->StripCache().GetSafeHandle());

        const int before = int(lines.size());
        const QImage actual = background(*panel);
        lines = logLines();
        QCOMPARE(lines.size(), before + 1);
        QCOMPARE(lines.back(), u"CreateCompatibleDC<CPropertyDlg::OnEraseBkgnd><1450>"_s);
        for (int i = 2; i < lines.size(); ++i)
            QCOMPARE(lines[i], u"CreateCompatibleDC<CPropertyDlg::OnEraseBkgnd><1450>"_s);
        // Erased all the same: the fill and the separator, without the strip.
        QCOMPARE(actual.pixelColor(100, 5), kFill);
        QCOMPARE(actual.pixelColor(100, 150), kFill);
        QCOMPARE(actual.pixel(100, 91), expected.pixel(100, 91));
    }
    QFile::remove(DrawingLogPath());

    // Failing later, with the strip cached: one line per erase, and the panel still erased.
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    QVERIFY(logLines().isEmpty());
    KitTest::DrawingFailure failure(5);
    const QImage actual = background(*panel);
    QCOMPARE(logLines(), QStringList{u"CreateCompatibleDC<CPropertyDlg::OnEraseBkgnd><5>"_s});
    QFile file(DrawingLogPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\r\nCreateCompatibleDC<CPropertyDlg::OnEraseBkgnd><5>\r\n"));
    QCOMPARE(actual.pixelColor(100, 150), kFill);
    QCOMPARE(actual.pixel(100, 92), expected.pixel(100, 92));
}

void TestCPropertyDlg::titleHintComesAndGoesWithTheFocus()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    CZorvaEdit& title = Title(*panel);
    const QColor normal = colourOf(CZorvaFont::GetInstance().GetDefaultRichEditFont().crTextColor);
    const QColor grey = colourOf(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont().crTextColor);
    QVERIFY(normal != grey);

    // A title that is not the hint stays when the focus comes and goes.
    title.setFocus();
    QCOMPARE(title.GetWindowTextW(), u"全部"_s);
    Body(*panel).setFocus();
    QCOMPARE(title.GetWindowTextW(), u"全部"_s);

    // Emptied by the user, then left: the hint in grey.
    title.setFocus();
    title.SetSel(0, -1);
    QTest::keyClick(&title, Qt::Key_Delete);
    QCOMPARE(title.GetWindowTextW(), QString());
    QVERIFY(title.hasFocus());
    Body(*panel).setFocus();
    QCOMPARE(title.GetWindowTextW(), hint());
    QCOMPARE(defaultTextColour(title), grey);

    // Back into it: empty, in the normal format, and typing starts afresh.
    title.setFocus();
    QCOMPARE(title.GetWindowTextW(), QString());
    QCOMPARE(defaultTextColour(title), normal);
    QTest::keyClicks(&title, u"groceries"_s);
    QCOMPARE(title.GetWindowTextW(), u"groceries"_s);
    QCOMPARE(defaultTextColour(title), normal);
    QVERIFY(title.hasFocus());
}

void TestCPropertyDlg::emptyingTheTitleElsewherePutsTheHintInAndTakesTheFocus()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    CZorvaEdit& title = Title(*panel);
    title.SetWindowTextW(u"旧标题"_s);
    Body(*panel).setFocus();
    QVERIFY(Body(*panel).hasFocus());

    FocusSpy spy(&title);
    // As the memo panel clears the detail panel.
    title.SetSel(0, -1);
    title.ReplaceSel(QString());
    QVERIFY(title.hasFocus());
    QCOMPARE(spy.textsOnFocusIn, QStringList{hint()}); // the hint was in when the focus arrived
    QCOMPARE(title.GetWindowTextW(), QString());       // and the focus took it out again

    Body(*panel).setFocus();
    QCOMPARE(title.GetWindowTextW(), hint());
}

void TestCPropertyDlg::limitsHoldForTypingAndPaste()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    CZorvaEdit& title = Title(*panel);
    CMenuRichEditCtrl& body = Body(*panel);

    title.setFocus();
    title.SetSel(0, -1);
    title.ReplaceSel(u"一二三四五六七八九十"_s);
    QTest::keyClicks(&title, u"abcdefghijK"_s);
    QCOMPARE(title.GetWindowTextW(), u"一二三四五六七八九十abcdefghij"_s);

    title.SetSel(0, -1);
    QApplication::clipboard()->setText(u"0123456789abcdefghijklmno\nsecond line"_s);
    QTest::keyClick(&title, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(title.GetWindowTextW(), u"0123456789abcdefghij"_s);

    body.SetWindowTextW(QString(499, u'x'));
    body.setFocus();
    body.SetSel(499, 499);
    QTest::keyClicks(&body, u"yz"_s);
    QCOMPARE(body.GetWindowTextW(), QString(499, u'x') + u'y');

    body.SetSel(0, -1);
    QApplication::clipboard()->setText(QString(300, u'a') + u'\n' + QString(300, u'b'));
    QTest::keyClick(&body, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(body.GetWindowTextW(), QString(300, u'a') + u'\n' + QString(199, u'b'));
}

void TestCPropertyDlg::categoryLongerThanTenIsRefusedOnReading()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    KitTest::MessageBoxResponder answers;
    panel->Clear({u"工作"_s}, -1, false);

    panel->PutEdits({QString(), QString(), u"一二三四五六七八九十"_s});
    QCOMPARE(Group(*panel).GetWindowTextW(), u"一二三四五六七八九十"_s);
    QCOMPARE(panel->ReadEdits().group, u"一二三四五六七八九十"_s);
    QVERIFY(answers.calls().empty());

    // Eleven characters are shown whole, and refused when read back.
    panel->PutEdits({QString(), QString(), u"一二三四五六七八九十一"_s});
    QCOMPARE(Group(*panel).GetWindowTextW(), u"一二三四五六七八九十一"_s);
    panel->ReadEdits();
    QCOMPARE(answers.calls().size(), std::size_t(1));
    QCOMPARE(answers.calls().front().text, MaxCharsMessage(10));

    // Picking an entry makes it readable again.
    Group(*panel).SetCurSel(0);
    QCOMPARE(panel->ReadEdits().group, u"工作"_s);
    QCOMPARE(answers.calls().size(), std::size_t(1));
}

void TestCPropertyDlg::rightClickInTheBodyOpensItsMenu()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    KitTest::MenuResponder menus;
    Body(*panel).SetWindowTextW(u"正文"_s);
    Title(*panel).setFocus();
    menus.chooseNext(21007);
    sendRightClick(Body(*panel).viewport(), QPoint(20, 20));
    QCOMPARE(menus.menus().size(), std::size_t(1));
    QCOMPARE(menus.menus().front().owner, static_cast<QWidget*>(&Body(*panel)));
    QCOMPARE(menus.menus().front().items.size(), std::size_t(4));
    QCOMPARE(Body(*panel).GetSelText(), u"正文"_s);
    QVERIFY(Body(*panel).hasFocus());
}

void TestCPropertyDlg::bodyKeepsItsMarginsOnResize()
{
    CPropertyDlg* panel = createPanel(QSize(267, 300));
    QVERIFY(panel);
    const QRect title(71, 18, 162, 24);
    const QRect picker(71, 53, 162, 24);
    const QRect titleLabel(28, 22, 41, 24);
    const QRect groupLabel(28, 57, 41, 24);
    for (QSize size : {QSize(267, 300), QSize(330, 420), QSize(267, 260), QSize(267, 300)}) {
        panel->resize(size);
        const QString at = u"%1 x %2"_s.arg(size.width()).arg(size.height());
        QVERIFY2(Title(*panel).geometry() == title, qPrintable(at));
        QVERIFY2(Group(*panel).geometry() == picker, qPrintable(at));
        QVERIFY2(DlgItem<CZorvaStatic>(*panel, 21015).geometry() == titleLabel, qPrintable(at));
        QVERIFY2(DlgItem<CZorvaStatic>(*panel, 21016).geometry() == groupLabel, qPrintable(at));
        QVERIFY2(Body(*panel).geometry() == QRect(15, 103, size.width() - 27, size.height() - 118),
                 qPrintable(at));
    }
}

void TestCPropertyDlg::enterAndEscapeLeaveThePanelAlone()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    Title(*panel).SetWindowTextW(u"标题"_s);
    Body(*panel).SetWindowTextW(u"正文"_s);

    Title(*panel).setFocus();
    QTest::keyClick(&Title(*panel), Qt::Key_Return);
    QTest::keyClick(&Title(*panel), Qt::Key_Escape);
    panel->setFocus();
    QTest::keyClick(panel, Qt::Key_Enter);
    QTest::keyClick(panel, Qt::Key_Escape);
    Body(*panel).setFocus();
    Body(*panel).SetSel(-1, 0);
    QTest::keyClick(&Body(*panel), Qt::Key_Escape);

    QVERIFY(panel->isVisible());
    QVERIFY(panel->GetSafeHwnd());
    QCOMPARE(Title(*panel).GetWindowTextW(), u"标题"_s);
    QCOMPARE(Body(*panel).GetWindowTextW(), u"正文"_s);

    // In the body Enter is a new line.
    Body(*panel).SetSel(2, 2);
    QTest::keyClick(&Body(*panel), Qt::Key_Return);
    QCOMPARE(Body(*panel).GetWindowTextW(), u"正文\n"_s);
    QVERIFY(panel->isVisible());
}

void TestCPropertyDlg::tipsHideOnClicksRelayedByThePanel()
{
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    QVERIFY(panel->ToolTip().ShowTip(&Group(*panel)));
    QVERIFY(panel->ToolTip().IsTipVisible());
    // A click on the panel's own background, which is no tool: only the relay hides the tip.
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(250, 95));
    QVERIFY(!panel->ToolTip().IsTipVisible());
}

QTEST_MAIN(TestCPropertyDlg)
void TestCPropertyDlg::holdsEditsAgainstWhatWasMarkedClean_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("edited");
    QTest::newRow("nothing") << true << QString() << false;
    QTest::newRow("title") << true << u"title"_s << true;
    QTest::newRow("body") << true << u"body"_s << true;
    QTest::newRow("category") << true << u"category"_s << true;
    QTest::newRow("new memo: body") << false << u"body"_s << true;
    // For a memo not stored yet a category alone is not worth keeping.
    QTest::newRow("new memo: category") << false << u"category"_s << false;
}

void TestCPropertyDlg::holdsEditsAgainstWhatWasMarkedClean()
{
    QFETCH(bool, stored);
    QFETCH(QString, change);
    CPropertyDlg* panel = createPanel();
    QVERIFY(panel);
    panel->ShowMemo({u"标题"_s, u"正文"_s, u"工作"_s}, {u"工作"_s, u"生活"_s});
    QCOMPARE(Group(*panel).GetWindowTextW(), u"工作"_s);
    panel->MarkClean();
    QVERIFY(!panel->HoldsEdits(stored));
    if (change == u"title")
        Title(*panel).SetWindowTextW(u"新标题"_s);
    else if (change == u"body")
        Body(*panel).SetWindowTextW(u"新正文"_s);
    else if (change == u"category")
        Group(*panel).SetCurSel(1);
    QTEST(panel->HoldsEdits(stored), "edited");
    // The hint in an emptied title is no title, and no edit of an empty one.
    panel->Clear({u"工作"_s}, 0, false);
    panel->MarkClean();
    Body(*panel).setFocus();
    QCOMPARE(Title(*panel).GetWindowTextW(), hint());
    QVERIFY(!panel->HoldsEdits(stored));
}

#include "tst_cpropertydlg.moc"
