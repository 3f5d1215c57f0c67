#pragma once
// Device contexts on QPainter. A window DC draws with the painter of the window's paint event; a
// memory DC (CreateCompatibleDC) draws into the CBitmap selected into it. Coordinates are pixels
// of the DC's surface. CClientDC stands for a window outside its paint event: it cannot be drawn
// on, but memory DCs and bitmaps compatible with it can be made. CPaintDC is the DC of the paint
// event being handled.
#include "CBitmap.h"
#include "CRect.h"
#include "FrameworkExport.h"
#include "WinDefs.h"

#include <QPoint>
#include <QRect>
#include <functional>

class QImage;
class QPainter;
class QWidget;

class FRAMEWORK_API CDC
{
  public:
    CDC() = default;
    explicit CDC(QPainter* painter) : m_painter(painter) {}
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory DC with a 1 x 1 bitmap selected. Fails (FALSE, GetLastError set) under the
    // drawing-failure seam.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    // Non-null while the DC can be drawn on.
    const void* GetSafeHdc() const;
    // Memory DCs: selects `bitmap` (null: the DC's own 1 x 1 bitmap) and returns the previous
    // one (null for the DC's own).
    CBitmap* SelectObject(CBitmap* bitmap);

    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop = SRCCOPY);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop = SRCCOPY);
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, BYTE constantAlpha = 0xFF);

    // Runs `draw` with a painter on this DC's surface; false when there is none.
    bool Paint(const std::function<void(QPainter&)>& draw);
    // The memory DC's current surface, null for window DCs.
    const QImage* Surface() const;
    // True for the DC of a window's paint event while it is handled: the window system's back
    // buffer of the window takes the drawing, and the screen shows it only when the event is done.
    bool DrawsIntoWindowBuffer() const;

  protected:
    // The image a source DC draws from and the image pixel of its logical (0, 0).
    static const QImage* SourceOf(const CDC* source, QPoint& origin);

    QPainter* m_painter = nullptr; // window DC: the paint event's painter
    bool m_bMemory = false;
    CBitmap m_ownBitmap;            // the memory DC's bitmap while no other is selected
    CBitmap* m_pSelected = nullptr; // null: m_ownBitmap
    QPoint m_origin;                // surface pixel of logical (0, 0)
    CDC* m_pAlias = nullptr;        // draws through another DC (a CMemDC without buffer)
    QRect m_aliasClip;              // while aliased: where drawing may land (null: anywhere)
};

class FRAMEWORK_API CClientDC : public CDC
{
  public:
    explicit CClientDC(QWidget* window) : m_pWnd(window) {}
    QWidget* Window() const { return m_pWnd; }

  private:
    QWidget* m_pWnd;
};

class FRAMEWORK_API CPaintDC : public CDC
{
  public:
    // The DC of `window`'s paint event while one is being handled (framework dialogs); otherwise it
    // draws nothing.
    explicit CPaintDC(QWidget* window);
};
