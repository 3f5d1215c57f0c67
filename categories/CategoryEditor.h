#pragma once
// What the rest of the module needs of category management besides the dialog classes.
#include <WinDefs.h>

class QWidget;

// Registers the templates of the category editor and the category name dialog with the kit, and
// forgets them again (the module does this when it is loaded and unloaded; the dialogs register
// their template themselves when it is missing).
void RegisterCategoryTemplates();
void UnregisterCategoryTemplates();

// Runs the category editor modally over `parent` on the open record store; returns how it ended
// (IDOK or IDCANCEL; nothing depends on it: every change is already stored).
INT_PTR RunCategoryEditor(QWidget* parent);
