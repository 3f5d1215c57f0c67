#pragma once
// A window's client rectangle: (0, 0, width, height).
#include "CRect.h"

#include <QWidget>

class CClientRect : public CRect
{
  public:
    explicit CClientRect(const QWidget* window)
        : CRect(0, 0, window ? window->width() : 0, window ? window->height() : 0)
    {
    }
};
