#pragma once
// One module file loaded at run time. A module is any shared library that exports
// RegisterComID, NtfCallBack and CmdCallBack with C linkage.
#include <QLibrary>
#include <QString>

class CXml;

class ModuleLibrary
{
  public:
    ModuleLibrary() = default;
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // Loads the file and resolves the three entry points. On failure nothing stays loaded and
    // `error` says why.
    bool load(const QString& path, QString& error);
    // Unloads the file. Every window the module created must be gone before this.
    void unload();
    bool isLoaded() const { return m_registerComId != nullptr; }
    QString path() const { return m_library.fileName(); }

    int componentId() const;
    int notify(int code, CXml* doc) const;
    int command(int code, CXml* doc) const;

  private:
    using RegisterComIdFn = int (*)();
    using CallbackFn = int (*)(int, CXml*);

    QLibrary m_library;
    RegisterComIdFn m_registerComId = nullptr;
    CallbackFn m_ntfCallBack = nullptr;
    CallbackFn m_cmdCallBack = nullptr;
};
