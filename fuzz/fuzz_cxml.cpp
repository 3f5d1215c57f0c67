// CXml on any text: parsing, every way of walking the cursor, and building documents from the
// fuzzed names and texts. What CXml writes must always parse again: the host reads it as text.
#include <CXml.h>

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void Walk(CXml& doc, int depth)
{
    while (doc.FindElem()) {
        (void)doc.GetTagName();
        (void)doc.GetData();
        if (depth < 32 && doc.IntoElem()) {
            Walk(doc, depth + 1);
            doc.OutOfElem();
        }
    }
}

void MustParseAgain(const CXml& doc)
{
    CXml again;
    if (!doc.IsEmpty() && !again.SetDoc(doc.GetDoc()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    CXml doc;
    if (doc.SetDoc(text)) {
        // The way the module reads a host document, then any element and child.
        doc.ResetPos();
        while (doc.FindElem(u"UpdateData"))
            while (doc.FindChildElem(u"UserName"))
                (void)doc.GetChildData();
        doc.ResetPos();
        while (doc.FindElem())
            while (doc.FindChildElem())
                (void)doc.GetChildInt(-1);
        doc.ResetPos();
        Walk(doc, 0);
        MustParseAgain(doc);
    }

    // The first line names the elements, the rest is their text.
    const qsizetype newline = text.indexOf(u'\n');
    const QString tag = newline < 0 ? text : text.left(newline);
    const QString body = newline < 0 ? QString() : text.mid(newline + 1);
    CXml built;
    if (built.AddElem(tag, body)) {
        built.AddChildElem(tag, body);
        built.AddChildElem(tag, static_cast<long long>(size));
        built.AddElem(tag);
        MustParseAgain(built);
    }
    return 0;
}
