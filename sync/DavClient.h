#pragma once
// HTTP for a CalDAV sync: one request at a time, waited for in a local event loop of the calling
// thread (a worker thread, never the UI thread), bounded in time and in the size of the reply. Plain
// http is only allowed to a loopback address; https uses the system's certificates, and a certificate
// error refuses the connection with the reason. Credentials go with every request (Basic).
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <atomic>
#include <memory>

class QNetworkAccessManager;

struct DavReply
{
    int status = 0; // the HTTP status; 0 when no answer came
    QByteArray body;
    QByteArray etag; // the ETag header, when the server sent one
    QUrl location;   // where a redirect leads
    QString error;   // why the request failed, in words a person can act on; empty on an answer
};

class DavClient
{
  public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    DavClient(QString user, QString password);
    ~DavClient();
    DavClient(const DavClient&) = delete;
    DavClient& operator=(const DavClient&) = delete;

    DavReply send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                  const Headers& headers = {});
    int requestsSent() const { return m_sent; }
    // Once *cancel is true, a request under way is broken off and no other is sent.
    void setCancel(const std::atomic<bool>* cancel) { m_cancel = cancel; }

    // Why url may not be used ("" when it may): not http(s), or plain http to another machine.
    static QString refusedUrl(const QUrl& url);

  private:
    std::unique_ptr<QNetworkAccessManager> m_network;
    QByteArray m_authorization;
    int m_sent = 0;
    const std::atomic<bool>* m_cancel = nullptr;
};
