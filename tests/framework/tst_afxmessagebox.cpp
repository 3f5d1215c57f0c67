// The framework's own message box, which data exchange asks through: a test's responder answers
// before any presenter a UI library installs, and without either a plain box asks.
#include "AfxMessageBox.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CDialogTemplate.h"
#include "FrameworkTestSeams.h"
#include "WinDefs.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr UINT kTemplate = 9301;
constexpr int kCount = 9311;

class CountDlg : public CDialog
{
  public:
    CountDlg() : CDialog(kTemplate) {}
    int m_nCount = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kCount, m_nCount); }
};

std::vector<FrameworkTest::MessageBoxCall> g_presented;

int presentAsYes(const QString& text, const QString& caption, UINT style, QWidget* owner)
{
    g_presented.push_back({text, caption, style, owner, IDYES});
    return IDYES;
}

} // namespace

class TestAfxMessageBox : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(
            kTemplate, [](QDialog* d) { (new QLineEdit(d))->setObjectName(u"id%1"_s.arg(kCount)); },
            WS_POPUP);
    }

    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    void theResponderAnswersBeforeThePresenter()
    {
        QVERIFY(AfxSetMessageBoxPresenter(&presentAsYes) == nullptr); // none without a UI library
        CountDlg dlg;
        QVERIFY(dlg.Create(kTemplate));
        SetWindowText(dlg.GetDlgItem(kCount), u"seven"_s);
        {
            FrameworkTest::MessageBoxResponder responder(IDNO);
            QCOMPARE(dlg.UpdateData(TRUE), FALSE); // data exchange refuses through the box
            QCOMPARE(AfxMessageBox(u"q"_s, MB_YESNO), IDNO);
            QCOMPARE(responder.calls().size(), std::size_t(2));
            QCOMPARE(responder.calls()[0].owner, &dlg);
        }
        QVERIFY(g_presented.empty());

        QCOMPARE(AfxMessageBox(u"w"_s, MB_ICONEXCLAMATION, &dlg), IDYES);
        QCOMPARE(g_presented.size(), std::size_t(1));
        QCOMPARE(g_presented[0].owner, &dlg);
        QVERIFY(AfxSetMessageBoxPresenter(nullptr) == &presentAsYes);
        dlg.DestroyWindow();
    }

    void plainBoxAnswersWithTheButtonPressed_data()
    {
        QTest::addColumn<uint>("style");
        QTest::addColumn<QString>("press"); // a button's text; empty: Escape
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("warning, OK") << MB_ICONEXCLAMATION << u"确定"_s << IDOK << int(QMessageBox::Warning);
        QTest::newRow("question, Escape")
            << (MB_YESNO | MB_ICONQUESTION) << QString() << IDNO << int(QMessageBox::Question);
        QTest::newRow("yes-no-cancel, Yes")
            << (MB_YESNOCANCEL | MB_ICONINFORMATION) << u"是"_s << IDYES << int(QMessageBox::Information);
    }

    void plainBoxAnswersWithTheButtonPressed()
    {
        QFETCH(uint, style);
        QFETCH(QString, press);
        FrameworkTest::ModalDriver driver;
        int icon = -1;
        driver.onNextModal([&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            QVERIFY(box);
            icon = int(box->icon());
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press)
                    QTest::mouseClick(b, Qt::LeftButton);
            if (press.isEmpty())
                QTest::keyClick(d, Qt::Key_Escape);
        });
        QTEST(AfxMessageBox(u"文本"_s, style), "answer");
        QCOMPARE(driver.leftOpen(), 0); // the button pressed was there
        QTEST(icon, "icon");
    }
};

QTEST_MAIN(TestAfxMessageBox)
#include "tst_afxmessagebox.moc"
