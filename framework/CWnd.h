#pragma once
// The window operations dialog code is written in, for any widget: ids, texts, placement,
// visibility, focus, redraw. CWndT<QtWidget> adds them as members to a Qt widget class; the free
// functions serve widgets that are not framework classes.
#include "CRect.h"
#include "FrameworkExport.h"
#include "WinDefs.h"
#include "WindowText.h"

#include <QWidget>

// A control's id is its objectName in decimal ("21000"); 0 when it has none.
FRAMEWORK_API int GetDlgCtrlID(const QWidget* window);
FRAMEWORK_API void SetDlgCtrlID(QWidget* window, int id);
// The control with this id below `parent`, not looking inside nested dialogs.
FRAMEWORK_API QWidget* FindDlgItem(const QWidget* parent, int id);

// Sends `code` from `control` to the nearest enclosing window that takes notifications
// (INotifyTarget); returns the handler's result, 0 when nobody handles it.
FRAMEWORK_API LRESULT NotifyParent(QWidget* control, UINT code);

FRAMEWORK_API QWidget* GetFocus();
// Key state as the current input event reports it: bit 0x8000 set while the key is down.
FRAMEWORK_API short GetKeyState(int virtualKey);

FRAMEWORK_API void MoveWindow(QWidget* window, int x, int y, int width, int height);
FRAMEWORK_API bool SetWindowPos(QWidget* window, const QWidget* insertAfter, int x, int y, int cx, int cy,
                                UINT flags);
// Returns whether the window was visible before.
FRAMEWORK_API bool ShowWindow(QWidget* window, int command);
// Returns whether the window was disabled before.
FRAMEWORK_API bool EnableWindow(QWidget* window, bool enable);
// The client rectangle: (0, 0, width, height).
FRAMEWORK_API CRect GetClientRect(const QWidget* window);
// The window's rectangle in screen coordinates.
FRAMEWORK_API CRect GetWindowRect(const QWidget* window);
FRAMEWORK_API QWidget* SetFocus(QWidget* window);

template <class Base> class CWndT : public Base
{
  public:
    using Base::Base;

    QWidget* GetSafeHwnd() const { return const_cast<CWndT*>(this); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(this); }
    void SetDlgCtrlID(int id) { ::SetDlgCtrlID(this, id); }
    QWidget* GetDlgItem(int id) const { return FindDlgItem(this, id); }
    QWidget* GetParent() const { return Base::parentWidget(); }

    void SetWindowTextW(const QString& text) { ::SetWindowText(this, text); }
    void SetWindowText(const QString& text) { ::SetWindowText(this, text); }
    void GetWindowTextW(QString& text) const { text = ::GetWindowText(this); }
    void GetWindowText(QString& text) const { text = ::GetWindowText(this); }
    QString GetWindowTextW() const { return ::GetWindowText(this); }
    int GetWindowTextLengthW() const { return int(::GetWindowText(this).size()); }

    void MoveWindow(int x, int y, int width, int height, BOOL /*repaint*/ = TRUE)
    {
        ::MoveWindow(this, x, y, width, height);
    }
    void MoveWindow(const CRect& r, BOOL repaint = TRUE)
    {
        MoveWindow(r.left, r.top, r.Width(), r.Height(), repaint);
    }
    BOOL SetWindowPos(const QWidget* insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(this, insertAfter, x, y, cx, cy, flags);
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(this, command); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(this, enable != FALSE); }
    BOOL IsWindowEnabled() const { return Base::isEnabled(); }
    BOOL IsWindowVisible() const { return Base::isVisible(); }
    QWidget* SetFocus() { return ::SetFocus(this); }
    void Invalidate(BOOL /*erase*/ = TRUE) { Base::update(); }
    void UpdateWindow() { Base::repaint(); }
    void SetRedraw(BOOL redraw = TRUE) { Base::setUpdatesEnabled(redraw != FALSE); }
    void GetClientRect(CRect* rect) const { *rect = ::GetClientRect(this); }
    void GetWindowRect(CRect* rect) const { *rect = ::GetWindowRect(this); }
    void ScreenToClient(CRect* rect) const
    {
        const QPoint o = Base::mapFromGlobal(QPoint(0, 0));
        rect->OffsetRect(o.x(), o.y());
    }
    void ScreenToClient(QPoint* p) const { *p = Base::mapFromGlobal(*p); }
    void ClientToScreen(CRect* rect) const
    {
        const QPoint o = Base::mapToGlobal(QPoint(0, 0));
        rect->OffsetRect(o.x(), o.y());
    }
    void ClientToScreen(QPoint* p) const { *p = Base::mapToGlobal(*p); }
};
