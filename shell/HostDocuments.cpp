#include "HostDocuments.h"

#include <CXml.h>

static_assert(sizeof(long long) >= sizeof(std::uintptr_t), "the document's integers must hold an address");

void BuildRegistrationDocument(CXml& doc, std::uintptr_t window)
{
    doc.AddElem(HostDoc::RegRoot);
    doc.AddChildElem(HostDoc::RegTeamId, HostDoc::MEMO_TEAM_ID);
    doc.AddChildElem(HostDoc::RegCaption, HostDoc::MEMO_CAPTION);
    doc.AddChildElem(HostDoc::RegImageId, HostDoc::MEMO_IMAGE_ID);
    doc.AddChildElem(HostDoc::RegWindow, static_cast<long long>(window));
}

void BuildStatusBarDocument(CXml& doc, QStringView text)
{
    doc.AddElem(HostDoc::StatusRoot);
    doc.AddChildElem(HostDoc::StatusText, text);
}
