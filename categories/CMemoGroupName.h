#pragma once
// The category name dialog: a small popup (template 21029) that asks for one category name, for a
// new category or for a rename, and refuses empty, reserved, blank and already stored names
// before it closes. It writes nothing to the record store.
#include <CZorvaEdit.h>
#include <CZorvaIconBtton.h>
#include <CZorvaPoupDlg.h>
#include <CZorvaStatic.h>

#include <QString>

constexpr int GROUP_NAME_NEW = 1;
constexpr int GROUP_NAME_EDIT = 2;

class CMemoGroupName : public CZorvaPoupDlg
{
    Q_OBJECT
  public:
    enum { IDD = 21029 };
    // Characters the name field takes; the category record keeps MAX_GROUP_NAME_LEN of them.
    static constexpr int MAX_INPUT_LEN = 20;

    CMemoGroupName(QWidget* pParent, int nMode);
    ~CMemoGroupName() override;

    // Makes the dialog template known to the kit, and forgets it again.
    static void RegisterTemplate();
    static void UnregisterTemplate();

    // GROUP_NAME_NEW or GROUP_NAME_EDIT, as constructed.
    int Mode() const { return m_nMode; }
    // The name the field starts with; after OK, the name the person gave.
    void SetName(const QString& name) { m_strName = name; }
    const QString& Name() const { return m_strName; }

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;

  private:
    void OnOKButton();
    void Refuse(const QString& text, const QString& caption, bool selectAll = false);

    CZorvaEdit m_edtName;
    CZorvaStatic m_stcPrompt;
    CZorvaIconBtton m_btnOK;
    CZorvaIconBtton m_btnCancel;
    int m_nMode;
    QString m_strName;
};
