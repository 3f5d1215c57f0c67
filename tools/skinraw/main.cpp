// skinraw IN.png OUT: the kit's skin image for the kit's resources, in tiles that can be unpacked
// one by one. Decoding a whole PNG costs every start some milliseconds, and raw pixels used in place
// cost their pages: most of the image is empty, but its rows are wider than a memory page, so any
// picture drawn from it made whole stretches of it resident. The kit unpacks only the tiles under
// the areas it draws, and a screen draws a few small pictures.
//
// OUT holds "ZSKT", then the width, the height, the tile width and the tile height, then one offset
// per tile (row by row) and one past the last (all 32-bit, this machine's byte order; offsets from
// the start of OUT), then the tiles: each the qCompress()ed rows of its premultiplied ARGB32 pixels,
// cut at the image's right and bottom edges. A tile with no pixel drawn is stored empty (no bytes).
#include <QByteArray>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
constexpr int kTileWidth = 32;
constexpr int kTileHeight = 16;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinraw IN.png OUT\n");
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        std::fprintf(stderr, "skinraw: cannot read %s\n", argv[1]);
        return 1;
    }
    const int columns = (image.width() + kTileWidth - 1) / kTileWidth;
    const int rows = (image.height() + kTileHeight - 1) / kTileHeight;
    std::vector<QByteArray> packed;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int x = column * kTileWidth, y = row * kTileHeight;
            const int width = std::min(kTileWidth, image.width() - x);
            QByteArray pixels;
            for (int line = y; line < std::min(image.height(), y + kTileHeight); ++line)
                pixels.append(reinterpret_cast<const char*>(image.constScanLine(line)) + qsizetype(x) * 4,
                              qsizetype(width) * 4);
            const bool blank =
                std::all_of(pixels.cbegin(), pixels.cend(), [](char byte) { return byte == 0; });
            packed.push_back(blank ? QByteArray() : qCompress(pixels, 9));
        }

    const std::uint32_t header[4] = {std::uint32_t(image.width()), std::uint32_t(image.height()),
                                     std::uint32_t(kTileWidth), std::uint32_t(kTileHeight)};
    std::vector<std::uint32_t> offsets;
    std::uint32_t at = 4 + sizeof header + sizeof(std::uint32_t) * std::uint32_t(packed.size() + 1);
    for (const QByteArray& tile : packed) {
        offsets.push_back(at);
        at += std::uint32_t(tile.size());
    }
    offsets.push_back(at);

    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "skinraw: cannot write %s\n", argv[2]);
        return 1;
    }
    out.write("ZSKT", 4);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(offsets.data()), qint64(offsets.size() * sizeof(std::uint32_t)));
    for (const QByteArray& tile : packed)
        out.write(tile);
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
