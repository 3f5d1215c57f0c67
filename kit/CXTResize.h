#pragma once
// The resize manager of a host window: each registered control keeps a reference rectangle
// and the host's client size at registration; when the host's size changes by (dx, dy), the
// control's left edge moves by left*dx, its top by top*dy, its right by right*dx and its bottom
// by bottom*dy (rounded), always from the reference, so repeated resizes do not drift.
#include "CRect.h"
#include "CXTResizeRect.h"
#include "KitExport.h"

#include <QPointer>
#include <QSize>
#include <vector>

class QWidget;

class KIT_API CXTResize
{
  public:
    explicit CXTResize(QWidget* host) : m_host(host) {}
    virtual ~CXTResize();
    CXTResize(const CXTResize&) = delete;
    CXTResize& operator=(const CXTResize&) = delete;

    // The host's control with this id, from where it is now. FALSE when there is no such control.
    bool SetResize(int id, const CXTResizeRect& sizing);
    bool SetResize(int id, const CXTResizePoint& topLeft, const CXTResizePoint& bottomRight)
    {
        return SetResize(id, CXTResizeRect(topLeft, bottomRight));
    }
    // Any child window, from where it is now.
    bool SetResize(QWidget* window, const CXTResizeRect& sizing);
    // Any child window with an explicit reference rectangle in the host's client coordinates.
    bool SetResize(QWidget* window, const CXTResizeRect& sizing, const CRect& reference);
    bool RemoveResize(int id);
    void RemoveAllControls() { m_items.clear(); }

    // Moves the registered controls for the host's client size (cx, cy).
    void UpdateControls(int cx, int cy);

  private:
    struct Item
    {
        QPointer<QWidget> window;
        CXTResizeRect sizing;
        CRect reference;
        QSize hostSize;
    };
    QWidget* m_host;
    std::vector<Item> m_items;
};
