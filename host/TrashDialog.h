#pragma once
// The deleted memos of the current user: title, category and time of deletion, the latest first.
// The person chooses some and presses 恢复所选; the dialog then closes with Accepted and
// chosenKeys() names them. It only shows and chooses: the caller restores.
#include "StoreContents.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

class TrashDialog : public QDialog
{
    Q_OBJECT
  public:
    TrashDialog(const std::vector<DeletedMemo>& trash, QWidget* parent = nullptr);

    QList<qint32> chosenKeys() const;
    QTreeWidget* list() const { return m_list; }
    QPushButton* restoreButton() const { return m_restore; }

  private:
    QTreeWidget* m_list;
    QPushButton* m_restore;
};
