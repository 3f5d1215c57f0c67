#include "CMenu.h"

#include "FrameworkTestSeams.h"
#include "INotifyTarget.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace {
constexpr UINT kNoItem = 0xFFFFFFFF;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED;

bool chosenable(UINT flags)
{
    return !(flags & (MF_SEPARATOR | kStateBits));
}
} // namespace

BOOL CMenu::CreatePopupMenu()
{
    if (m_bCreated)
        return FALSE;
    m_bCreated = true;
    m_items.clear();
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_bCreated)
        return FALSE;
    m_bCreated = false;
    m_items.clear();
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT id, const QString& text)
{
    if (!m_bCreated)
        return FALSE;
    m_items.push_back({flags, (flags & MF_SEPARATOR) ? 0u : id, text});
    return TRUE;
}

CMenu::Item* CMenu::find(UINT item, UINT flags)
{
    return const_cast<Item*>(std::as_const(*this).find(item, flags));
}

const CMenu::Item* CMenu::find(UINT item, UINT flags) const
{
    if (!m_bCreated)
        return nullptr;
    if (flags & MF_BYPOSITION)
        return item < m_items.size() ? &m_items[item] : nullptr;
    for (const Item& i : m_items)
        if (!(i.flags & MF_SEPARATOR) && i.id == item)
            return &i;
    return nullptr;
}

UINT CMenu::EnableMenuItem(UINT item, UINT flags)
{
    Item* i = find(item, flags);
    if (!i)
        return kNoItem;
    const UINT previous = i->flags & kStateBits;
    i->flags = (i->flags & ~kStateBits) | (flags & kStateBits);
    return previous;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    const Item* i = find(item, flags);
    return i ? (i->flags & (kStateBits | MF_SEPARATOR)) : kNoItem;
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (!m_bCreated || position < 0 || position >= int(m_items.size()))
        return kNoItem;
    return m_items[std::size_t(position)].id;
}

QString CMenu::GetMenuString(UINT item, UINT flags) const
{
    const Item* i = find(item, flags);
    return i ? i->text : QString();
}

UINT CMenu::choose(QPoint pos, QWidget* owner) const
{
    if (FrameworkTest::MenuResponder* responder = FrameworkTest::activeMenuResponder()) {
        FrameworkTest::MenuRecord record;
        record.pos = pos;
        record.owner = owner;
        for (const Item& i : m_items)
            record.items.push_back({i.id, i.text, chosenable(i.flags), (i.flags & MF_SEPARATOR) != 0});
        const UINT id = responder->track(std::move(record));
        // Only what a person could click counts.
        for (const Item& i : m_items)
            if (i.id == id && chosenable(i.flags))
                return id;
        return 0;
    }
    QMenu menu(owner);
    for (const Item& i : m_items) {
        if (i.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(i.text);
        action->setData(i.id);
        action->setEnabled(chosenable(i.flags));
    }
    QAction* chosen = menu.exec(pos);
    return chosen ? chosen->data().toUInt() : 0;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, QWidget* owner, const void* /*rect*/)
{
    if (!m_bCreated)
        return FALSE;
    QPointer<QWidget> target(owner);
    const UINT id = choose(QPoint(x, y), owner);
    if (flags & TPM_RETURNCMD)
        return BOOL(id);
    if (id && target)
        if (auto* handler = dynamic_cast<INotifyTarget*>(target.data())) {
            LRESULT result = 0;
            handler->OnControlNotify(int(id), 0, nullptr, &result);
        }
    return TRUE;
}
