#pragma once
// The popup in which the user writes a new memo (template 21005): a category picked from a list,
// a title of at most 20 characters and a body of at most 500, with a live counter beside each
// text and a grey hint in the empty title. OK is refused while title and body are both empty.
// The dialog edits three strings and never touches the record store.
//
// The caller prepares it with Prepare before DoModal (title, usually the title hint, text 222;
// body; the picker's entries and selection); after IDOK it reads GetTitle, GetContent and
// GetGroup. One dialog may be run again and again: each DoModal starts it as a new one (labels,
// title font, focus, nothing to undo).
#include <CToolTipCtrl.h>
#include <CZOREditComboBox.h>
#include <CZorvaEdit.h>
#include <CZorvaIconBtton.h>
#include <CZorvaPoupDlg.h>
#include <CZorvaStatic.h>

#include <QString>
#include <QStringList>

#include <array>

class CMemoEditDlg : public CZorvaPoupDlg
{
    Q_OBJECT
  public:
    enum { IDD = 21005 };

    // `owner`: the window the dialog is centred on and belongs to (the host's by default).
    explicit CMemoEditDlg(QWidget* owner = nullptr);
    ~CMemoEditDlg() override;

    // Makes the dialog template known to the kit, and forgets it again.
    static void RegisterTemplate();
    static void UnregisterTemplate();

    // Copies of the texts; while the window exists they are read from the controls first.
    QString GetTitle();
    QString GetGroup();
    QString GetContent();

    // The texts the next run starts with, and the picker's entries with entry `selected` chosen
    // (none for -1).
    void Prepare(const QString& title, const QString& content, const QStringList& categories, int selected);
    // The balloon tips of the title, the body and the picker.
    CToolTipCtrl& ToolTip() { return m_tooltip; }

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;

  private:
    CZOREditComboBox m_comboGroup;
    CZorvaStatic m_staticTitle;
    CZorvaStatic m_staticGroup;
    CZorvaStatic m_staticContent;
    CZorvaEdit m_editTitle;
    CZorvaEdit m_editContent;
    CZorvaIconBtton m_btnOK;
    CZorvaIconBtton m_btnCancel;
    CToolTipCtrl m_tooltip;
    int m_bFirstShow = 1;
    QString m_strTitle;
    QString m_strGroup;
    QString m_strContent;

    void OnTitleSetFocus();
    void OnTitleKillFocus();
    void OnTitleChange();
    void OnContentChange();
    LRESULT OnGroupSelChange();
    void OnOKButton();
    void OnCancelButton();
    void SetLabel(CZorvaStatic& label, const QString& text);
    void StartAgain();

    // The labels' texts from the template, for a dialog that is opened again.
    std::array<QString, 3> m_labelTexts;
    bool m_bOpenedBefore = false;
};
