#pragma once
// A window's text and text limit, whatever widget shows it. Data exchange, message boxes and
// dialog code read and write texts through these functions; a widget whose text is not one
// of the standard Qt properties implements IWindowText.
#include "FrameworkExport.h"

#include <QString>

class QWidget;

class FRAMEWORK_API IWindowText
{
  public:
    virtual ~IWindowText();
    virtual QString windowText() const = 0;
    virtual void setWindowText(const QString& text) = 0;
    // Most characters (UTF-16 code units) the user may enter; 0 or less means the default.
    virtual void limitText(int /*maxChars*/) {}
};

// Line edits, text edits, buttons, labels and combo boxes give their text; any other widget its
// window title.
FRAMEWORK_API QString GetWindowText(const QWidget* window);
// Sets the text; a widget that already shows exactly this text is left alone.
FRAMEWORK_API void SetWindowText(QWidget* window, const QString& text);
// Sets the text limit where the widget has one (edits, line edits); returns false otherwise.
FRAMEWORK_API bool LimitText(QWidget* window, int maxChars);
