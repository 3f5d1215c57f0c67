#pragma once
// The skinned report list: columns with headers, rows with texts in their columns and a number
// of item data each, multi-selection. It tells its parent window when the selection changes
// (posts WM_ZORVA_LISTSELCHANGE, also for selections the program makes; changes that come before
// the message is delivered are reported by that one message) and when the user asks
// to delete the selected rows with the Delete key (posts WM_ZORVA_LISTDELETE). Rows stay in the
// order they were inserted in; the list never sorts. While redrawing is off (SetRedraw(FALSE)),
// rows added at the end are collected and go into the view together, when redrawing is switched
// on again or when anything needs the view: a rebuild then costs the view one insertion.
#include "CWnd.h"
#include "KitExport.h"

#include <QTreeWidget>
#include <cstdint>

using DWORD_PTR = std::uintptr_t;
// Where a walk over the selected rows stands; 0 when it is over.
using POSITION = std::intptr_t;

constexpr UINT WM_ZORVA_LISTSELCHANGE = 0x468;
constexpr UINT WM_ZORVA_LISTDELETE = 0x46A;

// Item states.
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;

// Column alignment values (0 counts as left).
constexpr int ZLC_ALIGN_LEFT = 1;
constexpr int ZLC_ALIGN_CENTER = 2;
constexpr int ZLC_ALIGN_RIGHT = 3;
// Header types: plain text.
constexpr int ZLC_HEADER_TEXT = 0;

class KIT_API CZorvaListCtrl : public CWndT<QTreeWidget>
{
    Q_OBJECT

  public:
    explicit CZorvaListCtrl(QWidget* parent = nullptr);
    ~CZorvaListCtrl() override;

    void SetRedraw(BOOL redraw = TRUE);

    // Inserts a column before column nCol (at the end when nCol is past it); returns its index.
    int InsertColumn(int nCol, const QString& heading, int nWidth, int nAlign = ZLC_ALIGN_LEFT,
                     int nHeaderType = ZLC_HEADER_TEXT);
    // Inserts a row before row nItem (at the end when nItem is past it); returns its index.
    int InsertItem(int nItem, const QString& text);
    BOOL SetItemText(int nItem, int nSubItem, const QString& text);
    QString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR data);
    DWORD_PTR GetItemData(int nItem) const; // 0 for a row that does not exist
    int GetItemCount() const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    // Removes every row; the columns stay.
    BOOL Clear() { return DeleteAllItems(); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK = FALSE);
    // Sets the bits of nMask (LVIS_SELECTED, LVIS_FOCUSED) to those of nState; nItem -1 means
    // every row.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    UINT GetSelectedCount() const;

    // Walks the selected rows from the first to the last. The walk holds on to rows, not to
    // their numbers: a reported row may be deleted before the next one is asked for, and the
    // next one is then reported under its new number.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;

    // A text shown in the middle of the list while it has no rows; empty for none.
    void SetEmptyText(const QString& text);
    QString GetEmptyText() const { return m_emptyText; }

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Puts the collected rows into the view.
    void flushPending() const;
    QTreeWidgetItem* row(int nItem) const;
    int rowOfSerial(std::intptr_t serial) const;
    POSITION positionAfter(int nItem) const;

    QString m_emptyText;
    QList<Qt::Alignment> m_align; // per column
    int m_columns = 0;
    std::intptr_t m_nextSerial = 1;
    bool m_selChangePending = false;
    bool m_redrawOff = false;
    bool m_dressed = false; // font and look set (at the first polish)
    // Rows added at the end while redrawing is off, not yet in the view; owned here until then.
    mutable QList<QTreeWidgetItem*> m_pending;
};
