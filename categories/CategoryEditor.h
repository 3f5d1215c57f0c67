#pragma once
// What the rest of the module needs of category management besides the dialog classes.

// Registers the templates of the category editor and the category name dialog with the kit, and
// forgets them again (the memo panel does this for all of the module's templates when the module
// is loaded and unloaded).
void RegisterCategoryTemplates();
void UnregisterCategoryTemplates();
