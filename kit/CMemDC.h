#pragma once
// A buffered DC: drawing goes into an off-screen picture of `rect` (in the target's coordinates)
// which is put onto the target in one step when the CMemDC is destroyed. If the buffer cannot be
// made (no memory, or the drawing-failure seam), it draws straight onto the target instead.
//
// A window being painted needs no such picture: the window system's back buffer of the window
// already keeps the drawing off the screen until the paint event ends. On the DC of a window's
// paint event a CMemDC therefore draws straight into that buffer, kept inside `rect` as the
// picture would be; other targets (images, memory DCs) get the off-screen picture.
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
