#pragma once
// The memo detail panel: a resizable child dialog (template 21001) beside the memo list that
// shows the selected memo's title, category and body for reading and editing. The memo panel
// fills and reads its controls directly, and learns of every change through edited(). The panel paints its own skinned background from a
// strip of the common skin image that it renders once into a cached bitmap.
#include <CBitmap.h>
#include <CMenuRichEditCtrl.h>
#include <CToolTipCtrl.h>
#include <CXTResizeDialog.h>
#include <CZOREditComboBox.h>
#include <CZorvaEdit.h>
#include <CZorvaStatic.h>

#include <QSize>
#include <QString>

class CPropertyDlg : public CXTResizeDialog
{
    Q_OBJECT
  public:
    enum { IDD = 21001 };

    // What the pane holds: the title (empty while the hint shows), the body, the category text.
    struct Texts
    {
        QString title;
        QString body;
        QString group;
        friend bool operator==(const Texts&, const Texts&) = default;
    };

    CPropertyDlg();
    ~CPropertyDlg() override;

    // Makes the panel's dialog template known to the kit, and forgets it again.
    static void RegisterTemplate();
    static void UnregisterTemplate();

    // Renders the background strip into m_bmpBack unless it is there already.
    void DrawMemDC();
    // How often the strip has been rendered into the cache (once in the panel's life).
    int StripRenderCount() const { return m_nStripRenders; }
    Texts ReadTexts() const;

    COLORREF m_crBack;
    CBitmap m_bmpBack;
    QSize m_sizeBack;
    CZorvaEdit m_editTitle;
    CZOREditComboBox m_comboGroup;
    QString m_strGroup;
    CZorvaStatic m_staticTitle;
    CZorvaStatic m_staticGroup;
    CMenuRichEditCtrl m_editContent;
    CToolTipCtrl m_tooltip;

  Q_SIGNALS:
    // The title, the body or the category text changed, by the person or by the program.
    void edited();

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;
    // Enter and Escape do nothing in the detail panel.
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void OnTitleKillFocus();
    void OnTitleSetFocus();
    void OnTitleChange();

    int m_nStripRenders = 0;
};
