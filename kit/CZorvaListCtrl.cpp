#include "CZorvaListCtrl.h"

#include "CZorvaFont.h"
#include "MessageTarget.h"
#include "SkinListStyle.h"
#include "WinMessage.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

constexpr int SerialRole = Qt::UserRole + 1;
constexpr int DataRole = Qt::UserRole + 2;

// Queued to the list itself when its selection changes; handled, it tells the parent.
const QEvent::Type SelectionChangedEvent = QEvent::Type(QEvent::registerEventType());

Qt::Alignment alignmentOf(int nAlign)
{
    switch (nAlign) {
    case ZLC_ALIGN_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ZLC_ALIGN_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

CZorvaListCtrl::CZorvaListCtrl(QWidget* parent) : CWndT<QTreeWidget>(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideRight);
    setMouseTracking(true);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    header()->setHighlightSections(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHeaderLabels({QString()});
    header()->hide(); // until the first column exists

    // A rebuild clears the selection and selects a row again: one report is enough, and the
    // parent reads the selection when it gets it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_selChangePending)
            return;
        m_selChangePending = true;
        QCoreApplication::postEvent(this, new QEvent(SelectionChangedEvent)); // the queue owns it
    });
}

CZorvaListCtrl::~CZorvaListCtrl()
{
    qDeleteAll(m_pending);
}

void CZorvaListCtrl::SetRedraw(BOOL redraw)
{
    m_redrawOff = redraw == FALSE;
    if (!m_redrawOff)
        flushPending();
    CWndT<QTreeWidget>::SetRedraw(redraw);
}

void CZorvaListCtrl::flushPending() const
{
    if (m_pending.isEmpty())
        return;
    const QList<QTreeWidgetItem*> rows = std::exchange(m_pending, {});
    const_cast<CZorvaListCtrl*>(this)->addTopLevelItems(rows); // the view owns them from here
}

bool CZorvaListCtrl::event(QEvent* event)
{
    // Dressed when first polished, just before it is first shown: a dialog's template makes a list
    // for each list control, and the one a member control takes the place of goes undressed.
    if (event->type() == QEvent::Polish && !m_dressed) {
        m_dressed = true;
        QFont font = FontFromLogFont(CZorvaFont::GetInstance().GetDefaultLableFont());
        font.setPixelSize(13);
        SkinListStyle::Dress(this, 6);
        setFont(font); // the headings keep the application's font
    }
    if (event->type() == SelectionChangedEvent) {
        m_selChangePending = false;
        SendMessage(MessageTarget(this), WM_ZORVA_LISTSELCHANGE, 0, 0);
        return true;
    }
    return CWndT<QTreeWidget>::event(event);
}

int CZorvaListCtrl::InsertColumn(int nCol, const QString& heading, int nWidth, int nAlign,
                                 int /*nHeaderType: every header shows its text*/)
{
    const int col = std::clamp(nCol, 0, m_columns);
    if (m_columns > 0)
        model()->insertColumns(col, 1);
    ++m_columns;
    const Qt::Alignment align = alignmentOf(nAlign);
    m_align.insert(col, align);
    headerItem()->setText(col, heading);
    headerItem()->setTextAlignment(col, align);
    if (nWidth >= 0)
        setColumnWidth(col, nWidth);
    header()->show();
    return col;
}

int CZorvaListCtrl::InsertItem(int nItem, const QString& text)
{
    const int count = GetItemCount();
    const int at = std::clamp(nItem, 0, count);
    auto* item = new QTreeWidgetItem;
    item->setData(0, SerialRole, QVariant::fromValue<qint64>(m_nextSerial++));
    item->setData(0, DataRole, QVariant::fromValue<quint64>(0));
    item->setText(0, text);
    for (int col = 0; col < m_align.size(); ++col)
        if (m_align.at(col) != alignmentOf(ZLC_ALIGN_LEFT)) // left is the view's own
            item->setTextAlignment(col, m_align.at(col));
    if (m_redrawOff && at == count) {
        m_pending.append(item);
        return at;
    }
    flushPending();
    insertTopLevelItem(at, item); // the list owns the item from here
    return at;
}

BOOL CZorvaListCtrl::SetItemText(int nItem, int nSubItem, const QString& text)
{
    QTreeWidgetItem* item = row(nItem);
    if (!item || nSubItem < 0 || nSubItem >= std::max(1, m_columns))
        return FALSE;
    item->setText(nSubItem, text);
    return TRUE;
}

QString CZorvaListCtrl::GetItemText(int nItem, int nSubItem) const
{
    const QTreeWidgetItem* item = row(nItem);
    return item ? item->text(nSubItem) : QString();
}

BOOL CZorvaListCtrl::SetItemData(int nItem, DWORD_PTR data)
{
    QTreeWidgetItem* item = row(nItem);
    if (!item)
        return FALSE;
    item->setData(0, DataRole, QVariant::fromValue<quint64>(data));
    return TRUE;
}

DWORD_PTR CZorvaListCtrl::GetItemData(int nItem) const
{
    const QTreeWidgetItem* item = row(nItem);
    return item ? DWORD_PTR(item->data(0, DataRole).toULongLong()) : 0;
}

int CZorvaListCtrl::GetItemCount() const
{
    return topLevelItemCount() + int(m_pending.size());
}

BOOL CZorvaListCtrl::DeleteItem(int nItem)
{
    flushPending();
    if (!row(nItem))
        return FALSE;
    delete takeTopLevelItem(nItem);
    return TRUE;
}

BOOL CZorvaListCtrl::DeleteAllItems()
{
    qDeleteAll(std::exchange(m_pending, {}));
    clear();
    return TRUE;
}

BOOL CZorvaListCtrl::EnsureVisible(int nItem, BOOL /*bPartialOK*/)
{
    flushPending();
    QTreeWidgetItem* item = row(nItem);
    if (!item)
        return FALSE;
    scrollToItem(item, QAbstractItemView::EnsureVisible);
    return TRUE;
}

BOOL CZorvaListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    flushPending();
    QList<QTreeWidgetItem*> items;
    if (nItem == -1) {
        for (int i = 0; i < topLevelItemCount(); ++i)
            items << topLevelItem(i);
    } else if (QTreeWidgetItem* item = row(nItem)) {
        items << item;
    } else {
        return FALSE;
    }
    for (QTreeWidgetItem* item : items) {
        if (nMask & LVIS_SELECTED)
            item->setSelected(nState & LVIS_SELECTED);
        if (nMask & LVIS_FOCUSED) {
            if (nState & LVIS_FOCUSED)
                setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            else if (currentItem() == item)
                setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
        }
    }
    return TRUE;
}

UINT CZorvaListCtrl::GetItemState(int nItem, UINT nMask) const
{
    flushPending();
    const QTreeWidgetItem* item = row(nItem);
    if (!item)
        return 0;
    UINT state = 0;
    if (item->isSelected())
        state |= LVIS_SELECTED;
    if (currentItem() == item)
        state |= LVIS_FOCUSED;
    return state & nMask;
}

UINT CZorvaListCtrl::GetSelectedCount() const
{
    flushPending();
    return UINT(selectedItems().size());
}

POSITION CZorvaListCtrl::GetFirstSelectedItemPosition() const
{
    flushPending();
    return positionAfter(-1);
}

int CZorvaListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    flushPending();
    const int nItem = rowOfSerial(pos);
    if (nItem < 0) {
        pos = 0;
        return -1;
    }
    pos = positionAfter(nItem);
    return nItem;
}

void CZorvaListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        PostMessage(MessageTarget(this), WM_ZORVA_LISTDELETE, 0, 0);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QTreeWidgetItem* CZorvaListCtrl::row(int nItem) const
{
    const int inView = topLevelItemCount();
    if (nItem >= 0 && nItem < inView)
        return topLevelItem(nItem);
    if (nItem >= inView && nItem < GetItemCount())
        return m_pending.at(nItem - inView);
    return nullptr;
}

int CZorvaListCtrl::rowOfSerial(std::intptr_t serial) const
{
    if (serial <= 0)
        return -1;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->data(0, SerialRole).toLongLong() == serial)
            return i;
    return -1;
}

POSITION CZorvaListCtrl::positionAfter(int nItem) const
{
    for (int i = nItem + 1; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected())
            return POSITION(topLevelItem(i)->data(0, SerialRole).toLongLong());
    return 0;
}

void CZorvaListCtrl::SetEmptyText(const QString& text)
{
    if (text == m_emptyText)
        return;
    m_emptyText = text;
    viewport()->update();
}

void CZorvaListCtrl::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (m_emptyText.isEmpty() || GetItemCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    const QRect area = viewport()->rect().adjusted(16, 16, -16, -16);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
}
