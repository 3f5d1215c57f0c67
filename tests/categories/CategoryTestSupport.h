#pragma once
// What the category tests share: a real record store in a temporary folder, records written and
// read through the record operations, and a person's hands on the dialogs' controls.
#include <CDialog.h>
#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <StoredGroups.h>

#include "TestText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// One user's store in a folder of its own, open while the object lives.
class TempStore
{
  public:
    TempStore()
    {
        m_ok = m_dir.isValid() && MemoStore_Open("tester", m_dir.path().toUtf8().constData()) == 1;
    }
    ~TempStore() { MemoStore_Close(); }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;
    bool ok() const { return m_ok; }

  private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// Writes a category and returns it as stored (with its key).
inline MemoGroupRecord StoreGroup(const QString& name, std::int32_t id, std::uint32_t flags = 0)
{
    MemoGroupRecord group = NewGroupRecord(id, U(name));
    group.flags = flags;
    const std::int32_t key = DBI_MemGroupRecycleWriteRecord(&group);
    group.key = key;
    return group;
}

inline std::vector<MemoGroupRecord> Groups()
{
    return ReadStoredGroups();
}

inline QStringList GroupNames()
{
    QStringList names;
    for (const MemoGroupRecord& group : Groups())
        names << Q(GroupName(group));
    return names;
}

inline std::int32_t StoreMemo(const QString& title, const QString& groupName, std::int32_t groupId,
                              std::uint32_t flags = 0, std::int32_t stamp = 305371800)
{
    MemoRecord memo = NewMemoRecord(stamp, U(groupName), groupId, U(title), u"body");
    memo.flags = flags;
    memo.reserved1 = 11;
    memo.reserved2 = 22;
    return DBI_MemRecycleWriteRecord(&memo);
}

inline std::vector<MemoRecord> Memos()
{
    std::vector<MemoRecord> memos;
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) == 1)
            memos.push_back(memo);
    }
    return memos;
}

inline MemoRecord MemoByTitle(const QString& title)
{
    for (const MemoRecord& memo : Memos())
        if (Q(MemoTitle(memo)) == title)
            return memo;
    return MemoRecord{};
}

template <class Record> bool SameBytes(const std::vector<Record>& a, const std::vector<Record>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

inline QWidget* Control(QDialog* dialog, int id)
{
    return static_cast<CDialog*>(dialog)->GetDlgItem(id);
}

inline void Click(QDialog* dialog, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(Control(dialog, id));
    QVERIFY2(button, "no such button");
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types text key by key, as a keyboard or an input method delivers it (QTest::keyClicks passes
// only Latin-1 characters).
inline void Type(QWidget* widget, const QString& text)
{
    widget->setFocus();
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, ch == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(ch),
                            Qt::NoModifier);
}
