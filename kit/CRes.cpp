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
constexpr qint64 kHeader = 20; // "ZSKB", width, height, band height, bands

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

// The packed image: "ZSKB", width, height, band height, number of bands, one offset per band and one
// past the last, then each band's rows of premultiplied ARGB32 pixels, qCompress()ed. Used where it
// lies in the library; a band is unpacked only to copy areas out of it.
CRes::CRes()
{
    const QResource packed(QStringLiteral(":/kit/skin.argb"));
    const uchar* data = packed.data();
    const qint64 size = packed.size();
    bool valid = packed.isValid() && packed.compressionAlgorithm() == QResource::NoCompression &&
                 size >= kHeader && std::memcmp(data, "ZSKB", 4) == 0;
    if (valid) {
        const std::uint32_t width = word(data, 4), height = word(data, 8), band = word(data, 12),
                            bands = word(data, 16);
        valid = width > 0 && width <= 4096 && height > 0 && height <= 4096 && band > 0 &&
                bands == (height + band - 1) / band && size >= kHeader + 4 * qint64(bands + 1);
        for (std::uint32_t i = 0; valid && i < bands; ++i)
            valid = word(data, kHeader + 4 * i) <= word(data, kHeader + 4 * (i + 1)) &&
                    word(data, kHeader + 4 * (i + 1)) <= size;
        if (valid) {
            m_packed = data;
            m_size = QSize(int(width), int(height));
            m_bandHeight = int(band);
            m_bands = int(bands);
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
    const qsizetype rowBytes = qsizetype(m_size.width()) * 4;
    for (int band = area.top() / m_bandHeight; band <= area.bottom() / m_bandHeight; ++band) {
        const int firstRow = band * m_bandHeight;
        const int rows = std::min(m_bandHeight, m_size.height() - firstRow);
        const std::uint32_t from = word(m_packed, kHeader + 4 * band);
        const std::uint32_t to = word(m_packed, kHeader + 4 * (band + 1));
        const QByteArray pixels = qUncompress(m_packed + from, qsizetype(to - from));
        if (pixels.size() != rows * rowBytes) {
            qCWarning(lcRes) << "skin image band" << band << "is damaged; drawn transparent";
            continue;
        }
        for (int y = std::max(area.top(), firstRow); y <= std::min(area.bottom(), firstRow + rows - 1); ++y)
            std::memcpy(image.scanLine(y - area.top()),
                        pixels.constData() + (y - firstRow) * rowBytes + qsizetype(area.left()) * 4,
                        size_t(area.width()) * 4);
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
