#include "CXTResizeDialog.h"

CXTResizeDialog::CXTResizeDialog(UINT templateId, QWidget* parent, UINT /*flags*/)
    : CDialog(templateId, parent), CXTResize(this)
{
    SetChildByDefault(true);
}

CXTResizeDialog::~CXTResizeDialog() = default;

BOOL CXTResizeDialog::OnInitDialog()
{
    RemoveAllControls();
    return CDialog::OnInitDialog();
}

void CXTResizeDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    UpdateControls(cx, cy);
}
