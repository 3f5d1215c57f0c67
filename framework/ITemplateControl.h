#pragma once
// A control that takes styles from the template control it replaces when data exchange attaches
// it (DDX_Control): a rich edit becomes multi-line where the form has a multi-line edit, say.
#include "FrameworkExport.h"

class QWidget;

class FRAMEWORK_API ITemplateControl
{
  public:
    virtual ~ITemplateControl();
    virtual void adoptTemplateStyle(const QWidget* templateControl) = 0;
};
