#pragma once
// The category editor: a modal popup (template 21003) that lists the categories and creates,
// renames and deletes them. Every change is written to the record store at once, in one
// transaction with the memos it concerns; OK and Cancel only close the dialog.
#include <CZorvaIconBtton.h>
#include <CZorvaListBox.h>
#include <CZorvaPoupDlg.h>
#include <MemoGroupRecord.h>

#include <QString>
#include <vector>

class CMemoGroupEditDlg : public CZorvaPoupDlg
{
    Q_OBJECT
  public:
    enum { IDD = 21003 };

    // Without a parent the dialog belongs to the application's main window (CDialog's default).
    explicit CMemoGroupEditDlg(QWidget* pParent = nullptr);
    ~CMemoGroupEditDlg() override;

    // Makes the dialog template known to the kit, and forgets it again.
    static void RegisterTemplate();
    static void UnregisterTemplate();

    // Copies of the stored categories in the store's order, as the list shows them.
    const std::vector<MemoGroupRecord>& GroupCache() const { return m_groupCache; }

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnNewGroup();
    void OnEditGroup();
    void OnDeleteGroup();

  private:
    void FillGroupList();
    void LoadGroupCache();
    // Reloads the cache and the list from the store after a write; one that failed is reported.
    void ShowStoredGroups(bool written);
    // Runs the name dialog; on OK `name` is the name it returns.
    bool AskName(int nMode, const QString& preset, QString& name);

    // The row selected after every refill of the list: 0 at first, then the row that was
    // selected when Delete was last pressed (-1: none).
    int m_nSelRow = 0;
    std::vector<MemoGroupRecord> m_groupCache;
    CZorvaListBox m_wndGroupList;
    CZorvaIconBtton m_btnOK;
    CZorvaIconBtton m_btnCancel;
    CZorvaIconBtton m_btnNew;
    CZorvaIconBtton m_btnEdit;
    CZorvaIconBtton m_btnDelete;
};
