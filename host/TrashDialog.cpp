#include "TrashDialog.h"

#include <MemoRules.h>
#include <TextView.h>

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TrashDialog::TrashDialog(const std::vector<DeletedMemo>& trash, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)), m_restore(new QPushButton(u"恢复所选(&R)"_s, this))
{
    setObjectName(u"trashDialog"_s);
    setWindowTitle(u"回收站"_s);
    resize(560, 380);

    auto* hint =
        new QLabel(u"删除的备忘录在这里保留 30 天。选中要恢复的备忘录，它们会回到原来的位置。"_s, this);
    hint->setWordWrap(true);

    m_list->setObjectName(u"trashList"_s);
    m_list->setHeaderLabels({u"标题"_s, u"分类"_s, u"删除时间"_s});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAllColumnsShowFocus(true);
    for (const DeletedMemo& entry : trash) {
        const QString when = QDateTime::fromSecsSinceEpoch(entry.deletedAt).toString(u"yyyy-MM-dd HH:mm"_s);
        auto* item = new QTreeWidgetItem(m_list, {FromTextView(MemoTitle(entry.memo)),
                                                  FromTextView(EffectiveGroupName(entry.memo)), when});
        item->setData(0, Qt::UserRole, entry.memo.key);
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    m_list->resizeColumnToContents(1);
    m_list->resizeColumnToContents(2);

    m_restore->setObjectName(u"restoreButton"_s);
    m_restore->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_restore, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
}

QList<qint32> TrashDialog::chosenKeys() const
{
    QList<qint32> keys;
    // In list order, not in the order of clicking.
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_list->topLevelItem(row);
        if (item->isSelected())
            keys << item->data(0, Qt::UserRole).toInt();
    }
    return keys;
}
