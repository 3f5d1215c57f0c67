// A window with the memo detail panel holding a sample memo, for looking at the panel before the
// memo panel places it. With --png the window is rendered to a file instead of shown.
#include <CPropertyDlg.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the memo detail panel with a sample memo."));
    parser.addHelpOption();
    const QCommandLineOption pngOption(QStringLiteral("png"),
                                       QStringLiteral("Render the panel to <file> and exit."),
                                       QStringLiteral("file"));
    const QCommandLineOption heightOption(QStringLiteral("height"), QStringLiteral("Panel height in pixels."),
                                          QStringLiteral("pixels"), QStringLiteral("412"));
    parser.addOption(pngOption);
    parser.addOption(heightOption);
    parser.process(app);

    CPropertyDlg::RegisterTemplate();
    QWidget host;
    host.setWindowTitle(QStringLiteral(u"备忘录"));
    auto* layout = new QVBoxLayout(&host); // owned by the host
    layout->setContentsMargins(0, 0, 0, 0);

    CPropertyDlg panel;
    if (!panel.Create(CPropertyDlg::IDD, &host)) {
        std::fprintf(stderr, "the detail panel could not be created\n");
        return 1;
    }
    layout->addWidget(&panel);
    host.resize(267, std::max(120, parser.value(heightOption).toInt()));

    // A memo as the memo panel would show it.
    panel.ShowMemo({QStringLiteral(u"周末采购清单"),
                    QStringLiteral(u"牛奶两盒、鸡蛋一打、全麦面包。\n"
                                   u"顺路去药店买感冒药，再把借的书还给图书馆。\n"
                                   u"周日下午三点前回家，给阳台的花浇水。"),
                    QStringLiteral(u"生活")},
                   {QStringLiteral(u"工作"), QStringLiteral(u"生活"), QStringLiteral(u"学习")});

    host.show();
    if (parser.isSet(pngOption)) {
        const QImage picture = host.grab().toImage();
        if (!picture.save(parser.value(pngOption), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(pngOption)));
            return 1;
        }
        return 0;
    }
    const int result = app.exec();
    CPropertyDlg::UnregisterTemplate();
    return result;
}
