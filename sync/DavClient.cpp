#include "DavClient.h"

#include "DavReplies.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRequestTimeoutMs = 30'000;

bool Loopback(const QUrl& url)
{
    const QString host = url.host();
    if (host == u"localhost"_s)
        return true;
    QHostAddress address;
    return address.setAddress(host) && address.isLoopback();
}

QString Describe(QNetworkReply::NetworkError code, const QString& text)
{
    switch (code) {
    case QNetworkReply::HostNotFoundError:
        return u"找不到服务器（域名无法解析）：%1"_s.arg(text);
    case QNetworkReply::ConnectionRefusedError:
        return u"服务器拒绝连接：%1"_s.arg(text);
    case QNetworkReply::SslHandshakeFailedError:
        return u"TLS 连接失败（证书不受信任或无效，或那里的服务器不用 TLS）：%1"_s.arg(text);
    case QNetworkReply::OperationCanceledError:
        return u"服务器在 %1 秒内没有回答。"_s.arg(kRequestTimeoutMs / 1000);
    default:
        return u"网络错误：%1"_s.arg(text);
    }
}

} // namespace

DavClient::DavClient(QString user, QString password) : m_network(std::make_unique<QNetworkAccessManager>())
{
    m_authorization = "Basic " + (user.toUtf8() + ':' + password.toUtf8()).toBase64();
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

DavClient::~DavClient() = default;

QString DavClient::refusedUrl(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return u"“%1”不是有效的服务器地址。"_s.arg(url.toString());
    if (url.scheme() == u"https"_s)
        return {};
    if (url.scheme() == u"http"_s)
        return Loopback(url)
                   ? QString()
                   : u"只有本机（127.0.0.1、localhost）的服务器可以用不加密的 http://，其他服务器请用 https://。"_s;
    return u"服务器地址须以 https:// 开头。"_s;
}

DavReply DavClient::send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                         const Headers& headers)
{
    DavReply result;
    if (const QString refused = refusedUrl(url); !refused.isEmpty()) {
        result.error = refused;
        return result;
    }
    if (m_cancel && *m_cancel) {
        result.error = u"同步已停止。"_s;
        return result;
    }
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", m_authorization);
    request.setRawHeader("User-Agent", "zorva-memo");
    if (!body.isEmpty() && !request.hasRawHeader("Content-Type"))
        request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    request.setTransferTimeout(kRequestTimeoutMs);

    ++m_sent;
    std::unique_ptr<QNetworkReply> reply(m_network->sendCustomRequest(request, verb, body));
    QEventLoop loop;
    bool tooLarge = false;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > qint64(kMaxReplyBytes)) {
            tooLarge = true;
            reply->abort();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    deadline.start(kRequestTimeoutMs + 1000);
    QTimer cancelled;
    QObject::connect(&cancelled, &QTimer::timeout, reply.get(), [&] {
        if (m_cancel && *m_cancel)
            reply->abort();
    });
    if (m_cancel)
        cancelled.start(50);
    if (!reply->isFinished())
        loop.exec();

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.etag = reply->rawHeader("ETag");
    result.location = url.resolved(QUrl(QString::fromUtf8(reply->rawHeader("Location"))));
    if (tooLarge) {
        result.error = u"服务器的回答超过 %1 MB，已拒收。"_s.arg(kMaxReplyBytes / (1024 * 1024));
        result.status = 0;
        return result;
    }
    result.body = reply->readAll();
    if (result.status == 0)
        result.error =
            m_cancel && *m_cancel ? u"同步已停止。"_s : Describe(reply->error(), reply->errorString());
    return result;
}
