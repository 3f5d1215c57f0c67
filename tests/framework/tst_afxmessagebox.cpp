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
constexpr int kName = 9310;
constexpr int kCount = 9311;

// Data exchange with both checks that can refuse: a name of at most 3 characters, a number.
class FormDlg : public CDialog
{
public:
    FormDlg() : CDialog(kTemplate) {}
    QString m_strName;
    int m_nCount = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kName, m_strName);
        DDV_MaxChars(pDX, m_strName, 3);
        DDX_Text(pDX, kCount, m_nCount);
    }
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
            kTemplate,
            [](QDialog* d) {
                for (int id : {kName, kCount})
                    (new QLineEdit(d))->setObjectName(u"id"_s + QString::number(id));
            },
            WS_POPUP);
    }

    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    void dataExchangeRefusalsAskThroughTheFrameworksBox()
    {
        FrameworkTest::MessageBoxResponder responder;
        FormDlg dlg;
        QVERIFY(dlg.Create(kTemplate));
        qobject_cast<QLineEdit*>(dlg.GetDlgItem(kName))->setMaxLength(100); // past the limit loading set
        SetWindowText(dlg.GetDlgItem(kName), u"abcd"_s);
        SetWindowText(dlg.GetDlgItem(kCount), u"7"_s);
        QCOMPARE(dlg.UpdateData(TRUE), FALSE);
        SetWindowText(dlg.GetDlgItem(kName), u"abc"_s);
        SetWindowText(dlg.GetDlgItem(kCount), u"seven"_s);
        QCOMPARE(dlg.UpdateData(TRUE), FALSE);

        QCOMPARE(responder.calls().size(), std::size_t(2));
        const FrameworkTest::MessageBoxCall& tooLong = responder.calls()[0];
        QCOMPARE(tooLong.text, MaxCharsMessage(3));
        QCOMPARE(tooLong.caption, u"提示"_s);
        QCOMPARE(tooLong.style, MB_ICONEXCLAMATION);
        QCOMPARE(tooLong.owner, &dlg);
        QCOMPARE(responder.calls()[1].text, u"请输入一个整数。"_s);
        QCOMPARE(responder.calls()[1].style, MB_ICONEXCLAMATION);
        dlg.DestroyWindow();
    }

    void responderComesBeforeThePresenter()
    {
        QWidget owner;
        QVERIFY(AfxSetMessageBoxPresenter(&presentAsYes) == nullptr); // none without a UI library
        {
            FrameworkTest::MessageBoxResponder responder(IDCANCEL);
            responder.queueAnswers({IDNO});
            QCOMPARE(AfxMessageBox(u"q"_s, MB_YESNO | MB_ICONQUESTION, &owner), IDNO);
            QCOMPARE(AfxMessageBox(u"n"_s), IDCANCEL); // the queue is empty: the default answer
            QCOMPARE(responder.calls().size(), std::size_t(2));
            QCOMPARE(responder.calls()[0].owner, &owner);
            QCOMPARE(responder.calls()[1].style, MB_OK);
        }
        QVERIFY(g_presented.empty());

        QCOMPARE(AfxMessageBox(u"w"_s, MB_ICONEXCLAMATION, &owner), IDYES);
        QCOMPARE(g_presented.size(), std::size_t(1));
        QCOMPARE(g_presented[0].text, u"w"_s);
        QCOMPARE(g_presented[0].caption, u"提示"_s);
        QCOMPARE(g_presented[0].style, MB_ICONEXCLAMATION);
        QCOMPARE(g_presented[0].owner, &owner);
        QVERIFY(AfxSetMessageBoxPresenter(nullptr) == &presentAsYes);
    }

    void plainBoxAnswersWithTheButtonPressed_data()
    {
        QTest::addColumn<uint>("style");
        QTest::addColumn<QString>("press"); // a button's text; empty: Escape
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("warning, OK") << MB_ICONEXCLAMATION << u"确定"_s << IDOK << int(QMessageBox::Warning);
        QTest::newRow("question, No")
            << (MB_YESNO | MB_ICONQUESTION) << u"否"_s << IDNO << int(QMessageBox::Question);
        QTest::newRow("question, Escape")
            << (MB_YESNO | MB_ICONQUESTION) << QString() << IDNO << int(QMessageBox::Question);
        QTest::newRow("ok-cancel, Escape")
            << MB_OKCANCEL << QString() << IDCANCEL << int(QMessageBox::NoIcon);
        QTest::newRow("yes-no-cancel, Yes")
            << (MB_YESNOCANCEL | MB_ICONINFORMATION) << u"是"_s << IDYES << int(QMessageBox::Information);
    }

    void plainBoxAnswersWithTheButtonPressed()
    {
        QFETCH(uint, style);
        QFETCH(QString, press);
        QFETCH(int, answer);
        FrameworkTest::ModalDriver driver;
        QString title, text;
        int icon = -1;
        driver.onNextModal([&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = int(box->icon());
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press)
                    QTest::mouseClick(b, Qt::LeftButton);
            if (press.isEmpty())
                QTest::keyClick(d, Qt::Key_Escape);
        });
        QCOMPARE(AfxMessageBox(u"文本"_s, style), answer);
        QCOMPARE(driver.leftOpen(), 0); // the button pressed was there
        QCOMPARE(title, u"提示"_s);
        QCOMPARE(text, u"文本"_s);
        QTEST(icon, "icon");
    }
};

QTEST_MAIN(TestAfxMessageBox)
#include "tst_afxmessagebox.moc"
