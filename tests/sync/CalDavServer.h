#pragma once
// A real CalDAV server for a test, on a free loopback port with a temporary folder, stopped when the
// object goes: Radicale (with a user "tester", password "secret") or Xandikos (no authentication;
// it ignores the credentials). "radicale-tls" is Radicale behind HTTPS with a certificate of its own
// that nobody vouches for. Skips the test when the server's program is not installed.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

// Starts a CalDavServer in a test function; skips the test when the server is not installed, and
// fails it when the server would not start.
#define START_OR_SKIP(server_)                                                                               \
    do {                                                                                                     \
        CalDavServer& started_ = (server_);                                                                  \
        if (!started_.start()) {                                                                             \
            if (started_.skipped())                                                                          \
                QSKIP("the server is not installed");                                                        \
            QFAIL("the server did not start");                                                               \
        }                                                                                                    \
    } while (false)

class CalDavServer
{
  public:
    explicit CalDavServer(const QString& kind) : m_kind(kind) {}
    ~CalDavServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Starts the server; false (with QSKIP or a failure recorded) when it could not.
    bool start()
    {
        const QString program = m_kind.startsWith(QStringLiteral("radicale"))
                                    ? QStringLiteral("/usr/bin/radicale")
                                    : QStringLiteral("/usr/bin/xandikos");
        if (!QFile::exists(program)) {
            m_skipped = true;
            return false;
        }
        if (m_port == 0) { // a port nobody listens on now; kept when the server starts again
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost))
                return false;
            m_port = probe.serverPort();
        }
        const QString dir = m_dir.path();
        QStringList arguments;
        if (m_kind.startsWith(QStringLiteral("radicale"))) {
            QString tls;
            if (tlsWanted()) {
                if (!makeCertificate(dir))
                    return false;
                tls = QStringLiteral("ssl = True\ncertificate = %1/cert.pem\nkey = %1/key.pem\n").arg(dir);
            }
            writeFile(dir + QStringLiteral("/users"), "tester:secret\n");
            writeFile(
                dir + QStringLiteral("/config"),
                QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%3[auth]\ntype = htpasswd\n"
                               "htpasswd_filename = %2/users\nhtpasswd_encryption = plain\n"
                               "[storage]\nfilesystem_folder = %2/collections\n[rights]\ntype = owner_only\n"
                               "[logging]\nlevel = warning\n")
                    .arg(m_port)
                    .arg(dir, tls)
                    .toUtf8());
            arguments = {QStringLiteral("--config"), dir + QStringLiteral("/config")};
        } else {
            arguments = {QStringLiteral("-d"),   dir + QStringLiteral("/root"), QStringLiteral("--defaults"),
                         QStringLiteral("-l"),   QStringLiteral("127.0.0.1"),   QStringLiteral("-p"),
                         QString::number(m_port)};
        }
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(10000))
            return false;
        // Up when it accepts a connection.
        for (int attempt = 0; attempt < 200; ++attempt) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_port);
            if (socket.waitForConnected(100))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
            QTest::qWait(50);
        }
        return false;
    }

    bool skipped() const { return m_skipped; }
    QUrl url() const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                        .arg(tlsWanted() ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(m_port));
    }
    // Stops it at once, as a crash or a pulled cable would; start() brings it back with its notes.
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

  private:
    bool tlsWanted() const { return m_kind.endsWith(QStringLiteral("-tls")); }

    // A fresh self-signed certificate for 127.0.0.1, as a server set up by hand often has.
    static bool makeCertificate(const QString& dir)
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                       QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                       QStringLiteral("-keyout"), dir + QStringLiteral("/key.pem"), QStringLiteral("-out"),
                       dir + QStringLiteral("/cert.pem")});
        return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit &&
               openssl.exitCode() == 0;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QString m_kind;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_skipped = false;
};
