#include "JournalMapping.h"

#include "MemoRules.h"
#include "TitleRule.h"

#include <TextView.h>

#include <libical/ical.h>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr const char* kStamp = "X-ZORVA-MEMO-STAMP";
constexpr const char* kGroupId = "X-ZORVA-MEMO-GROUP-ID";
constexpr const char* kFlags = "X-ZORVA-MEMO-FLAGS";
constexpr const char* kReserved1 = "X-ZORVA-MEMO-RESERVED1";
constexpr const char* kReserved2 = "X-ZORVA-MEMO-RESERVED2";
// iCalendar text carries no control characters but line feed and tab (a CR, say, is lost on the way),
// and libical drops the spaces and tabs at either end of a value. A title or body that would not come
// back as it is goes into SUMMARY or DESCRIPTION without those controls, and exactly, as base64 of its
// UTF-8, here; it is taken back when the visible text is still the one written.
constexpr const char* kExactBody = "X-ZORVA-MEMO-BODY";
constexpr const char* kExactTitle = "X-ZORVA-MEMO-TITLE";
// libical writes a comma or semicolon in a CATEGORIES value as it stands, and reads an escaped one
// back as a separator or not depending on where it is; so the exact name goes here as well.
constexpr const char* kCategory = "X-ZORVA-MEMO-CATEGORY";
// Who wrote the object, as iCalendar asks (RFC 5545, 3.7.3).
constexpr const char* kProductId = "-//zorva//memo//ZH";

struct ComponentFree
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

std::string Utf8(std::u16string_view text)
{
    return FromTextView(text).toStdString();
}

// UTF-16 of valid UTF-8; nothing for anything else (a server's bytes are not trusted to be text).
std::optional<std::u16string> Utf16(const char* text)
{
    if (!text)
        return std::u16string();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(text));
    if (decoder.hasError())
        return std::nullopt;
    return decoded.toStdU16String();
}

void AddX(icalcomponent* journal, const char* name, const std::string& value)
{
    icalproperty* property = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(journal, property);
}

void AddNumber(icalcomponent* journal, const char* name, long long value)
{
    AddX(journal, name, std::to_string(value));
}

const char* XValue(icalcomponent* journal, const char* name)
{
    for (icalproperty* p = icalcomponent_get_first_property(journal, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(journal, ICAL_X_PROPERTY)) {
        const char* xName = icalproperty_get_x_name(p);
        if (xName && std::string_view(xName) == name)
            return icalproperty_get_x(p);
    }
    return nullptr;
}

bool Carried(char16_t c)
{
    return c >= 0x20 ? c != 0x7F : c == u'\n' || c == u'\t';
}

std::u16string WithoutOuterBlanks(std::u16string text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && blank(text[first]))
        ++first;
    return text.substr(first);
}

std::u16string Visible(std::u16string_view text)
{
    std::u16string visible;
    for (const char16_t c : text)
        if (Carried(c))
            visible.push_back(c);
    return visible;
}

// Adds a text property, and the exact text beside it when iCalendar cannot carry it as it is.
void AddText(icalcomponent* journal, icalproperty* (*make)(const char*), const char* exactName,
             std::u16string_view text)
{
    const std::u16string visible = Visible(text);
    icalcomponent_add_property(journal, make(Utf8(visible).c_str()));
    if (WithoutOuterBlanks(visible) != text)
        AddX(journal, exactName, QByteArray::fromStdString(Utf8(text)).toBase64().toStdString());
}

// The exact text kept beside `shown`, when there is one and `shown` is still what was written for it.
void TakeExact(std::u16string& shown, const char* exact)
{
    if (!exact)
        return;
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(QByteArray(exact), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return;
    const std::optional<std::u16string> text = Utf16(decoded.decoded.constData());
    if (text && decoded.decoded.indexOf('\0') < 0 &&
        WithoutOuterBlanks(Visible(*text)) == WithoutOuterBlanks(shown))
        shown = *text;
}

// Whether libical writes uid so that it reads back the same: a note whose UID it would change
// cannot be updated on the server (a UID with a stray escape, say, comes back empty).
bool UidRoundTrips(const std::string& uid)
{
    Component journal(icalcomponent_new(ICAL_VJOURNAL_COMPONENT));
    icalcomponent_add_property(journal.get(), icalproperty_new_uid(uid.c_str()));
    const char* text = icalcomponent_as_ical_string(journal.get());
    Component again(text ? icalparser_parse_string(text) : nullptr);
    const char* back = again ? icalcomponent_get_uid(again.get()) : nullptr;
    return back && uid == back;
}

std::optional<long long> NumberOf(icalcomponent* journal, const char* name)
{
    if (const char* value = XValue(journal, name)) {
        try {
            std::size_t used = 0;
            const long long number = std::stoll(value, &used);
            if (used == std::string_view(value).size())
                return number;
        } catch (...) {
        }
    }
    return std::nullopt;
}

template <class T> std::optional<T> Narrow(std::optional<long long> value)
{
    if (!value || *value < static_cast<long long>(std::numeric_limits<T>::min()) ||
        *value > static_cast<long long>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(*value);
}

} // namespace

std::string MemoToICalendar(const MemoRecord& memo, std::string_view uid, std::int64_t changedUtc)
{
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    icalcomponent* journal = icalcomponent_new(ICAL_VJOURNAL_COMPONENT);
    icalcomponent_add_component(calendar.get(), journal);

    const icaltimetype changed =
        icaltime_from_timet_with_zone(static_cast<time_t>(changedUtc), 0, icaltimezone_get_utc_timezone());
    icalcomponent_add_property(journal, icalproperty_new_uid(std::string(uid).c_str()));
    icalcomponent_add_property(journal, icalproperty_new_dtstamp(changed));
    icalcomponent_add_property(journal, icalproperty_new_lastmodified(changed));
    AddText(journal, &icalproperty_new_summary, kExactTitle, MemoTitle(memo));
    AddText(journal, &icalproperty_new_description, kExactBody, MemoContent(memo));
    const std::u16string_view category = EffectiveGroupName(memo);
    if (!category.empty() && category != GROUP_ALL) {
        // One category, given as a value of its own: a comma in its name stays part of the name.
        icalproperty* categories = icalproperty_new(ICAL_CATEGORIES_PROPERTY);
        icalproperty_set_value(categories, icalvalue_new_text(Utf8(category).c_str()));
        icalcomponent_add_property(journal, categories);
        AddX(journal, kCategory, Utf8(category));
    }
    AddNumber(journal, kStamp, memo.stamp);
    AddNumber(journal, kGroupId, memo.groupId);
    AddNumber(journal, kFlags, memo.flags);
    AddNumber(journal, kReserved1, memo.reserved1);
    AddNumber(journal, kReserved2, memo.reserved2);

    char* text = icalcomponent_as_ical_string(calendar.get()); // owned by libical's ring buffer
    return text ? std::string(text) : std::string();
}

std::optional<JournalNote> NoteFromICalendar(std::string_view text, std::string& why)
{
    const std::string copy(text); // libical reads a NUL-terminated string
    if (copy.find('\0') != std::string::npos) {
        why = "it holds a NUL byte";
        return std::nullopt;
    }
    icalerror_set_errors_are_fatal(0);
    Component root(icalparser_parse_string(copy.c_str()));
    if (!root) {
        why = "it is not iCalendar text";
        return std::nullopt;
    }
    icalcomponent* journal = icalcomponent_isa(root.get()) == ICAL_VJOURNAL_COMPONENT
                                 ? root.get()
                                 : icalcomponent_get_first_component(root.get(), ICAL_VJOURNAL_COMPONENT);
    if (!journal) {
        why = "it holds no note (VJOURNAL)";
        return std::nullopt;
    }
    JournalNote note;
    const char* uid = icalcomponent_get_uid(journal);
    if (!uid || uid[0] == '\0') {
        why = "its note has no UID";
        return std::nullopt;
    }
    note.uid = uid;
    if (!UidRoundTrips(note.uid)) {
        why = "its UID would not be written back as it is";
        return std::nullopt;
    }
    const auto text16 = [&](icalproperty_kind kind) -> std::optional<std::optional<std::u16string>> {
        icalproperty* p = icalcomponent_get_first_property(journal, kind);
        if (!p)
            return std::optional<std::u16string>();
        icalvalue* value = icalproperty_get_value(p);
        const std::optional<std::u16string> decoded = Utf16(value ? icalvalue_get_text(value) : nullptr);
        if (!decoded)
            return std::nullopt;
        return decoded;
    };
    const auto summary = text16(ICAL_SUMMARY_PROPERTY);
    const auto description = text16(ICAL_DESCRIPTION_PROPERTY);
    const auto category = text16(ICAL_CATEGORIES_PROPERTY);
    if (!summary || !description || !category) {
        why = "its text is not valid UTF-8";
        return std::nullopt;
    }
    note.body = description->value_or(std::u16string());
    TakeExact(note.body, XValue(journal, kExactBody));
    // A title of nothing but controls goes out as an empty SUMMARY (which libical then leaves out)
    // beside its exact text.
    note.title = summary->value_or(std::u16string());
    TakeExact(note.title, XValue(journal, kExactTitle));
    if (note.title.empty())
        if (const std::optional<std::u16string> derived = TitleToStore(u"", note.body, u""))
            note.title = *derived;
    note.category = *category;
    // Our exact name, unless another program has filed the note elsewhere since.
    if (const char* exact = XValue(journal, kCategory); exact && note.category) {
        const std::optional<std::u16string> name = Utf16(exact);
        if (name && !name->empty() && name->compare(0, note.category->size(), *note.category) == 0)
            note.category = *name;
    }
    note.stamp = Narrow<std::int32_t>(NumberOf(journal, kStamp));
    note.groupId = Narrow<std::int32_t>(NumberOf(journal, kGroupId));
    note.flags = Narrow<std::uint32_t>(NumberOf(journal, kFlags));
    note.reserved1 = Narrow<std::int32_t>(NumberOf(journal, kReserved1));
    note.reserved2 = Narrow<std::int32_t>(NumberOf(journal, kReserved2));
    return note;
}

std::string WhyNoteDoesNotFit(const JournalNote& note)
{
    if (note.title.empty())
        return "it has neither a title nor a body";
    if (note.title.size() > MAX_TITLE_LEN)
        return "its title is longer than " + std::to_string(MAX_TITLE_LEN) + " characters";
    if (note.body.size() > MAX_CONTENT_LEN)
        return "its text is longer than " + std::to_string(MAX_CONTENT_LEN) + " characters";
    if (note.category && note.category->size() > MAX_GROUP_NAME_LEN)
        return "its category name is longer than " + std::to_string(MAX_GROUP_NAME_LEN) + " characters";
    return {};
}
