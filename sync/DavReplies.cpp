#include "DavReplies.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

constexpr std::string_view kDav = "DAV:";
constexpr std::string_view kCalDav = "urn:ietf:params:xml:ns:caldav";
// Deeper than any reply of these properties needs; keeps a hostile reply from exhausting the stack.
constexpr int kMaxDepth = 32;

// An element's namespace and local name, the namespace resolved through the xmlns attributes in
// scope (an unknown prefix gives an empty namespace, which matches nothing).
struct Name
{
    std::string_view space;
    std::string_view local;
    bool is(std::string_view s, std::string_view l) const { return space == s && local == l; }
};

Name NameOf(const pugi::xml_node& node)
{
    const std::string_view full = node.name();
    const std::size_t colon = full.find(':');
    const std::string_view prefix =
        colon == std::string_view::npos ? std::string_view() : full.substr(0, colon);
    const std::string_view local = colon == std::string_view::npos ? full : full.substr(colon + 1);
    const std::string attribute = prefix.empty() ? "xmlns" : "xmlns:" + std::string(prefix);
    for (pugi::xml_node scope = node; scope; scope = scope.parent()) {
        if (const pugi::xml_attribute a = scope.attribute(attribute.c_str()))
            return {a.value(), local};
    }
    return {{}, local};
}

std::string TextOf(const pugi::xml_node& node)
{
    return node.text().get();
}

// The href inside a property such as current-user-principal.
std::string HrefIn(const pugi::xml_node& property)
{
    for (const pugi::xml_node child : property.children())
        if (NameOf(child).is(kDav, "href"))
            return TextOf(child);
    return {};
}

// "HTTP/1.1 404 Not Found" -> 404; 0 when it is not a status line.
int StatusCode(const std::string& line)
{
    const std::size_t space = line.find(' ');
    if (space == std::string::npos)
        return 0;
    return std::atoi(line.c_str() + space + 1);
}

bool TooDeep(const pugi::xml_node& root)
{
    struct Walker : pugi::xml_tree_walker
    {
        bool deep = false;
        bool for_each(pugi::xml_node&) override
        {
            deep = depth() > kMaxDepth;
            return !deep;
        }
    } walker;
    const_cast<pugi::xml_node&>(root).traverse(walker);
    return walker.deep;
}

void ReadProperties(const pugi::xml_node& prop, DavResource& resource)
{
    for (const pugi::xml_node p : prop.children()) {
        const Name name = NameOf(p);
        if (name.is(kDav, "getetag")) {
            resource.etag = TextOf(p);
        } else if (name.is(kCalDav, "calendar-data")) {
            resource.calendarData = TextOf(p);
        } else if (name.is(kDav, "displayname")) {
            resource.displayName = TextOf(p);
        } else if (name.is(kDav, "current-user-principal")) {
            resource.principal = HrefIn(p);
        } else if (name.is(kCalDav, "calendar-home-set")) {
            resource.calendarHome = HrefIn(p);
        } else if (name.is(kDav, "resourcetype")) {
            for (const pugi::xml_node type : p.children()) {
                resource.collection = resource.collection || NameOf(type).is(kDav, "collection");
                resource.calendar = resource.calendar || NameOf(type).is(kCalDav, "calendar");
            }
        } else if (name.is(kCalDav, "supported-calendar-component-set")) {
            resource.journals = false;
            for (const pugi::xml_node comp : p.children())
                resource.journals =
                    resource.journals || (NameOf(comp).is(kCalDav, "comp") &&
                                          std::strcmp(comp.attribute("name").value(), "VJOURNAL") == 0);
        }
    }
}

} // namespace

std::optional<Multistatus> ParseMultistatus(std::string_view xml, std::string& why)
{
    if (xml.size() > kMaxReplyBytes) {
        why = "the server's reply is larger than " + std::to_string(kMaxReplyBytes / (1024 * 1024)) + " MB";
        return std::nullopt;
    }
    pugi::xml_document document;
    // No entities beyond XML's own are expanded by pugixml, and no DTD is loaded.
    const pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size(), pugi::parse_default);
    if (!parsed) {
        why = std::string("the server's reply is not XML (") + parsed.description() + ")";
        return std::nullopt;
    }
    const pugi::xml_node root = document.document_element();
    if (!NameOf(root).is(kDav, "multistatus")) {
        why = "the server's reply is not a WebDAV multistatus";
        return std::nullopt;
    }
    if (TooDeep(root)) {
        why = "the server's reply is nested too deeply";
        return std::nullopt;
    }
    Multistatus result;
    for (const pugi::xml_node child : root.children()) {
        const Name name = NameOf(child);
        if (name.is(kDav, "sync-token")) {
            result.syncToken = TextOf(child);
            continue;
        }
        if (!name.is(kDav, "response"))
            continue;
        DavResource resource;
        for (const pugi::xml_node part : child.children()) {
            const Name partName = NameOf(part);
            if (partName.is(kDav, "href")) {
                resource.href = TextOf(part);
            } else if (partName.is(kDav, "status")) {
                resource.status = StatusCode(TextOf(part));
            } else if (partName.is(kDav, "propstat")) {
                int status = 0;
                pugi::xml_node prop;
                for (const pugi::xml_node ps : part.children()) {
                    if (NameOf(ps).is(kDav, "status"))
                        status = StatusCode(TextOf(ps));
                    else if (NameOf(ps).is(kDav, "prop"))
                        prop = ps;
                }
                if (status == 200 && prop) {
                    // A collection that names no component set takes every component.
                    resource.journals = true;
                    ReadProperties(prop, resource);
                    resource.status = resource.status ? resource.status : 200;
                }
            }
        }
        resource.gone = resource.status == 404;
        if (!resource.href.empty())
            result.resources.push_back(std::move(resource));
    }
    return result;
}
