#pragma once
// The skinned popup dialog: a modal window of a fixed client size painted in its background
// colour. A derived dialog sets size and colour in its constructor (SetPopupSize, SetBkColor),
// before the window exists; OnInitDialog sizes the window to them and centres it on its parent.
// OnOK and OnCancel end the modal run with IDOK / IDCANCEL; unlike the plain dialog's OnOK they
// do not read the controls again, so the members keep what the dialog's own handlers put there.
#include "CDialog.h"
#include "KitExport.h"

class KIT_API CZorvaPoupDlg : public CDialog
{
    Q_OBJECT
  public:
    explicit CZorvaPoupDlg(UINT templateId = 0, QWidget* parent = nullptr);
    ~CZorvaPoupDlg() override;

    void SetPopupSize(int cx, int cy);
    QSize GetPopupSize() const { return m_size; }
    void SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return m_crBack; }

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;

  private:
    QSize m_size;
    COLORREF m_crBack;
};
