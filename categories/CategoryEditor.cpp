#include "CategoryEditor.h"

#include "CMemoGroupEditDlg.h"
#include "CMemoGroupName.h"

void RegisterCategoryTemplates()
{
    CMemoGroupEditDlg::RegisterTemplate();
    CMemoGroupName::RegisterTemplate();
}

void UnregisterCategoryTemplates()
{
    CMemoGroupEditDlg::UnregisterTemplate();
    CMemoGroupName::UnregisterTemplate();
}
