#pragma once
// The skinned combo box: an edit field with a drop-down list of entries. Entries, selection and
// looks may all be set before the box is placed in a dialog; they are simply there when it shows.
// When the user chooses an entry the box posts WM_ZORVA_COMBOSELCHANGE to its parent window;
// selections made by the program post nothing. In pick-only mode (SetEnableInput(FALSE)) the
// field takes no typing: a click anywhere opens the list and leaves it open, and a second click
// on an entry picks it (pressing, dragging to an entry and releasing picks it too). The field's
// text can still be set by the program, also to a text that is not an entry.
#include "CSkinRect.h"
#include "CWnd.h"
#include "KitExport.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPoint>
#include <optional>

constexpr UINT WM_ZORVA_COMBOSELCHANGE = 0x496;
constexpr int CB_ERR = -1;

class KIT_API CZOREditComboBox : public CWndT<QComboBox>
{
    Q_OBJECT

  public:
    explicit CZOREditComboBox(QWidget* parent = nullptr);

    void ResetContent();
    // Inserts before entry nIndex; -1 (or past the end) appends. Returns the entry's index.
    int InsertString(int nIndex, const QString& text);
    int AddString(const QString& text) { return InsertString(-1, text); }
    int DeleteString(int nIndex);
    // The first entry after nStartAfter equal to `text` (exactly, case-sensitively), going on
    // from the top when the end is reached; -1 searches the whole list. CB_ERR when none is.
    int FindString(int nStartAfter, const QString& text) const;
    int FindStringExact(int nStartAfter, const QString& text) const { return FindString(nStartAfter, text); }
    QString GetLBText(int nIndex) const;
    int GetCurSel() const; // CB_ERR when none is selected
    // Selects entry nIndex and shows its text; -1 or a bad index clears selection and text and
    // returns CB_ERR.
    int SetCurSel(int nIndex);
    int GetCount() const;

    // arrowGlyph: the 27 x 18 drop-down glyph; frame: the field's frame, stretched by 6-pixel
    // borders; arrowStates: three 27 x 18 backgrounds of the drop-down button stacked (normal,
    // hover, pressed); width: the box's width.
    void SetEditComboBoxInfo(const CSkinRect& arrowGlyph, const CSkinRect& frame,
                             const CSkinRect& arrowStates, int width);
    void SetBkColor(COLORREF colour);
    void SetEnableInput(BOOL enable);
    BOOL IsInputEnabled() const { return m_inputEnabled ? TRUE : FALSE; }

    // The edit field's rich-edit side: a text limit (UTF-16 code units) and the event mask that
    // decides whether EN_CHANGE and EN_SELCHANGE reach the parent.
    void LimitText(int nChars);
    void SetLimitText(int nChars) { LimitText(nChars); }
    DWORD SetEventMask(DWORD mask);
    DWORD GetEventMask() const { return m_eventMask; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;
    void hidePopup() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRect arrowRect() const;
    void placeEdit();
    // Opens the list for the press of a click at `globalPos`; the release of that same click
    // must not close it again.
    void openFromClick(QPoint globalPos);
    bool filterPopupMouse(QEvent* event);

    CSkinRect m_arrowGlyph;
    CSkinRect m_frame;
    CSkinRect m_arrowStates;
    int m_width = 0;
    std::optional<QColor> m_bkColour;
    bool m_inputEnabled = true;
    DWORD m_eventMask = 0;
    bool m_popupWatched = false;
    bool m_openingClick = false;
    QPoint m_openingClickPos;
    QElapsedTimer m_openingClickTime;
};
