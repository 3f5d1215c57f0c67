#include "MemoEntry.h"

#include "HostDocuments.h"
#include "MemoShell.h"

#include <CMemoDlg.h>
#include <CXml.h>
#include <HostAdapter.h>
#include <ModuleProtocol.h>
#include <WinMessage.h>

#include <QString>
#include <memory>
#include <new>

using namespace ModuleProtocol;

int MemoRegisterComID()
{
    return MEMO_COMPONENT_ID;
}

int MemoNtfCallBack(int code, CXml* doc)
{
    if (code == NTF_CREATE_PANEL)
        CreateMemoPanel();
    else if (code == NTF_UPDATE_DATA && g_pMemoDlg && doc)
        OnHostUpdateData(*doc);
    return 0;
}

int MemoCmdCallBack(int code, CXml* doc)
{
    if (IsUpdateDataCommand(code) && g_pMemoDlg && doc)
        OnHostUpdateData(*doc);
    return 0;
}

void CreateMemoPanel()
{
    // The panel owns itself from here on: it is deleted with its window.
    auto panel = std::make_unique<CMemoDlg>();
    if (!panel->Create(CMemoDlg::IDD, nullptr))
        return;
    g_pMemoDlg = panel.release();

    CXml doc;
    BuildRegistrationDocument(doc, reinterpret_cast<std::uintptr_t>(g_pMemoDlg));
    ExecuteNtfCommand(NTF_REGISTER_WINDOW, &doc, 0);
}

void OnHostUpdateData(CXml& doc)
{
    if (!g_pMemoDlg || !g_pMemoDlg->GetSafeHwnd())
        return;
    doc.ResetPos();
    while (doc.FindElem(UPDATE_ROOT)) {
        if (!doc.FindChildElem(UPDATE_USER_NAME))
            continue;
        // The name travels with the message and is freed by whoever ends up with it: the
        // panel's handler, or the message itself if the panel is gone before it is handled.
        std::unique_ptr<QString> userName(new (std::nothrow) QString(doc.GetChildData()));
        if (userName)
            PostOwningMessage(g_pMemoDlg, WM_MEMO_UPDATEDATA, std::move(userName));
        else
            PostMessage(g_pMemoDlg, WM_MEMO_UPDATEDATA, 0, 0);
    }
}

void MemoModuleAttach()
{
    CMemoDlg::RegisterTemplate();
}

void MemoModuleDetach()
{
    // The panel is not the shell's to delete; it is only no longer reachable from here.
    g_pMemoDlg = nullptr;
    CMemoDlg::UnregisterTemplate();
}
