#pragma once
// One entry of an import file (a category or a memo), read field by field. The first fault found is
// kept: it is the sentence that tells the person what is wrong with the entry.
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <cstdint>
#include <optional>

// A JSON number that is a whole number a 32-bit integer holds.
std::optional<std::int32_t> JsonInt32(const QJsonValue& value);

class ImportEntry
{
  public:
    explicit ImportEntry(const QJsonValue& value);

    // The text of field `name`: at most `limit` UTF-16 units, whole characters, no NUL. Empty when
    // the field is absent and not required, or when the entry has a fault.
    QString text(const QString& name, qsizetype limit, bool required);
    std::optional<std::int32_t> number(const QString& name, bool required);

    bool has(const QString& name) const { return m_object.contains(name); }
    bool ok() const { return m_fault.isEmpty(); }
    // Keeps `fault` unless the entry has one already; an empty fault is none.
    void fail(const QString& fault);
    const QString& fault() const { return m_fault; }

  private:
    QJsonObject m_object;
    QString m_fault;
};
