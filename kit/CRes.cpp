#include "CRes.h"

#include <QLoggingCategory>
#include <QPainter>
#include <QResource>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
Q_LOGGING_CATEGORY(lcRes, "zorva.kit.res")

// The skin's pixels, stored uncompressed in the library by the build: "ZSKN", width, height, then
// premultiplied ARGB32 rows. The image uses them where they lie (read-only; never written).
QImage rawSkin()
{
    const QResource raw(QStringLiteral(":/kit/skin.argb"));
    constexpr qint64 header = 12;
    if (!raw.isValid() || raw.compressionAlgorithm() != QResource::NoCompression || raw.size() < header)
        return {};
    const uchar* data = raw.data();
    std::uint32_t size[2];
    std::memcpy(size, data + 4, sizeof size);
    if (std::memcmp(data, "ZSKN", 4) != 0 || raw.size() != header + qint64(size[0]) * size[1] * 4)
        return {};
    return QImage(data + header, int(size[0]), int(size[1]), int(size[0]) * 4,
                  QImage::Format_ARGB32_Premultiplied);
}
} // namespace

CRes& CRes::GetInstance()
{
    static CRes instance;
    return instance;
}

CRes::CRes()
{
    m_common = rawSkin();
    if (m_common.isNull()) {
        qCWarning(lcRes) << "common skin image missing from the kit's resources";
        m_common = QImage(576, 420, QImage::Format_ARGB32_Premultiplied);
        m_common.fill(Qt::transparent);
    }
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
