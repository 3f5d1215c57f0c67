#pragma once
// The record store of the signed-in user, opened through the store library. The record
// operations the module calls always work on the store opened here.
#include <QString>

#include <future>
#include <optional>
#include <string>

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
    // Starts opening `userName`'s store on a thread of its own, so that the window can be built
    // meanwhile. The next open() of the same user waits for that open and takes its outcome
    // instead of opening the store again; open() of another user and close() wait for it first.
    void openAhead(const QString& userName);
    void close();
    bool isOpen() const;
    QString userName() const { return m_userName; }
    QString path() const;
    QString dataDir() const { return m_dataDir; }

  private:
    // Waits for the open started by openAhead, if any: nothing when it opened the store, else
    // the store library's reason.
    std::optional<std::string> settleAhead();

    QString m_dataDir;
    QString m_userName;
    QString m_aheadUser;
    std::future<std::optional<std::string>> m_ahead;
};
