#include "MessageTarget.h"

#include "INotifyTarget.h"

#include <QWidget>

QWidget* MessageTarget(const QWidget* control)
{
    if (!control)
        return nullptr;
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (dynamic_cast<INotifyTarget*>(w))
            return w;
        if (w->isWindow())
            break;
    }
    return control->parentWidget();
}
