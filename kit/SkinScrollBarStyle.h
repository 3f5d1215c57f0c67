#pragma once
// The kit's thin vertical scroll bar: no arrows and no groove, a handle 9 pixels wide with round
// ends that darkens under the pointer, drawn over the application's style by a proxy of it
// (a style sheet would bring Qt's style-sheet engine into every start; see SkinListStyle.h).
#include <QProxyStyle>

class QScrollBar;

class SkinScrollBarStyle : public QProxyStyle
{
  public:
    // Gives the vertical `bar` the look.
    static void Dress(QScrollBar* bar);

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

  private:
    explicit SkinScrollBarStyle(QStyle* base);
};
