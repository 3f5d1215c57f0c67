#pragma once
// Ids of the string-table texts the module loads with LoadStr (the table: res/kit/strings.xml).
// Every dialog of the module names its texts by these.
#include <WinTypes.h>

// Category editor.
constexpr UINT IDS_GROUP_CAPTION = 186;
constexpr UINT IDS_RENAME_RESERVED = 208; // %s: the refused name
constexpr UINT IDS_CREATE_RESERVED = 209; // %s: the refused name
constexpr UINT IDS_GROUP_NOT_SAVED = 243;

// Memo panel.
constexpr UINT IDS_SEARCH_PLACEHOLDER = 201;
constexpr UINT IDS_NEW = 219;
constexpr UINT IDS_MEMO_TABLE_FULL = 223;
constexpr UINT IDS_FIND = 224;
constexpr UINT IDS_DELETE = 225;
constexpr UINT IDS_REFRESH = 226;
constexpr UINT IDS_SAVE = 227;
constexpr UINT IDS_COLUMN_TITLE = 228;
constexpr UINT IDS_COLUMN_TIME = 229;
constexpr UINT IDS_NO_TIME = 230;
constexpr UINT IDS_EMPTY_SEARCH = 231;
constexpr UINT IDS_STATUS_ROWS = 233; // %d: rows
constexpr UINT IDS_DELETE_QUESTION = 234;
constexpr UINT IDS_DELETE_CAPTION = 235;
constexpr UINT IDS_SAVE_FAILED = 239;
constexpr UINT IDS_DELETE_FAILED = 240;
constexpr UINT IDS_SAVE_EDITS_QUESTION = 241;
constexpr UINT IDS_STATUS_DRAFT_RESTORED = 242; // %d: rows
constexpr UINT IDS_STATUS_TRASH_RESTORED = 244; // %d: memos restored, %d: rows
constexpr UINT IDS_EMPTY_STORE_HINT = 245;
constexpr UINT IDS_SAVED_AS_COPY = 246;

// Shared by the panel, the detail pane and the memo edit dialog.
constexpr UINT IDS_EMPTY_MEMO = 220;
constexpr UINT IDS_MEMO_CAPTION = 221;
constexpr UINT IDS_TITLE_HINT = 222; // the grey placeholder of an empty title

// Memo edit dialog.
constexpr UINT IDS_TIP_TITLE = 210;
constexpr UINT IDS_TIP_CONTENT = 211;
constexpr UINT IDS_TIP_GROUP = 212;
constexpr UINT IDS_TIP_CAPTION = 213;
constexpr UINT IDS_EDIT_CAPTION = 214;
constexpr UINT IDS_OK = 216;
constexpr UINT IDS_CANCEL = 217;
constexpr UINT IDS_TITLE_COUNTER = 236;   // %d/%d: length, limit
constexpr UINT IDS_CONTENT_COUNTER = 237; // %d/%d: length, limit

// Context menu of the rich edit.
constexpr UINT IDS_MENU_COPY = 206;
constexpr UINT IDS_MENU_SELECTALL = 207;
constexpr UINT IDS_MENU_PASTE = 232;
constexpr UINT IDS_MENU_CUT = 238;
