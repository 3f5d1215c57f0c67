#include "ModuleButton.h"

#include <QPainter>

namespace {

constexpr int kIconSize = 32;
constexpr QColor kText(0xDF, 0xE7, 0xEF);
constexpr QColor kHover(0x3D, 0x50, 0x64);
constexpr QColor kChecked(0x4A, 0x6A, 0x8A);

} // namespace

ModuleButton::ModuleButton(const QIcon& icon, const QString& caption, QWidget* parent)
    : QAbstractButton(parent)
{
    setIcon(icon);
    setText(caption);
    setToolTip(caption);
    setCheckable(true);
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

QSize ModuleButton::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(text());
    return {qMax(72, textWidth + 16), kIconSize + fontMetrics().height() + 20};
}

void ModuleButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isChecked() || m_hover || isDown()) {
        p.setPen(Qt::NoPen);
        p.setBrush(isChecked() ? kChecked : kHover);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 6, 6);
    }
    const QRect iconRect((width() - kIconSize) / 2, 8, kIconSize, kIconSize);
    icon().paint(&p, iconRect);
    p.setPen(isChecked() ? QColor(Qt::white) : kText);
    p.drawText(QRect(0, iconRect.bottom() + 4, width(), fontMetrics().height()),
               Qt::AlignHCenter | Qt::AlignTop, text());
}

void ModuleButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ModuleButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
