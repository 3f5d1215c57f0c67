#include "MemoShell.h"

#include "HostCodes.h"
#include "HostDocuments.h"

#include <CXml.h>
#include <HostAdapter.h>
#include <QString>

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
