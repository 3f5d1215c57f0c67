#pragma once
// Dialog data exchange: attaches member controls to the template's controls by id and moves
// values between controls and members, in the direction the exchange runs. A failed check shows
// its message, puts the focus on the control concerned and stops the rest of the exchange;
// UpdateData then returns FALSE.
#include "FrameworkExport.h"
#include "WinTypes.h"

#include <QString>

class CDialog;
class QWidget;

class FRAMEWORK_API CDataExchange
{
  public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate);

    // TRUE: controls -> members (with checks); FALSE: members -> controls.
    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

    // The control with this id; remembered as the one later checks concern.
    QWidget* PrepareCtrl(int id);
    QWidget* PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    QWidget* LastControl() const { return m_lastControl; }

    // Gives the last control the focus (selecting its text) and ends the exchange.
    void Fail();
    bool Failed() const { return m_failed; }

  private:
    QWidget* m_lastControl = nullptr;
    bool m_failed = false;
};

// Makes `control` the dialog's control `id`: it takes the place, size, visibility, enabled
// state, text and tab position of the template's control, which it replaces. Later exchanges
// leave an attached control alone. Without a template control of that id, `control` becomes one.
FRAMEWORK_API void DDX_Control(CDataExchange* pDX, int id, QWidget& control);
// The control's window text <-> value.
FRAMEWORK_API void DDX_Text(CDataExchange* pDX, int id, QString& value);
// The control's text as a decimal integer <-> value; text that is not a number fails.
FRAMEWORK_API void DDX_Text(CDataExchange* pDX, int id, int& value);
// Reading: a value longer than maxChars UTF-16 units shows the standard message and fails.
// Loading: sets the last control's text limit to maxChars.
FRAMEWORK_API void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxChars);

// Message shown when a text is too long; %1 is the maximum.
FRAMEWORK_API QString MaxCharsMessage(int maxChars);
