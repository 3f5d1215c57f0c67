#include "CXml.h"

#include <pugixml.hpp>

#include <string>

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == u'-' || c == u'.' || c.isMark();
}

bool isValidName(QStringView tag)
{
    if (tag.isEmpty() || !isNameStart(tag.front()))
        return false;
    for (QChar c : tag)
        if (!isNameChar(c))
            return false;
    return true;
}

// XML 1.0 cannot carry most C0 control characters, not even escaped; a document holding one
// could not be read back, so they are left out.
std::string toXmlText(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
            clean.append(c);
    return clean.toStdString();
}

bool nameMatches(const pugi::xml_node& node, const std::string& tag)
{
    return node.type() == pugi::node_element && (tag.empty() || tag == node.name());
}

pugi::xml_node nextElement(pugi::xml_node from, const std::string& tag)
{
    for (; from; from = from.next_sibling())
        if (nameMatches(from, tag))
            return from;
    return {};
}

QString textOf(const pugi::xml_node& node)
{
    return node ? QString::fromUtf8(node.child_value()) : QString();
}

struct StringWriter : pugi::xml_writer
{
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

} // namespace

struct CXml::Impl
{
    pugi::xml_document doc;
    pugi::xml_node level; // the element whose children are the main level (the document at top)
    pugi::xml_node main;
    pugi::xml_node child;

    void reset()
    {
        level = doc;
        main = {};
        child = {};
    }
};

CXml::CXml() : d(std::make_unique<Impl>())
{
    d->reset();
}

CXml::~CXml() = default;

CXml::CXml(const CXml& other) : CXml()
{
    d->doc.reset(other.d->doc);
    d->reset();
}

CXml& CXml::operator=(const CXml& other)
{
    if (this != &other) {
        d->doc.reset(other.d->doc);
        d->reset();
    }
    return *this;
}

bool CXml::x_AddElem(QStringView tag, QStringView text, int flags)
{
    if (!isValidName(tag))
        return false;
    const std::string name = tag.toString().toStdString();
    pugi::xml_node added;
    if (flags & MNF_CHILD) {
        if (!d->main)
            return false;
        added = d->child ? d->main.insert_child_after(pugi::node_element, d->child)
                         : d->main.append_child(pugi::node_element);
    } else {
        added = d->main ? d->level.insert_child_after(pugi::node_element, d->main)
                        : d->level.append_child(pugi::node_element);
    }
    if (!added)
        return false;
    added.set_name(name.c_str());
    if (!text.isEmpty())
        added.text().set(toXmlText(text).c_str());
    if (flags & MNF_CHILD) {
        d->child = added;
    } else {
        d->main = added;
        d->child = {};
    }
    return true;
}

bool CXml::x_AddElem(QStringView tag, long long value, int flags)
{
    return x_AddElem(tag, QString::number(value), flags);
}

void CXml::ResetPos()
{
    d->reset();
}

bool CXml::FindElem(QStringView tag)
{
    const std::string name = tag.toString().toStdString();
    const pugi::xml_node found = nextElement(d->main ? d->main.next_sibling() : d->level.first_child(), name);
    if (!found)
        return false;
    d->main = found;
    d->child = {};
    return true;
}

bool CXml::FindChildElem(QStringView tag)
{
    if (!d->main) {
        d->main = nextElement(d->level.first_child(), {});
        d->child = {};
        if (!d->main)
            return false;
    }
    const std::string name = tag.toString().toStdString();
    const pugi::xml_node found =
        nextElement(d->child ? d->child.next_sibling() : d->main.first_child(), name);
    if (!found)
        return false;
    d->child = found;
    return true;
}

bool CXml::IntoElem()
{
    if (!d->main)
        return false;
    d->level = d->main;
    d->main = d->child;
    d->child = {};
    return true;
}

bool CXml::OutOfElem()
{
    if (d->level == d->doc)
        return false;
    d->child = d->main;
    d->main = d->level;
    d->level = d->level.parent();
    return true;
}

QString CXml::GetTagName() const
{
    return d->main ? QString::fromUtf8(d->main.name()) : QString();
}

QString CXml::GetData() const
{
    return textOf(d->main);
}

QString CXml::GetChildTagName() const
{
    return d->child ? QString::fromUtf8(d->child.name()) : QString();
}

QString CXml::GetChildData() const
{
    return textOf(d->child);
}

long long CXml::GetChildInt(long long fallback) const
{
    bool ok = false;
    const long long value = GetChildData().trimmed().toLongLong(&ok);
    return ok ? value : fallback;
}

QString CXml::GetDoc() const
{
    StringWriter writer;
    d->doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return QString::fromStdString(writer.out);
}

bool CXml::SetDoc(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    pugi::xml_document parsed;
    const pugi::xml_parse_result result =
        parsed.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!result || !parsed.document_element())
        return false;
    d->doc.reset(parsed);
    d->reset();
    return true;
}

bool CXml::IsEmpty() const
{
    return !d->doc.first_child();
}
