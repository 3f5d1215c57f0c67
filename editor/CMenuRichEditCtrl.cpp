#include "CMenuRichEditCtrl.h"

#include <CMenu.h>
#include <LoadStr.h>
#include <StringIds.h>

#include <QPointer>

namespace {

// Command ids of the menu. They travel only between the menu and this control, so the same
// numbers may be control ids of the dialog around it.
constexpr UINT ID_EDIT_COPY = 21006;
constexpr UINT ID_EDIT_SELECTALL = 21007;
constexpr UINT ID_EDIT_PASTE = 21008;
constexpr UINT ID_EDIT_CUT = 21009;

} // namespace

CMenuRichEditCtrl::CMenuRichEditCtrl(QWidget* parent) : CRichEditCtrl(parent)
{
    MapCommand(ID_EDIT_CUT, &CMenuRichEditCtrl::OnCut);
    MapCommand(ID_EDIT_COPY, &CMenuRichEditCtrl::OnCopy);
    MapCommand(ID_EDIT_PASTE, &CMenuRichEditCtrl::OnPaste);
    MapCommand(ID_EDIT_SELECTALL, &CMenuRichEditCtrl::OnSelectAll);
}

CMenuRichEditCtrl::~CMenuRichEditCtrl() = default;

void CMenuRichEditCtrl::OnContextMenu(QWidget* pWnd, QPoint pos)
{
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_EDIT_CUT, LoadStr(IDS_MENU_CUT));
    menu.AppendMenu(MF_STRING, ID_EDIT_COPY, LoadStr(IDS_MENU_COPY));
    menu.AppendMenu(MF_STRING, ID_EDIT_PASTE, LoadStr(IDS_MENU_PASTE));
    menu.AppendMenu(MF_STRING, ID_EDIT_SELECTALL, LoadStr(IDS_MENU_SELECTALL));

    long start = 0;
    long end = 0;
    GetSel(start, end);
    if (start == end)
        menu.EnableMenuItem(ID_EDIT_COPY, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);

    // The menu runs its own event loop: the window may be gone when it returns.
    const QPointer<CMenuRichEditCtrl> self(this);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x(), pos.y(), pWnd);
    menu.DestroyMenu();
    if (self)
        SetFocus();
}

void CMenuRichEditCtrl::OnCut()
{
    SendMessage(WM_CUT);
}

void CMenuRichEditCtrl::OnCopy()
{
    SendMessage(WM_COPY);
}

void CMenuRichEditCtrl::OnPaste()
{
    SendMessage(WM_PASTE);
}

void CMenuRichEditCtrl::OnSelectAll()
{
    SetSel(0, -1);
}
