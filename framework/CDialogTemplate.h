#pragma once
// Dialog templates by id. A template builds a dialog's controls (usually a Qt Designer form's
// setupUi) and carries the window styles of the template (WS_CHILD, WS_VISIBLE, ...). Designer
// cannot name a control "21002", so forms name it "id21002"; Load renames every such control
// to its decimal id after the form is set up, which is how code finds controls.
#include "FrameworkExport.h"
#include "WinTypes.h"

#include <QString>
#include <functional>

class QDialog;
class QWidget;

class FRAMEWORK_API CDialogTemplate
{
  public:
    using Setup = std::function<void(QDialog*)>;

    // Replaces any template registered under the same id.
    static void Register(UINT templateId, Setup setup, DWORD style = 0);
    // For a uic form class: RegisterForm<Ui::MemoPanel>(21000, WS_CHILD | WS_VISIBLE).
    template <class Form> static void RegisterForm(UINT templateId, DWORD style = 0)
    {
        Register(
            templateId, [](QDialog* dialog) { Form().setupUi(dialog); }, style);
    }
    static void Unregister(UINT templateId);
    static bool IsRegistered(UINT templateId);
    static DWORD Style(UINT templateId);

    // Builds the template's controls on `dialog` and renames "idNNN" controls to "NNN".
    // Returns false when no template has this id.
    static bool Load(UINT templateId, QDialog* dialog);
    // The renaming on its own, for forms built by other means.
    static void RenameControls(QWidget* root);
};
