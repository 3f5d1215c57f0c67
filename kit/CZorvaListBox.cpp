#include "CZorvaListBox.h"

#include "CZorvaFont.h"
#include "SkinListStyle.h"

namespace {

constexpr int DataRole = Qt::UserRole + 1;

} // namespace

CZorvaListBox::CZorvaListBox(QWidget* parent) : CWndT<QListWidget>(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setMouseTracking(true);
    setTextElideMode(Qt::ElideRight);
    QFont font = FontFromLogFont(CZorvaFont::GetInstance().GetDefaultLableFont());
    font.setPixelSize(13);
    setFont(font);
    SkinListStyle::Dress(this, 8, 2);
    connect(this, &QListWidget::currentRowChanged, this, [this] { NotifyParent(this, LBN_SELCHANGE); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { NotifyParent(this, LBN_DBLCLK); });
}

void CZorvaListBox::DeleteAllItems()
{
    clear();
}

int CZorvaListBox::InsertString(int nIndex, const QString& text)
{
    const int at = (nIndex < 0 || nIndex > count()) ? count() : nIndex;
    auto* item = new QListWidgetItem(text);
    item->setData(DataRole, QVariant::fromValue<quint64>(0));
    insertItem(at, item); // owned by the list from here
    return at;
}

int CZorvaListBox::DeleteString(int nIndex)
{
    if (nIndex < 0 || nIndex >= count())
        return LB_ERR;
    delete takeItem(nIndex);
    return count();
}

int CZorvaListBox::SetItemData(int nIndex, DWORD_PTR data)
{
    QListWidgetItem* it = item(nIndex);
    if (!it)
        return LB_ERR;
    it->setData(DataRole, QVariant::fromValue<quint64>(data));
    return 0;
}

DWORD_PTR CZorvaListBox::GetItemData(int nIndex) const
{
    const QListWidgetItem* it = item(nIndex);
    return it ? DWORD_PTR(it->data(DataRole).toULongLong()) : 0;
}

void CZorvaListBox::GetText(int nIndex, QString& text) const
{
    text = GetText(nIndex);
}

QString CZorvaListBox::GetText(int nIndex) const
{
    const QListWidgetItem* it = item(nIndex);
    return it ? it->text() : QString();
}

int CZorvaListBox::GetCurSel() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? LB_ERR : row(selected.first());
}

int CZorvaListBox::SetCurSel(int nIndex)
{
    if (nIndex < 0 || nIndex >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return LB_ERR;
    }
    setCurrentRow(nIndex, QItemSelectionModel::ClearAndSelect);
    return nIndex;
}

int CZorvaListBox::GetCount() const
{
    return count();
}

int CZorvaListBox::SetTopIndex(int nIndex)
{
    QListWidgetItem* it = item(nIndex);
    if (!it)
        return LB_ERR;
    scrollToItem(it, QAbstractItemView::PositionAtTop);
    return 0;
}

int CZorvaListBox::GetTopIndex() const
{
    const QModelIndex top = indexAt(QPoint(2, 2));
    return top.isValid() ? top.row() : 0;
}
