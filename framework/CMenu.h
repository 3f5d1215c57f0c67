#pragma once
// A popup menu of string items with command ids. TrackPopupMenu shows it at a screen position and,
// when the user picks an enabled item, either returns its id (TPM_RETURNCMD) or sends the command
// to the owner window (its INotifyTarget, as a menu command: code 0, no control) before returning.
// Greyed or disabled items cannot be chosen. Tests answer menus through FrameworkTest::MenuResponder.
#include "FrameworkExport.h"
#include "WinDefs.h"

#include <QPoint>
#include <QString>
#include <vector>

class QWidget;

class FRAMEWORK_API CMenu
{
  public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    const void* GetSafeHmenu() const { return m_bCreated ? this : nullptr; }

    // MF_STRING (with MF_GRAYED / MF_DISABLED) or MF_SEPARATOR.
    BOOL AppendMenu(UINT flags, UINT id = 0, const QString& text = QString());
    // By command id (MF_BYCOMMAND) or position (MF_BYPOSITION); returns the previous state
    // (MF_ENABLED, MF_GRAYED, MF_DISABLED), or 0xFFFFFFFF when there is no such item.
    UINT EnableMenuItem(UINT item, UINT flags);
    UINT GetMenuState(UINT item, UINT flags) const;
    int GetMenuItemCount() const { return m_bCreated ? int(m_items.size()) : -1; }
    UINT GetMenuItemID(int position) const;
    QString GetMenuString(UINT item, UINT flags) const;

    // Returns the chosen id with TPM_RETURNCMD (0: none); otherwise TRUE when the menu was shown.
    BOOL TrackPopupMenu(UINT flags, int x, int y, QWidget* owner, const void* rect = nullptr);

  private:
    struct Item
    {
        UINT flags;
        UINT id;
        QString text;
    };
    Item* find(UINT item, UINT flags);
    const Item* find(UINT item, UINT flags) const;
    UINT choose(QPoint pos, QWidget* owner) const;

    bool m_bCreated = false;
    std::vector<Item> m_items;
};
