// What a CalDAV server may answer, on any bytes: the Multi-Status reader, and the iCalendar reader for
// the calendar data in it. A note that is read must map back to iCalendar that reads the same again.
#include <DavReplies.h>
#include <JournalMapping.h>
#include <MemoRules.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string why;
    if (const std::optional<Multistatus> reply = ParseMultistatus(text, why)) {
        for (const DavResource& resource : reply->resources)
            (void)NoteFromICalendar(resource.calendarData, why);
    }
    const std::optional<JournalNote> note = NoteFromICalendar(text, why);
    if (!note || !WhyNoteDoesNotFit(*note).empty())
        return 0;
    const MemoRecord memo = NewMemoRecord(note->stamp.value_or(0), note->category.value_or(u""),
                                          note->groupId.value_or(0), note->title, note->body);
    const std::string again = MemoToICalendar(memo, note->uid, 0);
    const std::optional<JournalNote> back = NoteFromICalendar(again, why);
    if (!back || back->title != note->title || back->body != note->body)
        std::abort();
    return 0;
}
