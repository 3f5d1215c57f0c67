#include "TipWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {
constexpr int kMargin = 10;
constexpr int kTail = 12;
constexpr int kRadius = 6;
constexpr int kIcon = 16;
} // namespace

TipWindow::TipWindow(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    // Shaped by a mask rather than by a transparent background: without a compositing window
    // manager transparent corners come out black.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TipWindow::setContent(const QIcon& icon, const QString& title, const QString& text, bool balloon,
                           int maxWidth)
{
    m_icon = icon;
    m_title = title;
    m_text = text;
    m_balloon = balloon;
    m_maxWidth = maxWidth > 0 ? maxWidth : 300;
    resize(layoutContent());
    update();
}

QSize TipWindow::layoutContent()
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(font());
    const QFontMetrics bm(bold);
    const int top = (m_balloon ? kTail : 0) + kMargin;
    int x = kMargin;
    int width = 0;
    m_iconRect = QRect();
    if (!m_icon.isNull() && !m_title.isEmpty()) {
        m_iconRect = QRect(kMargin, top, kIcon, kIcon);
        x += kIcon + 6;
    }
    m_titleRect = QRect();
    int y = top;
    if (!m_title.isEmpty()) {
        const QRect t = bm.boundingRect(QRect(0, 0, m_maxWidth, 1000), Qt::TextWordWrap, m_title);
        m_titleRect = QRect(x, top + std::max(0, (kIcon - t.height()) / 2), t.width(), t.height());
        width = std::max(width, m_titleRect.right() + 1);
        y = std::max(m_titleRect.bottom() + 1, m_iconRect.isNull() ? 0 : m_iconRect.bottom() + 1) + 6;
    }
    const QRect t = fm.boundingRect(QRect(0, 0, m_maxWidth, 2000), Qt::TextWordWrap, m_text);
    m_textRect = QRect(kMargin, y, t.width(), t.height());
    width = std::max(width, m_textRect.right() + 1);
    return {std::max(width + kMargin, 2 * kTail + 2 * kRadius + 8), m_textRect.bottom() + 1 + kMargin};
}

void TipWindow::showAt(QPoint anchor)
{
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    const QRect area =
        screen ? screen->availableGeometry() : QRect(anchor - QPoint(2000, 2000), QSize(4000, 4000));
    QPoint topLeft(anchor.x() - 20, anchor.y());
    m_tailUp = true;
    if (topLeft.y() + height() > area.bottom() && anchor.y() - height() >= area.top()) {
        m_tailUp = false; // no room below: above the anchor, tail down
        topLeft.setY(anchor.y() - height());
    }
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
    m_tailX = std::clamp(anchor.x() - topLeft.x(), kRadius + kTail,
                         std::max(kRadius + kTail, width() - kRadius - kTail));
    if (!m_tailUp && m_balloon) {
        // Content sits at the top when the tail is at the bottom.
        const int shift = kTail;
        m_iconRect.translate(0, -shift);
        m_titleRect.translate(0, -shift);
        m_textRect.translate(0, -shift);
    }
    move(topLeft);
    // The outline and its border line; nothing outside it is part of the window.
    QPainterPathStroker border;
    border.setWidth(2);
    const QPainterPath shape = outline().united(border.createStroke(outline()));
    setMask(QRegion(shape.toFillPolygon().toPolygon(), Qt::WindingFill));
    show();
}

QPainterPath TipWindow::outline() const
{
    QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    if (m_balloon) {
        if (m_tailUp)
            box.setTop(box.top() + kTail);
        else
            box.setBottom(box.bottom() - kTail);
        path.addRoundedRect(box, kRadius, kRadius);
        QPainterPath tail;
        const qreal baseY = m_tailUp ? box.top() + 1 : box.bottom() - 1;
        const qreal tipY = m_tailUp ? 0.5 : height() - 0.5;
        tail.moveTo(m_tailX, baseY);
        tail.lineTo(m_tailX, tipY);
        tail.lineTo(m_tailX + kTail, baseY);
        tail.closeSubpath();
        path = path.united(tail);
    } else {
        path.addRect(box);
    }
    return path;
}

void TipWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = outline();
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    fill.setColorAt(1, QColor(0xE4, 0xEC, 0xF7));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(0x8E, 0xA6, 0xC7), 1));
    p.drawPath(path);

    p.setPen(QColor(0x1E, 0x2B, 0x3A));
    if (!m_iconRect.isNull())
        m_icon.paint(&p, m_iconRect);
    if (!m_titleRect.isNull()) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(m_titleRect, Qt::TextWordWrap, m_title);
        p.setFont(font());
    }
    p.drawText(m_textRect, Qt::TextWordWrap, m_text);
}
