#include "CategoryTestSupport.h"
#include "DlgItem.h"
#include "FailingWrites.h"

#include <CMemoGroupEditDlg.h>
#include <CMemoGroupName.h>
#include <CategoryEditor.h>
#include <GroupLookup.h>
#include <LoadStr.h>
#include <MemoTime.h>
#include <StringIds.h>
#include <TestSeams.h>
#include <WinDefs.h>

#include <functional>

#include <sqlite3.h>

namespace {

constexpr int IDC_LIST = 21023;

CZorvaListBox& GroupList(const QWidget& dlg)
{
    return DlgItem<CZorvaListBox>(dlg, IDC_LIST);
}
constexpr int IDC_NEW = 21024;
constexpr int IDC_EDIT = 21025;
constexpr int IDC_DELETE = 21026;

const QString kTableFull = QStringLiteral(u"分类数目已达到最大，请清除一些后再新建！");

QStringList Rows(const CZorvaListBox& list)
{
    QStringList rows;
    for (int row = 0; row < list.GetCount(); ++row)
        rows << list.GetText(row);
    return rows;
}

void SelectRow(CZorvaListBox& list, int row)
{
    QListWidgetItem* item = list.item(row);
    QVERIFY(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, list.visualItemRect(item).center());
    QCOMPARE(list.GetCurSel(), row);
}

// With no category listed, only New and Cancel can be pressed.
bool OnlyNewAndCancelEnabled(const QWidget& dlg)
{
    const auto enabled = [&](int id) { return DlgItem<CZorvaIconBtton>(dlg, id).isEnabled(); };
    return !enabled(IDC_EDIT) && !enabled(IDC_DELETE) && !enabled(IDOK) && enabled(IDC_NEW) &&
           enabled(IDCANCEL);
}

} // namespace

class TestMemoGroupEditDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::unique_ptr<KitTest::ModalDriver> m_driver;
    std::unique_ptr<KitTest::MessageBoxResponder> m_boxes;

    void freshStore()
    {
        m_store.reset();
        m_store = std::make_unique<TempStore>();
        QVERIFY(m_store->ok());
    }

    // Runs the editor with `action` inside its modal loop.
    INT_PTR runEditor(CMemoGroupEditDlg& dlg, const std::function<void(QDialog*)>& action)
    {
        m_driver->onNextModal(action);
        return dlg.DoModal();
    }

    // The next name dialog: `check` looks at it, then `text` replaces its field and OK is pressed.
    void answerName(const QString& text, std::function<void(CMemoGroupName&)> check = {})
    {
        m_driver->onNextModal([text, check](QDialog* d) {
            auto& dlg = *static_cast<CMemoGroupName*>(d);
            if (check)
                check(dlg);
            DlgItem<CZorvaEdit>(dlg, 21032).SetSel(0, -1);
            Type(&DlgItem<CZorvaEdit>(dlg, 21032), text);
            Click(d, IDOK);
        });
    }

    // The next name dialog is closed with `button` as it stands.
    void closeName(int button, std::function<void(CMemoGroupName&)> check = {})
    {
        m_driver->onNextModal([button, check](QDialog* d) {
            if (check)
                check(*static_cast<CMemoGroupName*>(d));
            Click(d, button);
        });
    }

    static void expectEditMode(CMemoGroupName& dlg, const QString& preset)
    {
        QCOMPARE(dlg.Mode(), GROUP_NAME_EDIT);
        QCOMPARE(dlg.windowTitle(), QStringLiteral(u"编辑分类"));
        QCOMPARE(DlgItem<CZorvaEdit>(dlg, 21032).GetWindowTextW(), preset);
    }

  private Q_SLOTS:
    void initTestCase() { RegisterCategoryTemplates(); }

    void init()
    {
        freshStore();
        m_driver = std::make_unique<KitTest::ModalDriver>();
        m_boxes = std::make_unique<KitTest::MessageBoxResponder>();
    }

    void cleanup()
    {
        // The seams go first, so that a failed check here cannot leave them installed.
        const int leftOpen = m_driver->leftOpen();
        const std::size_t unused = m_driver->pending();
        const std::size_t unanswered = m_boxes->pendingAnswers();
        m_boxes.reset();
        m_driver.reset();
        m_store.reset();
        QCOMPARE(leftOpen, 0);
        QCOMPARE(unused, std::size_t(0));
        QCOMPARE(unanswered, std::size_t(0));
        QVERIFY(!QApplication::activeModalWidget());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), "a window was left open");
    }

    void anEmptyTableLeavesOnlyNewAndCancel()
    {
        const MemoTime before = CurrentMemoTime();
        CMemoGroupEditDlg dlg;
        const INT_PTR result = runEditor(dlg, [&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral(u"备忘录分类编辑"));
            QCOMPARE(d->size(), QSize(486, 329));
            QVERIFY(dynamic_cast<CZorvaListBox*>(Control(d, IDC_LIST)));
            QCOMPARE(GroupList(dlg).geometry(), QRect(10, 6, 466, 256));
            const std::pair<CZorvaIconBtton*, std::pair<QRect, QString>> buttons[] = {
                {&DlgItem<CZorvaIconBtton>(dlg, IDOK), {QRect(316, 263, 75, 32), QStringLiteral(u"确定")}},
                {&DlgItem<CZorvaIconBtton>(dlg, IDCANCEL),
                 {QRect(396, 263, 75, 32), QStringLiteral(u"取消")}},
                {&DlgItem<CZorvaIconBtton>(dlg, 21024), {QRect(13, 263, 95, 32), QStringLiteral(u"新建组")}},
                {&DlgItem<CZorvaIconBtton>(dlg, 21025), {QRect(113, 263, 95, 32), QStringLiteral(u"编辑组")}},
                {&DlgItem<CZorvaIconBtton>(dlg, 21026), {QRect(213, 263, 95, 32), QStringLiteral(u"删除组")}},
            };
            for (const auto& [button, place] : buttons) {
                QCOMPARE(button->geometry(), place.first);
                QCOMPARE(button->text(), place.second);
            }
            QCOMPARE(d->focusWidget(), &GroupList(dlg));

            QCOMPARE(GroupList(dlg).GetCount(), 0);
            QVERIFY(OnlyNewAndCancelEnabled(dlg));
            for (const int id : {IDOK, IDC_EDIT, IDC_DELETE})
                Click(d, id);
            QVERIFY(d->isVisible());
            QCOMPARE(m_driver->driven(), 1);
            QVERIFY(m_boxes->calls().empty());

            answerName(QStringLiteral(u"工作"), [](CMemoGroupName& name) {
                QCOMPARE(name.Mode(), GROUP_NAME_NEW);
                QCOMPARE(name.windowTitle(), QStringLiteral(u"新建分类"));
                QCOMPARE(DlgItem<CZorvaEdit>(name, 21032).GetWindowTextW(), QString());
            });
            Click(d, IDC_NEW);
            // Written at once, listed, and the other buttons come alive.
            QCOMPARE(GroupNames(), QStringList{QStringLiteral(u"工作")});
            QCOMPARE(Rows(GroupList(dlg)), QStringList{QStringLiteral(u"工作")});
            QCOMPARE(GroupList(dlg).GetCurSel(), 0);
            QCOMPARE(std::int32_t(GroupList(dlg).GetItemData(0)), Groups().front().key);
            QVERIFY(DlgItem<CZorvaIconBtton>(dlg, 21025).isEnabled() &&
                    DlgItem<CZorvaIconBtton>(dlg, 21026).isEnabled() &&
                    DlgItem<CZorvaIconBtton>(dlg, IDOK).isEnabled());
            Click(d, IDCANCEL);
        });
        QCOMPARE(result, INT_PTR(IDCANCEL));
        // Cancel undoes nothing.
        const std::vector<MemoGroupRecord> stored = Groups();
        QCOMPARE(stored.size(), std::size_t(1));
        QCOMPARE(stored.front().flags, 0u);
        QVERIFY(stored.front().key != 0);
        QVERIFY(stored.front().id >= before && stored.front().id <= CurrentMemoTime());

        CMemoGroupEditDlg again;
        QCOMPARE(runEditor(again, [](QDialog* d) { Click(d, IDOK); }), INT_PTR(IDOK));
    }

    void storedPseudoCategoriesAreNeitherListedNorCounted()
    {
        struct Case
        {
            int real;
            QStringList pseudo;
            bool allowed;
        };
        const Case cases[] = {
            {10, {}, false},
            {10, {QStringLiteral(u"全部"), QStringLiteral(u"其它")}, false},
            {9, {QStringLiteral(u"其它")}, true},
            {9, {QStringLiteral(u"全部"), QStringLiteral(u"其它")}, true},
        };
        for (const Case& c : cases) {
            freshStore();
            m_boxes->clear();
            QStringList listed;
            for (int i = 0; i < c.real; ++i) {
                if (i == 4)
                    for (const QString& pseudo : c.pseudo)
                        StoreGroup(pseudo, 100 + i); // among the others, not just at the end
                listed << QStringLiteral(u"分类%1").arg(i);
                StoreGroup(listed.back(), 1000 + i);
            }
            const QStringList before = GroupNames();

            CMemoGroupEditDlg dlg;
            runEditor(dlg, [&](QDialog* d) {
                QCOMPARE(Rows(GroupList(dlg)), listed);
                const int driven = m_driver->driven();
                if (c.allowed)
                    answerName(QStringLiteral(u"第十个"));
                Click(d, IDC_NEW);
                QCOMPARE(m_driver->driven(), driven + (c.allowed ? 1 : 0));
                if (c.allowed) {
                    QCOMPARE(GroupNames(), before + QStringList{QStringLiteral(u"第十个")});
                    QCOMPARE(GroupList(dlg).GetCount(), 10);
                    Click(d, IDC_NEW); // now ten are real
                    QCOMPARE(m_driver->driven(), driven + 1);
                }
                QCOMPARE(m_boxes->calls().size(), std::size_t(1));
                const KitTest::MessageBoxCall& call = m_boxes->calls().front();
                QCOMPARE(call.text, kTableFull);
                QCOMPARE(call.caption, QStringLiteral(u"分类提示"));
                QCOMPARE(call.style, UINT(MB_OK));
                QCOMPARE(call.owner, &dlg);
                Click(d, IDCANCEL);
            });
            QCOMPARE(GroupNames().size(), before.size() + (c.allowed ? 1 : 0));
        }
    }

    void newRefusesReservedNamesUntilAnotherIsGiven()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000);
        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            // The name dialog trims these into reserved names; each is refused and asked again.
            answerName(QStringLiteral(u" 其它"));
            answerName(QStringLiteral(u"所有 "));
            answerName(QStringLiteral(u" 全部 "));
            answerName(QStringLiteral(u"编辑分类 "));
            answerName(QStringLiteral("ABCDEFGHIJKLMNO"), [](CMemoGroupName& name) {
                QCOMPARE(name.Mode(), GROUP_NAME_NEW);
                QCOMPARE(DlgItem<CZorvaEdit>(name, 21032).GetWindowTextW(),
                         QString()); // a fresh, empty dialog
            });
            Click(d, IDC_NEW);
            // Cut to ten characters; the selection stays on the first row.
            QCOMPARE(Rows(GroupList(dlg)),
                     (QStringList{QStringLiteral(u"工作"), QStringLiteral("ABCDEFGHIJ")}));
            QCOMPARE(GroupList(dlg).GetCurSel(), 0);

            // Cancelled after a refusal: nothing is written.
            answerName(QStringLiteral(u" 其它"));
            closeName(IDCANCEL);
            Click(d, IDC_NEW);
            Click(d, IDOK);
        });
        QCOMPARE(GroupNames(), (QStringList{QStringLiteral(u"工作"), QStringLiteral("ABCDEFGHIJ")}));
        const std::vector<KitTest::MessageBoxCall>& calls = m_boxes->calls();
        const QString refused[] = {QStringLiteral(u"其它"), QStringLiteral(u"所有"), QStringLiteral(u"全部"),
                                   QStringLiteral(u"编辑分类"), QStringLiteral(u"其它")};
        QCOMPARE(calls.size(), std::size(refused));
        for (std::size_t i = 0; i < calls.size(); ++i) {
            QCOMPARE(calls[i].text, FormatStr(LoadStr(IDS_CREATE_RESERVED), refused[i]));
            QVERIFY(calls[i].text.contains(refused[i]));
            QCOMPARE(calls[i].caption, LoadStr(IDS_GROUP_CAPTION));
            QCOMPARE(calls[i].style, UINT(MB_OK));
        }
    }

    void renamingWithTheTextUnchangedWritesNothing()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000, 0x5);
        StoreMemo(QStringLiteral("m1"), QStringLiteral(u"工作"), 1000);
        StoreMemo(QStringLiteral("m2"), QStringLiteral(u"工作"), 4321, 0x2);
        const std::vector<MemoGroupRecord> groups = Groups();
        const std::vector<MemoRecord> memos = Memos();

        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            closeName(IDOK, [](CMemoGroupName& name) { expectEditMode(name, QStringLiteral(u"工作")); });
            Click(d, IDC_EDIT);
            closeName(IDCANCEL);
            Click(d, IDC_EDIT);
            Click(d, IDOK);
        });
        QCOMPARE(m_driver->driven(), 3);
        QVERIFY(SameBytes(Groups(), groups));
        QVERIFY(SameBytes(Memos(), memos));
        QVERIFY(m_boxes->calls().empty());
    }

    void renameRewritesEveryMemoCarryingTheOldName()
    {
        StoreGroup(QStringLiteral(u"生活"), 2000);
        StoreGroup(QStringLiteral(u"工作"), 1000, 0x5);
        StoreMemo(QStringLiteral("byId"), QStringLiteral(u"工作"), 1000, 0x3, 111);
        StoreMemo(QStringLiteral("otherId"), QStringLiteral(u"工作"), 777, 0, 222);
        StoreMemo(QStringLiteral("inOther"), QStringLiteral(u"工作"), OTHER_GROUP_ID, 0, 333);
        StoreMemo(QStringLiteral("otherName"), QStringLiteral(u"生活"), 1000);
        StoreMemo(QStringLiteral("longerName"), QStringLiteral(u"工作日志"), 1000);
        const std::vector<MemoRecord> before = Memos();

        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            SelectRow(GroupList(dlg), 1);
            answerName(QStringLiteral("ABCDEFGHIJKLMNO"),
                       [](CMemoGroupName& name) { expectEditMode(name, QStringLiteral(u"工作")); });
            Click(d, IDC_EDIT);
            QCOMPARE(Rows(GroupList(dlg)),
                     (QStringList{QStringLiteral(u"生活"), QStringLiteral("ABCDEFGHIJ")}));
            QCOMPARE(Q(GroupName(dlg.GroupCache()[1])), QStringLiteral("ABCDEFGHIJ"));
            Click(d, IDCANCEL);
        });

        const std::vector<MemoGroupRecord> groups = Groups();
        QCOMPARE(groups.size(), std::size_t(2));
        QCOMPARE(Q(GroupName(groups[1])), QStringLiteral("ABCDEFGHIJ"));
        QCOMPARE(groups[1].flags, RECORD_CHANGED | 0x5u);
        QCOMPARE(groups[1].id, 1000);
        QCOMPARE(groups[0].flags, 0u);

        const std::vector<MemoRecord> after = Memos();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            const QString title = Q(MemoTitle(before[i]));
            const bool renamed = i < 3;
            MemoRecord expected = before[i];
            if (renamed) {
                SetMemoGroupName(expected, u"ABCDEFGHIJ");
                expected.flags |= RECORD_CHANGED;
            }
            QVERIFY2(std::memcmp(&after[i], &expected, sizeof expected) == 0, qPrintable(title));
        }
        QCOMPARE(after[0].stamp, 111);
        QCOMPARE(after[1].flags, RECORD_CHANGED);
        QCOMPARE(Q(EffectiveGroupName(after[2])), QStringLiteral(u"其它"));
    }

    void renameToAReservedNameAsksAgainWithTheOldName()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000);
        StoreMemo(QStringLiteral("m"), QStringLiteral(u"工作"), 1000);
        const std::vector<MemoGroupRecord> groups = Groups();
        const std::vector<MemoRecord> memos = Memos();
        const auto presetIsOld = [](CMemoGroupName& name) { expectEditMode(name, QStringLiteral(u"工作")); };

        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            answerName(QStringLiteral(u" 全部"), presetIsOld);
            answerName(QStringLiteral(u"所有 "), presetIsOld);
            answerName(QStringLiteral(u" 编辑分类"), presetIsOld);
            closeName(IDCANCEL, presetIsOld);
            Click(d, IDC_EDIT);
            QCOMPARE(m_boxes->calls().size(), std::size_t(3));
            QCOMPARE(m_boxes->calls()[0].text,
                     FormatStr(LoadStr(IDS_RENAME_RESERVED), QStringLiteral(u"全部")));
            QCOMPARE(m_boxes->calls()[1].text,
                     FormatStr(LoadStr(IDS_RENAME_RESERVED), QStringLiteral(u"所有")));
            QCOMPARE(m_boxes->calls()[2].text,
                     FormatStr(LoadStr(IDS_RENAME_RESERVED), QStringLiteral(u"编辑分类")));
            QCOMPARE(m_boxes->calls()[1].caption, LoadStr(IDS_GROUP_CAPTION));
            QVERIFY(SameBytes(Groups(), groups) && SameBytes(Memos(), memos));

            answerName(QStringLiteral(u" 其它"), presetIsOld);
            answerName(QStringLiteral(u"项目"), presetIsOld);
            Click(d, IDC_EDIT);
            Click(d, IDOK);
        });
        QCOMPARE(GroupNames(), QStringList{QStringLiteral(u"项目")});
        QCOMPARE(Q(MemoGroupName(Memos().front())), QStringLiteral(u"项目"));
    }

    void aChangeTheStoreDoesNotTakeIsReportedAndChangesNothing()
    {
        const QStringList listed{QStringLiteral(u"工作"), QStringLiteral(u"生活")};
        for (const int command : {IDC_NEW, IDC_EDIT, IDC_DELETE}) {
            freshStore();
            m_boxes->clear();
            StoreGroup(listed[0], 1000);
            StoreGroup(listed[1], 2000);
            // Filed under the first category by name and by id: a rename and a delete would move it.
            StoreMemo(QStringLiteral("m"), listed[0], 1000);
            QVERIFY(FailWrites("memo_group"));
            const std::vector<MemoGroupRecord> groups = Groups();
            const std::vector<MemoRecord> memos = Memos();

            CMemoGroupEditDlg dlg;
            runEditor(dlg, [&](QDialog* d) {
                if (command == IDC_DELETE)
                    m_boxes->setNextAnswer(IDYES);
                else
                    answerName(QStringLiteral(u"项目"));
                Click(d, command);
                QCOMPARE(Rows(GroupList(dlg)), listed);
                QVERIFY(SameBytes(dlg.GroupCache(), groups));
                Click(d, IDCANCEL);
            });
            QVERIFY2(SameBytes(Groups(), groups), qPrintable(QString::number(command)));
            QVERIFY2(SameBytes(Memos(), memos), qPrintable(QString::number(command)));
            QCOMPARE(m_boxes->calls().size(), std::size_t(command == IDC_DELETE ? 2 : 1));
            const KitTest::MessageBoxCall& call = m_boxes->calls().back();
            QCOMPARE(call.text, LoadStr(IDS_GROUP_NOT_SAVED));
            QCOMPARE(call.caption, LoadStr(IDS_GROUP_CAPTION));
            QCOMPARE(call.style, MB_ICONEXCLAMATION);
            QCOMPARE(call.owner, &dlg);
        }
    }

    void deleteMovesOnlyMemosWhoseIdNamesTheCategory()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000);
        StoreGroup(QStringLiteral(u"生活"), 2000);
        StoreMemo(QStringLiteral("byId"), QStringLiteral(u"工作"), 1000, 0x3, 111);
        StoreMemo(QStringLiteral("unknownId"), QStringLiteral(u"工作"), 999);
        StoreMemo(QStringLiteral("nameOfOther"), QStringLiteral(u"生活"), 1000);
        StoreMemo(QStringLiteral("idOfOther"), QStringLiteral(u"工作"), 2000);
        StoreMemo(QStringLiteral("none"), QStringLiteral(u"全部"), 0);
        const std::vector<MemoRecord> before = Memos();

        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            m_boxes->setNextAnswer(IDYES);
            Click(d, IDC_DELETE);
            QCOMPARE(m_boxes->calls().size(), std::size_t(1));
            const KitTest::MessageBoxCall& call = m_boxes->calls().front();
            QCOMPARE(call.text, QStringLiteral(u"删除分类 工作 ?"));
            QCOMPARE(call.caption, QStringLiteral(u"删除分类"));
            QCOMPARE(call.style, UINT(MB_YESNO | MB_ICONQUESTION));
            QCOMPARE(call.owner, &dlg);
            QCOMPARE(Rows(GroupList(dlg)), QStringList{QStringLiteral(u"生活")});
            QCOMPARE(GroupList(dlg).GetCurSel(), 0);
            QCOMPARE(dlg.GroupCache().size(), std::size_t(1));
            Click(d, IDCANCEL);
        });
        QCOMPARE(GroupNames(), QStringList{QStringLiteral(u"生活")});

        const std::vector<MemoRecord> after = Memos();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            MemoRecord expected = before[i];
            if (i == 0 || i == 2)
                SetMemoGroupName(expected, u"其它"); // groupId, flags and stamp stay
            QVERIFY2(std::memcmp(&after[i], &expected, sizeof expected) == 0,
                     qPrintable(Q(MemoTitle(before[i]))));
        }
    }

    void aMemoFiledByCategoryIdFollowsItsCategory()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000);
        const std::int32_t groupId = GroupIdForNewMemo(ReadStoredGroups(), u"工作");
        QCOMPARE(groupId, 1000);
        StoreMemo(QStringLiteral("filed by id"), QStringLiteral(u"工作"), groupId);
        // A memo that carries its own stamp instead is not found when the category goes.
        StoreMemo(QStringLiteral("filed by stamp"), QStringLiteral(u"工作"), 305371800, 0, 305371800);

        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            m_boxes->setNextAnswer(IDYES);
            Click(d, IDC_DELETE);
            Click(d, IDCANCEL);
        });
        QCOMPARE(Q(EffectiveGroupName(MemoByTitle(QStringLiteral("filed by id")))), QStringLiteral(u"其它"));
        QCOMPARE(Q(EffectiveGroupName(MemoByTitle(QStringLiteral("filed by stamp")))),
                 QStringLiteral(u"工作"));
    }

    void categoriesSharingAnIdFollowTheLaterOne()
    {
        // Created within the same second: same id. The later one in the store's order owns it.
        for (const int deletedRow : {0, 1}) {
            freshStore();
            StoreGroup(QStringLiteral(u"甲"), 500);
            StoreGroup(QStringLiteral(u"乙"), 500);
            StoreMemo(QStringLiteral("a"), QStringLiteral(u"甲"), 500);
            StoreMemo(QStringLiteral("b"), QStringLiteral(u"乙"), 500);

            CMemoGroupEditDlg dlg;
            runEditor(dlg, [&](QDialog* d) {
                SelectRow(GroupList(dlg), deletedRow);
                m_boxes->setNextAnswer(IDYES);
                Click(d, IDC_DELETE);
                Click(d, IDCANCEL);
            });
            QCOMPARE(GroupNames(),
                     QStringList{deletedRow == 0 ? QStringLiteral(u"乙") : QStringLiteral(u"甲")});
            const QString movedTo = deletedRow == 0 ? QString() : QStringLiteral(u"其它");
            QCOMPARE(Q(MemoGroupName(MemoByTitle(QStringLiteral("a")))),
                     movedTo.isEmpty() ? QStringLiteral(u"甲") : movedTo);
            QCOMPARE(Q(MemoGroupName(MemoByTitle(QStringLiteral("b")))),
                     movedTo.isEmpty() ? QStringLiteral(u"乙") : movedTo);
        }
    }

    void deletingFromTheEndKeepsTheLastRowSelectedUntilTheListIsEmpty()
    {
        StoreGroup(QStringLiteral("A"), 1);
        StoreGroup(QStringLiteral("B"), 2);
        StoreGroup(QStringLiteral("C"), 3);
        CMemoGroupEditDlg dlg;
        runEditor(dlg, [&](QDialog* d) {
            SelectRow(GroupList(dlg), 2);
            m_boxes->queueAnswers({IDYES, IDYES, IDYES});
            Click(d, IDC_DELETE);
            QCOMPARE(Rows(GroupList(dlg)), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
            QCOMPARE(GroupList(dlg).GetCurSel(), 1);
            Click(d, IDC_DELETE);
            QCOMPARE(Rows(GroupList(dlg)), QStringList{QStringLiteral("A")});
            QCOMPARE(GroupList(dlg).GetCurSel(), 0);
            Click(d, IDC_DELETE);
            QCOMPARE(GroupList(dlg).GetCount(), 0);
            QVERIFY(OnlyNewAndCancelEnabled(dlg));
            QCOMPARE(m_boxes->calls().back().text, QStringLiteral(u"删除分类 A ?"));
            Click(d, IDCANCEL);
        });
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 0);
    }

    void answeringNoStillChangesTheRowThatRefillsSelect()
    {
        for (const bool pressDelete : {false, true}) {
            freshStore();
            StoreGroup(QStringLiteral("A"), 1);
            StoreGroup(QStringLiteral("B"), 2);
            StoreGroup(QStringLiteral("C"), 3);
            CMemoGroupEditDlg dlg;
            runEditor(dlg, [&](QDialog* d) {
                SelectRow(GroupList(dlg), 2);
                if (pressDelete) {
                    m_boxes->setNextAnswer(IDNO);
                    Click(d, IDC_DELETE);
                    QCOMPARE(GroupList(dlg).GetCount(), 3);
                }
                SelectRow(GroupList(dlg), 0);
                answerName(QStringLiteral("D"));
                Click(d, IDC_NEW);
                QCOMPARE(GroupList(dlg).GetCount(), 4);
                QCOMPARE(GroupList(dlg).GetCurSel(), pressDelete ? 2 : 0);
                Click(d, IDOK);
            });
            QCOMPARE(GroupNames().size(), qsizetype(4));
        }
    }
};

QTEST_MAIN(TestMemoGroupEditDlg)
#include "tst_memogroupeditdlg.moc"
