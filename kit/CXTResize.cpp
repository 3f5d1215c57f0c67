#include "CXTResize.h"

#include "CWnd.h"

#include <QWidget>
#include <cmath>

CXTResize::~CXTResize() = default;

bool CXTResize::SetResize(int id, const CXTResizeRect& sizing)
{
    return SetResize(FindDlgItem(m_host, id), sizing);
}

bool CXTResize::SetResize(QWidget* window, const CXTResizeRect& sizing)
{
    if (!window)
        return false;
    return SetResize(window, sizing, CRect(window->geometry()));
}

bool CXTResize::SetResize(QWidget* window, const CXTResizeRect& sizing, const CRect& reference)
{
    if (!window || !m_host)
        return false;
    Item item{window, sizing, reference, m_host->size()};
    for (Item& existing : m_items)
        if (existing.window == window) {
            existing = item;
            return true;
        }
    m_items.push_back(item);
    return true;
}

bool CXTResize::RemoveResize(int id)
{
    const auto before = m_items.size();
    std::erase_if(m_items, [id](const Item& i) { return !i.window || GetDlgCtrlID(i.window) == id; });
    return m_items.size() != before;
}

void CXTResize::UpdateControls(int cx, int cy)
{
    for (const Item& item : m_items) {
        if (!item.window)
            continue;
        const float dx = float(cx - item.hostSize.width());
        const float dy = float(cy - item.hostSize.height());
        const int l = item.reference.left + int(std::lround(item.sizing.left * dx));
        const int t = item.reference.top + int(std::lround(item.sizing.top * dy));
        const int r = item.reference.right + int(std::lround(item.sizing.right * dx));
        const int b = item.reference.bottom + int(std::lround(item.sizing.bottom * dy));
        item.window->setGeometry(l, t, std::max(0, r - l), std::max(0, b - t));
    }
}
