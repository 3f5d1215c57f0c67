#include "MemoExport.h"

#include "MemoTimeText.h"

#include <GroupRules.h>
#include <MemoRules.h>
#include <TextView.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// A body line that Markdown would take for a heading, a quote or a list is escaped.
QString MarkdownLine(const QString& line)
{
    static const QString special = u"#>-+*="_s;
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty() && special.contains(trimmed.front()))
        return u"\\"_s + line;
    return line;
}

} // namespace

std::vector<MemoGroupRecord> ExportedGroups(const StoreContents& contents)
{
    std::vector<MemoGroupRecord> groups;
    for (const MemoGroupRecord& group : contents.groups)
        if (!IsPseudoGroupName(GroupName(group)))
            groups.push_back(group);
    return groups;
}

QByteArray MemosToJson(const StoreContents& contents)
{
    QJsonArray groups;
    for (const MemoGroupRecord& group : ExportedGroups(contents))
        groups.append(QJsonObject{{u"id"_s, group.id}, {u"name"_s, FromTextView(GroupName(group))}});
    QJsonArray memos;
    for (const MemoRecord& memo : contents.memos) {
        memos.append(QJsonObject{{u"title"_s, FromTextView(MemoTitle(memo))},
                                 {u"body"_s, FromTextView(MemoContent(memo))},
                                 {u"category"_s, FromTextView(MemoGroupName(memo))},
                                 {u"categoryId"_s, memo.groupId},
                                 {u"stamp"_s, memo.stamp},
                                 {u"time"_s, MemoTimeToIso(memo.stamp)}});
    }
    const QJsonObject root{{u"format"_s, QString::fromLatin1(kExportFormat)},
                           {u"version"_s, kExportVersion},
                           {u"categories"_s, groups},
                           {u"memos"_s, memos}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray MemosToMarkdown(const StoreContents& contents, const QString& userName)
{
    QStringList out;
    out << u"# 备忘录：%1"_s.arg(userName) << QString() << u"共 %1 条备忘录。"_s.arg(contents.memos.size())
        << QString();
    for (const MemoRecord& memo : contents.memos) {
        QString title = FromTextView(MemoTitle(memo)).simplified();
        out << u"## %1"_s.arg(title.isEmpty() ? u"（无标题）"_s : title) << QString();
        out << u"*分类：%1 · 时间：%2*"_s.arg(FromTextView(EffectiveGroupName(memo)),
                                              MemoTimeToIso(memo.stamp).replace(u'T', u' '))
            << QString();
        const QString body = FromTextView(MemoContent(memo));
        for (const QString& line : body.split(u'\n'))
            out << MarkdownLine(line);
        out << QString();
    }
    return out.join(u'\n').toUtf8();
}
