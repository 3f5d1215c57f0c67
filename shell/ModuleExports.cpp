// The module's whole surface: three functions with C linkage and undecorated names. Everything
// else in the module is built with hidden visibility.
#include "MemoEntry.h"

#define MEMO_EXPORT extern "C" __attribute__((visibility("default")))

MEMO_EXPORT int RegisterComID()
{
    return MemoRegisterComID();
}

MEMO_EXPORT int NtfCallBack(int code, CXml* doc)
{
    return MemoNtfCallBack(code, doc);
}

MEMO_EXPORT int CmdCallBack(int code, CXml* doc)
{
    return MemoCmdCallBack(code, doc);
}

namespace {

// Loading the module makes its dialog templates known to the kit; unloading forgets them and
// the panel pointer.
struct ModuleLifetime
{
    ModuleLifetime() { MemoModuleAttach(); }
    ~ModuleLifetime() { MemoModuleDetach(); }
    ModuleLifetime(const ModuleLifetime&) = delete;
    ModuleLifetime& operator=(const ModuleLifetime&) = delete;
};

const ModuleLifetime g_lifetime;

} // namespace
