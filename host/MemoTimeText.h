#pragma once
// A MemoTime as ISO 8601 text ("2011-07-01T09:30:00", local time without a zone, as the stamp
// itself has none). The text shows the stamp's own calendar of twelve 31-day months, so a stamp
// may give a day the real calendar lacks ("2023-02-30T..."); reading such text back gives the same
// stamp, and every stamp round-trips exactly, also those before 2002 (negative stamps).
#include <MemoTime.h>

#include <QString>
#include <optional>

QString MemoTimeToIso(MemoTime stamp);
// Nothing for text that is not of that form, has a field out of range (month 1-12, day 1-31,
// hour 0-23, minute and second 0-59), or names a moment a MemoTime cannot hold.
std::optional<MemoTime> MemoTimeFromIso(const QString& text);
