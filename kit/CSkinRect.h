#pragma once
// An area of the common skin image as dialog code passes it to the kit's skin calls: x, y, width,
// height. A rectangle struct with left/top/right/bottom members is read in field order, that is
// as x, y, width and height, which is how skin values are written; a QRect means what it says.
#include <QRect>

struct CSkinRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr CSkinRect() = default;
    constexpr CSkinRect(int x_, int y_, int width_, int height_)
        : x(x_), y(y_), width(width_), height(height_)
    {
    }
    constexpr CSkinRect(const QRect& r)
        : x(r.x()), y(r.y()), width(r.width()), height(r.height()) {} // NOLINT
    template <class R>
    requires requires(const R& r) { r.left + r.top + r.right + r.bottom; }
    constexpr CSkinRect(const R& r) : x(r.left), y(r.top), width(r.right), height(r.bottom) // NOLINT
    {
    }

    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    constexpr QRect toQRect() const { return {x, y, width, height}; }
    constexpr bool operator==(const CSkinRect&) const = default;
};
