#pragma once
// The plug-in shell's work behind the three exported entry points, and the module's load and
// unload.

class CXml;

int MemoRegisterComID();
int MemoNtfCallBack(int code, CXml* doc);
int MemoCmdCallBack(int code, CXml* doc);

// Creates the memo panel's window, remembers it and registers it with the host.
void CreateMemoPanel();
// Passes the user names of an "UpdateData" document on to the panel as posted messages.
void OnHostUpdateData(CXml& doc);

// Module load and unload: make the module's dialog templates known, and forget them (and the
// panel) again.
void MemoModuleAttach();
void MemoModuleDetach();
