#pragma once
// A resizable dialog, usually a child pane: its controls follow its size by the fractions
// registered with SetResize (CXTResize). Create makes it a child window of the given parent.
#include "CDialog.h"
#include "CXTResize.h"
#include "KitExport.h"

class KIT_API CXTResizeDialog : public CDialog, public CXTResize
{
    Q_OBJECT
  public:
    // `flags` is kept for the callers' sake; no flag changes the behaviour.
    explicit CXTResizeDialog(UINT templateId = 0, QWidget* parent = nullptr, UINT flags = 0);
    ~CXTResizeDialog() override;

  protected:
    BOOL OnInitDialog() override;
    // Moves the anchored controls; a derived OnSize calls this first.
    void OnSize(UINT nType, int cx, int cy) override;
};
