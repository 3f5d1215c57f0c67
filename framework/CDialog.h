#pragma once
// The dialog base of the framework layer. A dialog object exists before its window: Create
// (modeless, e.g. a child pane) or DoModal (a popup with its own event loop) builds the controls
// from the dialog template, runs OnInitDialog (whose base runs the data exchange that attaches
// the member controls) and shows the window. After DoModal returns, or after DestroyWindow, the
// window counts as gone: GetSafeHwnd() is null and the members hold what the last exchange put
// there.
//
// The message map is built in the constructor of each class, base first:
//   MapMessage(0x468, &CMemoDlg::OnListSelChange);      // a private message (PostMessage/SendMessage)
//   MapCommand(21001, &CMemoDlg::OnNewMemo);            // button click or menu command
//   MapNotify(21006, EN_CHANGE, &CMemoDlg::OnSearchChange); // a control's notification
// Standard messages are virtual handlers: OnSize, OnShowWindow, OnEraseBkgnd, OnPaint,
// OnContextMenu, OnNcDestroy; PreTranslateMessage sees input for the dialog and its controls first.
// IDOK and IDCANCEL (Enter, Escape, the close button) go to their mapped handlers, else to
// OnOK / OnCancel.
#include "CDataExchange.h"
#include "CWnd.h"
#include "INotifyTarget.h"
#include "MSG.h"
#include "WinMessage.h"

#include <QDialog>
#include <functional>
#include <map>

class CDC;
class QPainter;

class FRAMEWORK_API CDialog : public CWndT<QDialog>, public INotifyTarget
{
    Q_OBJECT
  public:
    explicit CDialog(UINT templateId = 0, QWidget* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Modeless window from the template. Without a parent the default parent applies
    // (SetDefaultParent). Returns FALSE when the template is unknown or a window exists.
    virtual BOOL Create(UINT templateId, QWidget* parent = nullptr);
    // Runs the dialog modally; returns the EndDialog result (IDOK, IDCANCEL, ...), -1 when the
    // window could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    // Destroys the window (OnNcDestroy runs last; a dialog may delete itself there).
    BOOL DestroyWindow();
    // For a dialog object deleted while its window still exists (a pane its host deletes along
    // with its own frame): called first in the destructor, it makes the window count as gone, so
    // that no input, notification or message reaches members that are already destroyed.
    void DetachBeforeDelete();
    // The window while it exists, else null.
    QWidget* GetSafeHwnd() const { return m_bHasWindow ? const_cast<CDialog*>(this) : nullptr; }
    UINT GetTemplateId() const { return m_nIDTemplate; }
    bool IsRunningModal() const { return m_bInModalLoop; }

    void SetDlgItemTextW(int id, const QString& text) { ::SetWindowText(GetDlgItem(id), text); }
    void GetDlgItemTextW(int id, QString& text) const { text = ::GetWindowText(GetDlgItem(id)); }
    // Gives the control the focus, selecting an edit's text, as dialog navigation does.
    void GotoDlgCtrl(QWidget* control);

    // Runs DoDataExchange; notifications from the controls to this dialog are ignored meanwhile.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Routes a control's clicks to the message map (data exchange does this when it attaches).
    void HookControl(QWidget* control);

    // The parent of dialogs created without one, like the framework's main window.
    static void SetDefaultParent(QWidget* parent);
    static QWidget* DefaultParent();

    void MapMessage(UINT message, CMessageMap::Handler handler);
    template <class T> void MapMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
    {
        T* self = static_cast<T*>(this);
        MapMessage(message, [self, handler](WPARAM w, LPARAM l) { return (self->*handler)(w, l); });
    }
    void MapCommand(int id, std::function<void()> handler);
    template <class T> void MapCommand(int id, void (T::*handler)())
    {
        T* self = static_cast<T*>(this);
        MapCommand(id, [self, handler] { (self->*handler)(); });
    }
    void MapNotify(int id, UINT code, std::function<LRESULT()> handler);
    template <class T> void MapNotify(int id, UINT code, void (T::*handler)())
    {
        T* self = static_cast<T*>(this);
        MapNotify(id, code, [self, handler] {
            (self->*handler)();
            return LRESULT(0);
        });
    }
    template <class T> void MapNotify(int id, UINT code, LRESULT (T::*handler)())
    {
        T* self = static_cast<T*>(this);
        MapNotify(id, code, [self, handler] { return (self->*handler)(); });
    }

    // Input for this dialog or one of its controls, before the control gets it; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    bool OnControlNotify(int id, UINT code, QWidget* control, LRESULT* result) override;

    // The painter of the paint event being handled (for CPaintDC), else null.
    QPainter* ActivePainter() const { return m_activePainter; }

    void accept() override;
    void reject() override;

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs the data exchange towards the controls; return TRUE.
    virtual BOOL OnInitDialog();
    // Plain dialog OK: reads the controls (UpdateData) and, if that succeeds, ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    // Return TRUE when the background was drawn; FALSE fills it with the window colour.
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnPaint();
    virtual void OnContextMenu(QWidget* pWnd, QPoint pos);
    virtual void OnNcDestroy();

    // Whether Create makes a child window when the template names neither child nor popup.
    void SetChildByDefault(bool child) { m_bChildByDefault = child; }

    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    bool createWindow(QWidget* parent, bool child);
    void runInitDialog();
    QWidget* defaultButton() const;
    bool dispatchCommand(int id, UINT code, QWidget* control, LRESULT* result);

    UINT m_nIDTemplate;
    QWidget* m_pParentWnd;
    bool m_bTemplateLoaded = false;
    bool m_bHasWindow = false;
    bool m_bInitDone = false;
    bool m_bInModalLoop = false;
    bool m_bEndRequested = false;
    bool m_bChildByDefault = false;
    int m_nModalResult = -1;
    int m_nLockout = 0;
    QPainter* m_activePainter = nullptr;
    CMessageMap m_messageMap;
    std::map<std::pair<int, UINT>, std::function<LRESULT()>> m_notifyMap;
};
