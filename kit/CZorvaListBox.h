#pragma once
// The skinned single-selection list box: one text and one item data per row. Selecting a row
// notifies the parent (LBN_SELCHANGE), double-clicking one too (LBN_DBLCLK).
#include "CWnd.h"
#include "KitExport.h"

#include <QListWidget>
#include <cstdint>

using DWORD_PTR = std::uintptr_t;

constexpr int LB_ERR = -1;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;

class KIT_API CZorvaListBox : public CWndT<QListWidget>
{
    Q_OBJECT

  public:
    explicit CZorvaListBox(QWidget* parent = nullptr);

    void DeleteAllItems();
    void ResetContent() { DeleteAllItems(); }
    // Inserts before row nIndex; -1 (or past the end) appends. Returns the row's index.
    int InsertString(int nIndex, const QString& text);
    int AddString(const QString& text) { return InsertString(-1, text); }
    int DeleteString(int nIndex); // returns the rows left, LB_ERR for a bad index
    int SetItemData(int nIndex, DWORD_PTR data);
    DWORD_PTR GetItemData(int nIndex) const; // 0 for a bad index
    void GetText(int nIndex, QString& text) const;
    QString GetText(int nIndex) const;
    int GetCurSel() const; // LB_ERR when nothing is selected
    // Selects row nIndex; -1 or a bad index clears the selection and returns LB_ERR.
    int SetCurSel(int nIndex);
    int GetCount() const;
    int SetTopIndex(int nIndex);
    int GetTopIndex() const;
};
