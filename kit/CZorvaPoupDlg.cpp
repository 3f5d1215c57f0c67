#include "CZorvaPoupDlg.h"

#include "CDC.h"

#include <QScreen>

CZorvaPoupDlg::CZorvaPoupDlg(UINT templateId, QWidget* parent)
    : CDialog(templateId, parent), m_crBack(RGB(243, 247, 251))
{
}

CZorvaPoupDlg::~CZorvaPoupDlg() = default;

void CZorvaPoupDlg::SetPopupSize(int cx, int cy)
{
    m_size = QSize(cx, cy);
    if (GetSafeHwnd())
        resize(m_size);
}

void CZorvaPoupDlg::SetBkColor(COLORREF colour)
{
    m_crBack = colour;
    update();
}

BOOL CZorvaPoupDlg::OnInitDialog()
{
    if (m_size.isValid())
        resize(m_size);
    const BOOL result = CDialog::OnInitDialog();
    // Centre on the owner's window, or on the screen without one.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area =
        owner ? owner->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768));
    move(area.center() - QPoint(width() / 2, height() / 2));
    return result;
}

void CZorvaPoupDlg::OnOK()
{
    EndDialog(IDOK);
}

void CZorvaPoupDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CZorvaPoupDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    update();
}

BOOL CZorvaPoupDlg::OnEraseBkgnd(CDC* pDC)
{
    const CRect all(0, 0, width(), height());
    pDC->FillSolidRect(all, m_crBack);
    return TRUE;
}
