#include "CDialogTemplate.h"

#include <QDialog>
#include <QHash>

namespace {

struct Entry
{
    CDialogTemplate::Setup setup;
    DWORD style = 0;
};

// The decimal id of a control that a form names "id" and 1 to 9 ASCII digits; empty otherwise.
QStringView idOfFormName(QStringView name)
{
    if (!name.startsWith(u"id") || name.size() < 3 || name.size() > 11)
        return {};
    const QStringView digits = name.sliced(2);
    for (const QChar c : digits)
        if (c < u'0' || c > u'9')
            return {};
    return digits;
}

QHash<UINT, Entry>& registry()
{
    static QHash<UINT, Entry> templates;
    return templates;
}

} // namespace

void CDialogTemplate::Register(UINT templateId, Setup setup, DWORD style)
{
    registry().insert(templateId, Entry{std::move(setup), style});
}

void CDialogTemplate::Unregister(UINT templateId)
{
    registry().remove(templateId);
}

bool CDialogTemplate::IsRegistered(UINT templateId)
{
    return registry().contains(templateId);
}

DWORD CDialogTemplate::Style(UINT templateId)
{
    const auto it = registry().constFind(templateId);
    return it == registry().constEnd() ? 0 : it->style;
}

bool CDialogTemplate::Load(UINT templateId, QDialog* dialog)
{
    const auto it = registry().constFind(templateId);
    if (it == registry().constEnd() || !dialog)
        return false;
    const Setup setup = it->setup; // copy: a setup may register further templates
    if (setup)
        setup(dialog);
    RenameControls(dialog);
    return true;
}

void CDialogTemplate::RenameControls(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (const QStringView id = idOfFormName(name); !id.isEmpty())
            w->setObjectName(id.toString());
    }
}
