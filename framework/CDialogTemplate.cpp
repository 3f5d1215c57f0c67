#include "CDialogTemplate.h"

#include <QDialog>
#include <QHash>
#include <QRegularExpression>

namespace {

struct Entry
{
    CDialogTemplate::Setup setup;
    DWORD style = 0;
};

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
    static const QRegularExpression idName(QStringLiteral("^id(\\d{1,9})$"));
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const auto m = idName.match(w->objectName());
        if (m.hasMatch())
            w->setObjectName(m.captured(1));
    }
}
