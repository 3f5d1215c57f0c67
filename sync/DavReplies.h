#pragma once
// What a WebDAV or CalDAV server answers in a 207 Multi-Status body (RFC 4918, 13), read with pugixml:
// for each resource its href, status and the properties the client asks for (RFC 4791 for CalDAV,
// RFC 6578 for sync-collection, RFC 5397 for the user's principal). Element names are matched by
// namespace and local name, whatever prefixes the server chose. Replies are bounded in size; anything
// else (not XML, not a multistatus, too deep) is refused with a reason.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kMaxReplyBytes = 8 * 1024 * 1024;

struct DavResource
{
    std::string href;
    int status = 0;    // of the response, or of its properties found (200) when it gives them
    bool gone = false; // 404 in a sync-collection report: the resource was deleted
    std::string etag;
    std::string calendarData; // CalDAV calendar-data, the iCalendar text
    bool calendar = false;    // resourcetype has CalDAV calendar
    bool collection = false;  // resourcetype has DAV collection
    bool journals = false;    // supported-calendar-component-set allows VJOURNAL (or is absent)
    std::string displayName;
    std::string principal;    // current-user-principal href
    std::string calendarHome; // calendar-home-set href
};

struct Multistatus
{
    std::vector<DavResource> resources;
    std::string syncToken; // sync-collection's new token; empty when none
};

std::optional<Multistatus> ParseMultistatus(std::string_view xml, std::string& why);
