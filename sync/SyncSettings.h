#pragma once
// Where and as whom a user's memos are synced; an empty server means no sync.
#include <QString>
#include <QUrl>

struct SyncSettings
{
    QUrl server; // a server's address, or a collection's
    QString user;
    QString password;
};
