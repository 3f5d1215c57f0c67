#pragma once
// A dialog's control found by its id, as the tests reach every control: never through the
// dialog's members.
#include <CWnd.h>

#include <QtGlobal>

template <class Control> Control& DlgItem(const QWidget& dialog, int id)
{
    auto* control = dynamic_cast<Control*>(FindDlgItem(&dialog, id));
    if (!control)
        qFatal("no control %d of the expected class", id);
    return *control;
}
