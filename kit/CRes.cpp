#include "CRes.h"

#include <QLoggingCategory>
#include <QPainter>
#include <QResource>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
Q_LOGGING_CATEGORY(lcRes, "zorva.kit.res")

constexpr QSize kFallbackSize(576, 420);
constexpr qint64 kHeader = 20; // "ZSKT", width, height, tile width, tile height

std::uint32_t word(const uchar* data, qint64 at)
{
    std::uint32_t value;
    std::memcpy(&value, data + at, sizeof value);
    return value;
}
} // namespace

CRes& CRes::GetInstance()
{
    static CRes instance;
    return instance;
}

// The packed image: "ZSKT", width, height, tile width, tile height, one offset per tile (row by row)
// and one past the last, then each tile's rows of premultiplied ARGB32 pixels, qCompress()ed, or
// nothing for a tile where nothing is drawn. Used where it lies in the library; a tile is unpacked
// only to copy areas out of it.
CRes::CRes()
{
    const QResource packed(QStringLiteral(":/kit/skin.argb"));
    const uchar* data = packed.data();
    const qint64 size = packed.size();
    bool valid = packed.isValid() && packed.compressionAlgorithm() == QResource::NoCompression &&
                 size >= kHeader && std::memcmp(data, "ZSKT", 4) == 0;
    if (valid) {
        const std::uint32_t width = word(data, 4), height = word(data, 8), tileWidth = word(data, 12),
                            tileHeight = word(data, 16);
        valid = width > 0 && width <= 4096 && height > 0 && height <= 4096 && tileWidth > 0 &&
                tileWidth <= width && tileHeight > 0 && tileHeight <= height;
        const int columns = valid ? int((width + tileWidth - 1) / tileWidth) : 0;
        const qint64 tiles = valid ? qint64(columns) * ((height + tileHeight - 1) / tileHeight) : 0;
        valid = valid && size >= kHeader + 4 * (tiles + 1);
        for (qint64 i = 0; valid && i < tiles; ++i)
            valid = word(data, kHeader + 4 * i) <= word(data, kHeader + 4 * (i + 1)) &&
                    word(data, kHeader + 4 * (i + 1)) <= size;
        if (valid) {
            m_packed = data;
            m_size = QSize(int(width), int(height));
            m_tile = QSize(int(tileWidth), int(tileHeight));
            m_columns = columns;
        }
    }
    if (!valid) {
        qCWarning(lcRes) << "common skin image missing from the kit's resources";
        m_size = kFallbackSize;
    }
}

const QImage& CRes::GetCommonImg() const
{
    if (m_common.isNull())
        m_common = unpack(QRect(QPoint(0, 0), m_size));
    return m_common;
}

QImage CRes::Skin(const CSkinRect& area) const
{
    return area.isEmpty() ? QImage() : Skin(area.toQRect());
}

QImage CRes::Skin(const QRect& area) const
{
    if (area.isEmpty() || !QRect(QPoint(0, 0), m_size).contains(area))
        return {};
    QImage& kept = m_areas[{area.x(), area.y(), area.width(), area.height()}];
    if (kept.isNull())
        kept = unpack(area);
    return kept;
}

QImage CRes::unpack(const QRect& area) const
{
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::transparent);
    if (!m_packed)
        return image;
    for (int row = area.top() / m_tile.height(); row <= area.bottom() / m_tile.height(); ++row)
        for (int column = area.left() / m_tile.width(); column <= area.right() / m_tile.width(); ++column) {
            const int index = row * m_columns + column;
            const std::uint32_t from = word(m_packed, kHeader + 4 * index);
            const std::uint32_t to = word(m_packed, kHeader + 4 * (index + 1));
            if (from == to)
                continue; // nothing drawn there
            const QRect tile(column * m_tile.width(), row * m_tile.height(),
                             std::min(m_tile.width(), m_size.width() - column * m_tile.width()),
                             std::min(m_tile.height(), m_size.height() - row * m_tile.height()));
            const QByteArray pixels = qUncompress(m_packed + from, qsizetype(to - from));
            const qsizetype rowBytes = qsizetype(tile.width()) * 4;
            if (pixels.size() != tile.height() * rowBytes) {
                qCWarning(lcRes) << "skin image tile" << index << "is damaged; drawn transparent";
                continue;
            }
            const QRect part = tile.intersected(area);
            for (int y = part.top(); y <= part.bottom(); ++y)
                std::memcpy(image.scanLine(y - area.top()) + qsizetype(part.left() - area.left()) * 4,
                            pixels.constData() + (y - tile.top()) * rowBytes +
                                qsizetype(part.left() - tile.left()) * 4,
                            size_t(part.width()) * 4);
        }
    return image;
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
