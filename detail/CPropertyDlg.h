#pragma once
// The memo detail panel: a resizable child dialog (template 21001) beside the memo list that
// shows the selected memo's title, category and body for reading and editing. The memo panel
// works it through the members below (show a memo, clear it, put edits back, read them, whether
// it holds unsaved edits) and learns of every change through edited(); the controls are the
// pane's own. The pane paints its own skinned background from a strip of the common skin image
// that it renders once into a cached bitmap.
#include <CBitmap.h>
#include <CMenuRichEditCtrl.h>
#include <CToolTipCtrl.h>
#include <CXTResizeDialog.h>
#include <CZOREditComboBox.h>
#include <CZorvaEdit.h>
#include <CZorvaStatic.h>

#include <QSize>
#include <QString>
#include <QStringList>

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

    // Shows a stored memo: its title and body, each read from its start (caret at the first
    // character, scrolled there), and its category in the box, which holds `categories`.
    void ShowMemo(const Texts& memo, const QStringList& categories);
    // Empties title and body for a memo not created yet; the box holds `categories` with entry
    // `selected` chosen (none for -1). With `focusBody` the body takes the focus.
    void Clear(const QStringList& categories, int selected, bool focusBody);
    // Puts edits back into the pane (a draft, or a new memo that could not be stored): title and
    // body replace the fields' texts, the category becomes the box's text.
    void PutEdits(const Texts& edits);
    // What the pane holds: the title empty while the hint shows.
    Texts ReadTexts() const;
    // The pane's texts as Save takes them: the title as it stands (the hint included), the body,
    // and the category as the exchange reads it (which refuses a name over the limit with the
    // standard message).
    Texts ReadEdits();
    // Takes what the pane holds now as unedited.
    void MarkClean();
    // Whether the pane holds edits: other texts than when it was last marked clean. For a memo not
    // stored yet (`stored` false) a category alone is not worth keeping.
    bool HoldsEdits(bool stored) const;
    void FocusBody();

    // Renders the background strip into the cache unless it is there already.
    void DrawMemDC();
    // How often the strip has been rendered into the cache (once in the panel's life).
    int StripRenderCount() const { return m_nStripRenders; }
    // The cached strip that erasing copies from.
    CBitmap& StripCache() { return m_bmpBack; }
    // The balloon tips of the title, the body and the category.
    CToolTipCtrl& ToolTip() { return m_tooltip; }

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
    void SetAccessibleNames();
    void FillCategories(const QStringList& categories);
    void OnTitleKillFocus();
    void OnTitleSetFocus();
    void OnTitleChange();

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
    Texts m_clean; // what the pane held when last marked clean
    int m_nStripRenders = 0;
};
