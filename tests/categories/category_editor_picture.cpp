// Renders the category editor over a temporary store holding a few categories and saves the
// window as a PNG, and optionally the name dialog that its New button opens:
// category_editor_picture <editor.png> [name.png]. Runs offscreen as well.
#include <CMemoGroupEditDlg.h>
#include <CMemoGroupName.h>
#include <CategoryEditor.h>
#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoStore.h>
#include <TestSeams.h>
#include <WinDefs.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    RegisterCategoryTemplates();
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 3) {
        std::fprintf(stderr, "usage: category_editor_picture <editor.png> [name.png]\n");
        return 2;
    }
    QTemporaryDir dir;
    if (!dir.isValid() || !MemoStore_Open("picture", dir.path().toUtf8().constData())) {
        std::fprintf(stderr, "cannot open a store: %s\n", MemoStore_LastError());
        return 1;
    }
    const char16_t* names[] = {u"工作", u"生活", u"读书笔记", u"旅行计划", u"其它", u"家庭账单"};
    MemoTime id = 305371800;
    for (const char16_t* name : names) {
        const MemoGroupRecord group = NewGroupRecord(id++, name);
        DBI_MemGroupRecycleWriteRecord(&group);
    }

    bool saved = false;
    {
        KitTest::ModalDriver driver;
        CMemoGroupEditDlg dlg;
        driver.onNextModal([&](QDialog* d) {
            saved = d->grab().save(args.at(1), "PNG");
            if (args.size() == 3) {
                driver.onNextModal([&](QDialog* name) {
                    auto* nameDlg = static_cast<CMemoGroupName*>(name);
                    nameDlg->SetDlgItemTextW(21032, QStringLiteral(u"学习"));
                    saved = saved && name->grab().save(args.at(2), "PNG");
                    nameDlg->EndDialog(IDCANCEL);
                });
                static_cast<QAbstractButton*>(dlg.GetDlgItem(21024))->click();
            }
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }
    MemoStore_Close();
    return saved ? 0 : 1;
}
