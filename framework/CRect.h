#pragma once
// A rectangle as the platform keeps it: left, top, right and bottom edges, the right and bottom
// edges lying just outside. Converts to and from QRect, whose right() is the last pixel inside.
#include <QPoint>
#include <QRect>

class CRect
{
  public:
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const QRect& r) // NOLINT(google-explicit-constructor): used where a RECT is taken
        : left(r.x()), top(r.y()), right(r.x() + r.width()), bottom(r.y() + r.height())
    {
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool PtInRect(QPoint p) const
    {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    constexpr void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    constexpr void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr QPoint TopLeft() const { return {left, top}; }
    constexpr QRect toQRect() const { return {left, top, right - left, bottom - top}; }
    constexpr operator QRect() const { return toQRect(); } // NOLINT(google-explicit-constructor)
    constexpr bool operator==(const CRect&) const = default;

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
