#include "UserStore.h"

#include <MemoStore.h>

#include <system_error>

namespace {

// Opens `userName`'s store in `dataDir` (the library's own folder when empty). False when it
// fails, with the library's reason in `error`; the reason is kept per thread, so it is taken here.
bool openStore(const QString& userName, const QString& dataDir, std::string& error)
{
    const QByteArray user = userName.toUtf8();
    const QByteArray dir = dataDir.toUtf8();
    if (MemoStore_Open(user.constData(), dataDir.isEmpty() ? nullptr : dir.constData()))
        return true;
    error = MemoStore_LastError();
    return false;
}

} // namespace

UserStore::UserStore(QString dataDir) : m_dataDir(std::move(dataDir))
{
}

UserStore::UserStore(QString dataDir, const QString& openingUser) : UserStore(std::move(dataDir))
{
    if (openingUser.isEmpty())
        return;
    // The store library serialises its calls: anything that reaches it meanwhile waits for the open.
    try {
        m_opening = std::thread(
            [this, openingUser] { m_openingFailed = !openStore(openingUser, m_dataDir, m_openingError); });
        m_openingUser = openingUser;
    } catch (const std::system_error&) {
        // No thread to be had: open() opens the store itself.
    }
}

void UserStore::finishOpening()
{
    if (m_opening.joinable())
        m_opening.join();
}

UserStore::~UserStore()
{
    close();
}

bool UserStore::open(const QString& userName, QString& error)
{
    if (m_opening.joinable()) {
        finishOpening();
        if (userName == m_openingUser) {
            m_userName = m_openingFailed ? QString() : userName;
            if (m_openingFailed)
                error = QString::fromStdString(m_openingError);
            return !m_openingFailed;
        }
        // Another user after all: opening that one's store closes this one.
    }
    std::string reason;
    if (!openStore(userName, m_dataDir, reason)) {
        m_userName.clear();
        error = QString::fromStdString(reason);
        return false;
    }
    m_userName = userName;
    return true;
}

void UserStore::close()
{
    finishOpening();
    if (!m_userName.isEmpty() || MemoStore_IsOpen())
        MemoStore_Close();
    m_userName.clear();
}

bool UserStore::isOpen() const
{
    return MemoStore_IsOpen() != 0;
}

QString UserStore::path() const
{
    return QString::fromUtf8(MemoStore_CurrentPath());
}
