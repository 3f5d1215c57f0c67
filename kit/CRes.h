#pragma once
// The kit's shared images: the common skin image, whose areas the skinned widgets and dialogs
// draw from (tools/skin paints it).
#include "CSkinRect.h"
#include "KitExport.h"

#include <QImage>
#include <QMargins>

class QPainter;

class KIT_API CRes
{
  public:
    static CRes& GetInstance();

    // ARGB, premultiplied; device pixel ratio 1.
    const QImage& GetCommonImg() const { return m_common; }
    // A copy of one area (a null image for an empty area or one outside the image).
    QImage Skin(const CSkinRect& area) const;

    // Draws `area` into `target`, stretching only its middle: the `border` strips keep their size
    // (a button face or an edit frame grows without blurring its rounded corners).
    static void DrawNinePatch(QPainter& painter, const QRect& target, const QImage& image, const QRect& area,
                              const QMargins& border);

  private:
    CRes();
    QImage m_common;
};
