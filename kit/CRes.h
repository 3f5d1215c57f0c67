#pragma once
// The kit's shared images: the common skin image, whose areas the skinned widgets and dialogs
// draw from (tools/skin paints it). The build packs it into the kit's resources in tiles
// (tools/skinraw), and only the tiles under the areas asked for are unpacked: a screen uses a few
// small pictures of an image that is mostly empty.
#include "CSkinRect.h"
#include "KitExport.h"

#include <QImage>
#include <QMargins>

#include <array>
#include <map>

class QPainter;

class KIT_API CRes
{
  public:
    static CRes& GetInstance();

    // The whole image, ARGB, premultiplied, device pixel ratio 1: unpacked when first asked for and
    // then kept (a megabyte). Widgets draw from Skin(), which unpacks only what they use.
    const QImage& GetCommonImg() const;
    // One area of the image, unpacked on first use and kept (a null image for an empty area or one
    // outside the image).
    QImage Skin(const CSkinRect& area) const;
    QImage Skin(const QRect& area) const;

    // Draws `area` into `target`, stretching only its middle: the `border` strips keep their size
    // (a button face or an edit frame grows without blurring its rounded corners).
    static void DrawNinePatch(QPainter& painter, const QRect& target, const QImage& image, const QRect& area,
                              const QMargins& border);
    // The same for a whole image (an area from Skin()).
    static void DrawNinePatch(QPainter& painter, const QRect& target, const QImage& image,
                              const QMargins& border)
    {
        DrawNinePatch(painter, target, image, image.rect(), border);
    }

  private:
    CRes();
    QImage unpack(const QRect& area) const;

    // The image as the build packed it: tiles, each compressed on its own.
    const uchar* m_packed = nullptr;
    QSize m_size;
    QSize m_tile;
    int m_columns = 0;
    mutable QImage m_common;
    mutable std::map<std::array<int, 4>, QImage> m_areas;
};
