#pragma once
// A pair of resize fractions, 0 to 1: how far an edge moves with the change of the host's width
// (x) and height (y).
class CXTResizePoint
{
  public:
    constexpr CXTResizePoint() = default;
    constexpr CXTResizePoint(float fx, float fy) : x(fx), y(fy) {}
    float x = 0;
    float y = 0;
};
