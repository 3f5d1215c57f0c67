#pragma once
// The rich edit that holds a memo's body: the kit's rich edit plus a right-click menu with Cut,
// Copy, Paste and Select all, whose commands it carries out on itself through the clipboard.
#include <CRichEditCtrl.h>

class CMenuRichEditCtrl : public CRichEditCtrl
{
    Q_OBJECT
  public:
    explicit CMenuRichEditCtrl(QWidget* parent = nullptr);
    ~CMenuRichEditCtrl() override;

  protected:
    void OnContextMenu(QWidget* pWnd, QPoint pos) override;

  private:
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnSelectAll();
};
