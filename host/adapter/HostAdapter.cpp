#include "HostAdapter.h"

namespace {

// All calls happen on the host's GUI thread, so a plain value is enough.
HostAdapterHost g_host{nullptr, nullptr, nullptr};

bool hostRegistered()
{
    return g_host.onCommand && g_host.onNotification;
}

} // namespace

extern "C" {

int ExecuteCommand(int code, CXml* doc, int param)
{
    if (!hostRegistered())
        return 0;
    // Copy first: the host may unregister itself while it handles the call.
    const HostAdapterHost host = g_host;
    return host.onCommand(host.context, code, doc, param);
}

int ExecuteNtfCommand(int code, CXml* doc, int param)
{
    if (!hostRegistered())
        return 0;
    const HostAdapterHost host = g_host;
    return host.onNotification(host.context, code, doc, param);
}

int HostAdapter_RegisterHost(const HostAdapterHost* host)
{
    if (!host || !host->onCommand || !host->onNotification)
        return 0;
    g_host = *host;
    return 1;
}

void HostAdapter_UnregisterHost(void* context)
{
    if (hostRegistered() && g_host.context == context)
        g_host = HostAdapterHost{nullptr, nullptr, nullptr};
}

} // extern "C"
