#include "SkinScrollBarStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace {

const QColor Handle(0xc9, 0xd6, 0xe6);
const QColor HandleHovered(0xa9, 0xbe, 0xd8);

constexpr int Width = 10;
constexpr int HandleMinimum = 24; // the shortest handle
constexpr int HandleRadius = 4;
// Room round the groove: above, to the right, below (none to the left).
constexpr int MarginTop = 2;
constexpr int MarginRight = 1;
constexpr int MarginBottom = 2;

} // namespace

SkinScrollBarStyle::SkinScrollBarStyle(QStyle* base) : QProxyStyle(base)
{
    setParent(qApp); // lives as long as the application; the bars that use it hold it weakly
}

void SkinScrollBarStyle::Dress(QScrollBar* bar)
{
    static QPointer<SkinScrollBarStyle> style;
    if (!style)
        style = new SkinScrollBarStyle(QStyleFactory::create(QApplication::style()->name()));
    bar->setStyle(style);
}

int SkinScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return Width;
    case PM_ScrollBarSliderMin:
        return HandleMinimum;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize SkinScrollBarStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                           const QWidget* widget) const
{
    if (type == CT_ScrollBar)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

QRect SkinScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                         SubControl part, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical)
        return QProxyStyle::subControlRect(control, option, part, widget);

    const QRect groove = bar->rect.adjusted(0, MarginTop, -MarginRight, -MarginBottom);
    const int length = groove.height();
    int handle = length;
    if (bar->maximum != bar->minimum) {
        const qint64 range = qint64(bar->maximum) - bar->minimum;
        handle = int(qint64(bar->pageStep) * length / (range + bar->pageStep));
        handle = qBound(qMin(HandleMinimum, length), handle, length);
    }
    const int start = groove.top() + sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                             length - handle, bar->upsideDown);
    switch (part) {
    case SC_ScrollBarGroove:
        return groove;
    case SC_ScrollBarSlider:
        return {groove.left(), start, groove.width(), handle};
    case SC_ScrollBarSubPage:
        return {groove.left(), groove.top(), groove.width(), start - groove.top()};
    case SC_ScrollBarAddPage:
        return QRect(QPoint(groove.left(), start + handle), groove.bottomRight());
    case SC_ScrollBarSubLine:
        return {groove.left(), groove.top(), groove.width(), 0};
    case SC_ScrollBarAddLine:
        return {groove.left(), groove.bottom() + 1, groove.width(), 0};
    default:
        return {};
    }
}

void SkinScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                            QPainter* painter, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Only the handle: the groove and the pages are transparent.
    const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
    if (handle.isEmpty())
        return;
    const bool hovered = (bar->state & State_MouseOver) && (bar->activeSubControls & SC_ScrollBarSlider);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(handle), HandleRadius, HandleRadius);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(shape, hovered ? HandleHovered : Handle);
    painter->restore();
}
