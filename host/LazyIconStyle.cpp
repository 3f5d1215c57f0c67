#include "LazyIconStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>

namespace {

// Asks the style for the icon on first use, then draws what it answered.
class LazyIconEngine : public QIconEngine
{
  public:
    LazyIconEngine(const QStyle* style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }

  private:
    const QIcon& icon()
    {
        if (m_icon.isNull() && m_style)
            m_icon = m_style->standardIcon(m_which);
        return m_icon;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

} // namespace

LazyIconStyle::LazyIconStyle(QStyle* base) : QProxyStyle(base)
{
}

QIcon LazyIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                  const QWidget* widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new LazyIconEngine(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}

void LazyIconStyle::install()
{
    if (QStyle* base = QStyleFactory::create(QApplication::style()->name()))
        QApplication::setStyle(new LazyIconStyle(base));
}
