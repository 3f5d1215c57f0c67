#pragma once
// A window that takes its controls' notifications: what the platform delivers as WM_COMMAND
// (button clicks, menu commands, EN_CHANGE, EN_SETFOCUS, ...) or WM_NOTIFY (EN_SELCHANGE).
// Menu commands arrive with code 0 and no control, as button clicks do with their button.
#include "FrameworkExport.h"
#include "WinTypes.h"

class QWidget;

class FRAMEWORK_API INotifyTarget
{
  public:
    virtual ~INotifyTarget();
    // Returns true when a handler ran; *result then holds its result.
    virtual bool OnControlNotify(int id, UINT code, QWidget* control, LRESULT* result) = 0;
};
