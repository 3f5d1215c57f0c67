// The memo edit dialog as the New command opens it (title hint, empty body, a few categories with
// the second one preselected), for trying it by hand: after OK it prints what the dialog returns.
// With --png FILE the dialog is rendered with a sample body to FILE instead, also offscreen.
#include <CMemoEditDlg.h>
#include <LoadStr.h>
#include <StringIds.h>
#include <WinDefs.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Runs `action` once, after the window it watches has become active, or after `patience` ms.
class WhenActive : public QObject
{
  public:
    WhenActive(QWidget* window, std::function<void()> action, int patience)
        : m_window(window), m_action(std::move(action))
    {
        window->installEventFilter(this);
        QTimer::singleShot(patience, this, [this] { fire(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, [this] { fire(); }); // once the activation is through
        return false;
    }

  private:
    void fire()
    {
        if (!m_action)
            return;
        std::function<void()> action = std::move(m_action);
        m_action = nullptr;
        action();
    }

    QWidget* m_window;
    std::function<void()> m_action;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the memo edit dialog."));
    parser.addHelpOption();
    const QCommandLineOption pngOption(
        QStringLiteral("png"), QStringLiteral("Render the dialog with a sample body to <file> and exit."),
        QStringLiteral("file"));
    parser.addOption(pngOption);
    parser.process(app);

    CMemoEditDlg::RegisterTemplate();
    int status = 0;
    {
        CMemoEditDlg dlg;
        dlg.Prepare(LoadStr(IDS_TITLE_HINT), QString(),
                    {QStringLiteral(u"工作"), QStringLiteral(u"生活"), QStringLiteral(u"学习"),
                     QStringLiteral(u"旅行计划")},
                    1);

        std::unique_ptr<WhenActive> shot;
        if (parser.isSet(pngOption)) {
            status = 1;
            shot = std::make_unique<WhenActive>(
                &dlg,
                [&] {
                    // Into the body, as a person would: the empty title gets its hint back.
                    auto* body = static_cast<CRichEditCtrl*>(dlg.GetDlgItem(21036));
                    body->SetFocus();
                    body->ReplaceSel(QStringLiteral(u"周六上午：\n"
                                                    u"1. 超市买牛奶、鸡蛋和全麦面包\n"
                                                    u"2. 把借的两本书还给图书馆\n"
                                                    u"3. 下午三点前给阳台的花浇水"));
                    if (dlg.grab().save(parser.value(pngOption), "PNG"))
                        status = 0;
                    else
                        std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(pngOption)));
                    dlg.EndDialog(IDCANCEL);
                },
                5000);
        }
        if (dlg.DoModal() == IDOK)
            std::printf("title: %s\ncategory: %s\nbody: %s\n", qPrintable(dlg.GetTitle()),
                        qPrintable(dlg.GetGroup()), qPrintable(dlg.GetContent()));
    }
    CMemoEditDlg::UnregisterTemplate();
    return status;
}
