#include "CRes.h"

#include <QLoggingCategory>
#include <QPainter>

#include <algorithm>

namespace {
Q_LOGGING_CATEGORY(lcRes, "zorva.kit.res")
}

CRes& CRes::GetInstance()
{
    static CRes instance;
    return instance;
}

CRes::CRes()
{
    m_common.load(QStringLiteral(":/kit/skin.png"));
    if (m_common.isNull()) {
        qCWarning(lcRes) << "common skin image missing from the kit's resources";
        m_common = QImage(576, 420, QImage::Format_ARGB32_Premultiplied);
        m_common.fill(Qt::transparent);
    }
    m_common = m_common.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_common.setDevicePixelRatio(1.0);
}

QImage CRes::Skin(const CSkinRect& area) const
{
    const QRect r = area.toQRect();
    if (area.isEmpty() || !m_common.rect().contains(r))
        return {};
    return m_common.copy(r);
}

void CRes::DrawNinePatch(QPainter& painter, const QRect& target, const QImage& image, const QRect& area,
                         const QMargins& border)
{
    if (target.isEmpty() || area.isEmpty())
        return;
    // Borders never take more than half of the source or of the target.
    const int l = std::min({border.left(), area.width() / 2, target.width() / 2});
    const int r = std::min({border.right(), area.width() / 2, target.width() / 2});
    const int t = std::min({border.top(), area.height() / 2, target.height() / 2});
    const int b = std::min({border.bottom(), area.height() / 2, target.height() / 2});
    const int sx[4] = {area.left(), area.left() + l, area.right() + 1 - r, area.right() + 1};
    const int sy[4] = {area.top(), area.top() + t, area.bottom() + 1 - b, area.bottom() + 1};
    const int tx[4] = {target.left(), target.left() + l, target.right() + 1 - r, target.right() + 1};
    const int ty[4] = {target.top(), target.top() + t, target.bottom() + 1 - b, target.bottom() + 1};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect src(QPoint(sx[col], sy[row]), QPoint(sx[col + 1] - 1, sy[row + 1] - 1));
            const QRect dst(QPoint(tx[col], ty[row]), QPoint(tx[col + 1] - 1, ty[row + 1] - 1));
            if (src.isValid() && dst.isValid() && !src.isEmpty() && !dst.isEmpty())
                painter.drawImage(dst, image, src);
        }
}
