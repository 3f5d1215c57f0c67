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

void UserStore::close()
{
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
