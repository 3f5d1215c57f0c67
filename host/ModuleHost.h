#pragma once
// The host's end of the host adapter library: while it exists it is the registered host, reads
// the documents a module sends and turns them into signals. Each document is copied on arrival
// and read from the copy: the module's own document lives only for the call.
#include <QObject>
#include <QString>

class CXml;
class QWidget;

struct PanelRegistration
{
    int teamId = 0;
    QString caption;
    int imageId = 0;
    QWidget* panel = nullptr; // the widget named by "pWnd", checked to be a live widget
};

class ModuleHost : public QObject
{
    Q_OBJECT
  public:
    explicit ModuleHost(QObject* parent = nullptr);
    ~ModuleHost() override;

    // The widget at `address`, if a live widget is there; null otherwise. The address is only
    // compared, never followed, so a stale or made-up value is harmless.
    static QWidget* liveWidgetAt(quintptr address);

  Q_SIGNALS:
    // Every document that arrives, as text, with its channel (true: notification) and code.
    void documentReceived(bool notification, int code, const QString& text);
    void panelRegistered(const PanelRegistration& registration);
    void statusTextReceived(const QString& text);

  private:
    static int onCommand(void* context, int code, CXml* doc, int param);
    static int onNotification(void* context, int code, CXml* doc, int param);
    int readRegistration(CXml& xml);
    int readStatusText(CXml& xml);
};
