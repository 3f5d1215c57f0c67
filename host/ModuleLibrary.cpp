#include "ModuleLibrary.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

ModuleLibrary::~ModuleLibrary()
{
    unload();
}

bool ModuleLibrary::load(const QString& path, QString& error)
{
    unload();
    if (!QFileInfo(path).isFile()) {
        error = u"文件不存在：%1"_s.arg(path);
        return false;
    }
    m_library.setFileName(path);
    if (!m_library.load()) {
        error = m_library.errorString();
        return false;
    }
    auto registerComId = reinterpret_cast<RegisterComIdFn>(m_library.resolve("RegisterComID"));
    auto ntfCallBack = reinterpret_cast<CallbackFn>(m_library.resolve("NtfCallBack"));
    auto cmdCallBack = reinterpret_cast<CallbackFn>(m_library.resolve("CmdCallBack"));
    if (!registerComId || !ntfCallBack || !cmdCallBack) {
        error = u"%1 不是模块：缺少 RegisterComID、NtfCallBack 或 CmdCallBack。"_s.arg(path);
        m_library.unload();
        return false;
    }
    m_registerComId = registerComId;
    m_ntfCallBack = ntfCallBack;
    m_cmdCallBack = cmdCallBack;
    return true;
}

void ModuleLibrary::unload()
{
    if (!isLoaded())
        return;
    m_registerComId = nullptr;
    m_ntfCallBack = nullptr;
    m_cmdCallBack = nullptr;
    m_library.unload();
}

int ModuleLibrary::componentId() const
{
    return m_registerComId ? m_registerComId() : 0;
}

int ModuleLibrary::notify(int code, CXml* doc) const
{
    return m_ntfCallBack ? m_ntfCallBack(code, doc) : 0;
}

int ModuleLibrary::command(int code, CXml* doc) const
{
    return m_cmdCallBack ? m_cmdCallBack(code, doc) : 0;
}
