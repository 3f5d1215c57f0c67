#pragma once
// The look of the kit's lists (a white panel in a light blue rounded frame, rows 28 pixels high
// over a faint rule, a light blue row under the pointer and for the selection, headings on a pale
// gradient), drawn over the application's style by a proxy of it. Style sheets gave the same
// look, but they brought Qt's style-sheet engine into every start: with its rule caches and the
// code that runs them, the kit's sheets cost the first screen close to a megabyte and several
// milliseconds.
#include <QProxyStyle>

class QAbstractItemView;

class SkinListStyle : public QProxyStyle
{
  public:
    // Gives `view` the look: its palette, its style and its header's (a heading keeps the
    // application's font). `indent` is the room before a row's text, `padding` the room between
    // the frame and the rows.
    static void Dress(QAbstractItemView* view, int indent, int padding = 0);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

  private:
    SkinListStyle(QStyle* base, int indent, int padding);
    static SkinListStyle* For(int indent, int padding);

    int m_indent;
    int m_padding;
};
