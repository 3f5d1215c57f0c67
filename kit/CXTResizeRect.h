#pragma once
// Resize fractions of a control's four edges: left and right follow the host's change of width,
// top and bottom its change of height. (0, 0, 0, 0) keeps the control in place; (0, 0, 1, 1)
// grows it with the host; (1, 1, 1, 1) moves it with the bottom-right corner.
#include "CXTResizePoint.h"

class CXTResizeRect
{
  public:
    constexpr CXTResizeRect() = default;
    constexpr CXTResizeRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CXTResizeRect(const CXTResizePoint& topLeft, const CXTResizePoint& bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y)
    {
    }
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};
