#include "AfxMessageBox.h"
#include "SkinMessageBox.h"
#include "TestSeams.h"
#include "WinDefs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

QPushButton* buttonWithText(QDialog* box, const QString& text)
{
    for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

class TestSkinMessageBox : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    void responderRecordsEveryCallAndAnswers()
    {
        QWidget owner;
        KitTest::MessageBoxResponder responder;
        responder.queueAnswers({IDYES, IDNO});
        QCOMPARE(
            SkinMessageBox(QStringLiteral(u"删除分类 A ?"), QStringLiteral(u"删除分类"), 0x24, 0, &owner), 6);
        QCOMPARE(
            SkinMessageBox(QStringLiteral("q2"), QStringLiteral("c2"), MB_YESNO | MB_ICONQUESTION, 0, &owner),
            IDNO);
        // The queue is empty: the default answer.
        QCOMPARE(SkinMessageBox(QStringLiteral("n"), QString(), 0, 0, nullptr), IDOK);
        QCOMPARE(responder.calls().size(), std::size_t(3));
        const auto& first = responder.calls()[0];
        QCOMPARE(first.text, QStringLiteral(u"删除分类 A ?"));
        QCOMPARE(first.caption, QStringLiteral(u"删除分类"));
        QCOMPARE(first.style, 0x24u);
        QCOMPARE(first.owner, &owner);
        QCOMPARE(first.answer, IDYES);
        QCOMPARE(responder.calls()[1].answer, IDNO);
        QCOMPARE(responder.calls()[2].caption, QStringLiteral(u"提示")); // an empty caption
        QCOMPARE(responder.calls()[2].owner, nullptr);
        QVERIFY(QApplication::topLevelWidgets().size() == 1); // nothing was shown: only `owner`
    }

    void realBoxAnswersWithTheButtonPressed()
    {
        KitTest::ModalDriver driver;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        driver.onNextModal([&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            QVERIFY(box);
            icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            QCOMPARE(box->windowTitle(), QStringLiteral(u"删除"));
            QCOMPARE(box->text(), QStringLiteral(u"删除所选备忘录？"));
            QTest::mouseClick(buttonWithText(d, QStringLiteral(u"是")), Qt::LeftButton);
        });
        QCOMPARE(SkinMessageBox(QStringLiteral(u"删除所选备忘录？"), QStringLiteral(u"删除"), 0x24), IDYES);
        QCOMPARE(icon, QMessageBox::Question);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral(u"否"), QStringLiteral(u"是")}));

        driver.onNextModal(
            [](QDialog* d) { QTest::mouseClick(buttonWithText(d, QStringLiteral(u"否")), Qt::LeftButton); });
        QCOMPARE(SkinMessageBox(QStringLiteral("q"), QStringLiteral("c"), 0x24), IDNO);
        QCOMPARE(driver.leftOpen(), 0);
    }

    void escapeAndStylesGiveThePlatformsAnswers()
    {
        KitTest::ModalDriver driver;
        // Escape on a question is No.
        driver.onNextModal([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QCOMPARE(SkinMessageBox(QStringLiteral("q"), QStringLiteral("c"), 0x24), IDNO);

        // A warning (0x30) has one OK button and the warning icon; Enter is OK.
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int count = 0;
        driver.onNextModal([&](QDialog* d) {
            icon = qobject_cast<QMessageBox*>(d)->icon();
            count = int(qobject_cast<QMessageBox*>(d)->buttons().size());
            QTest::keyClick(d, Qt::Key_Return);
        });
        QCOMPARE(SkinMessageBox(QStringLiteral("w"), QStringLiteral("c"), 0x30), IDOK);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(count, 1);

        // A notice (0) has no icon; closing it is OK.
        driver.onNextModal([&](QDialog* d) {
            icon = qobject_cast<QMessageBox*>(d)->icon();
            d->close();
        });
        QCOMPARE(SkinMessageBox(QStringLiteral("n"), QStringLiteral("c"), 0), IDOK);
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    void frameworkBoxesAreShownAsTheKitsBox()
    {
        KitTest::ModalDriver driver;
        QStringList looks;
        for (int box = 0; box < 2; ++box)
            driver.onNextModal([&](QDialog* d) {
                looks << d->styleSheet();
                QTest::keyClick(d, Qt::Key_Return);
            });
        QCOMPARE(SkinMessageBox(QStringLiteral("w"), QString(), MB_ICONEXCLAMATION), IDOK);
        QCOMPARE(AfxMessageBox(QStringLiteral("w"), MB_ICONEXCLAMATION), IDOK);
        QCOMPARE(looks.size(), 2);
        QVERIFY(!looks[0].isEmpty());
        QCOMPARE(looks[1], looks[0]);
    }
};

QTEST_MAIN(TestSkinMessageBox)
#include "tst_skinmessagebox.moc"
