#pragma once
// The framework's own message box, for what the framework itself has to tell the user (a failed
// data-exchange check): text, style, owner -> the answer. Styles and answers are the platform's:
// MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL with an MB_ICON* icon; IDOK, IDCANCEL, IDYES,
// IDNO. The caption is "提示".
//
// A UI library may show these boxes in its own look: AfxSetMessageBoxPresenter hands every box to
// its function (the kit presents them as its skinned message box). Without a presenter a plain
// QMessageBox asks. Tests answer the box through FrameworkTest::MessageBoxResponder
// (FrameworkTestSeams.h), which comes before any presenter.
#include "FrameworkExport.h"
#include "WinDefs.h"

#include <QString>

class QWidget;

FRAMEWORK_API int AfxMessageBox(const QString& text, UINT style = MB_OK, QWidget* owner = nullptr);

// Asks with a QMessageBox in the platform's buttons and answers, in `styleSheet`'s look, at once:
// neither a test responder nor a presenter is asked. What a presenter uses to show the box.
FRAMEWORK_API int AfxRunMessageBox(const QString& text, const QString& caption, UINT style, QWidget* owner,
                                   const QString& styleSheet = QString());

using AfxMessageBoxPresenter = int (*)(const QString& text, const QString& caption, UINT style,
                                       QWidget* owner);
// Installs `presenter` (null: the plain box) and returns the one it replaces.
FRAMEWORK_API AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter);
