#pragma once
// A buffered DC: drawing goes into an off-screen picture of `rect` (in the target's coordinates)
// which is put onto the target in one step when the CMemDC is destroyed. If the buffer cannot be
// made (no memory, or the drawing-failure seam), it draws straight onto the target instead.
#include "CDC.h"
#include "KitExport.h"

class KIT_API CMemDC : public CDC
{
public:
    CMemDC(CDC& target, const CRect& rect);
    CMemDC(CDC* target, const CRect& rect) : CMemDC(*target, rect) {}
    // The whole client area of `window`.
    CMemDC(CDC& target, const QWidget* window);
    ~CMemDC() override;

    CDC& GetDC() { return *this; }
    // False when drawing goes straight to the target.
    bool IsMemDC() const { return m_pAlias == nullptr; }

private:
    CDC& m_target;
    CRect m_rect;
    CBitmap m_buffer;
};
