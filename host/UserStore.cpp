#include "UserStore.h"

#include <MemoStore.h>

UserStore::UserStore(QString dataDir) : m_dataDir(std::move(dataDir))
{
}

UserStore::~UserStore()
{
    close();
}

bool UserStore::open(const QString& userName, QString& error)
{
    if (m_ahead.valid()) {
        const bool same = userName == m_aheadUser;
        const std::optional<std::string> reason = settleAhead();
        if (same) {
            m_userName = reason ? QString() : userName;
            if (reason)
                error = QString::fromStdString(*reason);
            return !reason;
        }
    }
    const QByteArray user = userName.toUtf8();
    const QByteArray dir = m_dataDir.toUtf8();
    if (!MemoStore_Open(user.constData(), m_dataDir.isEmpty() ? nullptr : dir.constData())) {
        m_userName.clear();
        error = QString::fromUtf8(MemoStore_LastError());
        return false;
    }
    m_userName = userName;
    return true;
}

void UserStore::openAhead(const QString& userName)
{
    settleAhead();
    m_aheadUser = userName;
    m_ahead = std::async(std::launch::async, [user = userName.toUtf8(), dir = m_dataDir.toUtf8()] {
        if (MemoStore_Open(user.constData(), dir.isEmpty() ? nullptr : dir.constData()))
            return std::optional<std::string>();
        // The reason is the opening thread's own: read it here, before the thread ends.
        return std::optional<std::string>(MemoStore_LastError());
    });
}

std::optional<std::string> UserStore::settleAhead()
{
    if (!m_ahead.valid())
        return std::nullopt;
    m_aheadUser.clear();
    return m_ahead.get();
}

void UserStore::close()
{
    settleAhead();
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
