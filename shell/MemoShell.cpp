#include "MemoShell.h"

#include "HostDocuments.h"

#include <CXml.h>
#include <HostAdapter.h>
#include <ModuleProtocol.h>
#include <QString>

using namespace ModuleProtocol;

CMemoDlg* g_pMemoDlg = nullptr;

void ForgetMemoPanel(const CMemoDlg* panel)
{
    if (panel && g_pMemoDlg == panel)
        g_pMemoDlg = nullptr;
}

int SendStatusBarText(const char16_t* text)
{
    CXml doc;
    BuildStatusBarDocument(doc, text ? QStringView(text) : QStringView());
    return ExecuteCommand(CMD_STATUSBAR_TEXT, &doc, 0);
}
