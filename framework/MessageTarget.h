#pragma once
// The window a control's posted notifications go to: the nearest enclosing window that takes
// control notifications (a dialog), or the control's parent when there is none.
#include "FrameworkExport.h"

class QWidget;

FRAMEWORK_API QWidget* MessageTarget(const QWidget* control);
