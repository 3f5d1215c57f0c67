#pragma once
// The record store of the signed-in user, opened through the store library. The record
// operations the module calls always work on the store opened here.
#include <QString>

class UserStore
{
  public:
    explicit UserStore(QString dataDir);
    ~UserStore();
    UserStore(const UserStore&) = delete;
    UserStore& operator=(const UserStore&) = delete;

    // Opens `userName`'s store, closing the one open before. On failure no store is open and
    // `error` holds the store library's reason; the file it refused is left as it was.
    bool open(const QString& userName, QString& error);
    void close();
    bool isOpen() const;
    QString userName() const { return m_userName; }
    QString path() const;
    QString dataDir() const { return m_dataDir; }

  private:
    QString m_dataDir;
    QString m_userName;
};
