#include "MemoImport.h"

#include "MemoExport.h"
#include "MemoTimeText.h"

#include <GroupRules.h>
#include <MemoRules.h>
#include <TitleRule.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Text(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

std::optional<std::int32_t> Int32(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || number < INT32_MIN || number > INT32_MAX)
        return std::nullopt;
    return std::int32_t(number);
}

// One entry of the file, read field by field; the first fault found is kept.
class Entry
{
  public:
    explicit Entry(const QJsonValue& value) : m_object(value.toObject())
    {
        if (!value.isObject())
            m_fault = u"不是一个对象"_s;
    }

    QString text(const QString& name, qsizetype limit, bool required)
    {
        const QJsonValue value = m_object.value(name);
        if (!m_fault.isEmpty() || (value.isUndefined() && !required))
            return {};
        if (!value.isString())
            m_fault = u"字段“%1”缺失或不是文字"_s.arg(name);
        else if (value.toString().size() > limit)
            m_fault = u"“%1”超过 %2 个字符"_s.arg(name).arg(limit);
        else if (value.toString().contains(QChar(0)))
            m_fault = u"“%1”含有空字符"_s.arg(name);
        return value.toString();
    }

    std::optional<std::int32_t> number(const QString& name, bool required)
    {
        const QJsonValue value = m_object.value(name);
        if (!m_fault.isEmpty() || (value.isUndefined() && !required))
            return std::nullopt;
        const std::optional<std::int32_t> number = Int32(value);
        if (!number)
            m_fault = u"字段“%1”缺失或不是 32 位整数"_s.arg(name);
        return number;
    }

    bool has(const QString& name) const { return m_object.contains(name); }
    void fail(const QString& fault)
    {
        if (m_fault.isEmpty())
            m_fault = fault;
    }
    const QString& fault() const { return m_fault; }

  private:
    QJsonObject m_object;
    QString m_fault;
};

struct MemoKey
{
    MemoTime stamp;
    QString title, body, category;
    bool operator==(const MemoKey&) const = default;
};

size_t qHash(const MemoKey& key, size_t start = 0)
{
    return qHashMulti(start, key.stamp, key.title, key.body, key.category);
}

MemoKey KeyOf(const MemoRecord& memo)
{
    return {memo.stamp, Text(MemoTitle(memo)), Text(MemoContent(memo)), Text(MemoGroupName(memo))};
}

std::optional<MemoRecord> ReadMemo(Entry& entry)
{
    const QString title = entry.text(u"title"_s, qsizetype(MAX_TITLE_LEN), false);
    const QString body = entry.text(u"body"_s, qsizetype(MAX_CONTENT_LEN), false);
    const QString category = entry.text(u"category"_s, qsizetype(MAX_GROUP_NAME_LEN), false);
    const std::int32_t categoryId = entry.number(u"categoryId"_s, false).value_or(0);
    const std::optional<std::int32_t> stamp = entry.number(u"stamp"_s, false);
    const QString time = entry.text(u"time"_s, 64, false);
    if (!entry.fault().isEmpty())
        return std::nullopt;
    // "stamp" is exact; "time" is there for people, and for files written by hand.
    std::optional<MemoTime> fromTime;
    if (entry.has(u"time"_s) && !(fromTime = MemoTimeFromIso(time))) {
        entry.fail(u"时间“%1”不是 YYYY-MM-DDThh:mm:ss 形式"_s.arg(time));
        return std::nullopt;
    }
    if (!stamp && !fromTime) {
        entry.fail(u"没有时间（stamp 或 time）"_s);
        return std::nullopt;
    }
    if (stamp && fromTime && *stamp != *fromTime) {
        entry.fail(u"stamp 与 time 不是同一时刻"_s);
        return std::nullopt;
    }
    const std::optional<std::u16string> stored = TitleToStore(View(title), View(body), u"");
    if (!stored) {
        entry.fail(u"既没有标题也没有正文"_s);
        return std::nullopt;
    }
    // A memo without a category is filed under 全部, as the panel files it.
    const QString group = category.isEmpty() ? Text(GROUP_ALL) : category;
    return NewMemoRecord(stamp ? *stamp : *fromTime, View(group), categoryId, *stored, View(body));
}

QString Quoted(const QString& text)
{
    return u"“%1”"_s.arg(text);
}

} // namespace

std::optional<QByteArray> ReadImportFile(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = u"文件%1不存在。"_s.arg(Quoted(path));
        return std::nullopt;
    }
    // A pipe or a device would be read for ever, or block the host.
    if (!info.isFile()) {
        error = u"%1不是普通文件。"_s.arg(Quoted(path));
        return std::nullopt;
    }
    if (info.size() > kMaxImportBytes) {
        error =
            u"文件太大（%1 字节）；备忘录导出文件不会超过 %2 字节。"_s.arg(info.size()).arg(kMaxImportBytes);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"无法读取文件%1：%2"_s.arg(Quoted(path), file.errorString());
        return std::nullopt;
    }
    // The file may have grown since it was looked at.
    QByteArray bytes = file.read(kMaxImportBytes + 1);
    if (bytes.size() > kMaxImportBytes) {
        error = u"文件太大；备忘录导出文件不会超过 %1 字节。"_s.arg(kMaxImportBytes);
        return std::nullopt;
    }
    return bytes;
}

std::optional<ImportPlan> PlanImport(const QByteArray& json, const StoreContents& current, QString& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = u"文件不是完整有效的 JSON（第 %1 字节处：%2）。文件可能被截断或损坏。"_s.arg(parse.offset)
                    .arg(parse.errorString());
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(u"format"_s).toString() != QString::fromLatin1(kExportFormat) ||
        !root.value(u"memos"_s).isArray()) {
        error = u"文件不是备忘录的导出文件。"_s;
        return std::nullopt;
    }
    if (const std::optional<std::int32_t> version = Int32(root.value(u"version"_s));
        !version || *version > kExportVersion) {
        error = u"文件的格式版本比本程序能读的（%1）更新。"_s.arg(kExportVersion);
        return std::nullopt;
    }
    const QJsonArray memos = root.value(u"memos"_s).toArray();
    const QJsonArray groups = root.value(u"categories"_s).toArray();
    if (memos.size() > MAX_MEMO_COUNT || groups.size() > MAX_GROUP_COUNT) {
        error = u"文件中有 %1 条备忘录、%2 个分类；一个用户最多 %3 条备忘录、%4 个分类。"_s.arg(memos.size())
                    .arg(groups.size())
                    .arg(MAX_MEMO_COUNT)
                    .arg(MAX_GROUP_COUNT);
        return std::nullopt;
    }

    ImportPlan plan;
    // Categories: by name. One the store has already is skipped, and memos that point to it by the
    // file's id point to the stored one's id instead.
    QHash<QString, std::int32_t> storedIds;
    qsizetype realGroups = 0;
    for (const MemoGroupRecord& group : current.groups) {
        storedIds.insert(Text(GroupName(group)), group.id);
        realGroups += IsPseudoGroupName(GroupName(group)) ? 0 : 1;
    }
    QHash<std::int32_t, std::int32_t> idMap;
    QSet<QString> namesInFile;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        Entry entry(groups[i]);
        const QString name = entry.text(u"name"_s, qsizetype(MAX_GROUP_NAME_LEN), true);
        const std::optional<std::int32_t> id = entry.number(u"id"_s, true);
        if (entry.fault().isEmpty() && name.isEmpty())
            entry.fail(u"名称为空"_s);
        if (entry.fault().isEmpty() && IsReservedGroupName(View(name)))
            entry.fail(u"%1是保留的名称，不能用作分类名"_s.arg(Quoted(name)));
        if (!entry.fault().isEmpty()) {
            error = u"第 %1 个分类不合要求：%2。"_s.arg(i + 1).arg(entry.fault());
            return std::nullopt;
        }
        if (namesInFile.contains(name)) {
            plan.skipped << u"分类%1：文件中重复"_s.arg(Quoted(name));
        } else if (storedIds.contains(name)) {
            plan.skipped << u"分类%1：已有同名分类"_s.arg(Quoted(name));
            idMap.insert(*id, storedIds.value(name));
        } else {
            plan.groups.push_back(NewGroupRecord(*id, View(name)));
        }
        namesInFile.insert(name);
    }

    QSet<MemoKey> stored;
    for (const MemoRecord& memo : current.memos)
        stored.insert(KeyOf(memo));
    QSet<MemoKey> inFile;
    for (qsizetype i = 0; i < memos.size(); ++i) {
        Entry entry(memos[i]);
        std::optional<MemoRecord> memo = ReadMemo(entry);
        if (!memo) {
            error = u"第 %1 条备忘录不合要求：%2。"_s.arg(i + 1).arg(entry.fault());
            return std::nullopt;
        }
        memo->groupId = idMap.value(memo->groupId, memo->groupId);
        const MemoKey key = KeyOf(*memo);
        const QString what = u"备忘录%1"_s.arg(Quoted(key.title));
        if (stored.contains(key))
            plan.skipped << what + u"：已有相同的备忘录"_s;
        else if (inFile.contains(key))
            plan.skipped << what + u"：文件中重复"_s;
        else
            plan.memos.push_back(*memo);
        inFile.insert(key);
    }

    const qsizetype memoTotal = qsizetype(current.memos.size() + plan.memos.size());
    if (memoTotal > MAX_MEMO_COUNT) {
        error = u"现有 %1 条备忘录，再导入 %2 条会超过上限 %3 条。"_s.arg(current.memos.size())
                    .arg(plan.memos.size())
                    .arg(MAX_MEMO_COUNT);
        return std::nullopt;
    }
    if (realGroups + qsizetype(plan.groups.size()) > MAX_GROUP_COUNT) {
        error = u"现有 %1 个分类，再导入 %2 个会超过上限 %3 个。"_s.arg(realGroups)
                    .arg(plan.groups.size())
                    .arg(MAX_GROUP_COUNT);
        return std::nullopt;
    }
    return plan;
}
