#include "CategoryTestSupport.h"
#include "DlgItem.h"

#include <CMemoGroupName.h>
#include <CategoryEditor.h>
#include <TestSeams.h>
#include <WinDefs.h>

#include <functional>

namespace {

constexpr int IDC_PROMPT = 21030;
constexpr int IDC_NAME = 21032;

const QString kEmpty = QStringLiteral(u"分类名称不能为空！");
const QString kInvalid = QStringLiteral(u"分类名称无效,请重新输入！");
const QString kExists = QStringLiteral(u"分类名称已存在,请重新输入！");
const QString kEnterCaption = QStringLiteral(u"输入分类名称");
const QString kNoticeCaption = QStringLiteral(u"提示");

CZorvaEdit& NameEdit(const QWidget& dlg)
{
    return DlgItem<CZorvaEdit>(dlg, IDC_NAME);
}

} // namespace

class TestMemoGroupName : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::unique_ptr<KitTest::ModalDriver> m_driver;
    std::unique_ptr<KitTest::MessageBoxResponder> m_boxes;

    // Runs the dialog with `action` inside its modal loop; returns DoModal's result.
    INT_PTR run(CMemoGroupName& dlg, const std::function<void(QDialog*)>& action)
    {
        m_driver->onNextModal(action);
        return dlg.DoModal();
    }

    struct Outcome
    {
        INT_PTR result = 0;
        QString refusal; // the message shown, if any
        QString name;    // m_strName afterwards
    };

    // Types `text` into a fresh dialog in new mode and presses OK; the dialog is cancelled if it
    // stays open.
    Outcome tryName(const QString& text)
    {
        CMemoGroupName dlg(nullptr, GROUP_NAME_NEW);
        m_boxes->clear();
        const INT_PTR result = run(dlg, [&](QDialog* d) {
            Type(&NameEdit(dlg), text);
            Click(d, IDOK);
            if (d->isVisible())
                Click(d, IDCANCEL);
        });
        return {result, m_boxes->calls().empty() ? QString() : m_boxes->calls().front().text, dlg.Name()};
    }

  private Q_SLOTS:
    void initTestCase() { RegisterCategoryTemplates(); }

    void init()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(m_store->ok());
        m_driver = std::make_unique<KitTest::ModalDriver>();
        m_boxes = std::make_unique<KitTest::MessageBoxResponder>();
    }

    void cleanup()
    {
        // The seams go first, so that a failed check here cannot leave them installed.
        const int leftOpen = m_driver->leftOpen();
        const std::size_t unused = m_driver->pending();
        m_boxes.reset();
        m_driver.reset();
        m_store.reset();
        QCOMPARE(leftOpen, 0);
        QCOMPARE(unused, std::size_t(0));
        QVERIFY(!QApplication::activeModalWidget());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), "a window was left open");
    }

    void opensWithItsLayoutTitleAndPresetName()
    {
        for (const int mode : {GROUP_NAME_NEW, GROUP_NAME_EDIT}) {
            CMemoGroupName dlg(nullptr, mode);
            dlg.SetName(QStringLiteral(u"旅行"));
            const INT_PTR result = run(dlg, [&](QDialog* d) {
                QCOMPARE(d->windowTitle(),
                         mode == GROUP_NAME_EDIT ? QStringLiteral(u"编辑分类") : QStringLiteral(u"新建分类"));
                QCOMPARE(d->size(), QSize(254, 161));
                QVERIFY(dynamic_cast<CZorvaStatic*>(Control(d, IDC_PROMPT)));
                QCOMPARE(DlgItem<CZorvaStatic>(dlg, IDC_PROMPT).text(), QStringLiteral(u"请输入分类名称："));
                QCOMPARE(DlgItem<CZorvaStatic>(dlg, IDC_PROMPT).geometry(), QRect(21, 24, 150, 20));
                QVERIFY(dynamic_cast<CZorvaEdit*>(Control(d, IDC_NAME)));
                QCOMPARE(NameEdit(dlg).geometry(), QRect(27, 44, 192, 24));
                QCOMPARE(NameEdit(dlg).GetWindowTextW(), QStringLiteral(u"旅行"));
                QVERIFY(!NameEdit(dlg).GetModify());
                QCOMPARE(d->focusWidget(), &NameEdit(dlg));
                QCOMPARE(DlgItem<CZorvaIconBtton>(dlg, IDOK).geometry(), QRect(11, 95, 82, 32));
                QCOMPARE(DlgItem<CZorvaIconBtton>(dlg, IDOK).text(), QStringLiteral(u"确定"));
                QCOMPARE(DlgItem<CZorvaIconBtton>(dlg, IDCANCEL).geometry(), QRect(159, 95, 82, 32));
                QCOMPARE(DlgItem<CZorvaIconBtton>(dlg, IDCANCEL).text(), QStringLiteral(u"取消"));
                Click(d, IDCANCEL);
            });
            QCOMPARE(result, INT_PTR(IDCANCEL));
        }
        QVERIFY(m_boxes->calls().empty());
    }

    void theFieldTakesTwentyCharacters()
    {
        CMemoGroupName dlg(nullptr, GROUP_NAME_NEW);
        run(dlg, [&](QDialog* d) {
            QTest::keyClicks(&NameEdit(dlg), QStringLiteral("abcdefghijklmnopqrstuvwxy"));
            QCOMPARE(NameEdit(dlg).GetWindowTextW(), QStringLiteral("abcdefghijklmnopqrst"));
            Click(d, IDOK);
        });
        QCOMPARE(dlg.Name(), QStringLiteral("abcdefghijklmnopqrst"));
    }

    void refusalsKeepTheDialogOpenWithTheirMessages()
    {
        struct Case
        {
            QString typed;
            QString text;
            QString caption;
        };
        const Case cases[] = {
            {QString(), kEmpty, kEnterCaption},
            {QStringLiteral(u"全部"), kInvalid, kEnterCaption},
            {QStringLiteral(u"所有"), kInvalid, kEnterCaption},
            {QStringLiteral(u"其它"), kInvalid, kEnterCaption},
            {QStringLiteral(u"编辑分类"), kInvalid, kEnterCaption},
            {QStringLiteral("   "), kInvalid, kNoticeCaption},
        };
        for (const Case& c : cases) {
            CMemoGroupName dlg(nullptr, GROUP_NAME_NEW);
            m_boxes->clear();
            bool stayedOpen = false;
            QWidget* focusAfter = nullptr;
            const INT_PTR result = run(dlg, [&](QDialog* d) {
                Type(&NameEdit(dlg), c.typed);
                d->setFocus(); // the refusal must bring the focus back
                Click(d, IDOK);
                stayedOpen = d->isVisible();
                focusAfter = d->focusWidget();
                QCOMPARE(NameEdit(dlg).GetWindowTextW(), c.typed);
                Click(d, IDCANCEL);
            });
            QCOMPARE(result, INT_PTR(IDCANCEL));
            QVERIFY2(stayedOpen, qPrintable(c.typed));
            QCOMPARE(focusAfter, &NameEdit(dlg));
            QCOMPARE(m_boxes->calls().size(), std::size_t(1));
            const KitTest::MessageBoxCall& call = m_boxes->calls().front();
            QCOMPARE(call.text, c.text);
            QCOMPARE(call.caption, c.caption);
            QCOMPARE(call.style, MB_ICONEXCLAMATION);
            QCOMPARE(call.owner, &dlg);
        }
    }

    void spacesAreTrimmedButOtherBlanksStay()
    {
        Outcome outcome = tryName(QStringLiteral(u"  读书  "));
        QCOMPARE(outcome.result, INT_PTR(IDOK));
        QCOMPARE(outcome.name, QStringLiteral(u"读书"));
        outcome = tryName(QStringLiteral(u"\u3000读书 "));
        QCOMPARE(outcome.result, INT_PTR(IDOK));
        QCOMPARE(outcome.name, QStringLiteral(u"\u3000读书"));
    }

    void aPaddedReservedNameReachesTheDuplicateTestTrimmed()
    {
        // With no stored "其它" the trimmed name passes: the editor refuses it afterwards.
        Outcome outcome = tryName(QStringLiteral(u" 其它"));
        QCOMPARE(outcome.result, INT_PTR(IDOK));
        QCOMPARE(outcome.refusal, QString());
        QCOMPARE(outcome.name, QStringLiteral(u"其它"));
        // A stored record of that name makes the trimmed name a duplicate.
        StoreGroup(QStringLiteral(u"其它"), 7);
        outcome = tryName(QStringLiteral(u"其它 "));
        QCOMPARE(outcome.result, INT_PTR(IDCANCEL));
        QCOMPARE(outcome.refusal, kExists);
        QCOMPARE(m_boxes->calls().front().caption, kNoticeCaption);
    }

    void duplicatesAreComparedExactlyAsTheyWouldBeStored()
    {
        StoreGroup(QStringLiteral("Work"), 7);
        StoreGroup(QStringLiteral("ABCDEFGHIJ"), 8);
        QCOMPARE(tryName(QStringLiteral("Work")).refusal, kExists);
        QCOMPARE(tryName(QStringLiteral("work")).result, INT_PTR(IDOK)); // letter case counts
        QCOMPARE(tryName(QStringLiteral("Work2")).result, INT_PTR(IDOK));
        // Only the first ten characters are stored: these would land beside "ABCDEFGHIJ".
        QCOMPARE(tryName(QStringLiteral("ABCDEFGHIJK")).refusal, kExists);
        QCOMPARE(tryName(QStringLiteral("ABCDEFGHIJKLMNOPQRST")).refusal, kExists);
        const Outcome longer = tryName(QStringLiteral("ABCDEFGHIKLMNOP"));
        QCOMPARE(longer.result, INT_PTR(IDOK));
        QCOMPARE(longer.name, QStringLiteral("ABCDEFGHIKLMNOP")); // the caller cuts it when storing
        QCOMPARE(GroupNames(),
                 (QStringList{QStringLiteral("Work"), QStringLiteral("ABCDEFGHIJ")})); // nothing written
    }

    void renameClosesAtOnceWhileThePresetIsUntouched()
    {
        StoreGroup(QStringLiteral(u"工作"), 7);
        CMemoGroupName dlg(nullptr, GROUP_NAME_EDIT);
        dlg.SetName(QStringLiteral(u"工作"));
        QCOMPARE(run(dlg, [&](QDialog* d) { Click(d, IDOK); }), INT_PTR(IDOK));
        QCOMPARE(dlg.Name(), QStringLiteral(u"工作"));
        QVERIFY(m_boxes->calls().empty());

        // Untouched, the preset comes back as it stands, spaces and all.
        CMemoGroupName padded(nullptr, GROUP_NAME_EDIT);
        padded.SetName(QStringLiteral(u" 工作 "));
        QCOMPARE(run(padded, [&](QDialog* d) { Click(d, IDOK); }), INT_PTR(IDOK));
        QCOMPARE(padded.Name(), QStringLiteral(u" 工作 "));
    }

    void theSameNameRetypedIsRefusedAsExistingWithTheTextSelected()
    {
        StoreGroup(QStringLiteral(u"工作"), 7);
        CMemoGroupName dlg(nullptr, GROUP_NAME_EDIT);
        dlg.SetName(QStringLiteral(u"工作"));
        QString selected;
        bool stayedOpen = false;
        const INT_PTR result = run(dlg, [&](QDialog* d) {
            NameEdit(dlg).SetSel(0, -1);
            Type(&NameEdit(dlg), QStringLiteral(u"工作"));
            QVERIFY(NameEdit(dlg).GetModify());
            Click(d, IDOK);
            stayedOpen = d->isVisible();
            selected = NameEdit(dlg).GetSelText();
            // Another name goes through.
            Type(&NameEdit(dlg), QStringLiteral(u"工作日志"));
            Click(d, IDOK);
        });
        QVERIFY(stayedOpen);
        QCOMPARE(selected, QStringLiteral(u"工作"));
        QCOMPARE(m_boxes->calls().size(), std::size_t(1));
        QCOMPARE(m_boxes->calls().front().text, kExists);
        QCOMPARE(result, INT_PTR(IDOK));
        QCOMPARE(dlg.Name(), QStringLiteral(u"工作日志"));
    }
};

QTEST_MAIN(TestMemoGroupName)
#include "tst_memogroupname.moc"
