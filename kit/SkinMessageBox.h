#pragma once
// The kit's message box: text, caption, style, 0, owner -> the answer. Styles: MB_OK (0) a
// notice with one OK button; MB_YESNO | MB_ICONQUESTION (0x24) a question answered IDYES (6) or
// IDNO (7); MB_ICONEXCLAMATION (0x30) a warning with one OK button. Other button sets
// (MB_OKCANCEL, MB_YESNOCANCEL) and icons (0x10, 0x40) work as well. An empty caption shows
// "提示". The framework's own message boxes (AfxMessageBox) are shown as this box too. Tests
// answer both through KitTest::MessageBoxResponder (TestSeams.h).
#include "KitExport.h"
#include "WinTypes.h"

#include <QString>

class QWidget;

KIT_API int SkinMessageBox(const QString& text, const QString& caption, UINT style, int reserved = 0,
                           QWidget* owner = nullptr);
