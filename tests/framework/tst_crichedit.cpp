#include "CDialogTemplate.h"
#include "CRichEditCtrl.h"
#include "CZorvaPoupDlg.h"
#include "TestSeams.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

constexpr UINT kTemplate = 9400;
constexpr int kTitle = 21034;
constexpr int kBody = 21036;

const QString kEmoji = QStringLiteral(u"\U0001F600"); // one character, two UTF-16 units

// A dialog holding one single-line and one multi-line rich edit, counting notifications.
class EditDlg : public CZorvaPoupDlg
{
  public:
    EditDlg() : CZorvaPoupDlg(kTemplate)
    {
        for (UINT code : {EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS, EN_SELCHANGE})
            for (int id : {kTitle, kBody})
                MapNotify(id, code, [this, id, code] {
                    log.push_back({id, code});
                    if (onNotify)
                        onNotify(id, code);
                    return LRESULT(0);
                });
    }
    CRichEditCtrl m_title, m_body;
    QString m_strTitle;
    std::vector<std::pair<int, UINT>> log;
    std::function<void(int, UINT)> onNotify;

    int count(int id, UINT code) const
    {
        return int(std::count(log.begin(), log.end(), std::make_pair(id, code)));
    }

  protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kTitle, m_title);
        DDX_Control(pDX, kBody, m_body);
        DDX_Text(pDX, kTitle, m_strTitle);
    }
};

// Runs `test` inside the dialog's modal loop (the window shown and active), then ends it.
void withDialog(EditDlg& dlg, const std::function<void()>& test)
{
    KitTest::ModalDriver driver;
    driver.onNextModal([&](QDialog* d) {
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        test();
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

void type(QWidget* w, const QString& text)
{
    w->setFocus();
    QTest::keyClicks(w, text);
}

// A key press that produces `text`, as a keyboard or an input method delivers it.
void typeUnits(QWidget* w, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

} // namespace

class TestCRichEdit : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(kTemplate, [](QDialog* d) {
            d->resize(400, 300);
            auto* title = new QLineEdit(d);
            title->setObjectName(QStringLiteral("id21034"));
            title->setGeometry(10, 10, 200, 24);
            auto* body = new QTextEdit(d);
            body->setObjectName(QStringLiteral("id21036"));
            body->setGeometry(10, 50, 300, 150);
            auto* ok = new QPushButton(QStringLiteral("OK"), d);
            ok->setObjectName(QStringLiteral("id1"));
            ok->setDefault(true);
            ok->setGeometry(10, 250, 80, 30);
        });
    }

    void init() { QApplication::clipboard()->clear(); }

    void typingStopsAtTheLimit()
    {
        CRichEditCtrl edit;
        edit.LimitText(20);
        edit.show();
        type(&edit, QStringLiteral("abcdefghijklmnopqrst")); // 20
        QCOMPARE(edit.GetTextLength(), 20L);
        QTest::keyClick(&edit, Qt::Key_U); // the 21st
        QCOMPARE(edit.windowText(), QStringLiteral("abcdefghijklmnopqrst"));
        // Typing over a selection replaces it within the limit.
        edit.SetSel(0, 2);
        type(&edit, QStringLiteral("XYZ"));
        QCOMPARE(edit.windowText(), QStringLiteral("XYcdefghijklmnopqrst"));
        // Deleting makes room again.
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, QStringLiteral("Q"));
        QCOMPARE(edit.windowText(), QStringLiteral("XQcdefghijklmnopqrst"));
    }

    void pasteKeepsWhatFits()
    {
        CRichEditCtrl edit;
        edit.LimitText(20);
        edit.show();
        edit.setFocus();
        const QString thirty = QStringLiteral("0123456789abcdefghijABCDEFGHIJ");
        QApplication::clipboard()->setText(thirty);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier); // the user's paste
        QCOMPARE(edit.windowText(), thirty.left(20));
        edit.Paste(); // full: nothing more
        QCOMPARE(edit.windowText(), thirty.left(20));
        edit.SetSel(0, 5);
        edit.Paste(); // replaces five
        QCOMPARE(edit.windowText(), thirty.left(5) + thirty.mid(5, 15));
    }

    void aSurrogatePairIsNeverCut()
    {
        CRichEditCtrl edit;
        edit.LimitText(5);
        edit.show();
        edit.SetWindowTextW(QStringLiteral("abcd") + kEmoji); // 6 units: the pair does not fit
        QCOMPARE(edit.windowText(), QStringLiteral("abcd"));
        QApplication::clipboard()->setText(kEmoji + QStringLiteral("x"));
        edit.SetSel(4, 4);
        edit.Paste();
        QCOMPARE(edit.windowText(), QStringLiteral("abcd"));
        edit.ReplaceSel(kEmoji);
        QCOMPARE(edit.windowText(), QStringLiteral("abcd"));
        typeUnits(&edit, kEmoji);
        typeUnits(&edit, kEmoji.left(1)); // the halves one by one
        typeUnits(&edit, kEmoji.mid(1));
        QCOMPARE(edit.windowText(), QStringLiteral("abcd"));
        edit.SetWindowTextW(QStringLiteral("abc"));
        typeUnits(&edit, kEmoji);
        QCOMPARE(edit.windowText(), QStringLiteral("abc") + kEmoji);
    }

    void changeNotificationsFollowTheEventMask()
    {
        EditDlg dlg;
        withDialog(dlg, [&] {
            type(&dlg.m_title, QStringLiteral("ab"));
            QCOMPARE(dlg.count(kTitle, EN_CHANGE), 0); // the mask starts empty
            QCOMPARE(dlg.m_title.SetEventMask(dlg.m_title.GetEventMask() | ENM_CHANGE), ENM_NONE);
            type(&dlg.m_title, QStringLiteral("c"));
            QCOMPARE(dlg.count(kTitle, EN_CHANGE), 1);
            dlg.m_title.SetWindowTextW(QStringLiteral("set by the program"));
            QCOMPARE(dlg.count(kTitle, EN_CHANGE), 2);
            CHARFORMATW red;
            red.dwMask = CFM_COLOR;
            red.crTextColor = RGB(255, 0, 0);
            dlg.m_title.SetDefaultCharFormat(red); // a format is no change
            QCOMPARE(dlg.count(kTitle, EN_CHANGE), 2);
            QCOMPARE(dlg.count(kTitle, EN_SELCHANGE), 0);
            dlg.m_title.SetEventMask(ENM_SELCHANGE);
            dlg.m_title.SetSel(0, 3);
            QCOMPARE(dlg.count(kTitle, EN_SELCHANGE), 1);
            type(&dlg.m_title, QStringLiteral("x"));
            QCOMPARE(dlg.count(kTitle, EN_CHANGE), 2); // no longer in the mask
        });
    }

    void focusNotificationsAlwaysArrive()
    {
        EditDlg dlg;
        withDialog(dlg, [&] {
            dlg.m_title.setFocus();
            QTRY_VERIFY(dlg.m_title.hasFocus());
            dlg.m_body.setFocus();
            QTRY_VERIFY(dlg.m_body.hasFocus());
            QCOMPARE(dlg.count(kTitle, EN_SETFOCUS), 1);
            QCOMPARE(dlg.count(kTitle, EN_KILLFOCUS), 1);
            QCOMPARE(dlg.count(kBody, EN_SETFOCUS), 1);
        });
    }

    void aHandlerThatSetsTheTextDoesNotRunItselfAgain()
    {
        EditDlg dlg;
        int runs = 0;
        dlg.onNotify = [&](int id, UINT code) {
            if (id != kTitle || code != EN_CHANGE)
                return;
            ++runs;
            if (dlg.m_title.windowText().isEmpty())
                dlg.m_title.SetWindowTextW(QStringLiteral("hint")); // as a title hint does
        };
        withDialog(dlg, [&] {
            dlg.m_title.SetEventMask(ENM_CHANGE);
            dlg.m_title.SetWindowTextW(QStringLiteral("a"));
            dlg.m_title.SetWindowTextW(QString());
            QCOMPARE(dlg.m_title.windowText(), QStringLiteral("hint"));
            QCOMPARE(runs, 2);
            // Writing members back through data exchange notifies nobody.
            dlg.m_strTitle = QStringLiteral("from the member");
            dlg.UpdateData(FALSE);
            QCOMPARE(dlg.m_title.windowText(), QStringLiteral("from the member"));
            QCOMPARE(runs, 2);
        });
    }

    // A text emptied through QTextEdit's own API: the handler puts a hint in, and the caret still
    // follows the text afterwards, so that what is typed next lands in it.
    void aHintForAnEmptiedTextLeavesTheCaretInTheText()
    {
        CRichEditCtrl edit;
        edit.show();
        edit.SetEventMask(ENM_CHANGE);
        connect(&edit, &CRichEditCtrl::notified, &edit, [&edit](UINT code) {
            if (code == EN_CHANGE && edit.windowText().isEmpty())
                edit.SetWindowTextW(QStringLiteral("hint"));
        });
        edit.SetWindowTextW(QStringLiteral("abc"));
        edit.setPlainText(QString());
        QTRY_COMPARE(edit.windowText(), QStringLiteral("hint"));
        edit.SetEventMask(ENM_NONE);
        edit.SetWindowTextW(QString());
        type(&edit, QStringLiteral("zzq"));
        QCOMPARE(edit.windowText(), QStringLiteral("zzq"));
        QCOMPARE(edit.textCursor().position(), 3);
    }

    // The handler runs once the edit is done: the selection it makes is the one that stays.
    void aHandlerSeesTheFinishedEdit_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("pasted with the keyboard") << true;
        QTest::newRow("ReplaceSel") << false;
    }
    void aHandlerSeesTheFinishedEdit()
    {
        QFETCH(bool, byKeyboard);
        CRichEditCtrl edit;
        edit.show();
        edit.SetWindowTextW(QStringLiteral("ab"));
        edit.SetEventMask(ENM_CHANGE);
        connect(&edit, &CRichEditCtrl::notified, &edit, [&edit](UINT code) {
            if (code == EN_CHANGE)
                edit.SetSel(0, -1);
        });
        QApplication::clipboard()->setText(QStringLiteral("cd"));
        if (byKeyboard)
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        else
            edit.ReplaceSel(QStringLiteral("cd"));
        QCOMPARE(edit.GetSelText(), QStringLiteral("abcd"));
    }

    void modifiedFollowsTheUserNotTheProgram()
    {
        CRichEditCtrl edit;
        edit.show();
        edit.SetWindowTextW(QStringLiteral("name"));
        QCOMPARE(edit.GetModify(), FALSE);
        type(&edit, QStringLiteral("x"));
        QCOMPARE(edit.GetModify(), TRUE);
        edit.SetWindowTextW(QStringLiteral("name"));
        QCOMPARE(edit.GetModify(), FALSE);
        edit.SetSel(0, -1);
        edit.ReplaceSel(QStringLiteral("name")); // the same text, but an edit
        QCOMPARE(edit.GetModify(), FALSE);       // nothing changed
        edit.ReplaceSel(QStringLiteral("other"));
        QCOMPARE(edit.GetModify(), TRUE);
        edit.SetModify(FALSE);
        QCOMPARE(edit.SendMessage(EM_GETMODIFY), LRESULT(0));
    }

    // Replacing the whole text without undo leaves the given text in one format, the caret after
    // it and nothing to undo, also when the text was already the same.
    void aReplacementWithoutUndoEndsTheHistory_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("partColoured");
        QTest::addColumn<QString>("after");
        QTest::newRow("other text") << QStringLiteral("one\ntwo") << false << QStringLiteral("three");
        QTest::newRow("the same text") << QStringLiteral("one\ntwo") << false << QStringLiteral("one\ntwo");
        QTest::newRow("the same text, part coloured")
            << QStringLiteral("one") << true << QStringLiteral("one");
    }
    void aReplacementWithoutUndoEndsTheHistory()
    {
        QFETCH(QString, before);
        QFETCH(bool, partColoured);
        QFETCH(QString, after);
        CRichEditCtrl edit;
        edit.SetMultiLine(true);
        edit.show();
        edit.SetWindowTextW(before);
        edit.SetSel(-1, -1);
        type(&edit, QStringLiteral("x")); // typed and taken back: the same text, with undo steps
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.windowText(), before);
        QVERIFY(edit.document()->isUndoAvailable());
        if (partColoured) {
            QTextCursor first(edit.document());
            first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            QTextCharFormat red;
            red.setForeground(Qt::red);
            first.mergeCharFormat(red);
        }
        edit.SetSel(0, -1);
        edit.ReplaceSel(after);
        QCOMPARE(edit.windowText(), after);
        QVERIFY(!edit.document()->isUndoAvailable());
        QCOMPARE(edit.textCursor().position(), int(after.size()));
        QVERIFY(!edit.textCursor().hasSelection());
        QTextCursor first(edit.document());
        first.setPosition(1);
        QCOMPARE(first.charFormat().foreground().color(),
                 edit.textCursor().charFormat().foreground().color());
    }

    // Paragraphs keep their shaped glyphs (no shaping again for each caret move or paint),
    // however they came to be: set and replaced, typed, brought back by undo.
    void everyParagraphKeepsItsGlyphs()
    {
        CRichEditCtrl edit;
        edit.SetMultiLine(true);
        edit.show();
        const auto allKept = [&edit] {
            for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next())
                if (!b.layout()->cacheEnabled())
                    return false;
            return true;
        };
        QVERIFY(allKept());
        edit.SetWindowTextW(QStringLiteral("one\ntwo\nthree"));
        edit.SetSel(4, 7); // "two" only: the other paragraphs are the ones the text setting made
        edit.ReplaceSel(QStringLiteral("2\n2b"), TRUE);
        QVERIFY(allKept());
        edit.SetSel(-1, -1);
        QTest::keyClick(&edit, Qt::Key_Return);
        QVERIFY(allKept());
        edit.SetSel(0, -1);
        QTest::keyClick(&edit, Qt::Key_Delete);
        edit.Undo();
        QVERIFY(allKept());
        QCOMPARE(edit.document()->blockCount(), 5);
    }

    void selectionAndClipboard()
    {
        CRichEditCtrl edit;
        edit.SetMultiLine(true);
        edit.SetWindowTextW(QStringLiteral("abc\r\ndef"));
        QCOMPARE(edit.windowText(), QStringLiteral("abc\ndef"));
        edit.SetSel(0, -1);
        long s = -1, e = -1;
        edit.GetSel(s, e);
        QCOMPARE(std::make_pair(s, e), std::make_pair(0L, 7L));
        edit.SetSel(1, 5);
        QCOMPARE(edit.GetSelText(), QStringLiteral("bc\nd"));
        edit.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bc\nd"));
        QCOMPARE(edit.windowText(), QStringLiteral("abc\ndef"));
        edit.SetSel(-1, 0);
        edit.GetSel(s, e);
        QCOMPARE(s, e);
        QApplication::clipboard()->setText(QStringLiteral("unchanged"));
        edit.Cut(); // nothing selected: nothing happens
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("unchanged"));
        QCOMPARE(edit.windowText(), QStringLiteral("abc\ndef"));
        edit.SetSel(0, -1);
        edit.SendMessage(WM_CUT);
        QCOMPARE(edit.windowText(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc\ndef"));
        edit.SendMessage(WM_PASTE);
        QCOMPARE(edit.windowText(), QStringLiteral("abc\ndef"));
    }

    void singleLineEnterIsTheDefaultButtonMultiLineTakesIt()
    {
        KitTest::ModalDriver driver;
        EditDlg dlg;
        bool multi = false, single = true;
        driver.onNextModal([&](QDialog*) {
            multi = dlg.m_body.IsMultiLine();
            single = !dlg.m_title.IsMultiLine();
            type(&dlg.m_body, QStringLiteral("a"));
            QTest::keyClick(&dlg.m_body, Qt::Key_Return);
            type(&dlg.m_body, QStringLiteral("b"));
            QVERIFY(dlg.isVisible());
            type(&dlg.m_title, QStringLiteral("t"));
            QTest::keyClick(&dlg.m_title, Qt::Key_Return);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
        QVERIFY(multi);
        QVERIFY(single);
        QCOMPARE(dlg.m_body.windowText(), QStringLiteral("a\nb"));
        QCOMPARE(dlg.m_title.windowText(), QStringLiteral("t")); // the popup's OK reads no controls

        // A single-line edit keeps the first line of what is pasted.
        CRichEditCtrl line;
        QApplication::clipboard()->setText(QStringLiteral("one\ntwo"));
        line.Paste();
        QCOMPARE(line.windowText(), QStringLiteral("one"));
    }

    void defaultFormatColoursTheTextAndWhatIsTyped()
    {
        CRichEditCtrl edit;
        edit.show();
        edit.SetWindowTextW(QStringLiteral("ab"));
        CHARFORMATW cf;
        cf.dwMask = CFM_COLOR | CFM_BOLD | CFM_SIZE;
        cf.dwEffects = CFE_BOLD;
        cf.crTextColor = RGB(128, 128, 128);
        cf.yHeight = 200; // 10 points
        QVERIFY(edit.SetDefaultCharFormat(cf));
        CHARFORMATW back;
        edit.GetDefaultCharFormat(back);
        QCOMPARE(back.crTextColor, RGB(128, 128, 128));
        QVERIFY(back.dwEffects & CFE_BOLD);
        QCOMPARE(back.yHeight, 200);
        QTextCursor c(edit.document());
        c.setPosition(1);
        QCOMPARE(c.charFormat().foreground().color(), QColor(128, 128, 128));
        QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
        edit.SetWindowTextW(QStringLiteral("new text"));
        c = QTextCursor(edit.document());
        c.setPosition(3);
        QCOMPARE(c.charFormat().foreground().color(), QColor(128, 128, 128));
        type(&edit, QStringLiteral("z"));
        c.setPosition(edit.GetTextLength());
        QCOMPARE(c.charFormat().foreground().color(), QColor(128, 128, 128));
    }

    // The default format reaches every paragraph break too, also when all the text already has it.
    void defaultFormatReachesEveryParagraphBreak()
    {
        CRichEditCtrl edit;
        edit.SetMultiLine(true);
        CHARFORMATW cf;
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = RGB(200, 0, 0);
        QVERIFY(edit.SetDefaultCharFormat(cf));
        edit.SetWindowTextW(QStringLiteral("a\n\nb"));
        QTextCursor c(edit.document());
        c.setPosition(1); // the break after "a", whose format the empty paragraph takes
        c.setPosition(2, QTextCursor::KeepAnchor);
        c.setCharFormat(QTextCharFormat());
        const QTextBlock empty = edit.document()->findBlockByNumber(1);
        QVERIFY(empty.charFormat().foreground().color() != QColor(200, 0, 0));
        QVERIFY(edit.SetDefaultCharFormat(cf));
        QCOMPARE(empty.charFormat().foreground().color(), QColor(200, 0, 0));
    }
};

QTEST_MAIN(TestCRichEdit)
#include "tst_crichedit.moc"
