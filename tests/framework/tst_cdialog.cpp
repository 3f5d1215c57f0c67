#include "CDataExchange.h"
#include "CDialogTemplate.h"
#include "CZorvaPoupDlg.h"
#include "TestSeams.h"
#include "WinDefs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

constexpr UINT kNameTemplate = 9001;
constexpr UINT kPaneTemplate = 9002;
constexpr int kEdit = 9100;
constexpr int kLabel = 9101;

// A popup form as Designer writes it: controls named "id<number>".
void buildNameForm(QDialog* d)
{
    d->resize(300, 200);
    d->setWindowTitle(QStringLiteral("Dialog"));
    auto* label = new QLabel(QStringLiteral(u"请输入名称："), d);
    label->setObjectName(QStringLiteral("id9101"));
    label->setGeometry(10, 5, 150, 20);
    auto* edit = new QLineEdit(d);
    edit->setObjectName(QStringLiteral("id9100"));
    edit->setGeometry(20, 30, 120, 24);
    auto* ok = new QPushButton(QStringLiteral(u"确定"), d);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setDefault(true);
    ok->setGeometry(20, 150, 80, 30);
    auto* cancel = new QPushButton(QStringLiteral(u"取消"), d);
    cancel->setObjectName(QStringLiteral("id2"));
    cancel->setGeometry(120, 150, 80, 30);
    auto* hidden = new QPushButton(QStringLiteral("hidden"), d);
    hidden->setObjectName(QStringLiteral("id9102"));
    hidden->hide();
}

void buildPaneForm(QDialog* d)
{
    d->resize(200, 100);
    auto* edit = new QLineEdit(d);
    edit->setObjectName(QStringLiteral("id9200"));
}

class NameDlg : public CZorvaPoupDlg
{
  public:
    explicit NameDlg(QWidget* parent = nullptr) : CZorvaPoupDlg(kNameTemplate, parent)
    {
        SetPopupSize(254, 161);
        MapCommand(9102, &NameDlg::OnHidden);
        MapMessage(0x468, &NameDlg::OnPing);
    }

    QLineEdit m_edit; // attached by data exchange, like a member control
    QString m_strName;
    int m_nInit = 0;
    int m_nHidden = 0;
    std::vector<std::pair<WPARAM, LPARAM>> m_pings;

  protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CZorvaPoupDlg::DoDataExchange(pDX);
        DDX_Control(pDX, kEdit, m_edit);
        DDX_Text(pDX, kEdit, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
    }
    BOOL OnInitDialog() override
    {
        ++m_nInit;
        return CZorvaPoupDlg::OnInitDialog();
    }
    // The plain dialog OK: read the controls, close only if that succeeds.
    void OnOK() override { CDialog::OnOK(); }

  private:
    void OnHidden() { ++m_nHidden; }
    LRESULT OnPing(WPARAM w, LPARAM l)
    {
        m_pings.emplace_back(w, l);
        return 0;
    }
};

class Pane : public CDialog
{
  public:
    explicit Pane(int* destroyed) : CDialog(kPaneTemplate), m_destroyed(destroyed) {}
    int m_nShown = 0;

  protected:
    void OnShowWindow(BOOL bShow, UINT) override { m_nShown += bShow ? 1 : 0; }
    void OnNcDestroy() override
    {
        CDialog::OnNcDestroy();
        ++*m_destroyed;
        delete this; // a pane that owns itself, as the memo panel does
    }

  private:
    int* m_destroyed;
};

QPushButton* button(QDialog* d, int id)
{
    return qobject_cast<QPushButton*>(static_cast<CDialog*>(d)->GetDlgItem(id));
}

} // namespace

class TestCDialog : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(kNameTemplate, buildNameForm, WS_POPUP);
        CDialogTemplate::Register(kPaneTemplate, buildPaneForm, WS_CHILD | WS_VISIBLE);
    }

    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    void controlsAreFoundByIdAndMembersTakeTheirPlace()
    {
        KitTest::ModalDriver driver;
        NameDlg dlg;
        QVERIFY(!dlg.GetSafeHwnd());
        driver.onNextModal([&](QDialog* d) {
            QCOMPARE(d, &dlg);
            QVERIFY(dlg.GetSafeHwnd());
            QCOMPARE(dlg.GetDlgItem(kEdit), &dlg.m_edit);
            QCOMPARE(dlg.m_edit.parentWidget(), &dlg);
            QCOMPARE(dlg.m_edit.geometry(), QRect(20, 30, 120, 24));
            QVERIFY(dlg.m_edit.isVisible());
            QCOMPARE(dlg.findChildren<QLineEdit*>().size(), 1); // the template's edit is gone
            auto* label = qobject_cast<QLabel*>(dlg.GetDlgItem(kLabel));
            QVERIFY(label);
            QCOMPARE(label->text(), QStringLiteral(u"请输入名称："));
            QVERIFY(dlg.findChildren<QWidget*>(QStringLiteral("id9101")).isEmpty());
            QCOMPARE(dlg.size(), QSize(254, 161)); // the popup's own size wins over the form's
            QTest::mouseClick(button(d, IDCANCEL), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        QCOMPARE(driver.driven(), 1);
        QCOMPARE(driver.leftOpen(), 0);
        QVERIFY(!dlg.GetSafeHwnd());
    }

    void dataExchangeMovesTextBothWays()
    {
        KitTest::ModalDriver driver;
        NameDlg dlg;
        dlg.m_strName = QStringLiteral(u"分组");
        driver.onNextModal([&](QDialog*) {
            QCOMPARE(dlg.m_edit.text(), QStringLiteral(u"分组"));
            dlg.m_edit.setFocus();
            QTest::keyClicks(&dlg.m_edit, QStringLiteral("AB"));
            QTest::mouseClick(button(&dlg, IDOK), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
        QCOMPARE(dlg.m_strName, QStringLiteral(u"分组AB"));
        // After the run the window is gone; the member keeps the last exchange.
        dlg.m_edit.setText(QStringLiteral("changed later"));
        QCOMPARE(dlg.m_strName, QStringLiteral(u"分组AB"));
    }

    void maxCharsRefusesALongTextWithTheStandardMessage()
    {
        KitTest::ModalDriver driver;
        KitTest::MessageBoxResponder responder;
        NameDlg dlg;
        dlg.m_strName = QStringLiteral("old");
        bool stayedOpen = false;
        driver.onNextModal([&](QDialog*) {
            QCOMPARE(dlg.m_edit.maxLength(), 10); // loading set the control's limit
            dlg.m_edit.setMaxLength(100);
            dlg.m_edit.setText(QStringLiteral("abcdefghijk")); // 11 characters
            QTest::mouseClick(button(&dlg, IDOK), Qt::LeftButton);
            stayedOpen = dlg.isVisible();
            QVERIFY(dlg.m_edit.hasFocus() || !QApplication::focusWindow());
            dlg.m_edit.setText(QStringLiteral("abcdefghij")); // 10 fit
            QTest::mouseClick(button(&dlg, IDOK), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
        QVERIFY(stayedOpen);
        QCOMPARE(responder.calls().size(), std::size_t(1));
        const KitTest::MessageBoxCall& call = responder.calls().front();
        QCOMPARE(call.text, MaxCharsMessage(10));
        QVERIFY(call.text.contains(QStringLiteral("10")));
        QCOMPARE(call.style, MB_ICONEXCLAMATION);
        QCOMPARE(call.owner, &dlg);
        QCOMPARE(dlg.m_strName, QStringLiteral("abcdefghij"));
    }

    void updateDataReportsFailureWithoutClosing()
    {
        KitTest::ModalDriver driver;
        KitTest::MessageBoxResponder responder;
        NameDlg dlg;
        BOOL first = TRUE;
        BOOL second = FALSE;
        driver.onNextModal([&](QDialog*) {
            dlg.m_edit.setMaxLength(100);
            dlg.m_edit.setText(QString(11, QLatin1Char('x')));
            first = dlg.UpdateData(TRUE);
            dlg.m_edit.setText(QString(10, QLatin1Char('y')));
            second = dlg.UpdateData(TRUE);
            dlg.EndDialog(IDCANCEL);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        QCOMPARE(first, FALSE);
        QCOMPARE(second, TRUE);
        QCOMPARE(dlg.m_strName, QString(10, QLatin1Char('y')));
        QCOMPARE(responder.calls().size(), std::size_t(1));
    }

    void enterIsTheDefaultButtonAndEscapeCancels()
    {
        KitTest::ModalDriver driver;
        {
            NameDlg dlg;
            driver.onNextModal([&](QDialog*) {
                dlg.m_edit.setText(QStringLiteral("x"));
                QTest::keyClick(&dlg.m_edit, Qt::Key_Return);
            });
            QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
            QCOMPARE(dlg.m_strName, QStringLiteral("x"));
        }
        {
            NameDlg dlg;
            driver.onNextModal([&](QDialog*) { QTest::keyClick(&dlg.m_edit, Qt::Key_Escape); });
            QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        }
        {
            // The close button is Cancel as well.
            NameDlg dlg;
            driver.onNextModal([&](QDialog*) { dlg.close(); });
            QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        }
        QCOMPARE(driver.leftOpen(), 0);
    }

    void messageMapRunsInTheModalLoop()
    {
        KitTest::ModalDriver driver;
        NameDlg dlg;
        driver.onNextModal([&](QDialog*) {
            QVERIFY(PostMessage(&dlg, 0x468, 7, -3));
            QVERIFY(PostMessage(&dlg, 0x468, 8, 0));
            button(&dlg, 9102)->click();             // a hidden button's command still reaches its handler
            QVERIFY(PostMessage(&dlg, 0x777, 0, 0)); // not in the map: ignored
            // Ends once the posted messages were handled: they were posted before this.
            QMetaObject::invokeMethod(
                &dlg, [&] { dlg.EndDialog(IDOK); }, Qt::QueuedConnection);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
        QCOMPARE(dlg.m_pings.size(), std::size_t(2));
        QCOMPARE(dlg.m_pings[0], std::make_pair(WPARAM(7), LPARAM(-3)));
        QCOMPARE(dlg.m_pings[1].first, WPARAM(8));
        QCOMPARE(dlg.m_nHidden, 1);
    }

    void aDialogLeftOpenByItsActionIsEnded()
    {
        KitTest::ModalDriver driver;
        NameDlg dlg;
        driver.onNextModal([](QDialog*) {});
        QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        QCOMPARE(driver.leftOpen(), 1);
    }

    void aSecondRunStartsFromTheMembers()
    {
        KitTest::ModalDriver driver;
        NameDlg dlg;
        dlg.m_strName = QStringLiteral("one");
        driver.onNextModal([&](QDialog*) { dlg.EndDialog(IDOK); });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDOK));
        dlg.m_strName = QStringLiteral("two");
        QString seen;
        driver.onNextModal([&](QDialog*) {
            seen = dlg.m_edit.text();
            dlg.EndDialog(IDCANCEL);
        });
        QCOMPARE(dlg.DoModal(), INT_PTR(IDCANCEL));
        QCOMPARE(seen, QStringLiteral("two"));
        QCOMPARE(dlg.m_nInit, 2);
    }

    void onlyIdAndUpToNineAsciiDigitsAreRenamed()
    {
        QWidget root;
        const QStringList kept{QStringLiteral("id"),
                               QStringLiteral("idx12"),
                               QStringLiteral("id12a"),
                               QStringLiteral("ID12"),
                               QStringLiteral("xid12"),
                               QStringLiteral("id1234567890"),
                               QStringLiteral(u"id\u0661\u0662")};
        for (const QString& name : kept)
            (new QWidget(&root))->setObjectName(name);
        (new QWidget(&root))->setObjectName(QStringLiteral("id123456789"));
        (new QWidget(&root))->setObjectName(QStringLiteral("id007"));
        CDialogTemplate::RenameControls(&root);
        for (const QString& name : kept)
            QVERIFY2(root.findChild<QWidget*>(name), qPrintable(name));
        QVERIFY(root.findChild<QWidget*>(QStringLiteral("123456789")));
        QVERIFY(root.findChild<QWidget*>(QStringLiteral("007")));
    }

    void unknownTemplateCreatesNoWindow()
    {
        CZorvaPoupDlg dlg(4242);
        QCOMPARE(dlg.DoModal(), INT_PTR(-1));
        QCOMPARE(dlg.Create(4242), FALSE);
        QVERIFY(!dlg.GetSafeHwnd());
    }

    void childPaneLivesInItsParentAndDeletesItselfOnDestroy()
    {
        QWidget host;
        host.resize(400, 300);
        host.show();
        int destroyed = 0;
        QPointer<Pane> pane = new Pane(&destroyed);
        QCOMPARE(pane->Create(kPaneTemplate, &host), TRUE);
        QCOMPARE(pane->parentWidget(), &host);
        QVERIFY(!pane->isWindow());
        QVERIFY(pane->isVisible()); // the template is visible
        QCOMPARE(pane->m_nShown, 1);
        QVERIFY(pane->GetDlgItem(9200));
        QCOMPARE(pane->Create(kPaneTemplate, &host), FALSE); // one window per object
        QCOMPARE(pane->DestroyWindow(), TRUE);
        QCOMPARE(destroyed, 1);
        QVERIFY(pane.isNull());
    }

    void defaultParentAppliesWithoutOne()
    {
        QWidget host;
        CDialog::SetDefaultParent(&host);
        CDialog pane(kPaneTemplate);
        QCOMPARE(pane.Create(kPaneTemplate), TRUE);
        QCOMPARE(pane.parentWidget(), &host);
        CDialog::SetDefaultParent(nullptr);
    }
};

QTEST_MAIN(TestCDialog)
#include "tst_cdialog.moc"
