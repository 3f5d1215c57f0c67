#pragma once
// The detail panel's diagnostic log: one line per drawing resource that could not be created.
#include <QString>

enum class DrawingResource {
    MemoryDC, // CreateCompatibleDC
    Bitmap,   // CreateCompatibleBitmap
};

// The log file: "d:\addr.txt" where that drive exists, else addr.txt in the application's data
// folder (the folder the kit's WriteStringToFile writes under).
QString DrawingLogPath();

// Appends the line for the resource that `function` failed to create, with the kit's last error
// code, e.g. "\r\nCreateCompatibleDC<CPropertyDlg::OnEraseBkgnd><8>\r\n". Nothing is shown.
void LogDrawingFailure(DrawingResource resource, const QString& function);
