#pragma once
// The record store of the signed-in user, opened through the store library. The record
// operations the module calls always work on the store opened here.
#include <QString>

#include <string>
#include <thread>

class UserStore
{
  public:
    explicit UserStore(QString dataDir);
    // Starts opening `openingUser`'s store on a thread of its own, so that the check of the file
    // runs while the caller builds its window; open() with that name then takes the result.
    UserStore(QString dataDir, const QString& openingUser);
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
    // Waits for the open started by the constructor.
    void finishOpening();

    QString m_dataDir;
    QString m_userName;
    // The open started by the constructor: its user, and the store library's reason if it failed.
    QString m_openingUser;
    bool m_openingFailed = false;
    std::string m_openingError;
    std::thread m_opening;
};
