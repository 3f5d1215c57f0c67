#include "DlgItem.h"

#include <CMemoEditDlg.h>
#include <CZorvaFont.h>
#include <LoadStr.h>
#include <StringIds.h>
#include <TestSeams.h>
#include <WinDefs.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

namespace {

enum Input { Typed, Pasted, Committed };

const QString kGroups[] = {QStringLiteral(u"工作"), QStringLiteral(u"生活"), QStringLiteral(u"学习")};

// Text as a keyboard (one key per character, Enter for a line break), the clipboard or an input
// method delivers it.
void Enter(QWidget* widget, const QString& text, Input how = Typed)
{
    widget->setFocus();
    if (how == Pasted) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    } else if (how == Committed) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(widget, &commit);
    } else {
        for (const QChar ch : text) {
            const Qt::Key key = ch == u'\n' ? Qt::Key_Return : ch == u' ' ? Qt::Key_Space : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, widget, key, ch == u'\n' ? QString() : QString(ch), {});
        }
    }
}

// The controls of template 21005, by id.
CZorvaEdit& Title(const QWidget& dlg)
{
    return DlgItem<CZorvaEdit>(dlg, 21034);
}
CZOREditComboBox& Group(const QWidget& dlg)
{
    return DlgItem<CZOREditComboBox>(dlg, 21035);
}
CZorvaEdit& Body(const QWidget& dlg)
{
    return DlgItem<CZorvaEdit>(dlg, 21036);
}
CZorvaStatic& TitleLabel(const QWidget& dlg)
{
    return DlgItem<CZorvaStatic>(dlg, 21037);
}
CZorvaStatic& BodyLabel(const QWidget& dlg)
{
    return DlgItem<CZorvaStatic>(dlg, 21039);
}

// Every text the title edit shows, from the dialog's first showing on (the controls are the
// dialog's from then).
class TitleTexts : public QObject
{
  public:
    explicit TitleTexts(QWidget& dlg) { dlg.installEventFilter(this); }
    QStringList texts;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !m_edit) {
            m_edit = &Title(*static_cast<QWidget*>(watched));
            texts << m_edit->GetWindowTextW();
            connect(m_edit, &QTextEdit::textChanged, this, [this] { texts << m_edit->GetWindowTextW(); });
        }
        return false;
    }

  private:
    CZorvaEdit* m_edit = nullptr;
};

COLORREF TextColour(const CZorvaEdit& edit)
{
    CHARFORMATW format;
    edit.GetDefaultCharFormat(format);
    return format.crTextColor;
}

} // namespace

class TestMemoEditDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<KitTest::ModalDriver> m_driver;
    std::unique_ptr<KitTest::MessageBoxResponder> m_boxes;

    // Prepares the dialog as the New command does and runs `action` inside its modal loop.
    INT_PTR run(CMemoEditDlg& dlg, const std::function<void(QDialog*)>& action)
    {
        dlg.Prepare(LoadStr(IDS_TITLE_HINT), QString(), {kGroups[0], kGroups[1], kGroups[2]}, 1);
        m_driver->onNextModal([&action](QDialog* d) {
            QVERIFY(QTest::qWaitForWindowActive(d)); // the focus moves only in the active window
            action(d);
        });
        return dlg.DoModal();
    }

    static void Click(QDialog* d, int id)
    {
        QTest::mouseClick(static_cast<QAbstractButton*>(static_cast<CDialog*>(d)->GetDlgItem(id)),
                          Qt::LeftButton);
    }

  private Q_SLOTS:
    void initTestCase() { CMemoEditDlg::RegisterTemplate(); }

    void init()
    {
        m_driver = std::make_unique<KitTest::ModalDriver>();
        m_boxes = std::make_unique<KitTest::MessageBoxResponder>();
    }

    void cleanup()
    {
        const int leftOpen = m_driver->leftOpen();
        m_boxes.reset();
        m_driver.reset();
        QCOMPARE(leftOpen, 0);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), "a window was left open");
    }

    void opensWithHintLabelsPickerAndTips()
    {
        CMemoEditDlg dlg;
        const TitleTexts shownTitles(dlg);
        const QStringList& titles = shownTitles.texts; // every text the title edit shows
        const INT_PTR result = run(dlg, [&](QDialog* d) {
            // The hint until the first show puts the focus into the title.
            QCOMPARE(titles, QStringList({LoadStr(IDS_TITLE_HINT), QString()}));
            QCOMPARE(d->focusWidget(), &Title(dlg));
            QCOMPARE(TitleLabel(dlg).text(), QStringLiteral(u"标题(0/20):"));
            QCOMPARE(BodyLabel(dlg).text(), QStringLiteral(u"内容(0/500):"));
            // The entries put in before the window existed, in order, with the preselected one.
            QCOMPARE(Group(dlg).GetCount(), 3);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(Group(dlg).GetLBText(i), kGroups[i]);
            QCOMPARE(Group(dlg).GetCurSel(), 1);
            QTest::keyClicks(Group(dlg).lineEdit(), QStringLiteral("abc")); // pick-only
            QCOMPARE(Group(dlg).currentText(), kGroups[1]);

            for (const auto& [tool, text] :
                 {std::pair<QWidget*, UINT>{&Title(dlg), 210}, {&Body(dlg), 211}, {&Group(dlg), 212}})
                QCOMPARE(dlg.ToolTip().GetText(tool), LoadStr(text));
            QCOMPARE(dlg.ToolTip().Title(), LoadStr(IDS_TIP_CAPTION));
            QVERIFY(dlg.ToolTip().TitleIcon() == TTI_INFO && dlg.ToolTip().IsBalloon());
            // Input anywhere in the dialog reaches the tips: a key in the title closes the body's.
            QVERIFY(dlg.ToolTip().ShowTip(&Body(dlg)));
            QTest::keyClick(&Title(dlg), Qt::Key_Shift);
            QVERIFY(!dlg.ToolTip().IsTipVisible());
            for (QWidget* control : d->findChildren<QWidget*>())
                if (GetDlgCtrlID(control))
                    QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));

            // The empty title takes the grey hint when it is left and drops it when entered.
            QCOMPARE(TextColour(Title(dlg)), CZorvaFont::TextColour);
            Body(dlg).setFocus();
            QCOMPARE(Title(dlg).GetWindowTextW(), LoadStr(IDS_TITLE_HINT));
            QCOMPARE(TextColour(Title(dlg)), CZorvaFont::HintColour);
            Title(dlg).setFocus();
            QCOMPARE(Title(dlg).GetWindowTextW(), QString());
            QCOMPARE(TextColour(Title(dlg)), CZorvaFont::TextColour);
            QTest::keyClick(&Body(dlg), Qt::Key_Escape);
        });
        QCOMPARE(result, INT_PTR(IDCANCEL));
        QVERIFY(m_boxes->calls().empty());
    }

    // One dialog object is run again for every New: whatever a run leaves behind, the next one
    // opens as a new dialog would.
    void aDialogRunAgainOpensAsNew()
    {
        CMemoEditDlg dlg;
        const std::function<void(QDialog*)> leftovers[] = {
            [&](QDialog*) { // texts typed, the body emptied again, a tip showing
                Enter(&Title(dlg), QStringLiteral(u"周报"));
                Enter(&Body(dlg), QStringLiteral(u"xyz"));
                for (int i = 0; i < 3; ++i)
                    QTest::keyClick(&Body(dlg), Qt::Key_Backspace);
                QVERIFY(dlg.ToolTip().ShowTip(&Body(dlg)));
            },
            [&](QDialog*) { // another category picked, the title left empty with its grey hint
                QTest::keyClick(&Group(dlg), Qt::Key_Down);
                Body(dlg).setFocus();
                QCOMPARE(TextColour(Title(dlg)), CZorvaFont::HintColour);
            },
            [&](QDialog*) {},
        };
        for (const auto& leave : leftovers) {
            const INT_PTR result = run(dlg, [&](QDialog* d) {
                QCOMPARE(d->focusWidget(), &Title(dlg));
                QCOMPARE(Title(dlg).GetWindowTextW(), QString());
                QCOMPARE(TextColour(Title(dlg)), CZorvaFont::TextColour);
                QCOMPARE(Body(dlg).GetWindowTextW(), QString());
                QVERIFY(!Title(dlg).CanUndo() && !Body(dlg).CanUndo());
                QCOMPARE(TitleLabel(dlg).text(), QStringLiteral(u"标题(0/20):"));
                QCOMPARE(BodyLabel(dlg).text(), QStringLiteral(u"内容(0/500):"));
                QVERIFY(!dlg.ToolTip().IsTipVisible());
                QCOMPARE(dlg.GetGroup(), kGroups[1]);
                leave(d);
                Click(d, IDCANCEL);
            });
            QCOMPARE(result, INT_PTR(IDCANCEL));
        }
    }

    void limitsHoldForEveryInputAndTheCountersFollow()
    {
        const QString twenty = QStringLiteral(u"一二三四五六七八九十甲乙丙丁戊己庚辛壬癸");
        const struct
        {
            bool body;
            Input how;
            QString input;
            int kept; // leading UTF-16 units of the input that the field keeps
        } cases[] = {
            {false, Typed, twenty.left(5), 5},
            {false, Typed, twenty + u'x', 20},
            {false, Pasted, twenty + twenty.left(10), 20},
            {false, Committed, twenty.left(19) + QStringLiteral(u"\U0001F600"), 19}, // no half pair
            {true, Typed, QString(501, u'文'), 500},
            {true, Pasted, QString(600, u'y'), 500},
            {true, Typed, QStringLiteral(u"a\nb"), 3}, // Enter in the body breaks the line
        };
        for (const auto& c : cases) {
            CMemoEditDlg dlg;
            QString shown, counter;
            const INT_PTR result = run(dlg, [&](QDialog* d) {
                CZorvaEdit& edit = c.body ? Body(dlg) : Title(dlg);
                Enter(&edit, c.input, c.how);
                shown = edit.GetWindowTextW();
                counter = (c.body ? BodyLabel(dlg) : TitleLabel(dlg)).text();
                Click(d, IDCANCEL);
            });
            QCOMPARE(result, INT_PTR(IDCANCEL));
            QCOMPARE(shown, c.input.left(c.kept));
            QCOMPARE(counter, c.body ? QStringLiteral(u"内容(%1/500):").arg(c.kept)
                                     : QStringLiteral(u"标题(%1/20):").arg(c.kept));
            QCOMPARE(c.body ? dlg.GetContent() : dlg.GetTitle(),
                     c.input.left(c.kept)); // Cancel read them too
        }
    }

    void okRefusesOnlyAnEmptyMemo()
    {
        const QString hint = LoadStr(IDS_TITLE_HINT);
        const QString milk = QStringLiteral(u"买牛奶");
        const struct
        {
            QString title;
            QString body;
            bool enterInTitle; // else the OK button, with the focus in the body
            int downs;         // the picker moved on to the next category
            bool refused;
            QString result; // GetTitle()
        } cases[] = {
            {QString(), QStringLiteral(u" \n\u3000\n "), false, 0, true, hint},
            {hint, QStringLiteral(u"  "), false, 0, true, hint},
            {QString(), milk, false, 1, false, hint},
            {QString(), milk, true, 0, false, QString()},
            {QStringLiteral(u"周报"), QString(), true, 0, false, QStringLiteral(u"周报")},
        };
        for (const auto& c : cases) {
            CMemoEditDlg dlg;
            m_boxes->clear();
            QString titleAfter, bodyAfter;
            const INT_PTR ended = run(dlg, [&](QDialog* d) {
                for (int i = 0; i < c.downs; ++i)
                    QTest::keyClick(&Group(dlg), Qt::Key_Down);
                Enter(&Title(dlg), c.title);
                Enter(&Body(dlg), c.body);
                if (c.enterInTitle)
                    Enter(&Title(dlg), QStringLiteral(u"\n"));
                else
                    Click(d, IDOK);
                if (d->isVisible()) {
                    titleAfter = Title(dlg).GetWindowTextW();
                    bodyAfter = Body(dlg).GetWindowTextW();
                    Click(d, IDCANCEL);
                }
            });
            QCOMPARE(ended, INT_PTR(c.refused ? IDCANCEL : IDOK));
            QCOMPARE(dlg.GetTitle(), c.result);
            QCOMPARE(dlg.GetContent(), c.body);
            QCOMPARE(dlg.GetGroup(), kGroups[1 + c.downs]);
            QCOMPARE(m_boxes->calls().size(), std::size_t(c.refused ? 1 : 0));
            if (c.refused) {
                const KitTest::MessageBoxCall& call = m_boxes->calls().front();
                QVERIFY(call.text == LoadStr(IDS_EMPTY_MEMO) && call.caption == LoadStr(IDS_MEMO_CAPTION) &&
                        call.style == 0 && call.owner == &dlg);
                QCOMPARE(titleAfter, c.result); // the texts stay as they were
                QCOMPARE(bodyAfter, c.body);
            }
        }
    }
};

QTEST_MAIN(TestMemoEditDlg)
#include "tst_memoeditdlg.moc"
