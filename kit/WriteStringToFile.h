#pragma once
// Appending diagnostic text to a file.
#include "KitExport.h"
#include "WinTypes.h"

#include <QString>

// Where a path written for the host platform lands on this machine. A drive path such as
// "d:\addr.txt" becomes "<application data>/drive-d/addr.txt" (backslashes are separators, "."
// and ".." parts are dropped, so it cannot leave that folder); any other path is used as it is.
KIT_API QString LocalFilePath(const QString& path);

// Appends `text` (UTF-8) to the file at LocalFilePath(path), creating the file and its folder
// when needed. The file is never emptied: a log keeps its earlier lines whatever `bAppend` says.
// TRUE when the whole text was written.
KIT_API BOOL WriteStringToFile(const QString& text, const QString& path, BOOL bAppend);
