#include "HostDocuments.h"

#include <CXml.h>
#include <ModuleProtocol.h>

using namespace ModuleProtocol;

static_assert(sizeof(long long) >= sizeof(std::uintptr_t), "the document's integers must hold an address");

void BuildRegistrationDocument(CXml& doc, std::uintptr_t window)
{
    doc.AddElem(REG_ROOT);
    doc.AddChildElem(REG_TEAM_ID, MEMO_TEAM_ID);
    doc.AddChildElem(REG_CAPTION, MEMO_CAPTION);
    doc.AddChildElem(REG_IMAGE_ID, MEMO_IMAGE_ID);
    doc.AddChildElem(REG_WINDOW, static_cast<long long>(window));
}

void BuildStatusBarDocument(CXml& doc, QStringView text)
{
    doc.AddElem(STATUS_ROOT);
    doc.AddChildElem(STATUS_TEXT, text);
}
