#include "LoadStr.h"

#include <QFile>
#include <QHash>
#include <QLoggingCategory>

#include <pugixml.hpp>

namespace {

Q_LOGGING_CATEGORY(lcStrings, "zorva.kit.strings")

QHash<UINT, QString> readTable()
{
    QHash<UINT, QString> table;
    QFile file(QStringLiteral(":/kit/strings.xml"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStrings) << "string table missing from the kit's resources";
        return table;
    }
    const QByteArray bytes = file.readAll();
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default, pugi::encoding_utf8)) {
        qCWarning(lcStrings) << "string table is not well-formed";
        return table;
    }
    for (const pugi::xml_node entry : doc.child("strings").children("string"))
        table.insert(entry.attribute("id").as_uint(), QString::fromUtf8(entry.child_value()));
    return table;
}

} // namespace

QString LoadStr(UINT id)
{
    static const QHash<UINT, QString> table = readTable();
    return table.value(id);
}
