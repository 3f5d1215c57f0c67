#pragma once
// The host adapter library. A module reports to its host through ExecuteCommand and
// ExecuteNtfCommand; the host that runs the module registers the functions that receive those
// calls. With no host registered both calls answer 0 and do nothing.
//
// The document passed with a call belongs to the caller and lives only for the call: a host that
// wants to keep anything from it copies it before returning.
#include "HostAdapterExport.h"

class CXml;

extern "C" {

// What a host registers: one function per channel and a context pointer handed back to both.
typedef int (*HostCallFn)(void* context, int code, CXml* doc, int param);

struct HostAdapterHost
{
    HostCallFn onCommand;      // receives ExecuteCommand
    HostCallFn onNotification; // receives ExecuteNtfCommand
    void* context;
};

HOST_ADAPTER_API int ExecuteCommand(int code, CXml* doc, int param);
HOST_ADAPTER_API int ExecuteNtfCommand(int code, CXml* doc, int param);

// Makes `host` the receiver of every later call (replacing any earlier host). A null `host`
// or one with null functions is refused (returns 0); returns 1 on success.
HOST_ADAPTER_API int HostAdapter_RegisterHost(const HostAdapterHost* host);

// Removes the registration if `context` is the registered host's context; a host that was
// already replaced by another does not unregister its successor.
HOST_ADAPTER_API void HostAdapter_UnregisterHost(void* context);

} // extern "C"
