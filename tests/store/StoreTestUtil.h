#pragma once

#include "DbiMemo.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "MemoStore.h"
#include "TestText.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

#include <sqlite3.h>
#include <sys/stat.h>

#include <string_view>

inline MemoRecord TestMemo(const QString& title, const QString& content = QStringLiteral("body"),
                           const QString& group = QStringLiteral("全部"))
{
    return NewMemoRecord(305371800, U(group), 305371800, U(title), U(content));
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The permission bits of a file or folder; 01000 when it cannot be examined.
inline unsigned ModeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 01000;
}

// The file a user's store lives in: "memo-" + hex of the UTF-8 name + ".db" in the data folder.
inline QString StoreFileOf(const QString& dir, const QString& user)
{
    return dir + QStringLiteral("/memo-") + QString::fromLatin1(user.toUtf8().toHex()) +
           QStringLiteral(".db");
}

// A plain SQLite connection beside the store's own, standing for another program or process.
class RawDb
{
  public:
    explicit RawDb(const QString& path) { sqlite3_open(path.toUtf8().constData(), &m_db); }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    bool Exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    QString Text(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        QString value;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return value;
    }
    bool InsertMemo(const MemoRecord& memo)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, "INSERT INTO memo (record) VALUES (?1)", -1, &stmt, nullptr);
        sqlite3_bind_blob(stmt, 1, &memo, sizeof memo, SQLITE_TRANSIENT);
        const bool ok = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_finalize(stmt);
        return ok;
    }
    sqlite3_int64 LastKey() const { return sqlite3_last_insert_rowid(m_db); }

  private:
    sqlite3* m_db = nullptr;
};

// Whether a write failed and said why; each write clears the reason of the one before.
inline bool Refused(std::int32_t result)
{
    return result == 0 && *MemoStore_LastError() != '\0';
}

// Turns the closed store file at path into one of an earlier format, as that version left it.
inline bool MakeFormat(const QString& path, int format)
{
    RawDb raw(path);
    return (format >= 4 || raw.Exec("DROP TABLE sync_link; DROP TABLE sync_state")) &&
           (format >= 3 || raw.Exec("DROP TABLE memo_draft")) &&
           (format >= 2 || raw.Exec("DROP TABLE memo_trash")) &&
           raw.Exec(QByteArray("PRAGMA user_version = " + QByteArray::number(format)).constData());
}
