#include "ModuleHost.h"

#include "HostAdapter.h"

#include <CXml.h>
#include <ModuleProtocol.h>
#include <QApplication>
#include <QWidget>

using namespace ModuleProtocol;

ModuleHost::ModuleHost(QObject* parent) : QObject(parent)
{
    const HostAdapterHost host{&ModuleHost::onCommand, &ModuleHost::onNotification, this};
    HostAdapter_RegisterHost(&host);
}

ModuleHost::~ModuleHost()
{
    HostAdapter_UnregisterHost(this);
}

QWidget* ModuleHost::liveWidgetAt(quintptr address)
{
    if (address == 0)
        return nullptr;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        if (reinterpret_cast<quintptr>(widget) == address)
            return widget;
    }
    return nullptr;
}

int ModuleHost::onCommand(void* context, int code, CXml* doc, int /*param*/)
{
    auto* self = static_cast<ModuleHost*>(context);
    if (!doc)
        return 0;
    CXml copy(*doc);
    Q_EMIT self->documentReceived(false, code, copy.GetDoc());
    return code == CMD_STATUSBAR_TEXT ? self->readStatusText(copy) : 0;
}

int ModuleHost::onNotification(void* context, int code, CXml* doc, int /*param*/)
{
    auto* self = static_cast<ModuleHost*>(context);
    if (!doc)
        return 0;
    CXml copy(*doc);
    Q_EMIT self->documentReceived(true, code, copy.GetDoc());
    return code == NTF_REGISTER_WINDOW ? self->readRegistration(copy) : 0;
}

int ModuleHost::readRegistration(CXml& xml)
{
    xml.ResetPos();
    if (!xml.FindElem(REG_ROOT))
        return 0;
    PanelRegistration registration;
    quintptr address = 0;
    while (xml.FindChildElem()) {
        const QString tag = xml.GetChildTagName();
        if (tag == REG_TEAM_ID)
            registration.teamId = int(xml.GetChildInt());
        else if (tag == REG_CAPTION)
            registration.caption = xml.GetChildData();
        else if (tag == REG_IMAGE_ID)
            registration.imageId = int(xml.GetChildInt());
        else if (tag == REG_WINDOW)
            address = quintptr(xml.GetChildInt());
    }
    registration.panel = liveWidgetAt(address);
    if (!registration.panel)
        return 0;
    Q_EMIT panelRegistered(registration);
    return 1;
}

int ModuleHost::readStatusText(CXml& xml)
{
    xml.ResetPos();
    if (!xml.FindElem(STATUS_ROOT) || !xml.FindChildElem(STATUS_TEXT))
        return 0;
    Q_EMIT statusTextReceived(xml.GetChildData());
    return 1;
}
