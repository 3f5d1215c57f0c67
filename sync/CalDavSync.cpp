#include "CalDavSync.h"

#include "DavClient.h"
#include "DavReplies.h"
#include "JournalMapping.h"

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoSync.h>
#include <TextView.h>

#include <QDateTime>
#include <QUuid>

#include <cstring>
#include <map>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxRedirects = 5;
constexpr int kMultigetBatch = 50;
constexpr int kMaxRounds = 3;
const QByteArray kCollectionProps =
    "<D:prop><D:resourcetype/><D:displayname/><C:supported-calendar-component-set/>"
    "<D:current-user-principal/><C:calendar-home-set/></D:prop>";

QByteArray PropFind(const QByteArray& props)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">" +
           props + "</D:propfind>";
}

QByteArray Escaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

bool SameRecord(MemoRecord a, MemoRecord b)
{
    a.key = b.key = 0;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Why a reply is not what was asked for, for the report.
QString Failure(const QString& what, const DavReply& reply)
{
    if (!reply.error.isEmpty())
        return u"%1：%2"_s.arg(what, reply.error);
    if (reply.status == 401)
        return u"%1：用户名或密码不对（401）。"_s.arg(what);
    if (reply.status == 403)
        return u"%1：服务器不允许（403）。"_s.arg(what);
    return u"%1：服务器回答 %2。"_s.arg(what).arg(reply.status);
}

class SyncRun
{
  public:
    explicit SyncRun(const SyncSettings& settings, const std::atomic<bool>* cancel = nullptr)
        : m_settings(settings), m_client(settings.user, settings.password)
    {
        m_client.setCancel(cancel);
    }

    // PROPFIND, following redirects (as /.well-known/caldav asks).
    DavReply Find(QUrl url, const QByteArray& depth, const QByteArray& props)
    {
        for (int hop = 0;; ++hop) {
            DavReply reply = m_client.send("PROPFIND", url, PropFind(props), {{"Depth", depth}});
            const bool moved =
                reply.status == 301 || reply.status == 302 || reply.status == 307 || reply.status == 308;
            if (!moved || hop == kMaxRedirects)
                return reply;
            url = reply.location;
        }
    }

    std::optional<Multistatus> Parsed(const DavReply& reply, const QString& what)
    {
        if (reply.status != 207) {
            m_error = Failure(what, reply);
            return std::nullopt;
        }
        std::string why;
        std::optional<Multistatus> parsed = ParseMultistatus(reply.body.toStdString(), why);
        if (!parsed)
            m_error = u"%1：%2"_s.arg(what, QString::fromStdString(why));
        return parsed;
    }

    QUrl FindCollection(bool create)
    {
        const QUrl server = m_settings.server;
        if (const QString refused = DavClient::refusedUrl(server); !refused.isEmpty()) {
            m_error = refused;
            return {};
        }
        DavReply reply = Find(server, "0", kCollectionProps);
        if (reply.status == 401 || !reply.error.isEmpty()) {
            m_error = Failure(u"连接服务器"_s, reply);
            return {};
        }
        QString principal;
        QString home;
        if (reply.status == 207) {
            std::string why;
            if (const std::optional<Multistatus> found = ParseMultistatus(reply.body.toStdString(), why)) {
                for (const DavResource& r : found->resources) {
                    if (r.calendar) {
                        if (!r.journals) {
                            m_error = u"这个日历不接受笔记（VJOURNAL），请换一个地址。"_s;
                            return {};
                        }
                        return server.resolved(QUrl(QString::fromStdString(r.href)));
                    }
                    principal = principal.isEmpty() ? QString::fromStdString(r.principal) : principal;
                    home = home.isEmpty() ? QString::fromStdString(r.calendarHome) : home;
                }
            }
        }
        if (principal.isEmpty() && home.isEmpty()) {
            const DavReply wellKnown =
                Find(server.resolved(QUrl(u"/.well-known/caldav"_s)), "0", kCollectionProps);
            if (const std::optional<Multistatus> found = Parsed(wellKnown, u"查找 CalDAV 服务"_s)) {
                for (const DavResource& r : found->resources) {
                    principal = principal.isEmpty() ? QString::fromStdString(r.principal) : principal;
                    home = home.isEmpty() ? QString::fromStdString(r.calendarHome) : home;
                }
            }
        }
        if (home.isEmpty() && !principal.isEmpty()) {
            const DavReply ofPrincipal = Find(server.resolved(QUrl(principal)), "0", kCollectionProps);
            if (const std::optional<Multistatus> found = Parsed(ofPrincipal, u"查找日历"_s))
                for (const DavResource& r : found->resources)
                    home = home.isEmpty() ? QString::fromStdString(r.calendarHome) : home;
        }
        if (home.isEmpty()) {
            m_error = u"这个地址不是 CalDAV 服务器（找不到日历）。"_s;
            return {};
        }
        const QUrl homeUrl = server.resolved(QUrl(home));
        const std::optional<Multistatus> calendars =
            Parsed(Find(homeUrl, "1", kCollectionProps), u"列出日历"_s);
        if (!calendars)
            return {};
        QUrl any;
        for (const DavResource& r : calendars->resources) {
            if (!r.calendar || !r.journals)
                continue;
            const QUrl url = homeUrl.resolved(QUrl(QString::fromStdString(r.href)));
            if (QString::fromStdString(r.displayName) == u"备忘录"_s)
                return url;
            any = any.isEmpty() ? url : any;
        }
        if (!create) {
            if (any.isEmpty())
                m_error = u"服务器上还没有接受笔记的日历；第一次同步时会建一个，名为“备忘录”。"_s;
            return any;
        }
        QUrl made = homeUrl;
        made.setPath(homeUrl.path() + (homeUrl.path().endsWith(u'/') ? u""_s : u"/"_s) +
                     QUuid::createUuid().toString(QUuid::WithoutBraces) + u'/');
        const QByteArray body =
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
            "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
            "<D:displayname>" +
            Escaped(u"备忘录"_s) +
            "</D:displayname>"
            "<C:supported-calendar-component-set><C:comp "
            "name=\"VJOURNAL\"/></C:supported-calendar-component-set>"
            "</D:prop></D:set></C:mkcalendar>";
        const DavReply createdReply = m_client.send("MKCALENDAR", made, body);
        if (createdReply.status != 201) {
            m_error = Failure(u"在服务器上建立“备忘录”日历"_s, createdReply);
            return {};
        }
        return made;
    }

    SyncReport Run()
    {
        struct Unpin
        {
            ~Unpin() { MemoStore_SyncEnd(); }
        } unpin;
        m_report.ok = RunSteps();
        m_report.error = m_report.ok ? QString() : m_error;
        m_report.requests = m_client.requestsSent();
        return m_report;
    }

    QString error() const { return m_error; }
    int requests() const { return m_client.requestsSent(); }

  private:
    struct ServerEntry
    {
        std::string href;
        std::string etag;
    };

    bool RunSteps()
    {
        if (MemoStore_SyncBegin() != 1) {
            m_error = u"没有打开的备忘录存储。"_s;
            return false;
        }
        char storedCollection[1024] = {};
        char storedToken[1024] = {};
        if (MemoStore_SyncGetState(storedCollection, sizeof storedCollection, storedToken,
                                   sizeof storedToken) != MEMO_SYNC_DONE)
            return StoreFailed();
        m_collection = QUrl(QString::fromUtf8(storedCollection));
        QString token = QString::fromUtf8(storedToken);
        const QUrl server = m_settings.server;
        if (m_collection.isEmpty() || m_collection.host() != server.host() ||
            m_collection.port() != server.port() || m_collection.scheme() != server.scheme()) {
            m_collection = FindCollection(true);
            if (m_collection.isEmpty())
                return false;
            token.clear();
            if (MemoStore_SyncSetState(m_collection.toString().toUtf8().constData(), "") != MEMO_SYNC_DONE)
                return StoreFailed();
        }
        // A note sent up after the token was taken and deleted by someone else before the next run is
        // in no report from that token. So a round that sent something asks again from the new token
        // (one more request, which finds its own uploads unchanged) before the token is kept.
        for (int round = 0; round < kMaxRounds; ++round) {
            const int sent = m_report.uploaded + m_report.deletedThere;
            if (!Round(token))
                return false;
            if (m_report.uploaded + m_report.deletedThere == sent)
                break;
        }
        return true;
    }

    bool Round(QString& token)
    {
        std::vector<ServerEntry> changed;
        std::vector<std::string> gone;
        QString newToken;
        if (!ServerChanges(token, changed, gone, newToken))
            return false;
        if (!ReadLocal())
            return false;
        std::vector<ServerEntry> fetch;
        for (const ServerEntry& entry : changed) {
            const MemoSyncLink* link = LinkOfHref(entry.href);
            if (!link || entry.etag.empty() || entry.etag != link->etag)
                fetch.push_back(entry);
        }
        if (!Fetch(fetch) || !ApplyDeletions(gone))
            return false;
        // What was brought in or deleted here changed the memos and links just read.
        if ((!fetch.empty() || !gone.empty()) && !ReadLocal())
            return false;
        if (!Upload())
            return false;
        if (newToken != token && MemoStore_SyncSetState(m_collection.toString().toUtf8().constData(),
                                                        newToken.toUtf8().constData()) != MEMO_SYNC_DONE)
            return StoreFailed();
        token = newToken;
        return true;
    }

    bool StoreFailed()
    {
        m_error = u"备忘录存储出错：%1"_s.arg(QString::fromUtf8(MemoStore_LastError()));
        return false;
    }

    QUrl UrlOf(const std::string& href) const
    {
        return m_collection.resolved(QUrl(QString::fromStdString(href)));
    }

    // What changed on the server since token: by sync-collection, or by a listing of every ETag.
    bool ServerChanges(const QString& token, std::vector<ServerEntry>& changed,
                       std::vector<std::string>& gone, QString& newToken)
    {
        const QByteArray report = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                  "<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" +
                                  Escaped(token) +
                                  "</D:sync-token><D:sync-level>1</D:sync-level>"
                                  "<D:prop><D:getetag/></D:prop></D:sync-collection>";
        const DavReply reply = m_client.send("REPORT", m_collection, report, {{"Depth", "0"}});
        if (reply.status == 207) {
            std::string why;
            if (const std::optional<Multistatus> parsed = ParseMultistatus(reply.body.toStdString(), why)) {
                for (const DavResource& r : parsed->resources) {
                    if (UrlOf(r.href) == m_collection)
                        continue;
                    if (r.gone)
                        gone.push_back(r.href);
                    else
                        changed.push_back({r.href, r.etag});
                }
                newToken = QString::fromStdString(parsed->syncToken);
                return true;
            }
        } else if (!reply.error.isEmpty() || reply.status == 401) {
            m_error = Failure(u"询问服务器上的变化"_s, reply);
            return false;
        }
        // No sync-collection here, or the token is no longer valid: list every note and its ETag.
        const std::optional<Multistatus> listing =
            Parsed(Find(m_collection, "1", "<D:prop><D:getetag/><D:resourcetype/></D:prop>"),
                   u"列出服务器上的笔记"_s);
        if (!listing)
            return false;
        std::map<std::string, bool> listed;
        for (const DavResource& r : listing->resources) {
            if (r.collection || UrlOf(r.href) == m_collection)
                continue;
            changed.push_back({r.href, r.etag});
            listed[UrlOf(r.href).path().toStdString()] = true;
        }
        if (!ReadLocal())
            return false;
        for (const MemoSyncLink& link : m_links)
            if (link.etag[0] != '\0' && !listed.count(UrlOf(link.href).path().toStdString()))
                gone.push_back(link.href);
        newToken.clear();
        return true;
    }

    bool ReadLocal()
    {
        const std::int32_t count = MemoStore_SyncLinks(nullptr, 0);
        if (count < 0)
            return StoreFailed();
        m_links.assign(std::size_t(count), MemoSyncLink{});
        if (MemoStore_SyncLinks(m_links.data(), count) != count)
            return StoreFailed();
        m_memos.clear();
        const std::int32_t memos = DBI_MemGetValidRecordCount();
        for (std::int32_t order = 1; order <= memos; ++order) {
            MemoRecord memo{};
            if (DBI_MemReadRecordByOrder(order, &memo) != 1)
                return StoreFailed();
            m_memos[memo.key] = memo;
        }
        m_groups.clear();
        const std::int32_t groups = DBI_MemGroupGetValidRecordCount();
        for (std::int32_t order = 1; order <= groups; ++order) {
            MemoGroupRecord group{};
            if (DBI_MemGroupReadRecordByOrder(order, &group) == 1)
                m_groups.push_back(group);
        }
        return true;
    }

    const MemoSyncLink* LinkOfHref(const std::string& href) const
    {
        const QString path = UrlOf(href).path();
        for (const MemoSyncLink& link : m_links)
            if (UrlOf(link.href).path() == path)
                return &link;
        return nullptr;
    }

    // The memo a note becomes; newGroup is set when its category must be made.
    MemoRecord RecordOf(const JournalNote& note, std::optional<MemoGroupRecord>& newGroup) const
    {
        std::u16string name = note.category.value_or(std::u16string(GROUP_ALL));
        std::int32_t groupId = 0;
        if (name == GROUP_OTHER) {
            groupId = OTHER_GROUP_ID;
        } else if (name != GROUP_ALL && !IsPseudoGroupName(name)) {
            const auto found = std::find_if(m_groups.begin(), m_groups.end(),
                                            [&](const MemoGroupRecord& g) { return GroupName(g) == name; });
            if (found != m_groups.end()) {
                groupId = found->id;
            } else {
                // The id the category had where the note was written, unless that memo carried
                // none: a category of id 0 or 1 would take the memos without a category, or those
                // of 其它, along when it is deleted.
                const std::int32_t sent = note.groupId.value_or(0);
                groupId = sent != 0 && sent != OTHER_GROUP_ID ? sent : CurrentMemoTime();
                newGroup = NewGroupRecord(groupId, name);
            }
        } else {
            name = GROUP_ALL;
        }
        MemoRecord memo =
            NewMemoRecord(note.stamp.value_or(CurrentMemoTime()), name, groupId, note.title, note.body);
        memo.flags = note.flags.value_or(memo.flags);
        memo.reserved1 = note.reserved1.value_or(memo.reserved1);
        memo.reserved2 = note.reserved2.value_or(memo.reserved2);
        return memo;
    }

    static MemoSyncLink LinkFor(const JournalNote& note, const std::string& href, const std::string& etag)
    {
        MemoSyncLink link{};
        std::strncpy(link.uid, note.uid.c_str(), sizeof link.uid - 1);
        std::strncpy(link.href, href.c_str(), sizeof link.href - 1);
        std::strncpy(link.etag, etag.c_str(), sizeof link.etag - 1);
        return link;
    }

    // Brings one note in as memo key (0: a new memo). False only when the store failed.
    bool BringIn(std::int32_t key, const JournalNote& note, const std::string& href, const std::string& etag,
                 bool& fitted)
    {
        std::optional<MemoGroupRecord> newGroup;
        const MemoRecord record = RecordOf(note, newGroup);
        MemoSyncLink link = LinkFor(note, href, etag);
        const int result = MemoStore_SyncBringIn(key, &record, newGroup ? &*newGroup : nullptr, &link);
        fitted = result == MEMO_SYNC_DONE;
        if (result == MEMO_SYNC_MEMOS_FULL || result == MEMO_SYNC_GROUPS_FULL) {
            m_report.notBroughtIn << u"“%1”：%2"_s.arg(FromTextView(note.title),
                                                       result == MEMO_SYNC_MEMOS_FULL
                                                           ? u"已有 %1 条备忘录"_s.arg(MAX_MEMO_COUNT)
                                                           : u"已有 %1 个分类"_s.arg(MAX_GROUP_COUNT));
            return true;
        }
        if (fitted && newGroup)
            m_groups.push_back(*newGroup);
        return fitted || StoreFailed();
    }

    bool Fetch(const std::vector<ServerEntry>& entries)
    {
        for (std::size_t start = 0; start < entries.size(); start += kMultigetBatch) {
            QByteArray body =
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                "<C:calendar-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                "<D:prop><D:getetag/><C:calendar-data/></D:prop>";
            for (std::size_t i = start; i < std::min(entries.size(), start + kMultigetBatch); ++i)
                body += "<D:href>" + Escaped(QString::fromStdString(entries[i].href)) + "</D:href>";
            body += "</C:calendar-multiget>";
            const std::optional<Multistatus> notes = Parsed(
                m_client.send("REPORT", m_collection, body, {{"Depth", "1"}}), u"取回服务器上的笔记"_s);
            if (!notes)
                return false;
            for (const DavResource& r : notes->resources)
                if (!r.gone && r.status == 200 && !Apply(r))
                    return false;
        }
        return true;
    }

    // One note changed on the server.
    bool Apply(const DavResource& resource)
    {
        std::string why;
        const std::optional<JournalNote> note = NoteFromICalendar(resource.calendarData, why);
        if (!note) {
            m_report.notBroughtIn << u"%1：%2"_s.arg(QString::fromStdString(resource.href),
                                                     QString::fromStdString(why));
            return true;
        }
        if (const std::string misfit = WhyNoteDoesNotFit(*note); !misfit.empty()) {
            m_report.notBroughtIn << u"“%1”：%2"_s.arg(FromTextView(note->title).left(40),
                                                       QString::fromStdString(misfit));
            return true;
        }
        const MemoSyncLink* link = LinkOfHref(resource.href);
        bool fitted = false;
        if (!link) {
            if (!BringIn(0, *note, resource.href, resource.etag, fitted))
                return false;
            m_report.broughtIn += fitted ? 1 : 0;
            return true;
        }
        const auto memo = m_memos.find(link->key);
        if (memo == m_memos.end()) {
            // Deleted here, changed there: the server's version comes back.
            if (MemoStore_SyncRemoveLink(link->key) != MEMO_SYNC_DONE ||
                !BringIn(0, *note, resource.href, resource.etag, fitted))
                return StoreFailed();
            m_report.broughtIn += fitted ? 1 : 0;
            return true;
        }
        std::optional<MemoGroupRecord> unused;
        const bool editedHere = !link->hasSynced || !SameRecord(memo->second, link->synced);
        // What we sent carries the memo's groupId as it was, whatever id its category has here.
        MemoRecord sent = RecordOf(*note, unused);
        sent.groupId = note->groupId.value_or(sent.groupId);
        if (editedHere && link->etag[0] == '\0' && SameRecord(sent, memo->second)) {
            // Our own upload, which the last run did not see confirmed.
            MemoSyncLink confirmed = *link;
            std::strncpy(confirmed.etag, resource.etag.c_str(), sizeof confirmed.etag - 1);
            confirmed.synced = memo->second;
            confirmed.hasSynced = 1;
            return MemoStore_SyncWriteLinks(&confirmed, 1) == MEMO_SYNC_DONE || StoreFailed();
        }
        if (!editedHere) {
            if (!BringIn(link->key, *note, resource.href, resource.etag, fitted))
                return false;
            m_report.changedHere += fitted ? 1 : 0;
            return true;
        }
        // Changed on both sides: the server's version takes the memo's place, the edit here is kept as
        // a new memo, which goes up as a new note.
        if (m_memos.size() >= std::size_t(MAX_MEMO_COUNT)) {
            m_report.notBroughtIn << u"“%1”：两边都改过，但已有 %2 条备忘录，放不下两份；这里的版本保持不变"_s
                                         .arg(FromTextView(note->title))
                                         .arg(MAX_MEMO_COUNT);
            return true;
        }
        MemoRecord edit = memo->second;
        if (!BringIn(link->key, *note, resource.href, resource.etag, fitted))
            return false;
        if (!fitted)
            return true;
        if (MemoStore_SyncBringIn(0, &edit, nullptr, nullptr) != MEMO_SYNC_DONE)
            return StoreFailed();
        m_report.conflicts << u"“%1”（服务器上的版本）和“%2”（这里的版本）"_s.arg(
            FromTextView(note->title), FromTextView(MemoTitle(edit)));
        return true;
    }

    bool ApplyDeletions(const std::vector<std::string>& gone)
    {
        for (const std::string& href : gone) {
            const MemoSyncLink* link = LinkOfHref(href);
            if (!link)
                continue;
            const auto memo = m_memos.find(link->key);
            if (memo == m_memos.end() || link->etag[0] == '\0') {
                if (memo == m_memos.end() && MemoStore_SyncRemoveLink(link->key) != MEMO_SYNC_DONE)
                    return StoreFailed();
                continue;
            }
            if (link->hasSynced && SameRecord(memo->second, link->synced)) {
                if (MemoStore_SyncTrashMemo(link->key) != MEMO_SYNC_DONE)
                    return StoreFailed();
                ++m_report.trashedHere;
            } else {
                // Edited here since: it goes up again, as a new note.
                if (MemoStore_SyncRemoveLink(link->key) != MEMO_SYNC_DONE)
                    return StoreFailed();
                m_report.conflicts << u"“%1”（在服务器上被删除，这里改过，重新上传）"_s.arg(
                    FromTextView(MemoTitle(memo->second)));
            }
        }
        return true;
    }

    bool Upload()
    {
        std::map<std::int32_t, MemoSyncLink> links;
        for (const MemoSyncLink& link : m_links)
            links[link.key] = link;
        // Every memo to send, with its link; a new memo's link is written before anything is sent, all
        // in one transaction, so that an upload that is interrupted is found again on the server
        // instead of being sent twice.
        std::vector<MemoSyncLink> outgoing;
        std::vector<MemoSyncLink> made;
        for (const auto& [key, memo] : m_memos) {
            const auto found = links.find(key);
            if (found != links.end() && found->second.etag[0] != '\0' && found->second.hasSynced &&
                SameRecord(memo, found->second.synced))
                continue;
            if (found != links.end()) {
                outgoing.push_back(found->second);
                continue;
            }
            MemoSyncLink link{};
            const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            link.key = key;
            std::strncpy(link.uid, uid.toUtf8().constData(), sizeof link.uid - 1);
            const QString href =
                m_collection.path() + (m_collection.path().endsWith(u'/') ? u""_s : u"/"_s) + uid + u".ics"_s;
            std::strncpy(link.href, href.toUtf8().constData(), sizeof link.href - 1);
            made.push_back(link);
            outgoing.push_back(link);
        }
        if (!made.empty() &&
            MemoStore_SyncWriteLinks(made.data(), std::int32_t(made.size())) != MEMO_SYNC_DONE)
            return StoreFailed();
        // What the server confirmed is written together at the end (or when a request fails); links
        // not yet confirmed are confirmed by the next run from the server's listing.
        std::vector<MemoSyncLink> confirmed;
        const auto keepConfirmed = [&] {
            return confirmed.empty() ||
                   MemoStore_SyncWriteLinks(confirmed.data(), std::int32_t(confirmed.size())) ==
                       MEMO_SYNC_DONE;
        };
        for (MemoSyncLink link : outgoing) {
            const MemoRecord& memo = m_memos.at(link.key);
            const bool created = link.etag[0] == '\0';
            const QByteArray ics = QByteArray::fromStdString(
                MemoToICalendar(memo, link.uid, QDateTime::currentSecsSinceEpoch()));
            DavClient::Headers headers{{"Content-Type", "text/calendar; charset=utf-8"}};
            headers.append(created ? qMakePair(QByteArray("If-None-Match"), QByteArray("*"))
                                   : qMakePair(QByteArray("If-Match"), QByteArray(link.etag)));
            const DavReply reply = m_client.send("PUT", UrlOf(link.href), ics, headers);
            if (reply.status == 412)
                continue; // changed there meanwhile (or already there): the next run sorts it out
            if (reply.status < 200 || reply.status > 299) {
                m_error = Failure(u"上传“%1”"_s.arg(FromTextView(MemoTitle(memo))), reply);
                return keepConfirmed() ? false : StoreFailed();
            }
            QByteArray etag = reply.etag;
            if (etag.isEmpty()) {
                std::string why;
                const DavReply asked = Find(UrlOf(link.href), "0", "<D:prop><D:getetag/></D:prop>");
                if (const auto parsed = ParseMultistatus(asked.body.toStdString(), why);
                    parsed && !parsed->resources.empty())
                    etag = QByteArray::fromStdString(parsed->resources.front().etag);
            }
            std::strncpy(link.etag, etag.constData(), sizeof link.etag - 1);
            link.synced = memo;
            link.hasSynced = 1;
            confirmed.push_back(link);
            ++m_report.uploaded;
        }
        if (!keepConfirmed())
            return StoreFailed();
        for (const MemoSyncLink& link : m_links) {
            if (m_memos.count(link.key))
                continue;
            DavClient::Headers headers;
            if (link.etag[0] != '\0')
                headers.append({"If-Match", QByteArray(link.etag)});
            const DavReply reply = m_client.send("DELETE", UrlOf(link.href), {}, headers);
            if (reply.status == 412)
                continue; // changed there: the next run brings it back
            if ((reply.status < 200 || reply.status > 299) && reply.status != 404) {
                m_error = Failure(u"在服务器上删除笔记"_s, reply);
                return false;
            }
            if (MemoStore_SyncRemoveLink(link.key) != MEMO_SYNC_DONE)
                return StoreFailed();
            ++m_report.deletedThere;
        }
        return true;
    }

    SyncSettings m_settings;
    DavClient m_client;
    QUrl m_collection;
    QString m_error;
    SyncReport m_report;
    std::vector<MemoSyncLink> m_links;
    std::map<std::int32_t, MemoRecord> m_memos;
    std::vector<MemoGroupRecord> m_groups;
};

} // namespace

SyncReport RunSync(const SyncSettings& settings, const std::atomic<bool>* cancel)
{
    SyncRun run(settings, cancel);
    return run.Run();
}

QUrl FindCollection(const SyncSettings& settings, QString& error, bool create)
{
    SyncRun run(settings);
    const QUrl found = run.FindCollection(create);
    error = run.error();
    return found;
}
