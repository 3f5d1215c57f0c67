// skinraw IN.png OUT: the kit's skin image for the kit's resources, in bands of rows that can be
// unpacked one by one. Decoding a whole PNG costs every start some milliseconds, and raw pixels
// used in place cost their pages: most of the image is empty, but its rows are wider than a memory
// page, so any picture drawn from it made whole stretches of it resident. The kit unpacks only the
// bands under the areas it draws.
//
// OUT holds "ZSKB", then the width, the height, the band height and the number of bands, then one
// offset per band and one past the last (all 32-bit, this machine's byte order; offsets from the
// start of OUT), then the bands: each the qCompress()ed rows of premultiplied ARGB32 pixels.
#include <QByteArray>
#include <QFile>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
constexpr int kBandHeight = 16;
}

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
    const int rowBytes = image.width() * 4;
    const int bands = (image.height() + kBandHeight - 1) / kBandHeight;
    std::vector<QByteArray> packed;
    for (int band = 0; band < bands; ++band) {
        QByteArray rows;
        for (int y = band * kBandHeight; y < std::min(image.height(), (band + 1) * kBandHeight); ++y)
            rows.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
        packed.push_back(qCompress(rows, 9));
    }

    const std::uint32_t header[5] = {0, std::uint32_t(image.width()), std::uint32_t(image.height()),
                                     std::uint32_t(kBandHeight), std::uint32_t(bands)};
    std::vector<std::uint32_t> offsets;
    std::uint32_t at = sizeof header + sizeof(std::uint32_t) * (bands + 1);
    for (const QByteArray& band : packed) {
        offsets.push_back(at);
        at += std::uint32_t(band.size());
    }
    offsets.push_back(at);

    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "skinraw: cannot write %s\n", argv[2]);
        return 1;
    }
    out.write("ZSKB", 4);
    out.write(reinterpret_cast<const char*>(header + 1), sizeof header - 4);
    out.write(reinterpret_cast<const char*>(offsets.data()), qint64(offsets.size() * sizeof(std::uint32_t)));
    for (const QByteArray& band : packed)
        out.write(band);
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
