#pragma once
// Texts, ids and record views shared by the memo panel's source files.
#include <MemoConstants.h>
#include <MemoRecord.h>
#include <MemoRules.h>
#include <RecordText.h>
#include <StringIds.h>
#include <TextView.h>
#include <WinTypes.h>

#include <QString>
#include <QStringList>
#include <string_view>

namespace panel {

// Control ids of template 21000 (the detail panel's are its own).
constexpr int IDC_MEMO_LIST = 21000;
constexpr int IDC_BTN_NEW = 21001;
constexpr int IDC_BTN_DELETE = 21003;
constexpr int IDC_BTN_REFRESH = 21004;
constexpr int IDC_BTN_FIND = 21005;
constexpr int IDC_EDIT_SEARCH = 21006;
constexpr int IDC_COMBO_GROUP = 21007;
constexpr int IDC_BTN_SAVE = 21025;

// A record's text as it is shown. A field filled to its end may end in the first half of a
// surrogate pair whose second half did not fit; half a character is never shown.
inline QString shownText(std::u16string_view field)
{
    return FromTextView(ShownText(field));
}

// The same as a category box holds it: at most MAX_GROUP_NAME_LEN characters, which is all a
// record keeps of a name anyway (a box's text is read back with that limit).
inline QString shownCategoryInBox(const MemoRecord& memo)
{
    return FromTextView(CutText(EffectiveGroupName(memo), MAX_GROUP_NAME_LEN));
}

inline const QString& allGroups()
{
    static const QString text = FromTextView(GROUP_ALL);
    return text;
}

inline const QString& otherGroup()
{
    static const QString text = FromTextView(GROUP_OTHER);
    return text;
}

// The names of the stored categories as a category box lists them, in the store's order,
// leaving out those named `leaveOut` and `alsoLeaveOut` (when given).
QStringList StoredGroupNames(std::u16string_view leaveOut, std::u16string_view alsoLeaveOut = {});

} // namespace panel
