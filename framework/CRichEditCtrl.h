#pragma once
// The rich-edit control of dialogs, on QTextEdit. What dialog code relies on:
// - A text limit in UTF-16 code units (LimitText; 64000 by default) that holds for typing, paste,
//   drop, input methods, ReplaceSel and SetWindowTextW alike; text that does not fit is cut, never
//   between the two halves of a surrogate pair.
// - Notifications to the parent window (INotifyTarget, e.g. a CDialog's MapNotify) and as the
//   Qt signal notified(code): EN_CHANGE when the text changed (user or program; format changes do
//   not count) and EN_SELCHANGE when the selection moved, each only while its bit is in the event
//   mask (ENM_CHANGE, ENM_SELCHANGE; the mask starts empty), EN_SETFOCUS and EN_KILLFOCUS always.
//   A change made while the control's own EN_CHANGE is being handled raises no further EN_CHANGE,
//   so a handler that sets the text does not run itself again.
//   Handlers only ever see a finished edit: what a key press, paste, drop, input method commit,
//   mouse action, focus change or call on the control causes is sent, in order and with one
//   EN_CHANGE at most, when that operation has returned. A change made through QTextEdit's own
//   API (setPlainText, say) is sent from the event loop, once Qt has finished it.
// - The modified flag: set by edits (typing, paste, cut, ReplaceSel, undo), cleared by
//   SetWindowTextW and SetModify(FALSE).
// - Default character format (CHARFORMATW): the look of the whole text and of what is typed.
// - Single-line (default) or multi-line. In a single-line edit Enter goes to the dialog (its
//   default button) and pasted text stops at the first line break; a multi-line edit wraps, scrolls
//   vertically and takes Enter as a new line. Line breaks are "\n" in the window text.
// - Commands sent to the control itself (a context menu's choices) go to MapCommand handlers.
#include "CWnd.h"
#include "FontTypes.h"
#include "FrameworkExport.h"
#include "INotifyTarget.h"
#include "ITemplateControl.h"
#include "WinDefs.h"
#include "WindowText.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <deque>
#include <functional>
#include <map>

using LONG = std::int32_t;

struct CHARRANGE
{
    LONG cpMin = 0;
    LONG cpMax = 0;
};

// EM_ messages that SendMessage understands besides WM_CUT, WM_COPY, WM_PASTE and WM_SETREDRAW.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;

class FRAMEWORK_API CRichEditCtrl : public CWndT<QTextEdit>,
                                    public IWindowText,
                                    public INotifyTarget,
                                    public ITemplateControl
{
    Q_OBJECT
  public:
    static constexpr int kDefaultLimit = 64000;

    explicit CRichEditCtrl(QWidget* parent = nullptr);
    ~CRichEditCtrl() override;

    // Text.
    void SetWindowTextW(const QString& text) { setWindowText(text); }
    void SetWindowText(const QString& text) { setWindowText(text); }
    QString windowText() const override;
    void setWindowText(const QString& text) override;
    void limitText(int maxChars) override { LimitText(maxChars); }
    void LimitText(long maxChars = 0);
    long GetLimitText() const { return m_nLimit; }
    long GetTextLength() const;

    // Selection, in UTF-16 positions of the window text. SetSel(0, -1) selects everything;
    // a start of -1 removes the selection.
    void GetSel(long& start, long& end) const;
    void GetSel(CHARRANGE& range) const;
    void SetSel(long start, long end);
    void SetSel(const CHARRANGE& range) { SetSel(range.cpMin, range.cpMax); }
    QString GetSelText() const;
    // Replaces the selection with as much of `text` as the limit leaves room for. Unless canUndo,
    // the replacement cannot be undone, and neither can anything before it.
    void ReplaceSel(const QString& text, BOOL canUndo = FALSE);
    void Clear();
    void Cut();
    void Copy() const;
    void Paste();
    BOOL CanPaste() const;
    void Undo();
    BOOL CanUndo() const;
    // Forgets what could be undone or redone.
    void EmptyUndoBuffer();
    void SetReadOnly(BOOL readOnly = TRUE) { setReadOnly(readOnly != FALSE); }

    BOOL GetModify() const { return m_bModified ? TRUE : FALSE; }
    void SetModify(BOOL modified = TRUE) { m_bModified = modified != FALSE; }

    DWORD GetEventMask() const { return m_dwEventMask; }
    // Returns the previous mask.
    DWORD SetEventMask(DWORD mask);

    BOOL SetDefaultCharFormat(const CHARFORMATW& format);
    DWORD GetDefaultCharFormat(CHARFORMATW& format) const;
    BOOL SetSelectionCharFormat(const CHARFORMATW& format);
    // Returns the previous background colour.
    COLORREF SetBackgroundColor(BOOL useSystemColour, COLORREF colour);

    void SetMultiLine(bool multiLine);
    bool IsMultiLine() const { return m_bMultiLine; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    void MapCommand(UINT id, std::function<void()> handler);
    template <class T> void MapCommand(UINT id, void (T::*handler)())
    {
        T* self = static_cast<T*>(this);
        MapCommand(id, [self, handler] { (self->*handler)(); });
    }
    bool OnControlNotify(int id, UINT code, QWidget* control, LRESULT* result) override;

    void adoptTemplateStyle(const QWidget* templateControl) override;

  Q_SIGNALS:
    void notified(UINT code);

  protected:
    // WM_CONTEXTMENU: the window clicked and the position in screen coordinates. Shows nothing
    // here.
    virtual void OnContextMenu(QWidget* pWnd, QPoint pos);

    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool viewportEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    class Operation;
    class ProgramChange;

    void onContentsChanged();
    void onSelectionMoved();
    void keepShapedText(int from, int removed, int added);
    // Queues a notification; it goes out when the operation in progress ends.
    void notify(UINT code);
    void notifyChange();
    void deliverPending();
    void send(UINT code);
    // Code units that may still be inserted in place of the selection.
    int room() const;
    // The selection covers the whole text, which already is `value` in `format` throughout.
    bool wholeTextAlready(const QTextCursor& selection, const QString& value,
                          const QTextCharFormat& format) const;
    QString fitted(QString text, int room) const;
    void applyDefaultFormat();
    void updateLineMargins();

    DWORD m_dwEventMask = ENM_NONE;
    long m_nLimit = kDefaultLimit;
    bool m_bModified = false;
    bool m_bMultiLine = false;
    bool m_bInChangeNotification = false;
    int m_nProgramChange = 0;
    bool m_bProgramChanged = false;
    bool m_bProgramChangeIsEdit = false;
    int m_nOperation = 0;
    bool m_bDeliveryPosted = false;
    std::deque<UINT> m_pending;
    QString m_lastText;
    CHARRANGE m_lastSel;
    QTextCharFormat m_defaultFormat;
    CHARFORMATW m_cfDefault;
    std::map<UINT, std::function<void()>> m_commands;
};
