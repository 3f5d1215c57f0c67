#pragma once
// An input message on its way to a window, as PreTranslateMessage sees it: the target window,
// the platform's message number with its wParam/lParam, the cursor in screen coordinates, and
// the Qt event it was made from.
#include "WinTypes.h"

#include <QPoint>

class QEvent;
class QWidget;

struct MSG
{
    QWidget* hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    QPoint pt;
    QEvent* event = nullptr;
};
