// Paints the host program's icon, the memo note pad of the module bar, in the sizes the desktop
// entry installs: <folder>/<size>/memohost.png.
// Run: memohost_icon [folder]
#include <ModuleImage.h>
#include <ModuleProtocol.h>

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString::fromUtf8(HOST_ICON_OUTPUT);
    for (int size : {48, 128, 256}) {
        const QString dir = QDir(folder).filePath(QString::number(size));
        const QString file = QDir(dir).filePath(u"memohost.png"_s);
        if (!QDir().mkpath(dir) || !ModuleImageAt(ModuleProtocol::MEMO_IMAGE_ID, size).save(file, "PNG")) {
            std::fprintf(stderr, "memohost_icon: could not write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("wrote %s\n", qPrintable(file));
    }
    return 0;
}
