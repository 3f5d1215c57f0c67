// skinraw IN.png OUT: the kit's skin image as the kit keeps it in memory, for the kit's resources.
// A PNG costs every program start some milliseconds of decoding; these pixels are used in place.
// OUT holds "ZSKN", the width and the height (32-bit, this machine's byte order), then the rows of
// premultiplied ARGB32 pixels.
#include <QFile>
#include <QImage>

#include <cstdint>
#include <cstdio>

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
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "skinraw: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::uint32_t size[2] = {std::uint32_t(image.width()), std::uint32_t(image.height())};
    out.write("ZSKN", 4);
    out.write(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < image.height(); ++y)
        out.write(reinterpret_cast<const char*>(image.constScanLine(y)), qsizetype(image.width()) * 4);
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
